#include "print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace wirelark;

namespace {

std::vector<PrintText> textsOf(const PrintedPage& page) {
    std::vector<PrintText> out;
    for (const PrintOp& op : page.ops)
        if (const auto* t = std::get_if<PrintText>(&op))
            out.push_back(*t);
    return out;
}

std::vector<PrintLine> linesOf(const PrintedPage& page) {
    std::vector<PrintLine> out;
    for (const PrintOp& op : page.ops)
        if (const auto* l = std::get_if<PrintLine>(&op))
            out.push_back(*l);
    return out;
}

std::vector<PrintText> textsAt(const PrintedPage& page, int x) {
    std::vector<PrintText> out;
    for (const PrintText& t : textsOf(page))
        if (t.x == x)
            out.push_back(t);
    return out;
}

const PrintText* findText(const PrintedPage& page, const std::string& text) {
    for (const PrintOp& op : page.ops)
        if (const auto* t = std::get_if<PrintText>(&op); t && t->text == text)
            return t;
    return nullptr;
}

// A single-feeder row as the feeder dialog writes it.
void fillFeederRow(Sheet& sheet, int row, const std::string& name) {
    sheet.setCell(row, col::number, "1");
    sheet.setCell(row, col::name, name);
    sheet.setCell(row, col::system, "単相3線");
    sheet.setCell(row, col::voltage, "100/200");
    sheet.setCell(row, col::breaker, "75");
    sheet.setCell(row, col::glyph, std::string(glyph::single));
    sheet.setCell(row, col::length, "20");
    sheet.setCell(row, col::loadName, "電灯");
    sheet.setCell(row, col::mainBreaker, "75");
    sheet.setCell(row, col::designCurrent, "52.5");
    sheet.setCell(row, col::powerFactor, "0.95");
    sheet.setCell(row, col::cable, "CV 22sq-3C");
    sheet.setCell(row, col::method, "気中暗渠配線");
    sheet.setCell(row, col::allowableCurrent, "100");
    sheet.setCell(row, col::impedance, "0.86");
    sheet.setCell(row, col::singleDrop, "0.90");
    sheet.setCell(row, col::summedDrop, "0.90");
    sheet.setCell(row, col::allowableDrop, "2");
}

Sheet sheetWithRows(int used) {
    Sheet sheet;
    for (int r = 0; r < used; ++r)
        fillFeederRow(sheet, r, "L" + std::to_string(r + 1));
    sheet.heading.buildingName = "○○ビル";
    sheet.heading.eraLabel = "令和";
    sheet.heading.eraYear = "6";
    sheet.heading.month = "4";
    sheet.heading.day = "1";
    return sheet;
}

TEST(PrintedNumber, FixedDecimalsOrWholeNumberWithGrouping) {
    struct Case {
        const char* meaning;
        double value;
        int width;
        int decimals;
        const char* printed;
    };
    const Case cases[] = {
        {"whole length", 20, 8, 2, "      20"},
        {"largest breaker, grouped", 1600, 8, 2, "   1,600"},
        {"breaker in the narrow column", 1600, 5, 2, "1,600"},
        {"breaker 75 in the narrow column", 75, 5, 2, "   75"},
        {"power factor keeps its decimals", 0.8, 8, 2, "    0.80"},
        {"unity power factor", 1, 8, 2, "       1"},
        {"impedance with three decimals", 0.105, 8, 3, "   0.105"},
        {"impedance 0.1", 0.1, 8, 3, "   0.100"},
        {"impedance 2", 2, 8, 3, "       2"},
        {"decimals that round away count as zero", 19.999, 8, 2, "      20"},
        {"fraction is printed without grouping", 1234.5, 8, 2, " 1234.50"},
        {"wider than the field is printed in full", 123456789.25, 8, 2, "123456789.25"},
        {"zero", 0, 8, 2, "       0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printedNumber(c.value, c.width, c.decimals), c.printed) << c.meaning;
}

TEST(PrintLayout, EighteenRowsFillOnePageAndTheNineteenthStartsAnother) {
    EXPECT_EQ(layoutPrintedSheet(sheetWithRows(18)).pages.size(), 1u);

    const PrintedSheet two = layoutPrintedSheet(sheetWithRows(19));
    ASSERT_FALSE(two.failure);
    ASSERT_EQ(two.pages.size(), 2u);
    // The second page holds one filled slot and the whole empty table.
    const auto names = textsAt(two.pages[1], 580);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "L19");
    EXPECT_EQ(names[0].y, 1142);
    EXPECT_EQ(linesOf(two.pages[1]).size(), linesOf(two.pages[0]).size());
}

TEST(PrintLayout, RowsTakeTheSlotsInGridOrder) {
    const PrintedSheet printed = layoutPrintedSheet(sheetWithRows(18));
    const auto names = textsAt(printed.pages[0], 580);
    ASSERT_EQ(names.size(), 18u);
    for (int k = 0; k < 18; ++k) {
        EXPECT_EQ(names[static_cast<std::size_t>(k)].text, "L" + std::to_string(k + 1));
        EXPECT_EQ(names[static_cast<std::size_t>(k)].y, 1142 + 153 * k);
        EXPECT_EQ(names[static_cast<std::size_t>(k)].size, 8);
    }
}

TEST(PrintLayout, RowCellsStandAtTheirColumnsInTheirForms) {
    Sheet sheet = sheetWithRows(1);
    sheet.setCell(0, col::breaker, "1600");
    sheet.setCell(0, col::powerFactor, "0.8");
    sheet.setCell(0, col::impedance, "0.105");
    sheet.setCell(0, col::allowableCurrent, "1");
    sheet.setCell(0, col::summedDrop, "1.25");
    const PrintedPage page = layoutPrintedSheet(sheet).pages.at(0);
    struct Expect {
        int x;
        const char* text;
    };
    const Expect cells[] = {
        {580, "L1"},        {1022, "単相3線"},    {1303, "100/200"},      {1648, "1,600"},
        {2140, "      20"}, {2450, "電灯"},       {2830, "      75"},     {3130, "   52.50"},
        {3390, "    0.80"}, {3705, "CV 22sq-3C"}, {4132, "気中暗渠配線"}, {4610, "       1"},
        {4945, "   0.105"}, {5211, "    0.90"},   {5475, "    1.25"},     {5694, "       2"},
    };
    for (const Expect& e : cells) {
        const PrintText* t = findText(page, e.text);
        ASSERT_NE(t, nullptr) << e.text;
        EXPECT_EQ(t->x, e.x) << e.text;
        EXPECT_EQ(t->y, 1142) << e.text;
        EXPECT_EQ(t->size, 8) << e.text;
    }
    // The tree glyph is larger and raised onto the row's line.
    const PrintText* glyphText = findText(page, std::string(glyph::single));
    ASSERT_NE(glyphText, nullptr);
    EXPECT_EQ(glyphText->x, 1860);
    EXPECT_EQ(glyphText->y, 1142 - 15);
    EXPECT_EQ(glyphText->size, 12);
}

TEST(PrintLayout, SequenceNumberRemarksAndWorkingColumnsAreNotPrinted) {
    Sheet sheet = sheetWithRows(1);
    sheet.setCell(0, col::number, "77");
    sheet.setCell(0, col::remarks, "備考あり");
    sheet.setCell(0, col::verdict, "〇：良");
    sheet.setCell(0, col::blockRows, "17");
    const PrintedPage page = layoutPrintedSheet(sheet).pages.at(0);
    for (const char* hidden : {"77", "備考あり", "〇：良", "17"})
        EXPECT_EQ(findText(page, hidden), nullptr) << hidden;
}

TEST(PrintLayout, EmptyOrPlaceholderNumberCellsPrintNothing) {
    Sheet sheet = sheetWithRows(1);
    sheet.setCell(0, col::designCurrent, "");
    sheet.setCell(0, col::singleDrop, " ");
    const PrintedSheet printed = layoutPrintedSheet(sheet);
    ASSERT_FALSE(printed.failure);
    EXPECT_TRUE(textsAt(printed.pages[0], 3130).empty());
    EXPECT_TRUE(textsAt(printed.pages[0], 5211).empty());
}

TEST(PrintLayout, AnEmptySheetPrintsOnePageWithTheWholeForm) {
    Sheet sheet;
    sheet.heading.buildingName = "新庁舎";
    sheet.heading.eraLabel = "令和";
    sheet.heading.eraYear = "元";
    sheet.heading.month = "5";
    sheet.heading.day = "1";
    const PrintedSheet printed = layoutPrintedSheet(sheet);
    ASSERT_FALSE(printed.failure);
    ASSERT_EQ(printed.pages.size(), 1u);
    EXPECT_EQ(printed.title, "新庁舎");
    const PrintedPage& page = printed.pages[0];
    struct Expect {
        int x;
        int y;
        int size;
        bool underline;
        const char* text;
    };
    const Expect fixed[] = {
        {5800, 375, 7, false, "(様式 電－８－１) "},
        {650, 492, 9, false, "電路計算書（幹線用）"},
        {2170, 492, 9, true, " 建物名称  新庁舎 "},
        {5500, 492, 8, true, "令和 元 年 5 月 1 日"},
        {850, 622, 8, false, "周波数 [Hz]："},
        {1398, 622, 8, false, "60"},
        {640, 835, 8, false, "幹線番号"},
        {3802, 995, 8, false, "A [mm ]"},
        {3950, 980, 5, false, "2"},
        {4238, 710, 7, false, "電線及びケーブル"},
        {6098, 867, 7, false, "備考"},
        {600, 3865, 7, false, "電圧降下による電線太さの算出"},
        {1080, 4020, 7, false, "K'IlZ"},
        {900, 4059, 7, false, "e＝"},
        {1080, 4095, 7, false, "1,000"},
        {2086, 4173, 7, false, "Z：電線1Kmあたりのｲﾝﾋﾟｰﾀﾞﾝｽ [Ω/Km]"},
        {3432, 4173, 7, false, "単相3線式、三相4線式"},
        {4325, 4091, 8, false, "√"},
        {6140, 4315, 7, false, "Ｈ２１"},
        {6600, 4650, 9, false, "P-1"},
    };
    const auto texts = textsOf(page);
    for (const Expect& e : fixed) {
        const bool found = std::any_of(texts.begin(), texts.end(), [&](const PrintText& t) {
            return t.x == e.x && t.y == e.y && t.size == e.size && t.underline == e.underline &&
                   t.text == e.text;
        });
        EXPECT_TRUE(found) << e.text;
    }
    // Heading 6, column titles 48, footer 21, the revision mark and the page number.
    EXPECT_EQ(texts.size(), 6u + 48u + 21u + 1u + 1u);
}

TEST(PrintLayout, FrameAndRulesOfTheForm) {
    const PrintedPage page = layoutPrintedSheet(Sheet{}).pages.at(0);
    int rects = 0;
    for (const PrintOp& op : page.ops)
        if (const auto* r = std::get_if<PrintRect>(&op)) {
            ++rects;
            EXPECT_EQ(*r, (PrintRect{560, 450, 6320, 4300, 10}));
        }
    EXPECT_EQ(rects, 1);
    const auto lines = linesOf(page);
    const auto count = [&](auto pred) { return std::count_if(lines.begin(), lines.end(), pred); };
    // 600, 700, 1100 and the 18 slot bottoms at pen 3, the last slot bottom again at pen 7.
    EXPECT_EQ(count([](const PrintLine& l) { return l.x1 == 560 && l.x2 == 6320 && l.pen == 3; }),
              21);
    EXPECT_EQ(count([](const PrintLine& l) { return l.y1 == 3854 && l.y2 == 3854 && l.pen == 7; }),
              1);
    EXPECT_EQ(count([](const PrintLine& l) { return l.x1 == l.x2 && l.y2 == 3854 && l.pen == 2; }),
              17);
    EXPECT_EQ(count([](const PrintLine& l) {
                  return l == PrintLine{5505, 852, 5505, 3854, 2};
              }),
              1);
    EXPECT_EQ(count([](const PrintLine& l) { return l == PrintLine{3689, 775, 5244, 775, 2}; }), 1);
    // The frame is drawn after every text, rules after the frame.
    const auto rectAt = std::find_if(page.ops.begin(), page.ops.end(), [](const PrintOp& op) {
        return std::holds_alternative<PrintRect>(op);
    });
    EXPECT_TRUE(std::none_of(rectAt, page.ops.end(), [](const PrintOp& op) {
        return std::holds_alternative<PrintText>(op);
    }));
}

TEST(PrintLayout, FormulaRulesKeepThePenOfThePreviousDrawing) {
    const PrintedSheet printed = layoutPrintedSheet(sheetWithRows(40));
    ASSERT_EQ(printed.pages.size(), 3u);
    const auto footerPens = [](const PrintedPage& page) {
        std::vector<int> pens;
        for (const PrintLine& l : linesOf(page))
            if ((l.y1 == 4090 && l.x1 == 995) || (l.x1 == 3428 && l.x2 == 4628))
                pens.push_back(l.pen);
        return pens;
    };
    // The printer starts with a pen of width 1; later pages inherit the last rule's width 2.
    EXPECT_EQ(footerPens(printed.pages[0]), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(footerPens(printed.pages[1]), (std::vector<int>{2, 2, 2, 2, 2}));
    EXPECT_EQ(footerPens(printed.pages[2]), (std::vector<int>{2, 2, 2, 2, 2}));
}

TEST(PrintLayout, PageNumbersOnlyWhenChosen) {
    Sheet sheet = sheetWithRows(19);
    PrintedSheet printed = layoutPrintedSheet(sheet);
    ASSERT_EQ(printed.pages.size(), 2u);
    EXPECT_NE(findText(printed.pages[0], "P-1"), nullptr);
    EXPECT_NE(findText(printed.pages[1], "P-2"), nullptr);
    EXPECT_EQ(findText(printed.pages[1], "P-1"), nullptr);

    sheet.settings.printPageNumbers = false;
    printed = layoutPrintedSheet(sheet);
    for (const PrintedPage& page : printed.pages)
        EXPECT_TRUE(textsAt(page, 6600).empty());
}

TEST(PrintLayout, HeadingFollowsFrequencyAndAlwaysPrintsTheEraDate) {
    Sheet sheet = sheetWithRows(1);
    sheet.settings.frequency = Frequency::Hz50;
    sheet.settings.yearDisplay = YearDisplay::Western;
    sheet.heading.westernYear = "2024";
    const PrintedPage page = layoutPrintedSheet(sheet).pages.at(0);
    EXPECT_NE(findText(page, "50"), nullptr);
    EXPECT_EQ(findText(page, "60"), nullptr);
    EXPECT_NE(findText(page, "令和 6 年 4 月 1 日"), nullptr);
}

TEST(PrintLayout, LoadNameNeedsALength) {
    Sheet sheet = sheetWithRows(2);
    sheet.setCell(0, col::length, "");
    sheet.setCell(1, col::length, " ");
    const PrintedPage page = layoutPrintedSheet(sheet).pages.at(0);
    EXPECT_TRUE(textsAt(page, 2450).empty());
}

TEST(PrintLayout, LongLoadNamesAreSplitByTheirCodePageLength) {
    struct Case {
        const char* meaning;
        const char* name;
        std::vector<std::pair<int, std::string>> lines;  // y offset from the row's line, text
    };
    const Case cases[] = {
        {"11 bytes stay on the line", "動力盤ＡＢ1", {{0, "動力盤ＡＢ1"}}},
        {"11 half-width characters", "PUMP-ROOM-1", {{0, "PUMP-ROOM-1"}}},
        {"six full-width characters are 12 bytes: all above, nothing below",
         "電灯分電盤Ａ",
         {{-33, "電灯分電盤Ａ"}}},
        {"ten full-width characters: nine above, one below",
         "一二三四五六七八九十",
         {{-33, "一二三四五六七八九"}, {33, "十"}}},
        {"twenty half-width characters: nine above, eleven below",
         "ABCDEFGHIJKLMNOPQRST",
         {{-33, "ABCDEFGHI"}, {33, "JKLMNOPQRST"}}},
    };
    for (const Case& c : cases) {
        Sheet sheet = sheetWithRows(2);
        sheet.setCell(1, col::loadName, c.name);
        const auto texts = textsAt(layoutPrintedSheet(sheet).pages.at(0), 2450);
        std::vector<std::pair<int, std::string>> got;
        for (const PrintText& t : texts)
            if (t.y > 1142 + 60)
                got.emplace_back(t.y - (1142 + 153), t.text);
        EXPECT_EQ(got, c.lines) << c.meaning;
    }
}

TEST(PrintLayout, ANonNumberStopsThePrintNamingRowAndColumnAndKeepsWhatWasDrawn) {
    Sheet sheet = sheetWithRows(20);
    sheet.setCell(19, col::designCurrent, "52A");
    const PrintedSheet printed = layoutPrintedSheet(sheet);
    ASSERT_TRUE(printed.failure);
    EXPECT_NE(printed.failure->message.find("20 行目"), std::string::npos);
    EXPECT_NE(printed.failure->message.find("設計負荷電流"), std::string::npos);
    EXPECT_NE(printed.failure->message.find("52A"), std::string::npos);
    ASSERT_EQ(printed.pages.size(), 2u);
    // The first page is complete; the second holds row 19 and the cells of row 20 before the
    // failing one, without the form around them.
    EXPECT_NE(findText(printed.pages[0], "Ｈ２１"), nullptr);
    EXPECT_NE(findText(printed.pages[1], "L19"), nullptr);
    EXPECT_NE(findText(printed.pages[1], "L20"), nullptr);
    EXPECT_TRUE(textsAt(printed.pages[1], 3130).size() == 1u);  // row 19's current only
    EXPECT_EQ(findText(printed.pages[1], "Ｈ２１"), nullptr);
    EXPECT_TRUE(linesOf(printed.pages[1]).empty());
}

TEST(PrintLayout, AFailureAtTheTopOfAPageLeavesNoBlankPage) {
    Sheet sheet = sheetWithRows(19);
    sheet.setCell(18, col::name, "");
    sheet.setCell(18, col::system, "");
    sheet.setCell(18, col::voltage, "");
    sheet.setCell(18, col::breaker, "?");
    const PrintedSheet printed = layoutPrintedSheet(sheet);
    ASSERT_TRUE(printed.failure);
    EXPECT_EQ(printed.pages.size(), 1u);
}

TEST(PrintJob, MakesThePagePlanFirstAndPrintsNothingWhenItFails) {
    Sheet sheet = sheetWithRows(3);
    sheet.setCell(0, col::blockRows, "1");
    PrintedSheet printed = layoutPrintJob(sheet);
    ASSERT_FALSE(printed.failure);
    EXPECT_EQ(printed.pages.size(), 1u);
    EXPECT_EQ(sheet.cell(0, col::pageLine), "1");

    sheet.setCell(0, col::blockRows, "一");
    printed = layoutPrintJob(sheet);
    ASSERT_TRUE(printed.failure);
    EXPECT_NE(printed.failure->message.find("1 行目"), std::string::npos);
    EXPECT_TRUE(printed.pages.empty());
    EXPECT_EQ(printed.title, "○○ビル");
}

TEST(PrintLayout, RowsAfterTheLastGlyphAreNotPrinted) {
    Sheet sheet = sheetWithRows(3);
    sheet.setCell(5, col::glyph, " ");  // a placeholder is no printed row
    sheet.setCell(5, col::name, "残り");
    const PrintedPage page = layoutPrintedSheet(sheet).pages.at(0);
    EXPECT_EQ(textsAt(page, 580).size(), 3u);
}

}  // namespace
