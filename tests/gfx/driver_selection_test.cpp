#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/screen_fixture.h"

namespace krgfx {

using DriverSelection = ScreenTest;
using Calls = std::vector<std::string>;

namespace {
Calls triedBoth(const std::string& name, const std::string& screenKind, int rate = 60) {
  return {name + ".init(" + std::to_string(rate) + "," + screenKind + ")", name + ".exit",
          name + ".init(0," + screenKind + ")", name + ".exit"};
}
// The init and exit calls: a started screen also takes its driver's lock.
Calls selectionCalls() {
  Calls calls;
  for (const std::string& call : testing_drivers::calls)
    if (call.find(".lock") == std::string::npos && call.find(".unlock") == std::string::npos)
      calls.push_back(call);
  return calls;
}
Calls join(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
}  // namespace

TEST_F(DriverSelection, WithoutANameTriesEveryDriverThenFullScreen) {
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 60), errBadCall);
  Calls window = join(
      {triedBoth("DirectX", "window"), triedBoth("GDI", "window"), triedBoth("OpenGL", "window")});
  Calls full = join(
      {triedBoth("DirectX", "full"), triedBoth("GDI", "full"), triedBoth("OpenGL", "full")});
  EXPECT_EQ(testing_drivers::calls, join({window, full}));
}

TEST_F(DriverSelection, ANamedDriverIsTriedFirstInEachScreenKind) {
  setTestEnvironment("KRGFX", "gdi");
  openScreen(800, 600, 32, 1, 0, 60);
  Calls all = join(
      {triedBoth("DirectX", "window"), triedBoth("GDI", "window"), triedBoth("OpenGL", "window")});
  Calls allFull = join(
      {triedBoth("DirectX", "full"), triedBoth("GDI", "full"), triedBoth("OpenGL", "full")});
  EXPECT_EQ(testing_drivers::calls,
            join({triedBoth("GDI", "window"), all, triedBoth("GDI", "full"), allFull}));
}

TEST_F(DriverSelection, NullInAnyCaseTakesTheNullDriverWithoutInit) {
  setTestEnvironment("KRGFX", "nUlL");
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 0), 0);
  EXPECT_STREQ(gfxScreen->driver->name, "Null");
  EXPECT_TRUE(testing_drivers::calls.empty());
}

TEST_F(DriverSelection, FirstSuccessfulInitWins) {
  testing_drivers::succeedingDriver = 1;
  testing_drivers::succeedingRate = 0;
  EXPECT_EQ(openScreen(800, 600, 32, 1, 0, 75), 0);
  EXPECT_STREQ(gfxScreen->driver->name, "GDI");
  Calls expected = {
      "DirectX.init(75,window)", "DirectX.exit", "DirectX.init(0,window)", "DirectX.exit",
      "GDI.init(75,window)",     "GDI.exit",     "GDI.init(0,window)"};
  EXPECT_EQ(selectionCalls(), expected);
}

TEST_F(DriverSelection, ANamedDriverThatFailsGivesWayToTheOthers) {
  testing_drivers::succeedingDriver = 0;
  setTestEnvironment("KRGFX", "OpenGL");
  EXPECT_EQ(openScreen(800, 600, 32, 1, flagFullScreen, 0), 0);
  Calls expected = join({triedBoth("OpenGL", "full", 0), {"DirectX.init(0,full)"}});
  EXPECT_EQ(selectionCalls(), expected);
  EXPECT_STREQ(gfxScreen->driver->name, "DirectX");
}

}  // namespace krgfx
