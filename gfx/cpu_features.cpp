#include "gfx/cpu_features.h"

namespace krgfx {

namespace {

#if defined(__x86_64__) || defined(__i386__)
VectorLevel detectedLevel() {
  static const VectorLevel level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return VectorLevel::avx2;
    if (__builtin_cpu_supports("sse2")) return VectorLevel::sse2;
    return VectorLevel::plain;
  }();
  return level;
}

bool detectedAvx512Vbmi() {
  static const bool present = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi");
  }();
  return present;
}
#else
// Other processors (WebAssembly) take the forms the compiler was told to
// target: SSE2 through its SIMD128 mapping, or the plain ones.
VectorLevel detectedLevel() {
#ifdef __SSE2__
  return VectorLevel::sse2;
#else
  return VectorLevel::plain;
#endif
}

bool detectedAvx512Vbmi() { return false; }
#endif

bool overridden = false;
VectorLevel overrideLevel = VectorLevel::plain;

}  // namespace

VectorLevel vectorLevel() {
  if (overridden && overrideLevel < detectedLevel()) return overrideLevel;
  return detectedLevel();
}

bool hasAvx512Vbmi() { return !overridden && detectedAvx512Vbmi(); }

void overrideVectorLevel(VectorLevel level) {
  overridden = true;
  overrideLevel = level;
}

void clearVectorLevelOverride() { overridden = false; }

}  // namespace krgfx
