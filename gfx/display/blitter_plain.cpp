// The plain half of the BlitterTable: one pixel at a time.
#include "gfx/display/blitter_rows.h"

namespace krgfx {

namespace blitters {

namespace {

template <Source source, int32_t displayDepth, int32_t rgbOrder>
constexpr Blitter plain = blitter<sourceBytes(source), plainRow<source, displayDepth, rgbOrder>>;

template <int32_t order>
constexpr BlitterTwelve plainTwelve = {
    plain<Source::palette, 15, order>,
    plain<Source::palette, 16, order>,
    plain<Source::palette, 24, order>,
    plain<Source::palette, 32, order>,
    plain<Source::rgb565, 15, order>,
    order ? plain<Source::rgb565, 16, 1> : copyBlitter,
    plain<Source::rgb565, 24, 0>,  // the work table gives the order
    plain<Source::rgb565, 32, 0>,
    plain<Source::argb32, 15, order>,
    plain<Source::argb32, 16, order>,
    plain<Source::argb32, 24, order>,
    order ? plain<Source::argb32, 32, 1> : copyBlitter,
};

}  // namespace

const BlitterHalf plainBlitters = joinOrders(plainTwelve<1>, plainTwelve<0>);

}  // namespace blitters

}  // namespace krgfx
