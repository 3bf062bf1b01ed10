#include "gfx/display/blitter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <krgfx/gfx.h>
#include "gfx/cpu_features.h"
#include "gfx/display/blitter_palette.h"
#include "support/screen_fixture.h"

namespace krgfx {

namespace {

constexpr int32_t tableDisplayDepths[4] = {15, 16, 24, 32};

int32_t bytesOfDisplayPixel(int32_t displayDepth) {
  return displayDepth == 8 ? 1 : displayDepth == 24 ? 3 : displayDepth == 32 ? 4 : 2;
}

// Where the table keeps a conversion: half 0 plain, 1 vector; group 0 for
// screens of up to 8 bits, 1 for 16, 2 for 32; column by display depth.
int32_t tableIndex(int32_t half, int32_t rgbOrder, int32_t group, int32_t column) {
  return half * 24 + (rgbOrder ? 0 : 12) + group * 4 + column;
}

int32_t groupOf(int32_t screenDepth) { return screenDepth <= 8 ? 0 : screenDepth == 16 ? 1 : 2; }

// What the display shows for screen pixel s, worked out channel by channel.
uint32_t expectedPixel(const GfxScreen& screen, uint32_t s, int32_t displayDepth,
                       int32_t rgbOrder) {
  bool ownFormat = (screen.depth == 16 && displayDepth == 16) ||
                   (screen.depth == 32 && displayDepth == 32);
  if (displayDepth == 8 || (ownFormat && rgbOrder == 0)) return s;  // copied, alpha included
  uint32_t red, green, blue;
  if (screen.depth <= 8) {
    uint32_t colour = screen.devicePalette[s];
    red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  } else if (screen.depth == 16) {
    red = (s >> 11) << 3, green = ((s >> 5) & 0x3F) << 2, blue = (s & 0x1F) << 3;
  } else {
    red = (s >> 16) & 0xFF, green = (s >> 8) & 0xFF, blue = s & 0xFF;
  }
  uint32_t low = rgbOrder ? red : blue, high = rgbOrder ? blue : red;
  if (displayDepth == 15) return (low >> 3) | (green >> 3) << 5 | (high >> 3) << 10;
  if (displayDepth == 16) return (low >> 3) | (green >> 2) << 5 | (high >> 3) << 11;
  return low | green << 8 | high << 16;
}

// The bits of a display pixel that the display shows.
uint32_t significantBits(int32_t displayDepth, int32_t rgbOrder) {
  if (displayDepth == 15) return 0x7FFF;
  if (displayDepth == 32 && rgbOrder) return 0xFFFFFF;
  return displayDepth == 32 ? 0xFFFFFFFF : (1u << (8 * bytesOfDisplayPixel(displayDepth))) - 1;
}

uint32_t screenPixel(const GfxScreen& screen, int32_t row, int32_t x) {
  uint32_t pixel = 0;
  std::memcpy(&pixel, screen.visibleFramebuffer + row * screen.pitch + x * screen.bytesPerPixel,
              screen.bytesPerPixel);
  return pixel;
}

// New pixels, palette and dirty rows; about half the rows dirty.
void randomiseScreen(GfxScreen& screen, std::mt19937& random) {
  for (int32_t i = 0; i < screen.pitch * screen.height; ++i)
    screen.visibleFramebuffer[i] = static_cast<uint8_t>(random());
  for (uint32_t& colour : screen.devicePalette) colour = random();
  for (int32_t row = 0; row < screen.height * screen.scanlineSize; ++row)
    screen.dirtyLines[row] = random() % 2 ? static_cast<uint8_t>(random() | 1) : 0;
}

// A display surface with guard bytes before, between and after its rows.
struct Surface {
  int32_t lead = 0;
  int32_t pitch = 0;
  std::vector<uint8_t> bytes;
  uint8_t* rowZero() { return bytes.data() + lead; }
};

Surface randomSurface(const GfxScreen& screen, int32_t displayDepth, std::mt19937& random) {
  Surface surface;
  surface.lead = 1 + static_cast<int32_t>(random() % 16);
  surface.pitch = screen.width * bytesOfDisplayPixel(displayDepth) +
                  static_cast<int32_t>(random() % 9);
  int32_t rows = screen.height * screen.scanlineSize;
  surface.bytes.resize(surface.lead + rows * surface.pitch + 16);
  for (uint8_t& byte : surface.bytes) byte = static_cast<uint8_t>(random());
  return surface;
}

// Runs `blitter` over a random screen state and checks every byte of the
// surface: converted pixels in dirty rows (their significant bits), the
// surface's own bytes everywhere else.
template <typename Run>
void checkBlitter(Run blitter, int32_t displayDepth, int32_t rgbOrder, std::mt19937& random,
                  const std::string& what) {
  GfxScreen& screen = *gfxScreen;
  randomiseScreen(screen, random);
  Surface surface = randomSurface(screen, displayDepth, random);
  std::vector<uint8_t> expected = surface.bytes, significant(surface.bytes.size(), 0xFF);
  const int32_t pixelBytes = bytesOfDisplayPixel(displayDepth);
  const uint32_t mask = significantBits(displayDepth, rgbOrder);
  for (int32_t displayRow = 0; displayRow < screen.height * screen.scanlineSize; ++displayRow) {
    int32_t row = displayRow / screen.scanlineSize;
    if (!screen.dirtyLines[row]) continue;
    for (int32_t x = 0; x < screen.width; ++x) {
      size_t at = surface.lead + displayRow * surface.pitch + x * pixelBytes;
      uint32_t value = expectedPixel(screen, screenPixel(screen, row, x), displayDepth, rgbOrder);
      std::memcpy(&expected[at], &value, pixelBytes);
      std::memcpy(&significant[at], &mask, pixelBytes);
    }
  }
  std::vector<uint8_t> dirtyBefore(screen.dirtyLines,
                                   screen.dirtyLines + screen.height * screen.scanlineSize);
  blitter(surface.rowZero(), surface.pitch);
  for (size_t i = 0; i < expected.size(); ++i) {
    if ((surface.bytes[i] ^ expected[i]) & significant[i]) {
      int64_t offset = static_cast<int64_t>(i) - surface.lead;
      int64_t row = offset < 0 ? -1 : offset / surface.pitch;
      FAIL() << what << ": byte " << offset % surface.pitch << " of display row " << row << " is "
             << int(surface.bytes[i]) << ", expected " << int(expected[i]);
    }
  }
  EXPECT_TRUE(std::equal(dirtyBefore.begin(), dirtyBefore.end(), screen.dirtyLines)) << what;
}

struct Flavour {
  const char* name;
  int32_t half;
  VectorLevel level;
  bool widest;  // no override: AVX-512 where the processor has it
  // Runs with this flavour's level in force; the vector palette routines
  // choose their rows when they run, not when the table is built.
  void apply() const {
    if (widest)
      clearVectorLevelOverride();
    else
      overrideVectorLevel(level);
  }
};

// The plain half, and the vector half at every level the processor offers.
std::vector<Flavour> flavours() {
  clearVectorLevelOverride();
  std::vector<Flavour> all = {{"plain", 0, VectorLevel::sse2, false},
                              {"sse2", 1, VectorLevel::sse2, false}};
  if (vectorLevel() == VectorLevel::avx2) all.push_back({"avx2", 1, VectorLevel::avx2, false});
  if (hasAvx512Vbmi()) all.push_back({"avx512", 1, VectorLevel::avx2, true});
  return all;
}

// Runs table entry `index` as `flavour` over the current screen.
void runEntry(const Flavour& flavour, int32_t index, uint8_t* destination, int32_t pitch) {
  flavour.apply();
  blitterTable()[index](destination, pitch);
  clearVectorLevelOverride();
}

class Blitters : public ScreenTest {
 protected:
  static GfxScreen& openScreenWithRepeat(int32_t width, int32_t height, int32_t depth,
                                         int32_t scanlineSize) {
    EXPECT_EQ(applyMode(-1, width, height, depth, scanlineSize, 1, 0, 3, 0, flagNoDisplay, 1.0f,
                        width / 8, height / 8),
              0);
    return *gfxScreen;
  }

