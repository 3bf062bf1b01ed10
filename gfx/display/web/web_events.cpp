// The page's events as window messages. The callbacks run on the browser's
// thread (registered with _on_thread for it: the short forms would deliver
// them to the presenter's thread, which never returns to the browser's
// event loop); they only translate and queue.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "gfx/display/web/web_window_system.h"
#include "input/browser_keys.h"
#include "input/cp437_converter.h"
#include "input/key_codes.h"

namespace krgfx {

namespace {

constexpr const char* canvasTarget = "#canvas";
#define KRGFX_ON_BROWSER EM_CALLBACK_THREAD_CONTEXT_MAIN_BROWSER_THREAD

WebWindowSystem& webSystem(void* data) { return *static_cast<WebWindowSystem*>(data); }

// Right Ctrl and right Alt held, which the event's flags do not tell apart.
struct SidedModifiers {
  bool rightCtrl = false, rightAlt = false;
};

EM_BOOL onKey(int eventType, const EmscriptenKeyboardEvent* event, void* data) {
  static SidedModifiers sided;  // browser thread only
  static Cp437Converter converter;
  WebWindowSystem& system = webSystem(data);
  bool down = eventType == EMSCRIPTEN_EVENT_KEYDOWN;
  BrowserKey key = browserKeyOf(event->code, static_cast<int32_t>(event->keyCode));
  if (key.sidedVirtualKey == virtualKeyRightCtrl) sided.rightCtrl = down;
  if (key.sidedVirtualKey == virtualKeyRightAlt) sided.rightAlt = down;
  bool alt = event->altKey || sided.rightAlt;
  bool ctrl = event->ctrlKey || sided.rightCtrl;
  bool systemKey = isSystemKey(key.virtualKey, alt && key.virtualKey != virtualKeyAlt, ctrl);
  WindowMessage keyMessage = windowMessage(
      down ? (systemKey ? MessageKind::systemKeyDown : MessageKind::keyDown)
           : (systemKey ? MessageKind::systemKeyUp : MessageKind::keyUp));
  keyMessage.virtualKey = key.virtualKey;
  keyMessage.scanCode = key.scanCode;
  keyMessage.enhanced = key.enhanced;
  keyMessage.wasDown = down && event->repeat;
  keyMessage.modifiers = modifiersOfHeldKeys(event->shiftKey, event->ctrlKey, event->altKey,
                                             sided.rightCtrl, sided.rightAlt);
  keyMessage.unshiftedCharacter = unshiftedCharacterOf(key.virtualKey);
  std::string text = down ? browserKeyText(event->key, ctrl, alt) : std::string();
  keyMessage.character = converter.keyCharacter(text);
  system.queue(keyMessage);
  if (down && !systemKey) {
    for (char byte : converter.convert(text)) {
      WindowMessage typed = windowMessage(MessageKind::character);
      typed.character = static_cast<uint8_t>(byte);
      system.queue(typed);
    }
  }
  // The browser's own use of the key (scrolling, finding) is left out; its
  // reload and full-screen keys and the system's Meta combinations stay.
  return !(event->metaKey || key.virtualKey == 116 || key.virtualKey == 122 ||
           key.virtualKey == 123);
}

EM_BOOL onMouse(int eventType, const EmscriptenMouseEvent* event, void* data) {
  WebWindowSystem& system = webSystem(data);
  int32_t left, top;
  canvasCorner(&left, &top);  // read as the event arrives
  int32_t pageX = static_cast<int32_t>(event->clientX);
  int32_t pageY = static_cast<int32_t>(event->clientY);
  if (system.pointerLocked()) {
    // The pointer stays where the lock caught it; the movements move ours.
    int32_t x, y;
    system.pointerPosition(&x, &y);
    WindowRect client = system.clientRectOnScreen();
    pageX = std::clamp(x + static_cast<int32_t>(event->movementX), client.left, client.right - 1);
    pageY = std::clamp(y + static_cast<int32_t>(event->movementY), client.top, client.bottom - 1);
  }
  system.notePointer(pageX, pageY, left, top);
  WindowMessage pointer = windowMessage(MessageKind::mouseMove);
  switch (eventType) {
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
    case EMSCRIPTEN_EVENT_MOUSEUP:
      pointer.button = browserButtonBit(event->button);
      if (!pointer.button) return EM_FALSE;
      pointer.kind = MessageKind::buttonUp;
      // The page reports every press; the second of a quick pair is a
      // double-click, as on the other platforms.
      if (eventType == EMSCRIPTEN_EVENT_MOUSEDOWN)
        pointer.kind = system.clicks().press(pointer.button,
                                             static_cast<uint32_t>(event->timestamp), pageX - left,
                                             pageY - top)
                           ? MessageKind::buttonDoubleClick
                           : MessageKind::buttonDown;
      break;
    case EMSCRIPTEN_EVENT_MOUSEENTER:
      system.notePointerInside(true);
      break;
    case EMSCRIPTEN_EVENT_MOUSELEAVE:
      system.notePointerInside(false);
      if (!system.pointerLocked()) pointer.kind = MessageKind::mouseLeave;
      break;
    default:
      break;
  }
  pointer.x = pageX - left;
  pointer.y = pageY - top;
  pointer.pointerKnown = true;
  pointer.screenX = pageX;
  pointer.screenY = pageY;
  system.queue(pointer);
  if (eventType == EMSCRIPTEN_EVENT_MOUSEENTER) system.queue(windowMessage(MessageKind::setCursor));
  return eventType == EMSCRIPTEN_EVENT_MOUSEDOWN;
}

EM_BOOL onWheel(int, const EmscriptenWheelEvent* event, void* data) {
  WebWindowSystem& system = webSystem(data);
  int32_t x, y;
  system.pointerPosition(&x, &y);
  WindowRect client = system.clientRectOnScreen();
  for (bool vertical : {true, false}) {
    double delta = vertical ? event->deltaY : -event->deltaX;
    if (event->deltaMode == DOM_DELTA_LINE) delta *= 3;  // as the pixel notches reckon
    int32_t notches = browserWheelDelta(delta);
    if (!notches) continue;
    WindowMessage wheel = windowMessage(vertical ? MessageKind::wheel
                                                 : MessageKind::horizontalWheel);
    wheel.wheelDelta = notches;
    wheel.x = x - client.left;
    wheel.y = y - client.top;
    system.queue(wheel);
  }
  return EM_TRUE;
}

EM_BOOL onFocus(int eventType, const EmscriptenFocusEvent*, void* data) {
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = eventType == EMSCRIPTEN_EVENT_FOCUS;
  webSystem(data).queue(activation);
  return EM_FALSE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* data) {
  WindowMessage activation = windowMessage(MessageKind::activate);
  activation.active = !event->hidden && EM_ASM_INT({ return document.hasFocus() ? 1 : 0; });
  activation.minimised = event->hidden;
  webSystem(data).queue(activation);
  return EM_FALSE;
}

EM_BOOL onPointerLock(int, const EmscriptenPointerlockChangeEvent* event, void* data) {
  webSystem(data).notePointerLock(event->isActive);
  return EM_FALSE;
}

// Leaving or closing the page is the user closing the window.
const char* onBeforeUnload(int, const void*, void* data) {
  webSystem(data).queue(windowMessage(MessageKind::close));
  return nullptr;
}

}  // namespace

// Registers the callbacks, or with `on` false removes them.
void WebWindowSystem::registerCallbacks(bool on) {
  void* data = on ? this : nullptr;
  auto key = on ? onKey : nullptr;
  auto mouse = on ? onMouse : nullptr;
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback_on_thread(window, data, EM_TRUE, key, KRGFX_ON_BROWSER);
  emscripten_set_keyup_callback_on_thread(window, data, EM_TRUE, key, KRGFX_ON_BROWSER);
  emscripten_set_mousedown_callback_on_thread(canvasTarget, data, EM_TRUE, mouse, KRGFX_ON_BROWSER);
  emscripten_set_mouseup_callback_on_thread(window, data, EM_TRUE, mouse, KRGFX_ON_BROWSER);
  emscripten_set_mousemove_callback_on_thread(window, data, EM_TRUE, mouse, KRGFX_ON_BROWSER);
  emscripten_set_mouseenter_callback_on_thread(canvasTarget, data, EM_TRUE, mouse,
                                               KRGFX_ON_BROWSER);
  emscripten_set_mouseleave_callback_on_thread(canvasTarget, data, EM_TRUE, mouse,
                                               KRGFX_ON_BROWSER);
  emscripten_set_wheel_callback_on_thread(canvasTarget, data, EM_TRUE, on ? onWheel : nullptr,
                                          KRGFX_ON_BROWSER);
  emscripten_set_focus_callback_on_thread(window, data, EM_TRUE, on ? onFocus : nullptr,
                                          KRGFX_ON_BROWSER);
  emscripten_set_blur_callback_on_thread(window, data, EM_TRUE, on ? onFocus : nullptr,
                                         KRGFX_ON_BROWSER);
  emscripten_set_visibilitychange_callback_on_thread(data, EM_TRUE, on ? onVisibility : nullptr,
                                                     KRGFX_ON_BROWSER);
  emscripten_set_pointerlockchange_callback_on_thread(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, data,
                                                      EM_TRUE, on ? onPointerLock : nullptr,
                                                      KRGFX_ON_BROWSER);
  emscripten_set_beforeunload_callback_on_thread(data, on ? onBeforeUnload : nullptr,
                                                 KRGFX_ON_BROWSER);
}

}  // namespace krgfx
