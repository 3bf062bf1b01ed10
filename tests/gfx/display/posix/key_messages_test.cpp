#include "gfx/display/posix/key_messages.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "input/key_codes.h"

namespace krgfx {

namespace {

// X key codes (evdev + 8) of a US keyboard.
constexpr uint32_t keyA = 38, keyControlRight = 105, keyDelete = 119, keyF10 = 76;

KeyEventFacts press(uint32_t keycode, uint32_t keysym, std::string_view text, uint32_t mask = 0) {
  return {true, keycode, keysym, keysym, text, mask};
}

KeyEventFacts release(uint32_t keycode, uint32_t keysym, uint32_t mask = 0) {
  return {false, keycode, keysym, keysym, {}, mask};
}

class KeyMessages : public ::testing::Test {
 protected:
  std::vector<WindowMessage> feed(const KeyEventFacts& facts) {
    std::vector<WindowMessage> messages;
    builder.append(facts, messages);
    return messages;
  }
  KeyMessageBuilder builder;
};

}  // namespace

TEST_F(KeyMessages, APressTypesItsCharacterAndARepeatCarriesThePreviousState) {
  auto first = feed(press(keyA, XK_a, "a"));
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].kind, MessageKind::keyDown);
  EXPECT_EQ(first[0].virtualKey, 'A');
  EXPECT_EQ(first[0].scanCode, 30);
  EXPECT_FALSE(first[0].enhanced);
  EXPECT_FALSE(first[0].wasDown);
  EXPECT_EQ(first[0].character, 'a');
  EXPECT_EQ(first[0].unshiftedCharacter, 'A');
  EXPECT_EQ(first[1].kind, MessageKind::character);
  EXPECT_EQ(first[1].character, 'a');

  auto repeat = feed(press(keyA, XK_a, "A", modifierMaskShift));
  ASSERT_EQ(repeat.size(), 2u);
  EXPECT_TRUE(repeat[0].wasDown);
  EXPECT_EQ(repeat[0].repeatCount, 1);
  EXPECT_EQ(repeat[0].modifiers, modifierShift);
  EXPECT_EQ(repeat[1].character, 'A');

  auto up = feed(release(keyA, XK_a));
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].kind, MessageKind::keyUp);
  EXPECT_FALSE(feed(press(keyA, XK_a, "a"))[0].wasDown) << "released: a new press";
  builder.forgetHeldKeys();
  EXPECT_FALSE(feed(press(keyA, XK_a, "a"))[0].wasDown) << "forgotten with the focus";
}

TEST_F(KeyMessages, AltCombinationsAndF10AreSystemKeysThatTypeNothing) {
  auto alt = feed(press(keyA, XK_a, "a", modifierMaskAlt));
  ASSERT_EQ(alt.size(), 1u);
  EXPECT_EQ(alt[0].kind, MessageKind::systemKeyDown);
  EXPECT_EQ(alt[0].modifiers, modifierAlt);
  EXPECT_EQ(feed(release(keyA, XK_a, modifierMaskAlt))[0].kind, MessageKind::systemKeyUp);
  auto f10 = feed(press(keyF10, XK_F10, ""));
  ASSERT_EQ(f10.size(), 1u);
  EXPECT_EQ(f10[0].kind, MessageKind::systemKeyDown);
  EXPECT_EQ(f10[0].virtualKey, 121);
}

TEST_F(KeyMessages, ARightControlHeldCountsForTheKeysAfterIt) {
  auto control = feed(press(keyControlRight, XK_Control_R, ""));
  ASSERT_EQ(control.size(), 1u);
  EXPECT_TRUE(control[0].enhanced);
  EXPECT_EQ(control[0].modifiers, 0) << "the modifiers before the key";
  auto withControl = feed(press(keyA, XK_a, "\x01", modifierMaskControl));
  ASSERT_EQ(withControl.size(), 2u);
  EXPECT_EQ(withControl[0].modifiers, modifierCtrl | modifierRightCtrl);
  EXPECT_EQ(withControl[1].character, 1);
  feed(release(keyControlRight, XK_Control_R, modifierMaskControl));
  EXPECT_EQ(feed(press(keyA, XK_a, "a"))[0].modifiers, 0);
}

TEST_F(KeyMessages, DeleteIsAnEnhancedKeyThatTypesNothing) {
  auto del = feed(press(keyDelete, XK_Delete, "\x7f"));
  ASSERT_EQ(del.size(), 1u);
  EXPECT_EQ(del[0].virtualKey, 46);
  EXPECT_TRUE(del[0].enhanced);
  EXPECT_EQ(del[0].character, 0);
}

}  // namespace krgfx