  // Every table entry for these screen depths against the reference, over
  // widths 1 to 67, 800 and 802 and both row repeats.
  static void sweep(std::initializer_list<int32_t> screenDepths, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<int32_t> widths;
    for (int32_t width = 1; width <= 67; ++width) widths.push_back(width);
    widths.insert(widths.end(), {800, 802});
    for (int32_t width : widths) {
      for (int32_t scanlineSize : {1, 2}) {
        for (int32_t depth : screenDepths) {
          int32_t height = width >= 800 ? 3 : 2 + width % 5;
          openScreenWithRepeat(width, height, depth, scanlineSize);
          for (int32_t order : {1, 0}) {
            for (int32_t column = 0; column < 4; ++column) {
              int32_t displayDepth = tableDisplayDepths[column];
              ASSERT_NE(chooseBlitter(displayDepth, order), nullptr);  // fills the work table
              for (const Flavour& flavour : flavours()) {
                int32_t index = tableIndex(flavour.half, order, groupOf(depth), column);
                auto entry = [&](uint8_t* destination, int32_t pitch) {
                  runEntry(flavour, index, destination, pitch);
                };
                checkBlitter(entry, displayDepth, order, random,
                             std::string(flavour.name) + " entry " + std::to_string(index) +
                                 ", depth " + std::to_string(depth) + ", width " +
                                 std::to_string(width) + ", repeat " +
                                 std::to_string(scanlineSize));
                if (::testing::Test::HasFatalFailure()) return;
              }
            }
            if (depth <= 8) {
              ASSERT_EQ(chooseBlitter(8, order), copyBlitter);
              checkBlitter(copyBlitter, 8, order, random, "copy, width " + std::to_string(width));
            }
          }
        }
      }
    }
  }

