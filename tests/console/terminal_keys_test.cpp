#include "console/terminal_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/cp437.h"

namespace krgfx {

namespace {

// Every key code the bytes decode to, in order.
std::vector<int32_t> keysOf(const std::string& bytes) {
  std::vector<int32_t> codes;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t at = 0, used = 0; at < bytes.size(); at += used) {
    int32_t code = decodeTerminalKey(data + at, bytes.size() - at, &used);
    EXPECT_GE(used, 1u);
    if (code) codes.push_back(code);
  }
  return codes;
}

constexpr int32_t extended(int32_t scan) { return (scan << 8) | 0xFF; }

TEST(Cp437, UpperHalfRoundTripsThroughUnicode) {
  for (int byte = 128; byte < 256; ++byte) {
    EXPECT_EQ(unicodeToCp437(cp437ToUnicode(static_cast<uint8_t>(byte))), byte) << byte;
  }
  EXPECT_EQ(cp437ToUnicode(0x82), U'\u00E9');
  EXPECT_EQ(cp437ToUnicode(0xDB), U'\u2588');
  EXPECT_EQ(cp437ToUnicode(0x01), U'\u263A');
  EXPECT_EQ(cp437ToUnicode(0), U' ');
  EXPECT_EQ(unicodeToCp437(U'\u20AC'), '?');  // the euro sign is not in the code page
  EXPECT_EQ(unicodeToCp437(U'a'), 'a');
}

TEST(Cp437, Utf8EncodingOfEveryLength) {
  std::string text;
  for (char32_t c : {U'a', U'\u00E9', U'\u2588', U'\U0001F600'}) appendUtf8(text, c);
  EXPECT_EQ(text, "a\xC3\xA9\xE2\x96\x88\xF0\x9F\x98\x80");
}

TEST(TerminalKeys, CharactersAndControlBytes) {
  EXPECT_EQ(keysOf("aZ 1"), (std::vector<int32_t>{'a', 'Z', ' ', '1'}));
  EXPECT_EQ(keysOf("\r\t\x7f\x08\x03"), (std::vector<int32_t>{13, 9, 8, 8, 3}));
  EXPECT_EQ(keysOf(std::string("\0", 1)), std::vector<int32_t>{});
  EXPECT_EQ(keysOf("\x1b"), std::vector<int32_t>{27});
  EXPECT_EQ(keysOf("\x1b\x1b"), (std::vector<int32_t>{27, 27}));
}

TEST(TerminalKeys, Utf8BecomesCodePage437) {
  EXPECT_EQ(keysOf("\xC3\xA9\xE2\x96\x88"), (std::vector<int32_t>{0x82, 0xDB}));
  // Not in the code page, a stray continuation byte, a cut-off sequence.
  EXPECT_EQ(keysOf("\xE2\x82\xAC"
                   "\x80"
                   "\xC3"),
            (std::vector<int32_t>{'?', '?', '?'}));
  // A lead byte followed by a plain character: the character survives.
  EXPECT_EQ(keysOf("\xC3x"), (std::vector<int32_t>{'?', 'x'}));
}

TEST(TerminalKeys, CursorAndEditingKeys) {
  EXPECT_EQ(keysOf("\x1b[A\x1b[B\x1b[C\x1b[D"),
            (std::vector<int32_t>{extended(72), extended(80), extended(77), extended(75)}));
  EXPECT_EQ(
      keysOf("\x1bOA\x1b[H\x1b[F\x1b[1~\x1b[4~"),
      (std::vector<int32_t>{extended(72), extended(71), extended(79), extended(71), extended(79)}));
  EXPECT_EQ(keysOf("\x1b[2~\x1b[3~\x1b[5~\x1b[6~"),
            (std::vector<int32_t>{extended(82), extended(83), extended(73), extended(81)}));
}

TEST(TerminalKeys, FunctionKeysOfEveryTerminalStyle) {
  EXPECT_EQ(keysOf("\x1bOP\x1bOS\x1b[15~\x1b[21~\x1b[23~\x1b[24~"),
            (std::vector<int32_t>{extended(59), extended(62), extended(63), extended(68),
                                  extended(133), extended(134)}));
  EXPECT_EQ(keysOf("\x1b[[A\x1b[[E"), (std::vector<int32_t>{extended(59), extended(63)}));
}

TEST(TerminalKeys, ModifiersPickTheirColumn) {
  // Shift+F1, Ctrl+F1, Alt+F1, Ctrl+Up, Alt+Delete, Shift+F12, Ctrl+Alt+Left (Alt wins).
  EXPECT_EQ(keysOf("\x1b[1;2P\x1b[1;5P\x1b[1;3P\x1b[1;5A\x1b[3;3~\x1b[24;2~\x1b[1;7D"),
            (std::vector<int32_t>{extended(84), extended(94), extended(104), extended(0x8D),
                                  extended(0xA3), extended(136), extended(0x9B)}));
  // Shift leaves the cursor keys as they are.
  EXPECT_EQ(keysOf("\x1b[1;2A"), std::vector<int32_t>{extended(72)});
}

TEST(TerminalKeys, AltWithAKey) {
  EXPECT_EQ(keysOf("\x1bx\x1bQ\x1b"
                   "1\x1b"
                   "0\x1b\r\x1b\x7f"),
            (std::vector<int32_t>{extended(45), extended(16), extended(120), extended(129),
                                  extended(28), extended(224)}));
  EXPECT_EQ(keysOf("\x1b!"), std::vector<int32_t>{'!'});
}

TEST(TerminalKeys, UnknownAndCutOffSequencesGiveNothing) {
  EXPECT_EQ(keysOf("\x1b[99~a"), std::vector<int32_t>{'a'});
  EXPECT_EQ(keysOf("\x1b[Za"), std::vector<int32_t>{'a'});
  EXPECT_EQ(keysOf("a\x1b[1;5"), std::vector<int32_t>{'a'});
  EXPECT_EQ(keysOf("a\x1bO"), std::vector<int32_t>{'a'});
  EXPECT_EQ(keysOf("a\x1b[["), std::vector<int32_t>{'a'});
  // A huge parameter neither overflows nor names a key.
  EXPECT_EQ(keysOf("\x1b[99999999999999999999~b"), std::vector<int32_t>{'b'});
}

}  // namespace

}  // namespace krgfx
