#include "input/cp437_converter.h"
#include "input/key_codes.h"
#include "window_input_fixture.h"

namespace krgfx {

namespace {

using WindowKeyboardTest = WindowInputTest;

std::string extended(int scanValue) { return std::string{'\xFF', static_cast<char>(scanValue)}; }

constexpr int32_t vkF1 = 112, vkF4 = 115, vkF10 = 121, vkF12 = 123, vkUp = 38, vkDelete = 46;

}  // namespace

TEST_F(WindowKeyboardTest, FunctionAndNavigationKeys) {
  press(vkF1, 59);
  hold({virtualKeyShift, virtualKeyLeftShift});
  press(vkF1, 59);
  hold({virtualKeyCtrl, virtualKeyRightCtrl});
  press(vkF1, 59);
  hold({});
  press(vkF12, 88);
  press(vkUp, 72, 0, 0, true);  // the arrow key
  press(vkUp, 72);              // keypad 8 with Num Lock off
  press(vkDelete, 83, 0, 0, true);
  EXPECT_EQ(pollKey(), extended(';'));
  EXPECT_EQ(pollKey(), extended('T'));
  EXPECT_EQ(pollKey(), extended('^'));
  EXPECT_EQ(pollKey(), extended(0x86));
  EXPECT_EQ(pollKey(), extended('H'));
  EXPECT_EQ(pollKey(), extended('H'));
  EXPECT_EQ(pollKey(), extended('S'));
  EXPECT_EQ(pollKey(), "");
}

TEST_F(WindowKeyboardTest, CharactersArriveOnlyThroughCharacterMessages) {
  press('A', 30, 'a', 'A');  // the key-down of "a" posts nothing itself
  EXPECT_EQ(keyPending(), 0);
  type('a');
  EXPECT_EQ(pollKey(), "a");
  press('8', 72, '8', '8');  // keypad 8 with Num Lock on
  EXPECT_EQ(keyPending(), 0);
}

TEST_F(WindowKeyboardTest, TypedTextBecomesCodePage437) {
  Cp437Converter converter;
  for (char byte : converter.convert("\u00e9\u20ac")) type(static_cast<uint8_t>(byte));
  EXPECT_EQ(pollKey(), "\x82");
  EXPECT_EQ(pollKey(), "?");
  EXPECT_EQ(pollKey(), "");
}

TEST_F(WindowKeyboardTest, SixteenKeysPostedLoseTheFirst) {
  for (int32_t i = 0; i < 16; ++i) press(vkF1 + (i % 10), 59 + (i % 10));
  for (int32_t i = 1; i < 16; ++i) EXPECT_EQ(pollKey(), extended(59 + (i % 10))) << i;
  EXPECT_EQ(pollKey(), "");
}

TEST_F(WindowKeyboardTest, RepeatCountsPostTheKeyThatOften) {
  WindowMessage held = key(MessageKind::keyDown, vkF1, 59);
  held.repeatCount = 3;
  held.wasDown = true;
  deliver(held);
  held.repeatCount = 0;
  deliver(held);
  type('z', 3);
  type('y', 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pollKey(), extended(';'));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pollKey(), "z");
  EXPECT_EQ(pollKey(), "");
  EXPECT_EQ(takeEventTypes(), (std::vector<int32_t>{3, 3}));
}

TEST_F(WindowKeyboardTest, AltLettersAndF10PostNothing) {
  hold({virtualKeyAlt, virtualKeyLeftAlt});
  EXPECT_FALSE(systemPress('X', 45, 'x', 'X'));
  EXPECT_TRUE(systemPress(virtualKeyAlt, 56));
  hold({});
  EXPECT_TRUE(systemPress(vkF10, 68));
  EXPECT_EQ(keyPending(), 0);
  // The Alt letter still reports a key event; F10 and Alt report none.
  EXPECT_EQ(takeEvents(), (std::vector<ScreenEvent>{{2, 45, 0, 0, 0}}));
}

TEST_F(WindowKeyboardTest, AltF4NeitherClosesNorPosts) {
  hold({virtualKeyAlt, virtualKeyLeftAlt});
  EXPECT_TRUE(systemPress(vkF4, 62));
  deliver(key(MessageKind::keyUp, vkF4, 62));
  EXPECT_TRUE(lastAnswer());
  EXPECT_EQ(keyPending(), 0);
  EXPECT_TRUE(takeEvents().empty());
}

TEST_F(WindowKeyboardTest, SystemKeysOfAnInactiveWindowAndAltEnterAreLeftAlone) {
  hold({virtualKeyAlt});
  EXPECT_FALSE(systemPress(virtualKeyReturn, 28, '\r', '\r'));
  windowLayer.windowActive = 0;
  EXPECT_FALSE(systemPress(vkF4, 62));
  EXPECT_FALSE(systemPress(vkF10, 68));
  deliver(key(MessageKind::systemKeyUp, vkF10, 68));
  EXPECT_FALSE(lastAnswer());
  EXPECT_TRUE(takeEvents().empty());
}

