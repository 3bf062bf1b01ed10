#include "input/cp437_converter.h"

#include <gtest/gtest.h>

namespace krgfx {

TEST(Cp437Converter, AsciiStaysAscii) {
  Cp437Converter converter;
  EXPECT_EQ(converter.convert("a"), "a");
  EXPECT_EQ(converter.convert("Hello, 1!"), "Hello, 1!");
  EXPECT_EQ(converter.convert(std::string_view("\x1b\r\x7f", 3)), std::string("\x1b\r\x7f"));
  EXPECT_EQ(converter.convert(""), "");
}

TEST(Cp437Converter, CharactersOfTheCodePage) {
  Cp437Converter converter;
  EXPECT_EQ(converter.convert("\u00e9"), "\x82");  // e acute
  EXPECT_EQ(converter.convert("\u00fc\u00c4\u00df"), "\x81\x8e\xe1");
  EXPECT_EQ(converter.convert("\u2591\u2593\u2502"), "\xb0\xb2\xb3");  // shades, a box line
  EXPECT_EQ(converter.convert("\u00a0"), "\xff");
  EXPECT_EQ(converter.convert("\u03c0"), "\xe3");  // pi
}

TEST(Cp437Converter, MissingCharactersBecomeQuestionMarks) {
  Cp437Converter converter;
  EXPECT_EQ(converter.convert("\u20ac"), "?");      // euro sign
  EXPECT_EQ(converter.convert("a\u0142b"), "a?b");  // l with stroke
  EXPECT_EQ(converter.convert("\U0001F600x"), "?x");
  // The converter recovers after a failure.
  EXPECT_EQ(converter.convert("\u00e9"), "\x82");
}

TEST(Cp437Converter, MalformedBytesBecomeQuestionMarks) {
  Cp437Converter converter;
  EXPECT_EQ(converter.convert("\xc3"), "?");  // cut short
  EXPECT_EQ(converter.convert("\xc3"
                              "A"),
            "?A");                                 // continuation missing
  EXPECT_EQ(converter.convert("\x80\xbf"), "??");  // stray continuations
  EXPECT_EQ(converter.convert("\xff"
                              "b"),
            "?b");
  EXPECT_EQ(converter.convert("\xc0\xaf"), "?");      // overlong '/'
  EXPECT_EQ(converter.convert("\xed\xa0\x80"), "?");  // a surrogate
}

TEST(Cp437Converter, TheCharacterOfAKey) {
  Cp437Converter converter;
  EXPECT_EQ(converter.keyCharacter("a"), 'a');
  EXPECT_EQ(converter.keyCharacter("\u00e9"), 0x82);
  EXPECT_EQ(converter.keyCharacter("\u20ac"), '?');
  EXPECT_EQ(converter.keyCharacter(""), 0);
  EXPECT_EQ(converter.keyCharacter("ab"), 0);
}

}  // namespace krgfx
