#include "workbook_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace wirelark;

namespace {

using W = BorderWeight;

Sheet headedSheet() {
    Sheet sheet;
    sheet.heading.buildingName = "○○ビル新築工事";
    sheet.heading.eraLabel = "令和";
    sheet.heading.eraYear = "6";
    sheet.heading.month = "4";
    sheet.heading.day = "12";
    sheet.heading.westernYear = "2024";
    return sheet;
}

// A feeder block of `rows` rows starting at `first`: a head row with its sequence number,
// name and row count, followed by branch rows.
void addFeeder(Sheet& sheet, int first, int number, const std::string& name, int rows) {
    if (sheet.rowCount() < first + rows)
        sheet.setRowCount(first + rows);
    sheet.setCell(first, col::number, std::to_string(number));
    sheet.setCell(first, col::name, name);
    sheet.setCell(first, col::blockRows, std::to_string(rows));
    for (int r = first; r < first + rows; ++r) {
        sheet.setCell(r, col::glyph, std::string(r == first ? glyph::head : glyph::branch));
        sheet.setCell(r, col::loadName, name + "-" + std::to_string(r - first));
        sheet.setCell(r, col::feederNumber, std::to_string(number));
    }
}

std::vector<std::string> namesOf(const Workbook& book) {
    std::vector<std::string> names;
    for (const Worksheet& ws : book.sheets)
        names.push_back(ws.name);
    return names;
}

// The load name written into slot k of a worksheet (column H of sheet row 9 + 2k).
std::string slotLoadName(const Worksheet& ws, int slot) {
    return ws.cell(8 + 2 * slot, 7).text;
}

bool hasMerge(const Worksheet& ws, std::string_view a1) {
    return std::find(ws.merges.begin(), ws.merges.end(), cellRange(a1)) != ws.merges.end();
}

TEST(CellAddress, ReadsAndWritesTheApplicationsNotation) {
    EXPECT_EQ(cellRange("B4:B8"), (CellRange{3, 1, 7, 1}));
    EXPECT_EQ(cellRange("S1"), (CellRange{0, 18, 0, 18}));
    EXPECT_EQ(cellRange("AA10"), (CellRange{9, 26, 9, 26}));
    EXPECT_EQ(cellName(3, 1), "B4");
    EXPECT_EQ(cellName(50, 18), "S51");
    EXPECT_EQ(cellName(0, 26), "AA1");
}

TEST(CellOfText, PlainNumbersBecomeNumbersThatShowAsTheirText) {
    struct Case {
        const char* text;
        double number;
        const char* format;
    };
    const Case numbers[] = {
        {"20", 20, ""},
        {"0.95", 0.95, "0.00"},
        {"1,600", 1600, "#,##0"},
        {"0.460", 0.46, "0.000"},
        {"-1.5", -1.5, "0.0"},
        {"1,234.50", 1234.5, "#,##0.00"},
        {"0", 0, ""},
        {"100", 100, ""},
    };
    for (const Case& c : numbers) {
        const WorkbookCell cell = cellOfText(c.text);
        ASSERT_TRUE(cell.number) << c.text;
        EXPECT_DOUBLE_EQ(*cell.number, c.number) << c.text;
        EXPECT_EQ(cell.style.numberFormat, c.format) << c.text;
        EXPECT_EQ(cell.text, c.text);
    }
}

TEST(CellOfText, EverythingElseStaysText) {
    // A voltage pair is no date, leading zeros and blanks are kept, and digits beyond what a
    // number holds are not lost.
    for (const char* text : {"100/200", "007", " 20", "20 ", "1e3", ".5", "1,23",
                             "12345678901234567", "CV 22sq-3C", "", " ", "-", "3m", "1."}) {
        const WorkbookCell cell = cellOfText(text);
        EXPECT_FALSE(cell.number) << text;
        EXPECT_EQ(cell.text, text);
        EXPECT_TRUE(cell.style.numberFormat.empty()) << text;
    }
}

TEST(FormTemplate, PageSetupWidthsAndHeights) {
    const Worksheet ws = formTemplate(headedSheet());
    EXPECT_EQ(ws.pageSetup, PageSetup{});
    EXPECT_EQ(ws.pageSetup.printScale, 67);
    EXPECT_EQ(ws.pageSetup.leftHeader, "&A");
    EXPECT_EQ(ws.pageSetup.paperSize, 9);
    EXPECT_TRUE(ws.pageSetup.landscape);
    const std::array<double, 19> widths = {2, 12, 8,  7, 8, 9, 7, 11, 8, 8,
                                           7, 12, 14, 8, 9, 7, 7, 6,  9};
    EXPECT_EQ(ws.columnWidths, widths);
    const std::pair<int, double> heights[] = {{1, 15.75}, {2, 27.75}, {3, 18},    {4, 13.5},
                                              {7, 13.5},  {8, 15.75}, {9, 13.5},  {48, 13.5},
                                              {49, 15},   {50, 7.5},  {51, 15.75}};
    for (const auto& [row, height] : heights)
        EXPECT_DOUBLE_EQ(ws.rowHeights[static_cast<std::size_t>(row - 1)], height) << "row " << row;
}

TEST(FormTemplate, HeadingCellsCarryTheSheetsHeading) {
    Sheet sheet = headedSheet();
    Worksheet ws = formTemplate(sheet);
    EXPECT_EQ(ws.at("S1").text, "(様式 電－８－１) ");
    EXPECT_EQ(ws.at("S1").style.horizontal, HorizontalAlignment::Right);
    EXPECT_EQ(ws.at("S1").style.fontSize, 10);
    EXPECT_EQ(ws.at("B2").text, "　電路計算書（幹線用）");
    EXPECT_EQ(ws.at("B2").style.fontSize, 12);
    EXPECT_EQ(ws.at("B2").style.horizontal, HorizontalAlignment::Justify);
    EXPECT_EQ(ws.at("B2").style.vertical, VerticalAlignment::Centre);
    EXPECT_EQ(ws.at("H2").text, "○○ビル新築工事");
    for (const char* underlined : {"G2", "H2", "L2", "P2", "Q2"})
        EXPECT_TRUE(ws.at(underlined).style.underline) << underlined;
    EXPECT_FALSE(ws.at("R2").style.underline);
    EXPECT_EQ(ws.at("Q2").text, "令和 6 年 4 月 12 日");
    EXPECT_EQ(ws.at("D3").text, "60");
    EXPECT_EQ(ws.at("D3").number, 60.0);

    // The date follows the year display; the frequency follows the setting.
    sheet.settings.yearDisplay = YearDisplay::Western;
    sheet.settings.frequency = Frequency::Hz50;
    ws = formTemplate(sheet);
    EXPECT_EQ(ws.at("Q2").text, " 2024 年 4 月 12 日");
    EXPECT_EQ(ws.at("D3").text, "50");
}

TEST(FormTemplate, ColumnTitlesKeepTheirLines) {
    const Worksheet ws = formTemplate(headedSheet());
    EXPECT_EQ(ws.at("B4").text, "幹線番号\n又は名称");
    EXPECT_EQ(ws.at("D4").text, "\n電圧\n\n\n[V]");
    EXPECT_EQ(ws.at("E4").text, "幹線保\n護用遮\n断器定\n格電流\n[A]");
    EXPECT_EQ(ws.at("L5").text, "種別及び\n断面積\n\nA [mm2]");
    EXPECT_EQ(ws.at("O5").text, "電線1kmあ\nたりのｲﾝ\nﾋﾟｰﾀﾞﾝｽ\nZ [Ω/km]");
    EXPECT_EQ(ws.at("P6").style.fontSize, 9);
    for (const char* multi : {"B4", "D4", "P4", "Q6", "R4"})
        EXPECT_TRUE(ws.at(multi).style.wrap) << multi;
    EXPECT_FALSE(ws.at("C4").style.wrap);
    EXPECT_EQ(ws.at("C4").style.horizontal, HorizontalAlignment::Centre);
}

TEST(FormTemplate, FooterFormulaAndCoefficientTable) {
    const Worksheet ws = formTemplate(headedSheet());
    EXPECT_EQ(ws.at("C47").text, "K'IlZ");
    EXPECT_EQ(ws.at("C48").text, "1,000");
    EXPECT_EQ(ws.at("C48").number, 1000.0);
    EXPECT_EQ(ws.at("C48").style.numberFormat, "#,##0");
    EXPECT_EQ(ws.at("B47").text, "e＝");
    EXPECT_EQ(ws.at("M48").text, "√3");
    EXPECT_FALSE(ws.at("M48").number);
    EXPECT_EQ(ws.at("M47").number, 2.0);
    EXPECT_EQ(ws.at("G49").text, "電線1kmあたりのｲﾝﾋﾟｰﾀﾞﾝｽ [Ω/km]");
    EXPECT_EQ(ws.at("S51").text, "Ｈ２１");
}

TEST(FormTemplate, TheWholeFormIsSetInMincho) {
    const Worksheet ws = formTemplate(headedSheet());
    for (int row = 0; row < Worksheet::kRows; ++row) {
        EXPECT_TRUE(ws.cell(row, 0).style.fontName.empty()) << "margin column, row " << row + 1;
        for (int column = 1; column < Worksheet::kColumns; ++column)
            ASSERT_EQ(ws.cell(row, column).style.fontName, "ＭＳ 明朝") << cellName(row, column);
    }
}

TEST(FormTemplate, MergesOfTitlesFooterAndSlots) {
    const Worksheet ws = formTemplate(headedSheet());
    // 38 merged titles and footer cells, 6 empty merges, 18 slots of 18 columns.
    EXPECT_EQ(ws.merges.size(), 38u + 6u + 18u * 18u);
    for (const char* m : {"B2:E2", "H2:P2", "Q2:S2", "E3:S3", "P4:Q5", "L4:O4", "D47:E48",
                          "N49:S49", "B50:S50", "B9:B10", "S9:S10", "H27:H28", "S43:S44"})
        EXPECT_TRUE(hasMerge(ws, m)) << m;
}

TEST(FormTemplate, BordersCombineAsTheyWereDrawnInOrder) {
    const Worksheet ws = formTemplate(headedSheet());
    const auto edge = [&](const char* a1, Edge e) { return ws.at(a1).style.border(e); };
    struct Case {
        const char* meaning;
        const char* cell;
        Edge edge;
        std::optional<W> line;
    };
    const Case cases[] = {
        {"frame top", "B2", Edge::Top, W::Medium},
        {"frame top seen from above", "B1", Edge::Bottom, W::Medium},
        {"frame left", "B30", Edge::Left, W::Medium},
        {"frame right", "S30", Edge::Right, W::Medium},
        {"frame bottom", "K50", Edge::Bottom, W::Medium},
        {"frame bottom seen from below", "K51", Edge::Top, W::Medium},
        {"heading line", "H2", Edge::Bottom, W::Thin},
        {"frequency line", "E3", Edge::Bottom, W::Thin},
        {"top of the column titles seen from below", "E4", Edge::Top, W::Thin},
        {"top of the first slot", "B9", Edge::Top, W::Thin},
        {"top of the first slot seen from the titles", "S8", Edge::Bottom, W::Thin},
        {"middle of a slot is clear", "C10", Edge::Top, std::nullopt},
        {"middle of a slot seen from above", "C9", Edge::Bottom, std::nullopt},
        {"bottom of the last slot", "G45", Edge::Top, W::Thin},
        {"footer rows have no slot rules", "G46", Edge::Top, std::nullopt},
        {"column rule", "B20", Edge::Right, W::Hair},
        {"column rule seen from the right", "C20", Edge::Left, W::Hair},
        {"frequency box", "D3", Edge::Right, W::Hair},
        {"rule before the remarks", "S20", Edge::Left, W::Hair},
        {"no rule inside the cable group title", "L4", Edge::Right, std::nullopt},
        {"under the cable group title", "M4", Edge::Bottom, W::Hair},
        {"under the voltage-drop title", "P5", Edge::Bottom, W::Hair},
        {"coefficient table rule", "L46", Edge::Top, W::Hair},
        {"coefficient table closes", "M49", Edge::Bottom, W::Hair},
        {"fraction bar", "C47", Edge::Bottom, W::Hair},
        {"fraction bar seen from below", "C48", Edge::Top, W::Hair},
        {"footer has no column rules", "G47", Edge::Right, std::nullopt},
        {"nothing outside the form", "A20", Edge::Right, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(edge(c.cell, c.edge), c.line) << c.meaning << " " << c.cell;
}

TEST(PagedWorkbook, OneWorksheetIsNamedPlainly) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 3);
    for (int r = 0; r < 3; ++r)
        sheet.setCell(r, col::pageLine, std::to_string(r + 1));
    const Workbook book = layoutPagedWorkbook(sheet, 1, 2);
    EXPECT_EQ(namesOf(book), (std::vector<std::string>{"電路計算書"}));
    EXPECT_EQ(slotLoadName(book.sheets[0], 2), "L1-2");
}

TEST(PagedWorkbook, RowsStartANewWorksheetAtLineOne) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 10);
    addFeeder(sheet, 10, 2, "L2", 10);
    for (int r = 0; r < 20; ++r)
        sheet.setCell(r, col::pageLine, std::to_string(r % 10 + 1));
    const Workbook book = layoutPagedWorkbook(sheet, 2, 19);
    EXPECT_EQ(namesOf(book), (std::vector<std::string>{"電路計算書(1)", "電路計算書(2)"}));
    EXPECT_EQ(slotLoadName(book.sheets[0], 9), "L1-9");
    EXPECT_EQ(slotLoadName(book.sheets[0], 10), "");
    EXPECT_EQ(slotLoadName(book.sheets[1], 0), "L2-0");
    EXPECT_EQ(book.sheets[1].cell(8, col::name).text, "L2");
}