  // Fills a small screen's first row from `pixels`, marks only it dirty and
  // shows it through chooseBlitter; returns the first display row.
  static std::vector<uint8_t> showFirstRow(int32_t displayDepth, int32_t rgbOrder,
                                           const std::vector<uint32_t>& pixels) {
    GfxScreen& screen = *gfxScreen;
    for (size_t x = 0; x < pixels.size(); ++x)
      std::memcpy(screen.visibleFramebuffer + x * screen.bytesPerPixel, &pixels[x],
                  screen.bytesPerPixel);
    std::memset(screen.dirtyLines, 0, screen.height * screen.scanlineSize);
    screen.dirtyLines[0] = 1;
    Blitter blitter = chooseBlitter(displayDepth, rgbOrder);
    EXPECT_NE(blitter, nullptr);
    int32_t pitch = screen.width * bytesOfDisplayPixel(displayDepth);
    std::vector<uint8_t> surface(pitch * screen.height, 0xAA);
    if (blitter) blitter(surface.data(), pitch);
    surface.resize(pitch);
    return surface;
  }

  static uint32_t shownPixel(const std::vector<uint8_t>& row, int32_t displayDepth, int32_t x) {
    uint32_t value = 0;
    int32_t bytes = bytesOfDisplayPixel(displayDepth);
    std::memcpy(&value, row.data() + x * bytes, bytes);
    return value;
  }
};

}  // namespace

TEST_F(Blitters, PaletteScreensMatchThePerPixelReference) { sweep({1, 2, 4, 8}, 11); }

TEST_F(Blitters, Rgb565ScreensMatchThePerPixelReference) { sweep({16}, 22); }

TEST_F(Blitters, Argb32ScreensMatchThePerPixelReference) { sweep({32}, 33); }

TEST_F(Blitters, ChoosesTheEntryForScreenDisplayAndOrder) {
  for (int32_t depth : {1, 2, 4, 8, 16, 32}) {
    openNullScreen(64, 8, depth);
    ASSERT_TRUE(gfxScreen->flags & screenMmx);
    for (int32_t order : {0, 1}) {
      for (int32_t column = 0; column < 4; ++column)
        EXPECT_EQ(chooseBlitter(tableDisplayDepths[column], order),
                  blitterTable()[tableIndex(1, order, groupOf(depth), column)])
            << depth << " onto " << tableDisplayDepths[column];
      EXPECT_EQ(chooseBlitter(8, order), depth <= 8 ? copyBlitter : nullptr) << depth;
      for (int32_t unserved : {0, 1, 4, 12, 17, 48, -16})
        EXPECT_EQ(chooseBlitter(unserved, order), nullptr) << unserved;
    }
    // Any non-zero order is the red-low order.
    EXPECT_EQ(chooseBlitter(24, 7), chooseBlitter(24, 1));
  }
  // Displays of the screen's own format get the copy in both halves.
  openNullScreen(64, 8, 32);
  EXPECT_EQ(chooseBlitter(32, 0), copyBlitter);
  EXPECT_EQ(blitterTable()[tableIndex(0, 0, 2, 3)], copyBlitter);
  openNullScreen(64, 8, 16);
  EXPECT_EQ(chooseBlitter(16, 0), copyBlitter);
  EXPECT_EQ(blitterTable()[tableIndex(0, 0, 1, 1)], copyBlitter);
}

TEST_F(Blitters, PlainHalfUnlessVectorRowsFit) {
  auto plainEntry = [](int32_t order, int32_t column) {
    return blitterTable()[tableIndex(0, order, 2, column)];
  };
  openNullScreen(802, 4, 32);
  ASSERT_TRUE(gfxScreen->flags & screenMmx);
  EXPECT_EQ(chooseBlitter(16, 0), plainEntry(0, 1));
  EXPECT_NE(plainEntry(0, 1), blitterTable()[tableIndex(1, 0, 2, 1)]);
  openScreenWithRepeat(800, 4, 32, 2);
  EXPECT_EQ(chooseBlitter(24, 1), plainEntry(1, 2));
  openNullScreen(800, 4, 32);
  gfxScreen->flags &= ~screenMmx;
  EXPECT_EQ(chooseBlitter(15, 1), plainEntry(1, 0));
  overrideVectorLevel(VectorLevel::plain);
  openNullScreen(800, 4, 32);  // no vector routines, no screenMmx
  EXPECT_EQ(chooseBlitter(15, 1), plainEntry(1, 0));
}

TEST_F(Blitters, VectorHalfRunsAtTheProcessorsLevel) {
  openNullScreen(800, 4, 32);
  overrideVectorLevel(VectorLevel::sse2);
  Blitter sse2 = chooseBlitter(15, 0);
  EXPECT_EQ(sse2, blitterTable()[tableIndex(1, 0, 2, 0)]);
  clearVectorLevelOverride();
  if (vectorLevel() != VectorLevel::avx2) GTEST_SKIP() << "no AVX2 on this processor";
  Blitter avx2 = chooseBlitter(15, 0);
  EXPECT_EQ(avx2, blitterTable()[tableIndex(1, 0, 2, 0)]);
  EXPECT_NE(avx2, sse2);
}

TEST_F(Blitters, KnownPixelsOfEachScreenDepth) {
  // Widths 8 (vector routines) and 6 (plain) give the same pixels.
  for (int32_t width : {8, 6}) {
    openNullScreen(width, 2, 32);
    std::vector<uint32_t> argb = {0xFFFF8040};
    EXPECT_EQ(shownPixel(showFirstRow(16, 0, argb), 16, 0), 0xFC08u) << width;
    EXPECT_EQ(shownPixel(showFirstRow(15, 0, argb), 15, 0), 0x7E08u) << width;

    openNullScreen(width, 2, 16);
    std::vector<uint32_t> rgb565 = {0xFFFF, 0xF800};
    auto row = showFirstRow(32, 0, rgb565);
    EXPECT_EQ(shownPixel(row, 32, 0), 0x00F8FCF8u) << width;
    EXPECT_EQ(shownPixel(row, 32, 1), 0x00F80000u) << width;
    EXPECT_EQ(shownPixel(showFirstRow(32, 1, rgb565), 32, 1), 0x000000F8u) << width;
    // The same Blitter follows the work table that the last choice filled.
    Blitter shared = chooseBlitter(32, 0);
    EXPECT_EQ(chooseBlitter(32, 1), shared);
    std::vector<uint8_t> surface(width * 4 * 2);
    shared(surface.data(), width * 4);
    EXPECT_EQ(shownPixel(surface, 32, 1), 0x000000F8u) << width;

    openNullScreen(width, 2, 8);
    gfxScreen->devicePalette[5] = 0x00112233;
    std::vector<uint32_t> index = {5};
    EXPECT_EQ(shownPixel(showFirstRow(32, 0, index), 32, 0), 0x00332211u) << width;
    EXPECT_EQ(shownPixel(showFirstRow(32, 1, index), 32, 0), 0x00112233u) << width;
    auto bytes = showFirstRow(24, 0, index);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3),
              (std::vector<uint8_t>{0x11, 0x22, 0x33}))
        << width;
  }
}

