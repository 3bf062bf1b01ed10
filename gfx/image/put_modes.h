// The row combiner behind each put mode of putImage and drawImageScaled.
#pragma once

#include <cstdint>

#include <krgfx/image.h>

namespace krgfx {

// The combiner that puts sourceBpp pixels on a targetBpp target in `mode`,
// or null when the mode is unknown or the depths cannot meet (only an 8-bit
// source on a 32-bit target in putAlpha crosses depths).
RowCombiner combinerForPut(int32_t mode, int32_t sourceBpp, int32_t targetBpp);

// Blends 32-bit source pixels over a 32-bit target by their alpha byte, as
// the plain blending pixel routines do (the target takes the source's
// alpha); on 8- and 16-bit targets it copies as plainCopy does.
void alphaBlendCopy(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                    int32_t sourcePitch, int32_t destinationPitch, int32_t alpha, void* blender,
                    void* param);

}  // namespace krgfx
