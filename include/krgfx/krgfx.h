// Everything a program needs from the runtime: the screen, images, text,
// input and timing, and the runtime services. Every name is in namespace
// krgfx.
#pragma once

#include <krgfx/draw.h>
#include <krgfx/gfx.h>
#include <krgfx/image.h>
#include <krgfx/input.h>
#include <krgfx/runtime.h>
#include <krgfx/text.h>