TEST_F(Blitters, SixteenBitScreensFollowWhateverTheWorkTableHolds) {
  // The vector forms widen with arithmetic while the table holds one of the
  // two fillings; any other content must still be what every pixel shows.
  GfxScreen& screen = openNullScreen(64, 5, 16);
  std::mt19937 random(55);
  for (int32_t column : {2, 3}) {
    int32_t displayDepth = tableDisplayDepths[column];
    chooseBlitter(displayDepth, 0);
    for (int32_t i = 0; i < 512; ++i) blitterWorkTable[i] = random();
    randomiseScreen(screen, random);
    std::vector<uint8_t> plain(64 * 4 * 5);
    blitterTable()[tableIndex(0, 0, 1, column)](plain.data(), 64 * 4);
    for (int32_t x = 0; x < 64; ++x) {
      if (!screen.dirtyLines[0]) break;
      uint32_t s = screenPixel(screen, 0, x);
      uint32_t shown = blitterWorkTable[s & 0xFF] | blitterWorkTable[256 + (s >> 8)];
      ASSERT_EQ(shownPixel(plain, displayDepth, x) & significantBits(displayDepth, 0),
                shown & significantBits(displayDepth, 0));
    }
    for (const Flavour& flavour : flavours()) {
      if (flavour.half == 0) continue;
      std::vector<uint8_t> vector(plain.size());
      runEntry(flavour, tableIndex(1, 0, 1, column), vector.data(), 64 * 4);
      EXPECT_EQ(vector, plain) << flavour.name << " onto " << displayDepth;
    }
  }
}

