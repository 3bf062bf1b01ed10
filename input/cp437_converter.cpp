#include "input/cp437_converter.h"

namespace krgfx {

namespace {

constexpr char replacement = '?';

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at the front of `text`, 0 when
// it is malformed or cut short.
size_t sequenceLength(std::string_view text) {
  auto lead = static_cast<unsigned char>(text[0]);
  size_t length = lead < 0x80             ? 1
                  : (lead & 0xE0) == 0xC0 ? 2
                  : (lead & 0xF0) == 0xE0 ? 3
                  : (lead & 0xF8) == 0xF0 ? 4
                                          : 0;
  if (length == 0 || length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i)
    if (!isContinuation(static_cast<unsigned char>(text[i]))) return 0;
  return length;
}

}  // namespace

const std::string& Cp437Converter::convert(std::string_view utf8) {
  output_.clear();
  while (!utf8.empty()) convertCharacter(utf8);
  return output_;
}

uint8_t Cp437Converter::keyCharacter(std::string_view utf8) {
  const std::string& bytes = convert(utf8);
  return bytes.size() == 1 ? static_cast<uint8_t>(bytes[0]) : 0;
}

void Cp437Converter::convertCharacter(std::string_view& text) {
  size_t length = sequenceLength(text);
  if (length == 0) {
    output_ += replacement;
    text.remove_prefix(1);
    return;
  }
  char converted[8];
  size_t count = convertWithPlatform(text.substr(0, length), converted);
  if (count > 0)
    output_.append(converted, count);
  else
    output_ += replacement;
  text.remove_prefix(length);
}

}  // namespace krgfx
