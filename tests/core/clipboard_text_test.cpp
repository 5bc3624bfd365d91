#include "clipboard_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_sheets.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

std::vector<std::string> splitAt(const std::string& text, const std::string& sep) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(sep, from)) != std::string::npos; from = at + sep.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

const std::string kTitleLine =
    "幹線番号又は名称\t電気方式\t電圧[V]\t幹線保護用遮断器定格電流[A]\t系統\tこう長\t負荷名称\t"
    "主幹器具定格電流[A]\t設計負荷電流[A]\t負荷の力率[cosθ]\t種別及び断面積[m㎡]\t配線方式\t"
    "許容電流[A]\tｲﾝﾋﾟｰﾀﾞﾝｽ[Ω/km]\t単一の電圧降下[V]\t分岐がある場合の合計\t許容電圧降下[V]\t";

TEST(ClipboardText, WholeSheetHasTheTitleLineAndOneLinePerRowUpToTheLastUsedRow) {
    Sheet s(30);
    putResidentialFeeder(s, 0, 3, "L1");  // rows 0-6
    putSingleFeeder(s, 7, "L2");
    putSingleFeeder(s, 9, "L3");  // row 8 stays empty inside the range
    s.setCell(20, col::name, "not a used row");

    const std::string text = wholeSheetClipboardText(s);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::vector<std::string> lines = splitAt(text.substr(0, text.size() - 2), "\r\n");
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], kTitleLine);
    EXPECT_EQ(splitAt(lines[0], "\t").size(), 18u);  // 17 titles, each followed by a tab
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = splitAt(lines[i], "\t");
        ASSERT_EQ(fields.size(), 17u) << i;
        EXPECT_EQ(fields[4], " " + std::string(s.cell(static_cast<int>(i) - 1, col::glyph)));
    }
    EXPECT_EQ(lines[9], "\t\t\t\t \t\t\t\t\t\t\t\t\t\t\t\t");  // the empty row 8
}

TEST(ClipboardText, RowLineCopiesColumnsOneToSeventeenUnchanged) {
    Sheet s(3);
    for (int c = 0; c < kColumnCount; ++c)
        s.setCell(1, c, "c" + std::to_string(c));
    s.setCell(1, col::glyph, std::string(glyph::branch));
    s.setCell(1, col::loadName, "A,\"B\"");
    EXPECT_EQ(clipboardRowLine(s, 1),
              "c1\tc2\tc3\tc4\t ├─▶\tc6\tA,\"B\"\tc8\tc9\tc10\tc11\tc12\tc13\tc14\tc15\tc16\tc17");
}

TEST(ClipboardText, ASheetWithoutUsedRowsCopiesTheTitleAndRowZero) {
    Sheet s(5);
    const std::string text = wholeSheetClipboardText(s);
    EXPECT_EQ(text, kTitleLine + "\r\n" + "\t\t\t\t \t\t\t\t\t\t\t\t\t\t\t\t\r\n");
}

TEST(ClipboardText, ARowHoldingASingleSpaceGlyphStillCountsAsUsed) {
    Sheet s(10);
    putSingleFeeder(s, 0, "L1");
    s.setCell(4, col::glyph, " ");
    EXPECT_EQ(splitAt(wholeSheetClipboardText(s), "\r\n").size(), 1u + 5u + 1u);
}

TEST(ClipboardText, OneFeederCopiesOnlyItsBlockWithoutTitle) {
    Sheet s(30);
    putSingleFeeder(s, 0, "L1");
    putResidentialFeeder(s, 1, 2, "R2");  // rows 1-5
    putSingleFeeder(s, 6, "L3");
    renumberFeeders(s);
    const std::string text = feederClipboardText(s, findFeederRange(s, 3));
    const std::vector<std::string> lines = splitAt(text, "\r\n");
    ASSERT_EQ(lines.size(), 6u);  // five rows and what follows the last line end
    EXPECT_TRUE(lines[5].empty());
    EXPECT_EQ(lines[0].substr(0, 3), "R2\t");
    EXPECT_EQ(text.find("幹線番号"), std::string::npos);
}

}  // namespace