TEST(PagedWorkbook, DataCellsTakeTheirColumnsFormats) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 1);
    sheet.setCell(0, col::pageLine, "1");
    sheet.setCell(0, col::length, "35.5");
    sheet.setCell(0, col::method, "地中保護管配線");
    sheet.setCell(0, col::remarks, "将来用");
    const Worksheet ws = layoutPagedWorkbook(sheet, 1, 0).sheets.at(0);
    EXPECT_EQ(ws.at("F9").style.fontSize, 16);
    EXPECT_EQ(ws.at("G9").style.fontSize, 10);
    EXPECT_EQ(ws.at("G9").number, 35.5);
    EXPECT_TRUE(ws.at("H9").style.shrinkToFit);
    EXPECT_TRUE(ws.at("M9").style.shrinkToFit);
    EXPECT_EQ(ws.at("M9").text, "地中保護管配線");
    EXPECT_EQ(ws.at("S9").text, "将来用");
    EXPECT_EQ(ws.at("C9").style.fontSize, 0);  // the workbook's default size
    // Writing a value keeps the form's lines and face.
    EXPECT_EQ(ws.at("B9").style.border(Edge::Top), W::Thin);
    EXPECT_EQ(ws.at("B9").style.fontName, "ＭＳ 明朝");
}

TEST(EighteenRowExport, ABlockOfTwentyRowsStartsAfreshAndLeavesAnEmptyThirdWorksheet) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 20);
    const auto book = layoutExport(sheet, WorkbookExport::EighteenRows);
    ASSERT_TRUE(book.ok());
    // 20 + 0 > 18 opens a worksheet before the first row, so the plan counts three.
    ASSERT_EQ(namesOf(*book),
              (std::vector<std::string>{"電路計算書(1)", "電路計算書(2)", "電路計算書(3)"}));
    EXPECT_EQ(slotLoadName(book->sheets[0], 0), "L1-0");
    EXPECT_EQ(slotLoadName(book->sheets[0], 17), "L1-17");
    EXPECT_EQ(slotLoadName(book->sheets[1], 0), "L1-18");
    EXPECT_EQ(slotLoadName(book->sheets[1], 1), "L1-19");
    for (int slot = 0; slot < 18; ++slot)
        EXPECT_EQ(slotLoadName(book->sheets[2], slot), "");
    // The plan was written into the sheet's working columns.
    EXPECT_EQ(sheet.cell(18, col::pageLine), "1");
}

