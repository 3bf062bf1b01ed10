#include "gfx/image/image_target.h"

#include "gfx/draw_context.h"

namespace krgfx {

void prepareTarget(DrawContext& context, void* target) {
  if (target && target == context.target) context.target = nullptr;  // forces the rebind
  bindTarget(context, target);
  chooseWriteMode(context, 0xFF000000u);
}

}  // namespace krgfx
