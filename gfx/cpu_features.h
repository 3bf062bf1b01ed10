// What the processor offers to the vectorised row routines.
#pragma once

namespace krgfx {

enum class VectorLevel { plain, sse2, avx2 };

// The best level the processor supports, or the one a test asked for.
VectorLevel vectorLevel();

// Whether the processor has AVX-512 with byte permutes (F, BW and VBMI) and
// no test asked for a level of its own: the widest palette row routines.
bool hasAvx512Vbmi();

// Lets tests run the plain or a lower vector level; plain..avx2 are capped
// at what the processor supports.
void overrideVectorLevel(VectorLevel level);
void clearVectorLevelOverride();

}  // namespace krgfx
