// Making an image (or the screen's work page) the drawing context's target.
#pragma once

namespace krgfx {

struct DrawContext;

// Binds target (null: the screen's work page) and selects the plain pixel
// routines. An image is always bound afresh, even at the address of the last
// target: its header may have been rewritten, or the last target freed and a
// new image made in its place.
void prepareTarget(DrawContext& context, void* target);

}  // namespace krgfx
