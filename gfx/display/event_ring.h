// The screen's ring of window events, filled by the window procedure and the
// input side.
#pragma once

#include <cstdint>

#include "gfx/screen.h"

namespace krgfx {

// Appends an event to the screen's ring, dropping the oldest so that at most
// 127 are kept. Does nothing without a screen.
void queueEvent(const ScreenEvent& event);

// ScreenEvent types posted by the window layer.
constexpr int32_t eventMouseLeft = 10;
constexpr int32_t eventFocusGained = 11;
constexpr int32_t eventFocusLost = 12;
constexpr int32_t eventCloseRequest = 13;

}  // namespace krgfx