TEST(EighteenRowExport, ASecondBlockThatDoesNotFitStartsTheNextWorksheet) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 10);
    addFeeder(sheet, 10, 2, "L2", 10);
    const auto book = layoutExport(sheet, WorkbookExport::EighteenRows);
    ASSERT_TRUE(book.ok());
    ASSERT_EQ(book->sheets.size(), 2u);
    EXPECT_EQ(slotLoadName(book->sheets[0], 9), "L1-9");
    EXPECT_EQ(slotLoadName(book->sheets[0], 10), "");
    EXPECT_EQ(slotLoadName(book->sheets[1], 0), "L2-0");
    EXPECT_EQ(slotLoadName(book->sheets[1], 9), "L2-9");
}

TEST(EighteenRowExport, BlocksThatFitShareAWorksheetNamedPlainly) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 8);
    addFeeder(sheet, 8, 2, "L2", 10);
    const auto book = layoutExport(sheet, WorkbookExport::EighteenRows);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(namesOf(*book), (std::vector<std::string>{"電路計算書"}));
    EXPECT_EQ(slotLoadName(book->sheets[0], 17), "L2-9");
}

TEST(EighteenRowExport, AnEmptySheetIsOneEmptyForm) {
    Sheet sheet = headedSheet();
    const auto book = layoutExport(sheet, WorkbookExport::EighteenRows);
    ASSERT_TRUE(book.ok());
    ASSERT_EQ(book->sheets.size(), 1u);
    EXPECT_EQ(book->sheets[0].name, "電路計算書");
    EXPECT_EQ(book->sheets[0].at("H2").text, "○○ビル新築工事");
    EXPECT_EQ(slotLoadName(book->sheets[0], 0), "");
}

