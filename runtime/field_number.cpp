// The value of a number field: a real rounded half to even, a based number
// (&H, &O, &B, &) or a decimal taken as a 32-bit unsigned conversion.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/field_input.h"
#include "runtime/plain_real.h"

namespace krgfx {

namespace {

constexpr int32_t outOfRange = INT32_MIN;

double realValue(const uint8_t* text, int32_t length) {
  std::string copy(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
  for (char& c : copy) {
    if (c == 'D' || c == 'd') c = c == 'D' ? 'E' : 'e';
  }
  const char* start = copy.c_str();  // the text ends at its first zero byte
  while (*start == ' ') ++start;
  if (start[0] == '0' && (start[1] == 'x' || start[1] == 'X')) return 0.0;
  return *start ? plainStrtod(start) : 0.0;
}

int32_t roundHalfToEven(double value) {
  if (std::isnan(value)) return outOfRange;
  double rounded = std::floor(value);
  double fraction = value - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return outOfRange;
  return static_cast<int32_t>(rounded);
}

int digitValue(uint8_t byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return 99;
}

// The text after '&': a letter picks the base, otherwise octal digits follow.
int32_t basedValue(const uint8_t* text, int32_t length) {
  uint32_t base = 8;
  int32_t first = 1;
  switch (text[0]) {
    case 'H':
    case 'h':
      base = 16;
      break;
    case 'O':
    case 'o':
      break;
    case 'B':
    case 'b':
      base = 2;
      break;
    default:
      first = 0;
  }
  uint32_t value = 0;  // wraps modulo 2^32
  for (int32_t i = first; i < length; ++i) {
    int digit = digitValue(text[i]);
    if (digit >= static_cast<int>(base)) break;
    value = value * base + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(value);
}

bool isSpace(uint8_t byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

// As an unsigned 32-bit decimal conversion: a magnitude above 4294967295
// gives 4294967295 whatever the sign, '-' negates modulo 2^32.
int32_t decimalValue(const uint8_t* text, int32_t length) {
  int32_t i = 0;
  while (i < length && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t magnitude = 0;
  bool overflow = false;
  for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > UINT32_MAX) {
      overflow = true;
      magnitude = UINT32_MAX;
    }
  }
  uint32_t value = static_cast<uint32_t>(magnitude);
  if (!overflow && negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t numberFieldValue(const uint8_t* text, int32_t length, bool looksReal) {
  if (looksReal) return roundHalfToEven(realValue(text, length));
  // The text ends at its first zero byte.
  if (const void* zero = std::memchr(text, 0, static_cast<size_t>(length))) {
    length = static_cast<int32_t>(static_cast<const uint8_t*>(zero) - text);
  }
  int32_t start = 0;
  while (start < length && text[start] == ' ') ++start;
  text += start;
  length -= start;
  if (length >= 2 && text[0] == '&') return basedValue(text + 1, length - 1);
  return decimalValue(text, length);
}

}  // namespace krgfx