TEST_F(Blitters, GameScreenCopiesDirtyRowsByteForByte) {
  GfxScreen& screen = openNullScreen();
  ASSERT_EQ(chooseBlitter(32, 0), copyBlitter);
  std::mt19937 random(44);
  for (int32_t i = 0; i < screen.pitch * screen.height; ++i)
    screen.visibleFramebuffer[i] = static_cast<uint8_t>(random());
  std::memset(screen.dirtyLines, 0, screen.height);
  for (int32_t row = 0; row < screen.height; row += 3) screen.dirtyLines[row] = 1;
  std::vector<uint8_t> surface(3200 * 600, 0x5A);
  copyBlitter(surface.data(), 3200);
  for (int32_t row = 0; row < 600; ++row) {
    const uint8_t* shown = surface.data() + row * 3200;
    if (row % 3 == 0)
      ASSERT_EQ(std::memcmp(shown, screen.visibleFramebuffer + row * 3200, 3200), 0) << row;
    else
      ASSERT_EQ(std::count(shown, shown + 3200, 0x5A), 3200) << row;
  }
}

TEST_F(Blitters, ChangedRowCopyLeavesWhatACopyLeaves) {
  // A surface that shows the last frame: the next frame differs from it in a
  // few bytes of some rows; dirty rows end up as the frame, clean ones as
  // they were.
  for (int32_t depth : {8, 16, 32}) {
    GfxScreen& screen = openNullScreen(200, 40, depth);
    std::mt19937 random(45);
    const int32_t pitch = screen.pitch + 12;
    std::vector<uint8_t> surface(pitch * 40);
    for (uint8_t& byte : surface) byte = static_cast<uint8_t>(random());
    for (int32_t row = 0; row < 40; ++row) {
      std::memcpy(screen.visibleFramebuffer + row * screen.pitch, &surface[row * pitch],
                  screen.pitch);
      if (row % 4 == 1) screen.visibleFramebuffer[row * screen.pitch + random() % screen.pitch]++;
      screen.dirtyLines[row] = row % 3 != 0;
    }
    std::vector<uint8_t> copied = surface;
    copyBlitter(copied.data(), pitch);
    copyChangedBlitter(surface.data(), pitch);
    EXPECT_EQ(surface, copied) << depth;
  }
}