TEST(EighteenRowExport, ARowCountThatIsNoNumberStopsTheExport) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 3);
    sheet.setCell(0, col::blockRows, "3行");
    const auto book = layoutExport(sheet, WorkbookExport::EighteenRows);
    ASSERT_FALSE(book.ok());
    EXPECT_NE(book.error().message.find("1 行目"), std::string::npos);
}

TEST(FeederWorkbook, ASmallSheetGoesOntoOneWorksheetAsItStands) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 2, "L2", 5);
    addFeeder(sheet, 5, 1, "L1", 4);  // numbers out of order do not matter here
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(namesOf(*book), (std::vector<std::string>{"電路計算書 "}));
    EXPECT_EQ(slotLoadName(book->sheets[0], 0), "L2-0");
    EXPECT_EQ(slotLoadName(book->sheets[0], 5), "L1-0");
    EXPECT_EQ(slotLoadName(book->sheets[0], 9), "");
    // Without shrinking on the single worksheet.
    EXPECT_FALSE(book->sheets[0].at("H9").style.shrinkToFit);
    EXPECT_FALSE(book->sheets[0].at("M9").style.shrinkToFit);
}

TEST(FeederWorkbook, FeedersGetWorksheetsInNumberOrder) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 2, "動力", 12);
    addFeeder(sheet, 12, 1, "電灯", 10);
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(namesOf(*book), (std::vector<std::string>{"電路計算書 電灯", "電路計算書 動力"}));
    EXPECT_EQ(slotLoadName(book->sheets[0], 0), "電灯-0");
    EXPECT_EQ(slotLoadName(book->sheets[0], 9), "電灯-9");
    EXPECT_EQ(slotLoadName(book->sheets[0], 10), "");
    EXPECT_EQ(slotLoadName(book->sheets[1], 11), "動力-11");
    EXPECT_TRUE(book->sheets[1].at("H9").style.shrinkToFit);
}

