#include <climits>

#include "runtime/file_test_support.h"
#include "runtime/files.h"

namespace krgfx {

namespace {

class FieldInput : public RuntimeFileTest {
 protected:
  void useInput(const std::string& bytes) {
    writeFile("input.txt", bytes);
    number = freeFileNumber();
    ASSERT_EQ(openFile("input.txt", modeReadText, accessDefault, 0, number, 0), 0);
  }
  int32_t nextInt() {
    EXPECT_EQ(selectInputFile(number), 0);
    int32_t value = 12345;
    EXPECT_EQ(readIntField(&value), 0);
    return value;
  }
  std::string nextText() {
    EXPECT_EQ(selectInputFile(number), 0);
    std::string text = "previous";
    EXPECT_EQ(readTextField(text, -1, 0), 0);
    return text;
  }
  std::vector<int32_t> nextInts(int count) {
    std::vector<int32_t> values;
    for (int i = 0; i < count; ++i) values.push_back(nextInt());
    return values;
  }
  int32_t number = 0;
};

using Ints = std::vector<int32_t>;

TEST_F(FieldInput, TextKeepsInnerAndTrailingBlanksNumbersEndAtBlanks) {
  useInput("  my pic.bmp  , 10 20,30");
  EXPECT_EQ(nextText(), "my pic.bmp  ");
  EXPECT_EQ(nextInts(3), (Ints{10, 20, 30}));
}

TEST_F(FieldInput, QuotedTextKeepsCommasAndEndsAtTheClosingQuote) {
  useInput("\"a, b.bmp\" ,5\n\"a\"b,5\n\t\" x \"\n");
  EXPECT_EQ(nextText(), "a, b.bmp");
  EXPECT_EQ(nextInt(), 5);
  EXPECT_EQ(nextText(), "a");
  EXPECT_EQ(nextText(), "b");
  EXPECT_EQ(nextInt(), 5);
  EXPECT_EQ(nextText(), " x ");
  EXPECT_EQ(nextText(), "");
}

TEST_F(FieldInput, NumbersRunAcrossLinesAndReadZeroAtTheEnd) {
  useInput("12 34 , 56\n");
  EXPECT_EQ(nextInts(5), (Ints{12, 34, 56, 0, 0}));
  EXPECT_EQ(nextText(), "");
}

TEST_F(FieldInput, BasedNumbersAndDExponents) {
  useInput("1.5D1,&HFF,&o17,&b101,&17");
  EXPECT_EQ(nextInts(5), (Ints{15, 255, 15, 5, 15}));
}

TEST_F(FieldInput, QuotesInsideNumbersAreDropped) {
  useInput("\"12\"34,\"1,2\"");
  EXPECT_EQ(nextInts(3), (Ints{1234, 1, 0}));
}

TEST_F(FieldInput, RealLookingNumbersRoundHalfToEven) {
  useInput("2.5,3.5,-1.5,0.5,1e10,2.4999,-2.5");
  EXPECT_EQ(nextInts(7), (Ints{2, 4, -2, 0, INT_MIN, 2, -2}));
}

TEST_F(FieldInput, DecimalsFollowTheUnsigned32BitRules) {
  useInput("4294967295,3000000000,4294967296,-4294967296,-4294967295,-7,+8");
  EXPECT_EQ(nextInts(7), (Ints{-1, -1294967296, -1, -1, 1, -7, 8}));
}

TEST_F(FieldInput, ALineWithAFieldMissingShiftsTheRest) {
  useInput("a.bmp,1,2,3\r\nb.bmp,4,5,6,7\r\n");
  EXPECT_EQ(nextText(), "a.bmp");
  EXPECT_EQ(nextInts(4), (Ints{1, 2, 3, 0}));  // the fourth is "b.bmp"
  EXPECT_EQ(nextText(), "4");
  EXPECT_EQ(nextInts(4), (Ints{5, 6, 7, 0}));
}

TEST_F(FieldInput, AByteOrderMarkBelongsToTheFirstField) {
  useInput(
      "\xEF\xBB\xBF"
      "3\n2\n");
  EXPECT_EQ(nextInts(2), (Ints{0, 2}));
  useInput(
      "\xEF\xBB\xBF"
      "name\n");
  EXPECT_EQ(nextText(),
            "\xEF\xBB\xBF"
            "name");
}

TEST_F(FieldInput, LoneCarriageReturnsEndLines) {
  useInput("1\r2\r\n3 \r\r4\r");
  EXPECT_EQ(nextInts(6), (Ints{1, 2, 3, 0, 4, 0}));
  useInput("a b\rc\r");
  EXPECT_EQ(nextText(), "a b");
  EXPECT_EQ(nextText(), "c");
  EXPECT_EQ(nextText(), "");
}

TEST_F(FieldInput, AHundredDigitNumberIsTwoFields) {
  std::string digits = std::string(66, '0') + "7" + std::string(32, '0') + "9";
  useInput(digits + ",5");
  EXPECT_EQ(nextInts(3), (Ints{7, 9, 5}));
}

TEST_F(FieldInput, ZeroBytesEndTheUsableText) {
  useInput(
      std::string("ab\0cd,12\0"
                  "9 34,\0x",
                  17));
  EXPECT_EQ(nextText(), "ab");
  EXPECT_EQ(nextInts(2), (Ints{12, 34}));
  std::string kept = "something long enough to live on the heap, not inline";
  EXPECT_EQ(selectInputFile(number), 0);
  EXPECT_EQ(readTextField(kept, -1, 1), 0);  // "\0x" holds no text
  EXPECT_EQ(kept, "");
  EXPECT_LT(kept.capacity(), 32u);  // the storage was released
}

TEST_F(FieldInput, EndOfFileInsideAField) {
  useInput("\"open, text ");
  EXPECT_EQ(nextText(), "open, text ");
  EXPECT_EQ(nextText(), "");
  useInput("\"12");
  EXPECT_EQ(nextInts(2), (Ints{12, 0}));
  useInput("7");
  EXPECT_EQ(nextInts(2), (Ints{7, 0}));
}

TEST_F(FieldInput, TenMegabyteLineReadsInTextPiecesOf4096) {
  const size_t lineLength = 10u << 20;
  useInput(std::string(lineLength, 'x') + "y,42\n");
  std::string piece;
  size_t total = 0;
  for (;;) {
    piece = nextText();
    if (piece.size() != 4096u) break;
    total += piece.size();
  }
  EXPECT_EQ(total, lineLength);
  EXPECT_EQ(piece, "y");
  EXPECT_EQ(nextInt(), 42);
}

TEST_F(FieldInput, FixedSizeTextTargetsAreCut) {
  useInput("abcdef,gh");
  std::string target;
  ASSERT_EQ(selectInputFile(number), 0);
  EXPECT_EQ(readTextField(target, 3, 0), 0);
  EXPECT_EQ(target, "abc");
  ASSERT_EQ(selectInputFile(number), 0);
  EXPECT_EQ(readTextField(target, 0, 0), 0);
  EXPECT_EQ(target, "");
}

TEST_F(FieldInput, PositionAndPushedBackByteSurviveANewSelection) {
  useInput("12 abc,x");
  EXPECT_EQ(nextInt(), 12);
  EXPECT_EQ(fileHandleOf(number)->pushBackLength, 1);  // the 'a' waits
  EXPECT_EQ(nextText(), "abc");
}

TEST_F(FieldInput, RefusedSelectionKeepsTheCurrentFile) {
  useInput("1,2,3");
  EXPECT_EQ(nextInt(), 1);
  for (int32_t refused : {number + 1, 256, -2}) {
    setRuntimeError(0);
    EXPECT_EQ(selectInputFile(refused), errBadCall);
    EXPECT_EQ(runtimeError(), errBadCall);
  }
  int32_t value = 0;
  EXPECT_EQ(readIntField(&value), 0);
  EXPECT_EQ(value, 2);
  EXPECT_EQ(readIntField(nullptr), errBadCall);
  EXPECT_EQ(nextInt(), 3);
}

TEST_F(FieldInput, AnUnopenableFileReadsAsEmpty) {
  int32_t n = freeFileNumber();
  EXPECT_EQ(openFile("2.spr", modeReadText, accessDefault, 0, n, 0), errNoFile);
  EXPECT_EQ(selectInputFile(n), errBadCall);
  int32_t count = 99;
  EXPECT_EQ(readIntField(&count), 0);
  EXPECT_EQ(runtimeError(), 0);
  EXPECT_EQ(count, 0);
  std::string name = "old";
  EXPECT_EQ(readTextField(name, -1, 0), 0);
  EXPECT_EQ(name, "");
  EXPECT_EQ(closeFile(n), errBadCall);
}

TEST_F(FieldInput, AClosedSelectedFileReadsAsEmpty) {
  useInput("5,6");
  EXPECT_EQ(nextInt(), 5);
  ASSERT_EQ(closeFile(number), 0);
  int32_t value = 99;
  EXPECT_EQ(readIntField(&value), 0);
  EXPECT_EQ(value, 0);
}

// The number conversion on its own.
int32_t valueOf(const std::string& text, bool looksReal) {
  return numberFieldValue(reinterpret_cast<const uint8_t*>(text.data()),
                          static_cast<int32_t>(text.size()), looksReal);
}

TEST(NumberField, DecimalTextKeepsItsLeadingNumber) {
  EXPECT_EQ(valueOf("12abc", false), 12);
  EXPECT_EQ(valueOf("abc", false), 0);
  EXPECT_EQ(valueOf("-", false), 0);
  EXPECT_EQ(valueOf("", false), 0);
  EXPECT_EQ(valueOf("  \t+15", false), 15);
  EXPECT_EQ(valueOf("&", false), 0);
  EXPECT_EQ(valueOf(std::string(66, '9'), false), -1);
  EXPECT_EQ(valueOf("-2147483648", false), INT_MIN);
  EXPECT_EQ(valueOf("2147483648", false), INT_MIN);  // the 32 bits read as signed
}

TEST(NumberField, BasedTextWrapsModulo2To32) {
  EXPECT_EQ(valueOf("&HfFfFfFfF", false), -1);
  EXPECT_EQ(valueOf("&H1FFFFFFFF", false), -1);
  EXPECT_EQ(valueOf("&H", false), 0);
  EXPECT_EQ(valueOf("&HDEADbeefG1", false), static_cast<int32_t>(0xDEADBEEF));
  EXPECT_EQ(valueOf("&O78", false), 7);
  EXPECT_EQ(valueOf("&B1021", false), 2);
  EXPECT_EQ(valueOf("&9", false), 0);
  EXPECT_EQ(valueOf(" &h10", false), 16);
  EXPECT_EQ(valueOf("&37777777777", false), -1);
}

TEST(NumberField, RealTextRoundsAndLimits) {
  EXPECT_EQ(valueOf("1.5E1", true), 15);
  EXPECT_EQ(valueOf("1.5d1", true), 15);
  EXPECT_EQ(valueOf("  -0.4", true), 0);
  EXPECT_EQ(valueOf("0x10", true), 0);
  EXPECT_EQ(valueOf("0X1.8p1", true), 0);
  EXPECT_EQ(valueOf(".", true), 0);
  EXPECT_EQ(valueOf("b.bmp", true), 0);
  EXPECT_EQ(valueOf("2147483647.4", true), INT_MAX);
  EXPECT_EQ(valueOf("2147483647.5", true), INT_MIN);
  EXPECT_EQ(valueOf("-2147483648.5", true), INT_MIN);  // to even: -2147483648
  EXPECT_EQ(valueOf("-2147483649.5", true), INT_MIN);
  EXPECT_EQ(valueOf("1e400", true), INT_MIN);
  EXPECT_EQ(valueOf("-1e400", true), INT_MIN);
  EXPECT_EQ(valueOf("nan.", true), INT_MIN);
  EXPECT_EQ(valueOf("1e-400", true), 0);
  EXPECT_EQ(valueOf(std::string("7.5\0"
                                "9",
                                5),
                    true),
            8);
}

}  // namespace

}  // namespace krgfx
