#include "gfx/display/posix/key_messages.h"

#include "input/key_codes.h"

namespace krgfx {

void KeyMessageBuilder::noteSidedModifier(uint32_t unshiftedKeysym, bool press) {
  int32_t sided = sidedVirtualKeyOfKeysym(unshiftedKeysym);
  if (sided == virtualKeyRightCtrl) rightCtrlHeld_ = press;
  if (sided == virtualKeyRightAlt) rightAltHeld_ = press;
}

void KeyMessageBuilder::append(const KeyEventFacts& event, std::vector<WindowMessage>& messages) {
  ScanCode scan = scanCodeOfKeycode(event.keycode);
  WindowMessage key = windowMessage(event.press ? MessageKind::keyDown : MessageKind::keyUp);
  // The modifiers of the moment the key went down, not of when the message
  // is handled: the event's mask, and the sides of the keys held before it.
  key.modifiers = modifiersOfEvent(event.stateMask, rightCtrlHeld_, rightAltHeld_);
  noteSidedModifier(event.unshiftedKeysym, event.press);
  key.virtualKey = virtualKeyOfKeysym(event.unshiftedKeysym, event.lookedUpKeysym, scan.scan);
  key.scanCode = scan.scan;
  key.enhanced = scan.enhanced;
  key.unshiftedCharacter = unshiftedCharacterOf(key.virtualKey);
  std::string_view typed = typedText(key.virtualKey, event.text);
  bool system = isSystemKey(key.virtualKey, event.stateMask & modifierMaskAlt,
                            event.stateMask & modifierMaskControl);
  if (event.press) {
    key.kind = system ? MessageKind::systemKeyDown : MessageKind::keyDown;
    key.wasDown = repeats_.press(event.keycode);
    key.character = converter_.keyCharacter(typed);
  } else {
    key.kind = system ? MessageKind::systemKeyUp : MessageKind::keyUp;
    repeats_.release(event.keycode);
  }
  messages.push_back(key);
  if (!event.press || system) return;
  for (char byte : converter_.convert(typed)) {
    WindowMessage character = windowMessage(MessageKind::character);
    character.character = static_cast<uint8_t>(byte);
    messages.push_back(character);
  }
}

}  // namespace krgfx