TEST(FeederWorkbook, AFeederOfExactlyEighteenRowsGetsAnEmptySecondWorksheet) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 18);
    addFeeder(sheet, 18, 2, "L2", 20);
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(namesOf(*book), (std::vector<std::string>{"電路計算書 L1 (1)", "電路計算書 L1 (2)",
                                                        "電路計算書 L2 (1)", "電路計算書 L2 (2)"}));
    EXPECT_EQ(slotLoadName(book->sheets[0], 17), "L1-17");
    for (int slot = 0; slot < 18; ++slot)
        EXPECT_EQ(slotLoadName(book->sheets[1], slot), "");
    EXPECT_EQ(slotLoadName(book->sheets[2], 17), "L2-17");
    EXPECT_EQ(slotLoadName(book->sheets[3], 0), "L2-18");
    EXPECT_EQ(slotLoadName(book->sheets[3], 1), "L2-19");
    EXPECT_EQ(slotLoadName(book->sheets[3], 2), "");
}

TEST(FeederWorkbook, FeedersOfTheSameNameGetDistinctWorksheets) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 10);
    addFeeder(sheet, 10, 2, "L1", 5);
    addFeeder(sheet, 15, 3, "l1", 5);  // the application does not tell letter case apart
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(namesOf(*book),
              (std::vector<std::string>{"電路計算書 L1", "電路計算書 L1(1)", "電路計算書 l1(2)"}));
}

TEST(FeederWorkbook, HasNoLimitOnTheNumberOfFeeders) {
    Sheet sheet = headedSheet();
    for (int i = 0; i < 130; ++i)
        addFeeder(sheet, i, i + 1, "L" + std::to_string(i + 1), 1);
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    ASSERT_EQ(book->sheets.size(), 130u);
    EXPECT_EQ(book->sheets[129].name, "電路計算書 L130");
    EXPECT_EQ(slotLoadName(book->sheets[129], 0), "L130-0");
}

