// Wide text on the graphics screen through the C locale, which here
// has no character above 127.
#include <gtest/gtest.h>

#include <clocale>

#include "gfx/text/text_fixture.h"
#include "gfx/text/wide_output.h"

namespace krgfx {

using namespace text_testing;

namespace {

using WideOutput = ScreenTest;

TEST_F(WideOutput, TheCLocaleConvertsAsThePlatformDoes) {
  openNullScreen();
  std::setlocale(LC_CTYPE, "C");
  runtimeState.hooks.outputWide(u"Hi\u00e9", 3, 0);
  EXPECT_EQ(cellRow(*gfxScreen, 0).substr(0, 4), "Hi? ");
}

}  // namespace

}  // namespace krgfx
