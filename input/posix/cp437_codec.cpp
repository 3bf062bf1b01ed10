// The code page 437 conversion through iconv.
#include <iconv.h>

#include "input/cp437_converter.h"

namespace krgfx {

namespace {

const iconv_t noDescriptor = reinterpret_cast<iconv_t>(-1);

iconv_t descriptorOf(void* state) { return static_cast<iconv_t>(state); }

}  // namespace

Cp437Converter::Cp437Converter() : platform_(iconv_open("CP437", "UTF-8")) {}

Cp437Converter::~Cp437Converter() {
  if (descriptorOf(platform_) != noDescriptor) iconv_close(descriptorOf(platform_));
}

size_t Cp437Converter::convertWithPlatform(std::string_view character, char* out) {
  iconv_t descriptor = descriptorOf(platform_);
  if (descriptor == noDescriptor) {
    if (character.size() != 1) return 0;
    out[0] = character[0];  // without iconv, ASCII is still ASCII
    return 1;
  }
  char* input = const_cast<char*>(character.data());
  size_t inputLeft = character.size();
  char* output = out;
  size_t outputLeft = 8;
  if (iconv(descriptor, &input, &inputLeft, &output, &outputLeft) == static_cast<size_t>(-1)) {
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return 0;
  }
  return static_cast<size_t>(output - out);
}

}  // namespace krgfx
