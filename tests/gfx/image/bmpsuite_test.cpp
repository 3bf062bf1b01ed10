// Every file of the BMP corpus through loadImageFile into a 130x70 32-bit
// image: decoded files give the pixels expected of them, refused files their
// result code, and no file writes outside the image. The expectations come
// from tests/data/bmpsuite/expectations.py, a separate reading of the
// loader's rules, run-length files included (corners: (0,0), (126,0),
// (0,63), (126,63); the checksum is FNV-1a over every pixel of the image).
// The run-length pictures match their plain twins (pal8rle.bmp and pal8.bmp).
#include <gtest/gtest.h>

#include <krgfx/image.h>
#include "image_test_support.h"
#include "support/screen_fixture.h"

namespace krgfx {

using namespace image_test;

namespace {

struct CorpusFile {
  const char* name;
  int32_t result;
  uint32_t corners[4];
  uint32_t checksum;
};
void PrintTo(const CorpusFile& file, std::ostream* out) { *out << file.name; }

const CorpusFile corpus[] = {
    {"g/pal1.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"g/pal1bg.bmp", 0, {0xFF40FF40, 0xFF40FF40, 0xFF4040FF, 0xFF4040FF}, 0xC4BD4939},
    {"g/pal1wb.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"g/pal4.bmp", 0, {0xFFFF0000, 0xFFFF80FF, 0xFF000000, 0xFF000000}, 0x3ABB0709},
    {"g/pal4gs.bmp", 0, {0xFF8B8B8B, 0xFFA2A2A2, 0xFF000000, 0xFF5D5D5D}, 0x6C508936},
    {"g/pal4rle.bmp", 0, {0xFFFF0000, 0xFFFF80FF, 0xFF000000, 0xFF000000}, 0x3ABB0709},
    {"g/pal8-0.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8gs.bmp", 0, {0xFF808080, 0xFFA2A2A2, 0xFF000000, 0xFF636363}, 0xB0D6716B},
    {"g/pal8nonsquare.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFFFF00FF, 0xFFFF00FF}, 0x21DA3E74},
    {"g/pal8os2.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8rle.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8topdown.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8v4.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8v5.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"g/pal8w124.bmp", 0, {0xFFFF0000, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x5F8BB0E1},
    {"g/pal8w125.bmp", 0, {0xFFFF0000, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0xD8BC5C37},
    {"g/pal8w126.bmp", 0, {0xFFFF0000, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x18AC6411},
    {"g/rgb16-565.bmp", 0, {0xFFFF0000, 0xFF9C9EBD, 0xFF000000, 0xFF63617B}, 0x0D78A462},
    {"g/rgb16-565pal.bmp", 0, {0xFFFF0000, 0xFF9C9EBD, 0xFF000000, 0xFF63617B}, 0x0D78A462},
    {"g/rgb16.bmp", 0, {0xFFFF0000, 0xFF9C9CBD, 0xFF000000, 0xFF63637B}, 0xDF40A60C},
    {"g/rgb16bfdef.bmp", 0, {0xFFFF0000, 0xFF9C9CBD, 0xFF000000, 0xFF63637B}, 0xDF40A60C},
    {"g/rgb24.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xB943425F},
    {"g/rgb24pal.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xB943425F},
    {"g/rgb32.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0x922A5867},
    {"g/rgb32bf.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0x922A5867},
    {"g/rgb32bfdef.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0x922A5867},
    {"q/pal1huffmsb.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/pal1p1.bmp", 0, {0xFF4040FF, 0xFF4040FF, 0xFF4040FF, 0xFF4040FF}, 0x459511A5},
    {"q/pal2.bmp", 0, {0xFFAAAAAA, 0xFFAAAAAA, 0xFF000000, 0xFF555555}, 0xA08FB88F},
    {"q/pal2color.bmp", 0, {0xFF0000FF, 0xFF0000FF, 0xFF000000, 0xFFFF0000}, 0xF5B623D6},
    {"q/pal4rlecut.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFFFF00FF}, 0xF8B69311},
    {"q/pal4rletrns.bmp", 0, {0xFFFF0000, 0xFFFF80FF, 0xFF000000, 0xFF000000}, 0x7E612F29},
    {"q/pal8offs.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8os2-hs.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8os2-sz.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8os2sp.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8os2v2-16.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/pal8os2v2-40sz.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8os2v2-sz.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/pal8os2v2.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/pal8oversizepal.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"q/pal8rlecut.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFFFF00FF}, 0x0C412A71},
    {"q/pal8rletrns.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0x9E2CEF70},
    {"q/rgb16-231.bmp", 0, {0xFFC00000, 0xFF80A080, 0xFF000000, 0xFF404000}, 0xFBD11345},
    {"q/rgb16-3103.bmp", 0, {0xFFE00000, 0xFFA09FA0, 0xFF000000, 0xFF406060}, 0x1BED2AE8},
    {"q/rgb16faketrns.bmp", 0, {0xFFFF0000, 0xFF9C9CBD, 0xFF000000, 0xFF63637B}, 0xDF40A60C},
    {"q/rgb24jpeg.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/rgb24largepal.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xB943425F},
    {"q/rgb24lprof.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xB943425F},
    {"q/rgb24png.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/rgb24prof.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xB943425F},
    {"q/rgb24prof2.bmp", 0, {0xFF00FF00, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0x7DEF11DD},
    {"q/rgb24rle24.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/rgb32-111110.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0x046AB169},
    {"q/rgb32-7187.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0xA8EF816F},
    {"q/rgb32-xbgr.bmp", 0, {0x00FF0000, 0x009F9FBD, 0x00000000, 0x0060607E}, 0x922A5867},
    {"q/rgb32fakealpha.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0x00000000, 0x0060607E}, 0x4DC6C133},
    {"q/rgb32h52.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/rgba16-1924.bmp", 0, {0xFF800000, 0xFF809F80, 0xFF000000, 0xFF006040}, 0xE958902D},
    {"q/rgba16-4444.bmp", 0, {0xFFFF0000, 0xFF9999BB, 0xFF000000, 0xFF666677}, 0xE7E7DFC1},
    {"q/rgba16-5551.bmp", 0, {0xFFFF0000, 0xFF9C9CBD, 0xFF000000, 0xFF63637B}, 0xDF40A60C},
    {"q/rgba32-1.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xA6208D15},
    {"q/rgba32-1010102.bmp", 0, {0xC0FF0000, 0xC09F9FBD, 0xC0000000, 0xC060607E}, 0x088D4E4B},
    {"q/rgba32-2.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xA6208D15},
    {"q/rgba32-61754.bmp", 0, {0xFFFF0000, 0xFF9E9FBD, 0xFF000000, 0xFF61607B}, 0x8488FA87},
    {"q/rgba32-81284.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0x631F5B85},
    {"q/rgba32abf.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"q/rgba32h56.bmp", 0, {0xFFFF0000, 0xFF9F9FBD, 0xFF000000, 0xFF60607E}, 0xA6208D15},
    {"q/rgba64.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/badbitcount.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/badbitssize.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"b/baddens1.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"b/baddens2.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"b/badfilesize.bmp", 0, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000}, 0x3F9CFA2D},
    {"b/badheadersize.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/badpalettesize.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0xDC1581A4},
    {"b/badplanes.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/badrle.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF665566}, 0xA363663B},
    {"b/badrle4.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF008000}, 0x71D9F484},
    {"b/badrle4bis.bmp", 0, {0xFFFF0000, 0xFFFF80FF, 0xFF000000, 0xFF000000}, 0x7128D13E},
    {"b/badrle4ter.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF000000}, 0x88032689},
    {"b/badrlebis.bmp", 0, {0xFFFF0000, 0xFF99AACC, 0xFF000000, 0xFF665566}, 0x34A6076F},
    {"b/badrleter.bmp", 0, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF665566}, 0xECD838A5},
    {"b/badwidth.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/pal8badindex.bmp", 0, {0xFFFF0000, 0xFF638D63, 0xFF000000, 0xFF665566}, 0x3CB52F90},
    {"b/reallybig.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/rgb16-880.bmp", 0, {0xFFFF0000, 0xFF9F9F00, 0xFF000000, 0xFF606000}, 0x6DD82C92},
    {"b/rletopdown.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}, 0x461EA9A5},
    {"b/shortfile.bmp", 3, {0xFFFF00FF, 0xFFFF00FF, 0xFF000000, 0xFF000000}, 0xC339797C},
};

constexpr int32_t width = 130, height = 70;
constexpr uint32_t fill = 0xFFFF00FF;

uint32_t checksumOf(const void* image) {
  uint32_t hash = 0x811C9DC5;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel = pixelAt(image, x, y);
      for (int shift = 0; shift < 32; shift += 8)
        hash = (hash ^ ((pixel >> shift) & 0xFF)) * 0x01000193;
    }
  return hash;
}

class BmpSuiteTest : public ScreenTest, public ::testing::WithParamInterface<CorpusFile> {};

}  // namespace

TEST_P(BmpSuiteTest, LoadsAsExpected) {
  openNullScreen();
  const CorpusFile& file = GetParam();
  GuardedImage image(4, width, height, fill);
  std::string path = std::string(KRGFX_TEST_DATA) + "/bmpsuite/" + file.name;
  EXPECT_EQ(loadImageFile(path, image.data(), nullptr), file.result);
  const int32_t cornerX[4] = {0, 126, 0, 126}, cornerY[4] = {0, 0, 63, 63};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(pixelAt(image.data(), cornerX[i], cornerY[i]), file.corners[i]) << "corner " << i;
  EXPECT_EQ(pixelAt(image.data(), 127, 64), fill);
  EXPECT_EQ(checksumOf(image.data()), file.checksum);
  EXPECT_TRUE(image.guardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Corpus, BmpSuiteTest, ::testing::ValuesIn(corpus),
                         [](const ::testing::TestParamInfo<CorpusFile>& info) {
                           std::string name = info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace krgfx
