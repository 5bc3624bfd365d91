#include "encoding.h"

#include <gtest/gtest.h>

using namespace wirelark;

namespace {

TEST(Cp932, EncodesJapaneseAndMarksWhatItLacks) {
    EXPECT_EQ(utf8ToCp932("ABC"), "ABC");
    EXPECT_EQ(utf8ToCp932("幹線"), "\x8a\xb2\x90\xfc");
    // "▶" is not in the code page: the tree glyphs lose it and get it back on loading.
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("├─▶")), "├─?");
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("-─▶┌")), "-─?┌");
    // Characters that Shift_JIS proper lacks but code page 932 has.
    for (const char* s : {"～", "－", "①", "㎡", "│　", "〇：許容電流55%以上", "ﾋﾟｰﾀﾞﾝｽ"})
        EXPECT_EQ(cp932ToUtf8(utf8ToCp932(s)), s) << s;
    EXPECT_EQ(cp932ToUtf8("\x5c"), "\\");
}

TEST(Cp932, InvalidBytesBecomeQuestionMarks) {
    EXPECT_EQ(cp932ToUtf8("A\x81"), "A?");
    EXPECT_EQ(cp932ToUtf8("\xa0X"), "?X");
}

TEST(DecodeFileText, HonoursByteOrderMarks) {
    EXPECT_EQ(decodeFileText("\xEF\xBB\xBF"
                             "幹線"),
              "幹線");
    EXPECT_EQ(decodeFileText(std::string("\xFF\xFE\x79\x5E", 4)), "幹");
    EXPECT_EQ(decodeFileText(std::string("\xFE\xFF\x5E\x79", 4)), "幹");
    EXPECT_EQ(decodeFileText("\x8a\xb2"), "幹");
}

TEST(SplitLines, SplitsAtEveryKindOfLineEnd) {
    const std::vector<std::string> want = {"a", "b", "", "c", "d"};
    EXPECT_EQ(splitLines("a\r\nb\n\rc\rd\r\n"), want);
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("x"), std::vector<std::string>{"x"});
}

TEST(Cp932Length, CountsFullWidthAsTwo) {
    EXPECT_EQ(cp932Length("電灯コンセ"), 10u);
    EXPECT_EQ(cp932Length("L-1F"), 4u);
    EXPECT_EQ(cp932Length("ｲﾝﾋﾟｰﾀﾞﾝｽ"), 9u);
    EXPECT_EQ(utf8Length("電灯A"), 3u);
    EXPECT_EQ(utf8Prefix("電灯コンセント", 2), "電灯");
    EXPECT_EQ(utf8Prefix("ab", 9), "ab");
}

}  // namespace