TEST_F(Blitters, WriteNothingWithoutAFittingScreen) {
  std::vector<uint8_t> surface(64 * 4 * 8, 0x77);
  const std::vector<uint8_t> untouched = surface;
  EXPECT_EQ(chooseBlitter(32, 0), nullptr);
  for (Blitter entry : blitterTable()) entry(surface.data(), 64 * 4);
  copyBlitter(surface.data(), 64 * 4);
  EXPECT_EQ(surface, untouched);

  // Routines for other pixel sizes would read past an 8-bit screen's rows.
  openNullScreen(64, 8, 8);
  std::memset(gfxScreen->dirtyLines, 1, 8);
  for (int32_t index : {tableIndex(0, 1, 2, 3), tableIndex(1, 1, 2, 2), tableIndex(0, 1, 1, 3),
                        tableIndex(1, 1, 1, 0)})
    blitterTable()[index](surface.data(), 64 * 4);
  EXPECT_EQ(surface, untouched);
  chooseBlitter(32, 0)(nullptr, 64 * 4);
}

TEST_F(Blitters, PaletteRowFormsWriteTheShownPixelsAndNothingElse) {
  // The row core that palette Blitters (and stretched rows) share: every
  // form, every width up to two blocks of the widest, any byte alignment.
  std::mt19937 random(66);
  uint32_t devicePalette[256];
  for (uint32_t& colour : devicePalette) colour = random();
  for (int32_t displayDepth : tableDisplayDepths) {
    for (int32_t order : {0, 1}) {
      blitters::ShownPalette shown;
      blitters::showPalette(shown, devicePalette, displayDepth, order);
      std::vector<blitters::PaletteRow> forms = {blitters::paletteLookupRow(displayDepth),
                                                 blitters::paletteRow(displayDepth)};
      if (auto permute = blitters::palettePermuteRow(displayDepth)) forms.push_back(permute);
      const int32_t bytes = bytesOfDisplayPixel(displayDepth);
      for (int32_t width = 0; width <= 130; ++width) {
        std::vector<uint8_t> in(width + 3);
        for (uint8_t& index : in) index = static_cast<uint8_t>(random());
        int32_t lead = static_cast<int32_t>(random() % 8);
        std::vector<uint8_t> expected(lead + width * bytes + 80);
        for (uint8_t& byte : expected) byte = static_cast<uint8_t>(random());
        for (int32_t x = 0; x < width; ++x) {
          uint32_t colour = devicePalette[in[3 + x]];
          uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
          uint32_t low = order ? red : blue, high = order ? blue : red, pixel;
          if (displayDepth == 15)
            pixel = (low >> 3) | (green >> 3) << 5 | (high >> 3) << 10;
          else if (displayDepth == 16)
            pixel = (low >> 3) | (green >> 2) << 5 | (high >> 3) << 11;
          else
            pixel = low | green << 8 | high << 16;
          std::memcpy(&expected[lead + x * bytes], &pixel, bytes);
        }
        for (size_t form = 0; form < forms.size(); ++form) {
          std::vector<uint8_t> out = expected;
          std::fill(out.begin() + lead, out.begin() + lead + width * bytes, 0x3C);
          forms[form](out.data() + lead, in.data() + 3, width, shown);
          ASSERT_EQ(out, expected) << "form " << form << ", depth " << displayDepth << ", order "
                                   << order << ", width " << width;
        }
      }
    }
  }
}

}  // namespace krgfx
