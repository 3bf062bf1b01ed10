// Opening files on Win32: text mode is the C runtime's.
#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

using OpenFile = RuntimeFileTest;

TEST_F(OpenFile, TextModeTurnsLineEndsIntoNewlinesAndEndsAtControlZ) {
  writeFile("index.spr", "3\r\nabc\x1a!");
  ASSERT_EQ(openFile("index.spr", modeReadText, accessDefault, 0, 5, 0), 0);
  EXPECT_EQ(fileHandleOf(5)->size, 8);  // the length is measured in bytes
  EXPECT_EQ(readAll(5, 8), "3\nabc");
}

}  // namespace

}  // namespace krgfx