TEST_F(WindowKeyboardTest, KeyEventsCarryScanCodeAndCharacter) {
  press('A', 30, 'a', 'A');
  press(vkF1, 59);
  deliver(key(MessageKind::keyUp, 'A', 30, 'a', 'A'));
  deliver(key(MessageKind::keyUp, vkF10, 68));
  EXPECT_TRUE(lastAnswer());
  deliver(key(MessageKind::keyUp, virtualKeyShift, 42));
  EXPECT_FALSE(lastAnswer());
  EXPECT_EQ(takeEvents(),
            (std::vector<ScreenEvent>{
                {1, 30, 'a', 0, 0}, {1, 59, 0, 0, 0}, {2, 30, 'a', 0, 0}, {2, 42, 0, 0, 0}}));
}

TEST_F(WindowKeyboardTest, ACharacterZeroIsNoKey) {
  for (int i = 0; i < 15; ++i) type('a' + i);
  keyBuffer.keyPosted = 0;
  type(0);
  EXPECT_EQ(keyBuffer.keyPosted, 0);
  EXPECT_EQ(pollKey(), "a");  // the oldest key is still there
}

TEST_F(WindowKeyboardTest, KeyStateFromVirtualKeys) {
  gfxScreen->keyState[1] = 1;  // stale
  hold({virtualKeyShift, 104, 'A'});
  refreshKeyStateFromVirtualKeys(system);
  EXPECT_EQ(gfxScreen->keyState[1], 0);
  EXPECT_EQ(gfxScreen->keyState[42], 1);  // both Shift keys follow the generic Shift
  EXPECT_EQ(gfxScreen->keyState[54], 1);
  EXPECT_EQ(gfxScreen->keyState[72], 1);  // keypad 8 by its alternative key
  EXPECT_EQ(gfxScreen->keyState[30], 1);
  EXPECT_EQ(keyIsDown(30), -1);
  EXPECT_EQ(keyIsDown(31), 0);
}

TEST_F(WindowKeyboardTest, KeyStateFromScanCodes) {
  uint8_t virtualKeys[256] = {}, scanCodes[256] = {};
  scanCodes[30] = 0x80;
  scanCodes[72 + 128] = 0x80;  // the arrow key
  scanCodes[100] = 0x7F;       // bit 7 only counts
  system.setKeyStates(virtualKeys, scanCodes);
  gfxScreen->keyState[5] = 1;
  refreshKeyStateFromScanCodes(system);
  EXPECT_EQ(gfxScreen->keyState[30], 1);
  EXPECT_EQ(gfxScreen->keyState[72], 1);
  EXPECT_EQ(gfxScreen->keyState[100], 0);
  EXPECT_EQ(gfxScreen->keyState[5], 0);
}

// A keyboard that lost its input for a round tells nothing about the keys:
// keys held stay down for keyIsDown until it can be read again.
TEST_F(WindowKeyboardTest, AnUnreadableKeyboardKeepsTheKeyState) {
  uint8_t virtualKeys[256] = {}, scanCodes[256] = {};
  scanCodes[30] = 0x80;
  system.setKeyStates(virtualKeys, scanCodes);
  refreshKeyStateFromScanCodes(system);
  ASSERT_EQ(keyIsDown(30), -1);
  scanCodes[30] = 0;
  scanCodes[31] = 0x80;
  system.setKeyStates(virtualKeys, scanCodes);
  system.setScanCodesReadable(false);
  refreshKeyStateFromScanCodes(system);
  EXPECT_EQ(keyIsDown(30), -1);
  EXPECT_EQ(keyIsDown(31), 0);
  system.setScanCodesReadable(true);
  refreshKeyStateFromScanCodes(system);
  EXPECT_EQ(keyIsDown(30), 0);
  EXPECT_EQ(keyIsDown(31), -1);
}

TEST_F(WindowKeyboardTest, ActivationClearsTheKeyStateButNotTheBuffer) {
  std::memset(gfxScreen->keyState, 1, sizeof gfxScreen->keyState);
  type('k');
  activate(false);
  for (uint8_t down : gfxScreen->keyState) EXPECT_EQ(down, 0);
  std::memset(gfxScreen->keyState, 1, sizeof gfxScreen->keyState);
  activate(true);
  for (uint8_t down : gfxScreen->keyState) EXPECT_EQ(down, 0);
  EXPECT_EQ(pollKey(), "k");
}

}  // namespace krgfx