TEST(FeederWorkbook, NamesTheRowAndColumnOfACountThatIsNoNumber) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "L1", 10);
    addFeeder(sheet, 10, 2, "L2", 10);
    sheet.setCell(10, col::blockRows, "十");
    auto book = layoutFeederWorkbook(sheet);
    ASSERT_FALSE(book.ok());
    EXPECT_NE(book.error().message.find("11 行目"), std::string::npos);
    EXPECT_NE(book.error().message.find("幹線の行数"), std::string::npos);

    sheet.setCell(10, col::blockRows, "10");
    sheet.setCell(10, col::number, "2a");
    book = layoutFeederWorkbook(sheet);
    ASSERT_FALSE(book.ok());
    EXPECT_NE(book.error().message.find("「No.」"), std::string::npos);
}

TEST(WorkbookExport, ARowCountFromADamagedFileStopsBothExportsBeforeTheyRunOn) {
    struct Case {
        const char* meaning;
        const char* count;
        const char* saying;
    };
    const Case cases[] = {
        {"99999999 rows on a sheet of 40", "99999999", "11 行目「幹線の行数」の「99999999」"},
        {"one row more than the rows in use below the head", "11", "最後の行まで 10 行"},
        {"a negative count", "-1", "負の数"},
    };
    for (const Case& c : cases) {
        for (const WorkbookExport kind :
             {WorkbookExport::EighteenRows, WorkbookExport::PerFeeder}) {
            Sheet sheet = headedSheet();
            sheet.setRowCount(40);
            addFeeder(sheet, 0, 1, "L1", 10);
            addFeeder(sheet, 10, 2, "L2", 10);
            sheet.setCell(10, col::blockRows, c.count);
            const auto book = layoutExport(sheet, kind);
            ASSERT_FALSE(book.ok()) << c.meaning;
            EXPECT_NE(book.error().message.find(c.saying), std::string::npos)
                << c.meaning << ": " << book.error().message;
        }
        // The item export checks the count itself, whoever calls it.
        Sheet sheet = headedSheet();
        sheet.setRowCount(40);
        addFeeder(sheet, 10, 1, "L1", 10);
        sheet.setCell(10, col::blockRows, c.count);
        EXPECT_FALSE(layoutFeederWorkbook(sheet).ok()) << c.meaning;
    }
}

TEST(FeederWorkbook, NamesTheApplicationRefusesAreMadeValid) {
    Sheet sheet = headedSheet();
    addFeeder(sheet, 0, 1, "1F/2F [動力]", 10);
    addFeeder(sheet, 10, 2, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ", 10);
    const auto book = layoutFeederWorkbook(sheet);
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book->sheets[0].name, "電路計算書 1F_2F _動力_");
    EXPECT_EQ(book->sheets[1].name,
              "電路計算書 ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹ");
}

TEST(WorksheetNames, RefusedCharactersLengthAndApostrophes) {
    struct Case {
        const char* wanted;
        const char* valid;
    };
    const Case cases[] = {
        {"電路計算書 L1", "電路計算書 L1"},
        {"a[b]c:d*e?f/g\\h", "a_b_c_d_e_f_g_h"},
        {"'quoted'", "_quoted_"},
        {"1234567890123456789012345678901234", "1234567890123456789012345678901"},
        {"電路計算書 ", "電路計算書 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(validWorksheetName(c.wanted), c.valid) << c.wanted;
}

TEST(WorksheetNames, CollisionsAppendASharedCounter) {
    EXPECT_EQ(uniqueWorksheetNames({"A", "B", "A", "B", "A"}),
              (std::vector<std::string>{"A", "B", "A(1)", "B(2)", "A(3)"}));
    // An appended name that meets an earlier one is appended to again.
    EXPECT_EQ(uniqueWorksheetNames({"A(1)", "A", "A"}),
              (std::vector<std::string>{"A(1)", "A", "A(1)(2)"}));
    EXPECT_EQ(uniqueWorksheetNames({"Ｌ１ａ", "Ｌ１Ａ"}),
              (std::vector<std::string>{"Ｌ１ａ", "Ｌ１Ａ(1)"}));
    // The counter goes into the 31 characters, not beyond them.
    const std::string longName(31, 'x');
    const auto names = uniqueWorksheetNames({longName, longName});
    EXPECT_EQ(names[1], std::string(28, 'x') + "(1)");
}

}  // namespace
