#include "sheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoding.h"
#include "era.h"

#include "test_files.h"

using namespace wirelark;
namespace fs = std::filesystem;
using namespace wirelark::testing;

namespace {

const std::string kEmptyRow(34, ',');

// A file as code page 932 bytes, from its lines written in UTF-8.
std::string cp932File(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return utf8ToCp932(text);
}

// UTF-16 of a text of the Basic Multilingual Plane (one 16-bit unit per character).
std::string utf16(const std::string& utf8, bool littleEndian) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = 1;
        char32_t cp = lead;
        if (lead >= 0xE0) {
            len = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xC0) {
            len = 2;
            cp = lead & 0x1F;
        }
        for (std::size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += len;
        const char hi = static_cast<char>(cp >> 8);
        const char lo = static_cast<char>(cp & 0xFF);
        out += littleEndian ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

Sheet baseSheet() {
    return newSheet({2024, 6, 1});
}

Sheet parsed(const std::vector<std::string>& lines, const Sheet& current = baseSheet()) {
    auto s = parseSheetFile(cp932File(lines), current, "t.ksk");
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().message);
    return s.ok() ? std::move(*s) : Sheet();
}

// A file of one used row (row 0) with the given row line and heading lines.
std::vector<std::string> oneRowFile(const std::string& row, const std::string& frequency = "60") {
    return {"20", "0", row, frequency, "6", "4", "1", "本館", "令和"};
}

Row split(const std::string& line) {
    Row row;
    splitCommaText(line, row);
    return row;
}

// A one-system residential feeder with two branches and a single feeder below it, with the
// texts that test the file: a cable designation with a space, a remark with a comma and quotes.
Sheet realisticSheet() {
    Sheet s = baseSheet();
    const std::vector<std::vector<std::pair<int, std::string>>> rows = {
        {{col::number, "1"},
         {col::name, "L1"},
         {col::system, "単相3線"},
         {col::voltage, "100/200"},
         {col::breaker, "100"},
         {col::glyph, std::string(glyph::head)},
         {col::length, "30"},
         {col::loadName, "住棟 A"},
         {col::mainBreaker, "100"},
         {col::designCurrent, "62"},
         {col::powerFactor, "0.95"},
         {col::cable, "CV22"},
         {col::method, "保護管配線 (PF)"},
         {col::allowableCurrent, "91"},
         {col::impedance, "1.012"},
         {col::singleDrop, "1.20"},
         {col::allowableDrop, "5"},
         {col::remarks, "a,b \"c\""},
         {col::cumulativeLength, "30"},
         {col::sizeKey, "22"},
         {col::verdict, "〇：許容電流55%以上"},
         {col::blockRows, "5"},
         {col::feederNumber, "1"}},
        {{col::glyph, std::string(glyph::firstTrunk)},
         {col::length, "3"},
         {col::loadName, "分岐点"},
         {col::designCurrent, "62"},
         {col::cumulativeLength, "33"},
         {col::systemNumber, "1"},
         {col::feederNumber, "1"}},
        {{col::glyph, std::string(glyph::branch)},
         {col::length, "10"},
         {col::loadName, "住戸　101"},
         {col::designCurrent, "30"},
         {col::singleDrop, "0.50"},
         {col::summedDrop, "1.9"},
         {col::verdict, "×：電圧降下が大きい 確認必要"},
         {col::systemNumber, "1"},
         {col::mark, "over"},
         {col::feederNumber, "1"}},
        {{col::glyph, std::string(glyph::trunk)},
         {col::length, "3"},
         {col::loadName, "分岐間"},
         {col::systemNumber, "1"},
         {col::feederNumber, "1"}},
        {{col::glyph, std::string(glyph::lastBranch)},
         {col::length, "12.5"},
         {col::designCurrent, "30"},
         {col::systemNumber, "1"},
         {col::feederNumber, "1"}},
        {},
        {{col::number, "2"},
         {col::name, "動力盤"},
         {col::system, "三相3線"},
         {col::glyph, std::string(glyph::single)},
         {col::length, "1,234.5"},
         {col::loadName, "ポンプ\t1"},
         {col::mark, "1"},
         {col::blockRows, "1"},
         {col::feederNumber, "2"}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (const auto& [c, text] : rows[r])
            s.setCell(static_cast<int>(r), c, text);
    s.heading.buildingName = "市営住宅　A棟 \"東\"";
    s.heading.eraLabel = "平成";
    s.heading.eraYear = "28";
    s.heading.month = "8";
    s.heading.day = "15";
    s.heading.eraName = "平成";
    s.settings.frequency = Frequency::Hz50;
    s.settings.yearDisplay = YearDisplay::Western;
    s.settings.printPageNumbers = false;
    return s;
}

// --- naming ---------------------------------------------------------------------------------

TEST(SheetFileName, KskIsAppendedUnlessTheNameEndsInExactlyKsk) {
    struct Case {
        const char* meaning;
        const char* chosen;
        const char* saved;
    };
    const Case cases[] = {
        {"no extension", "本館幹線計算書", "本館幹線計算書.ksk"},
        {"already .ksk", "本館.ksk", "本館.ksk"},
        {"capital KSK is another extension", "本館.KSK", "本館.KSK.ksk"},
        {"ksk without a dot is kept", "本館ksk", "本館ksk"},
        {"other extension", "本館.txt", "本館.txt.ksk"},
        {"shorter than three characters", "ks", "ks.ksk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withSheetExtension(c.chosen), c.saved) << c.meaning;
}

// --- comma text -----------------------------------------------------------------------------

TEST(CommaText, QuotesCellsWithBlanksCommasAndQuotesOnly) {
    struct Case {
        const char* meaning;
        const char* cell;
        const char* written;
    };
    const Case cases[] = {
        {"plain number", "1.012", "1.012"},
        {"cable designation with a space", "CV 22", "\"CV 22\""},
        {"comma", "a,b", "\"a,b\""},
        {"quotes are doubled", "6\" pipe", "\"6\"\" pipe\""},
        {"tab is a blank", "a\tb", "\"a\tb\""},
        {"full-width text is bare", "単相3線", "単相3線"},
        {"ideographic space does not quote", "│　", "│　"},
        {"verdict with an ASCII space", "×：電圧降下が大きい 確認必要",
         "\"×：電圧降下が大きい 確認必要\""},
        {"single space placeholder", " ", "\" \""},
    };
    for (const Case& c : cases) {
        Row row;
        row[0] = c.cell;
        EXPECT_EQ(commaText(row), std::string(c.written) + kEmptyRow) << c.meaning;
        EXPECT_EQ(split(commaText(row))[0], c.cell) << c.meaning;
    }
}

TEST(CommaText, EmptyRowIs34Commas) {
    EXPECT_EQ(commaText(Row{}), kEmptyRow);
}

TEST(CommaText, LineBreaksInACellCannotSplitTheRecord) {
    Row row;
    row[7] = "二行\r\nの名称";
    const std::string line = commaText(row);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(split(line)[7], "二行  の名称");
}

TEST(CommaSplitting, FollowsTheFieldRules) {
    struct Case {
        const char* meaning;
        const char* line;
        std::vector<std::string> fields;  // columns 0.. that must hold these texts
    };
    const std::vector<Case> cases = {
        {"adjacent commas give empty fields", "a,,b", {"a", "", "b"}},
        {"blanks before a field and after a comma are skipped", "   a ,  b,c", {"a", "b", "c"}},
        {"a bare field ends at a blank, the next field follows without a comma",
         "a b,c",
         {"a", "b", "c"}},
        {"a closing quote ends a field, the next follows without a comma",
         "\"a\"b,c",
         {"a", "b", "c"}},
        {"doubled quotes stand for one", "\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"comma inside quotes", "\"1,234\",5", {"1,234", "5"}},
        {"quoted field running to the end of the line", "\"open,end", {"open,end"}},
        {"trailing comma gives a final empty field", "a,b,", {"a", "b", ""}},
        {"blanks after the trailing comma", "a, ", {"a", ""}},
        {"control character ends a bare field",
         "a\x01"
         "b",
         {"a", "b"}},
        {"full-width characters are never blanks", "住棟　5,x", {"住棟　5", "x"}},
    };
    for (const Case& c : cases) {
        const Row row = split(c.line);
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            EXPECT_EQ(row[i], c.fields[i]) << c.meaning << " field " << i;
    }
}

TEST(CommaSplitting, NulInTheMiddleOfALine) {
    const Row row = split(std::string("a,b\0,c", 7));
    EXPECT_EQ(row[0], "a");
    EXPECT_EQ(row[1], "b");
    EXPECT_EQ(row[2], "");
}

TEST(CommaSplitting, MoreThan35FieldsAreDroppedFewerLeaveColumnsEmpty) {
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += std::to_string(i) + ",";
    const Row full = split(line);
    EXPECT_EQ(full[0], "0");
    EXPECT_EQ(full[34], "34");

    const Row shortRow = split("1,L1,単相2線");
    EXPECT_EQ(shortRow[2], "単相2線");
    for (int c = 3; c < kColumnCount; ++c)
        EXPECT_TRUE(shortRow[static_cast<std::size_t>(c)].empty());
}

// --- saving ---------------------------------------------------------------------------------

TEST(SheetFileSaving, EmptySheetSavesNineLinesWithRowZero) {
    Sheet s = baseSheet();
    const std::string text = sheetFileText(s);
    const std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "20");
    EXPECT_EQ(lines[1], "0");
    // Row 0 carries the era label and the year display; rows 1 and 2 are not saved, so the
    // page-number setting and the era name do not travel with an empty sheet.
    EXPECT_EQ(lines[2], ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,令和,,,,3");
    EXPECT_EQ(lines[3], "60");
    EXPECT_EQ(lines[4], "6");
    EXPECT_EQ(lines[5], "6");
    EXPECT_EQ(lines[6], "1");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "令和");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(s.rowCount(), 20);  // saving shrinks the live sheet to L + 20
    EXPECT_TRUE(s.cell(0, col::settingCells).empty());
    EXPECT_TRUE(s.cell(0, col::blockPages).empty());
}

TEST(SheetFileSaving, LineBreaksInTheHeadingCannotShiftTheLines) {
    Sheet s = baseSheet();
    s.heading.buildingName = "本館\r\n別館";
    const std::vector<std::string> lines = splitLines(sheetFileText(s));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[7], "本館  別館");
    EXPECT_EQ(lines[8], "令和");
}

TEST(SheetFileSaving, SettingCellsAreWrittenIntoRowsZeroToTwo) {
    Sheet s = realisticSheet();
    const std::vector<std::string> lines = splitLines(sheetFileText(s));
    ASSERT_EQ(lines.size(), 6u + 9u);
    EXPECT_EQ(lines[0], "26");
    EXPECT_EQ(lines[1], "6");
    EXPECT_EQ(split(lines[2])[30], "平成");
    EXPECT_EQ(split(lines[2])[34], "4");
    EXPECT_EQ(split(lines[3])[34], "6");
    EXPECT_EQ(split(lines[4])[34], "平成");
    EXPECT_EQ(lines[9], "50");
    EXPECT_EQ(lines[13], "市営住宅　A棟 \"東\"");  // heading lines are written as they are
    // (34, 1) and (34, 2) stay in the live sheet; (34, 0) and (30, 0) are emptied again.
    EXPECT_EQ(s.cell(1, col::settingCells), "6");
    EXPECT_EQ(s.cell(2, col::settingCells), "平成");
    EXPECT_TRUE(s.cell(0, col::settingCells).empty());
    EXPECT_TRUE(s.cell(0, col::blockPages).empty());
}

TEST(SheetFileSaving, WritesCodePage932WithQuestionMarksForTheArrow) {
    TempFolder dir;
    Sheet s = realisticSheet();
    ASSERT_TRUE(saveSheetFile(s, dir / "a.ksk").ok());
    const std::string bytes = readBytes(dir / "a.ksk");
    EXPECT_NE(bytes.find(utf8ToCp932("-─?┌")), std::string::npos);
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos);
    Sheet again = realisticSheet();
    std::string text = sheetFileText(again);
    const std::string arrow = "▶";
    for (std::size_t p; (p = text.find(arrow)) != std::string::npos;)
        text.replace(p, arrow.size(), "?");
    EXPECT_EQ(cp932ToUtf8(bytes), text);
}

// The saved bytes are the code page 932 of the sheet's comma text, whatever a cell holds: the
// file is written cell by cell in code page 932, never through the UTF-8 text of the whole.
TEST(SheetFileSaving, EveryKindOfCellIsSavedAsTheConvertedCommaText) {
    const std::string nearBound(kMaxFieldChars, 'x');
    const std::string wideAtBound = [] {
        std::string t;
        for (std::size_t i = 0; i < kMaxFieldChars; ++i)
            t += "幹";  // 3 bytes each: over the bound in bytes, not in characters
        return t;
    }();
    struct Case {
        const char* meaning;
        std::string cell;
    };
    const Case cases[] = {
        {"empty", ""},
        {"number", "1.012"},
        {"every printable ASCII character",
         [] {
             std::string t;
             for (char c = 0x21; c < 0x7F; ++c)
                 t += c;
             return t;
         }()},
        {"single space placeholder", " "},
        {"comma and quote among kanji", "幹線,\"A\""},
        {"line break, tab and NUL", std::string("二行\r\nの\t名称\0末", 19)},
        {"half-width katakana", "ｹｰﾌﾞﾙ"},
        {"ideographic space", "│　"},
        {"characters the code page lacks", "▶🔌㎟"},
        {"delete character", "a\x7F"},
        {"a cell at the bound", nearBound},
        {"kanji at the bound in characters", wideAtBound},
    };
    for (const Case& c : cases) {
        Sheet s = realisticSheet();
        s.setCell(3, col::loadName, c.cell);
        s.setCell(4, col::remarks, c.cell);
        if (c.cell.size() < 100)
            s.setCell(5, col::glyph, std::string(glyph::branch) + c.cell);
        // A row whose texts together pass the bound while no cell does.
        s.setCell(6, col::loadName, nearBound);
        s.setCell(6, col::cable, nearBound);
        Sheet copy = s;
        const auto bytes = sheetFileBytes(s);
        ASSERT_TRUE(bytes) << c.meaning << ": " << bytes.error().message;
        EXPECT_EQ(*bytes, utf8ToCp932(sheetFileText(copy))) << c.meaning;
        EXPECT_EQ(s.row(2), copy.row(2))
            << c.meaning << ": the setting cells stay as saving leaves them";
    }
}

// A cell that ends inside a character (a text cut in the middle) loses that character, never the
// comma after it: the cells behind it stay in their columns.
TEST(SheetFileSaving, ACellEndingInsideACharacterKeepsTheCellsAfterIt) {
    const char* cuts[] = {"幹線\xE7\xB7", "A\xE7", "\xF0\x9F\x94", "\xC3"};
    for (const char* cut : cuts) {
        Sheet s = realisticSheet();
        s.setCell(3, col::loadName, cut);
        const std::string after(s.cell(3, col::loadName + 1));
        const auto bytes = sheetFileBytes(s);
        ASSERT_TRUE(bytes);
        const Row row = split(splitLines(cp932ToUtf8(*bytes))[5]);
        EXPECT_EQ(row[col::loadName].back(), '?') << cut;
        EXPECT_EQ(row[col::loadName + 1], after) << cut;
    }
}

TEST(SheetFileSaving, FailedSaveKeepsThePreviousFile) {
    TempFolder dir;
    const fs::path target = dir / "本館.ksk";
    writeBytes(target, "previous content");
    // A cell the file could not carry back: the save is refused before anything is written.
    Sheet s = realisticSheet();
    s.setCell(3, col::loadName, std::string(kMaxFieldChars + 1, 'x'));
    const Status st = saveSheetFile(s, target);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message.rfind("ファイル \"" + target.string() +
                                           "\" を保存できません。4 行目「負荷名称」が長すぎます",
                                       0),
              0u)
        << st.error().message;
    EXPECT_EQ(readBytes(target), "previous content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SheetFileSaving, CharactersTheCodePageLacksBecomeQuestionMarks) {
    Sheet s = baseSheet();
    s.setCell(0, col::glyph, std::string(glyph::branch));
    s.setCell(0, col::cable, "CV22㎟");
    s.setCell(0, col::remarks, "🔌～－①㎡");
    TempFolder dir;
    ASSERT_TRUE(saveSheetFile(s, dir / "q.ksk").ok());
    const Row row = split(splitLines(cp932ToUtf8(readBytes(dir / "q.ksk")))[2]);
    EXPECT_EQ(row[col::glyph], "├─?");
    EXPECT_EQ(row[col::cable], "CV22?");
    EXPECT_EQ(row[col::remarks], "?～－①㎡");
}

TEST(SheetFileSaving, SaveIntoAMissingFolderReportsTheFile) {
    TempFolder dir;
    Sheet s = baseSheet();
    const Status st = saveSheetFile(s, dir / "no-such-folder" / "a.ksk");
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("を作成できません。"), std::string::npos);
}

TEST(SheetFileSaving, ReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    TempFolder dir;
    writeBytes(dir / "a.ksk", "old");
    Sheet s = baseSheet();
    ASSERT_TRUE(saveSheetFile(s, dir / "a.ksk").ok());
    EXPECT_EQ(splitLines(cp932ToUtf8(readBytes(dir / "a.ksk")))[0], "20");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// --- loading --------------------------------------------------------------------------------

TEST(SheetFileLoading, RoundTripKeepsEveryCellAndTheHeading) {
    TempFolder dir;
    Sheet original = realisticSheet();
    ASSERT_TRUE(saveSheetFile(original, dir / "r.ksk").ok());

    Sheet loaded = newSheet({2025, 1, 1});
    ASSERT_TRUE(loadSheetFile(loaded, dir / "r.ksk").ok());
    for (int r = 0; r <= original.lastUsedRow(); ++r)
        for (int c = 0; c < kColumnCount; ++c) {
            if (c == col::settingCells || (r == 0 && c == col::blockPages))
                continue;
            EXPECT_EQ(loaded.cell(r, c), original.cell(r, c)) << "row " << r << " column " << c;
        }
    EXPECT_EQ(loaded.cell(0, col::blockPages), "平成");  // the era label stays in its hidden cell
    EXPECT_TRUE(loaded.cell(1, col::settingCells).empty());
    EXPECT_TRUE(loaded.cell(2, col::settingCells).empty());
    EXPECT_EQ(loaded.heading.buildingName, original.heading.buildingName);
    EXPECT_EQ(loaded.heading.eraLabel, "平成");
    EXPECT_EQ(loaded.heading.eraYear, "28");
    EXPECT_EQ(loaded.heading.month, "8");
    EXPECT_EQ(loaded.heading.day, "15");
    EXPECT_EQ(loaded.heading.eraName, "平成");
    EXPECT_EQ(loaded.heading.westernYear, "2016");
    EXPECT_EQ(loaded.settings.frequency, Frequency::Hz50);
    EXPECT_EQ(loaded.settings.yearDisplay, YearDisplay::Western);
    EXPECT_FALSE(loaded.settings.printPageNumbers);
    EXPECT_EQ(loaded.rowCount(), 108);

    // Saved again, the file is the same byte for byte.
    const std::string first = readBytes(dir / "r.ksk");
    ASSERT_TRUE(saveSheetFile(loaded, dir / "r2.ksk").ok());
    EXPECT_EQ(readBytes(dir / "r2.ksk"), first);
}

TEST(SheetFileLoading, RepairsTheArrowGlyphsCodePage932CouldNotHold) {
    struct Case {
        const char* read;
        const char* repaired;
    };
    const Case cases[] = {
        {"──?", "──▶"},
        {"-─?┌", "-─▶┌"},
        {"├─?", "├─▶"},
        {"└─?", "└─▶"},
        {"│├?", "│├▶"},
        {"│└?", "│└▶"},
        {"┌─?", "┌─?"},    // not a glyph the sheet writes: stays
                           // as read
        {"├─? ", "├─? "},  // a blank after it: no exact match, no repair
    };
    for (const Case& c : cases) {
        const Sheet s = parsed(oneRowFile(std::string(",,,,,\"") + c.read + "\""));
        EXPECT_EQ(s.cell(0, col::glyph), c.repaired) << c.read;
    }
    // Only the glyph column is repaired.
    EXPECT_EQ(parsed(oneRowFile(",,,,,──?,,──?")).cell(0, col::loadName), "──?");
}

TEST(SheetFileLoading, SingleSpacesBecomeEmptyCells) {
    const Sheet s = parsed(oneRowFile("\" \",\" \",x,,,──?"));
    EXPECT_TRUE(s.cell(0, 0).empty());
    EXPECT_TRUE(s.cell(0, 1).empty());
    EXPECT_EQ(s.cell(0, 2), "x");
}

TEST(SheetFileLoading, FrequencyLineSelectsSixtyOrFiftyAndOtherNumbersChangeNothing) {
    struct Case {
        const char* line;
        Frequency before;
        Frequency after;
    };
    const Case cases[] = {
        {"60", Frequency::Hz50, Frequency::Hz60}, {"50", Frequency::Hz60, Frequency::Hz50},
        {"0", Frequency::Hz50, Frequency::Hz50},  {"0", Frequency::Hz60, Frequency::Hz60},
        {"1", Frequency::Hz50, Frequency::Hz50},
    };
    for (const Case& c : cases) {
        Sheet current = baseSheet();
        current.settings.frequency = c.before;
        EXPECT_EQ(parsed(oneRowFile(",,,,,──?", c.line), current).settings.frequency, c.after)
            << c.line;
    }
}

TEST(SheetFileLoading, RowCountIsTheFilesButAtLeast108) {
    struct Case {
        const char* meaning;
        const char* declared;
        int rows;
    };
    const Case cases[] = {
        {"more than 108 rows are kept", "150", 150},
        {"exactly 108", "108", 108},
        {"fewer are raised to 108", "20", 108},
        {"zero is raised to 108", "0", 108},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = oneRowFile(",,,,,──?");
        lines[0] = c.declared;
        EXPECT_EQ(parsed(lines).rowCount(), c.rows) << c.meaning;
    }
}

TEST(SheetFileLoading, SettingCellsSetTheOptionsAndAreEmptied) {
    struct Case {
        const char* meaning;
        const char* row0;
        const char* row1;
        const char* row2;
        YearDisplay display;
        bool pages;
        const char* eraName;
    };
    const Case cases[] = {
        {"Western display, no page numbers, era name", "4", "6", "平成", YearDisplay::Western,
         false, "平成"},
        {"empty cells mean era display and page numbers", "", "", "", YearDisplay::Era, true,
         "令和"},
        {"other values change nothing", "9", "9", "", YearDisplay::Western, false, "令和"},
    };
    for (const Case& c : cases) {
        Sheet current = baseSheet();
        current.settings.yearDisplay = YearDisplay::Western;
        current.settings.printPageNumbers = false;
        const Sheet s =
            parsed({"22", "2", ",,,,,──?" + std::string(29, ',') + c.row0,
                    ",,,,,──?" + std::string(29, ',') + c.row1,
                    ",,,,,──?" + std::string(29, ',') + c.row2, "60", "6", "1", "1", "", "令和"},
                   current);
        EXPECT_EQ(s.settings.yearDisplay, c.display) << c.meaning;
        EXPECT_EQ(s.settings.printPageNumbers, c.pages) << c.meaning;
        EXPECT_EQ(s.heading.eraName, c.eraName) << c.meaning;
        for (int r = 0; r < 3; ++r)
            EXPECT_TRUE(s.cell(r, col::settingCells).empty()) << c.meaning;
    }
}

TEST(SheetFileLoading, SheetOfOneRowSelectsPageNumbersAndKeepsTheEraName) {
    Sheet current = baseSheet();
    current.heading.eraName = "昭和";
    current.settings.printPageNumbers = false;
    const Sheet s = parsed(oneRowFile(",,,,,──?"), current);
    EXPECT_TRUE(s.settings.printPageNumbers);
    EXPECT_EQ(s.heading.eraName, "昭和");
}

TEST(SheetFileLoading, DateIsTheFilesAndTheWesternYearFollowsIt) {
    struct Case {
        const char* meaning;
        const char* eraYear;
        const char* eraLabel;
        const char* western;  // expected Western year; "2024" is the current sheet's
    };
    const Case cases[] = {
        {"Reiwa 5 stays Reiwa 5", "5", "令和", "2023"},
        {"Heisei Gan", "元", "平成", "1989"},
        {"Showa 63", "63", "昭和", "1988"},
        {"an era the conversion does not know", "9", "大正", "2024"},
        {"an era year that is not a number", "x", "令和", "2024"},
    };
    for (const Case& c : cases) {
        const Sheet s =
            parsed({"20", "0", ",,,,,──?", "60", c.eraYear, "3", "9", "本館", c.eraLabel});
        EXPECT_EQ(s.heading.eraYear, c.eraYear) << c.meaning;
        EXPECT_EQ(s.heading.eraLabel, c.eraLabel) << c.meaning;
        EXPECT_EQ(s.heading.westernYear, c.western) << c.meaning;
        EXPECT_EQ(s.heading.month, "3") << c.meaning;
        EXPECT_EQ(s.heading.day, "9") << c.meaning;
    }
}

TEST(SheetFileLoading, RenumbersTheFeeders) {
    const Sheet s = parsed({"22", "2", "7,,,,,──?", ",,,,," + std::string(glyph::head), "", "60",
                            "6", "1", "1", "", "令和"});
    // Row 1 has no number in column 0: it is not a head row and carries feeder 1's number.
    EXPECT_EQ(s.cell(0, col::number), "1");
    EXPECT_EQ(s.cell(0, col::feederNumber), "1");
    EXPECT_EQ(s.cell(1, col::feederNumber), "1");
}

TEST(SheetFileLoading, HonoursByteOrderMarks) {
    TempFolder dir;
    const std::string text =
        "20\r\n0\r\n1,L1,単相2線,100,30,──▶\r\n50\r\n元\r\n5\r\n1\r\n本館\r\n令和\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text},
        {"UTF-16 little-endian", "\xFF\xFE" + utf16(text, true)},
        {"UTF-16 big-endian", "\xFE\xFF" + utf16(text, false)},
    };
    for (const auto& [meaning, bytes] : files) {
        writeBytes(dir / "bom.ksk", bytes);
        Sheet s = baseSheet();
        ASSERT_TRUE(loadSheetFile(s, dir / "bom.ksk").ok()) << meaning;
        EXPECT_EQ(s.cell(0, col::glyph), "──▶") << meaning;  // UTF files keep the arrow itself
        EXPECT_EQ(s.cell(0, col::system), "単相2線") << meaning;
        EXPECT_EQ(s.heading.buildingName, "本館") << meaning;
        EXPECT_EQ(s.heading.eraYear, "元") << meaning;
        EXPECT_EQ(s.settings.frequency, Frequency::Hz50) << meaning;
    }
}

TEST(SheetFileLoading, AcceptsLoneCrAndLoneLfLineEnds) {
    const std::string text = "20\n0\r,,,,,──?\n60\r6\n1\n1\n本館\n令和";
    auto s = parseSheetFile(utf8ToCp932(text), baseSheet(), "t.ksk");
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(s->cell(0, col::glyph), "──▶");
    EXPECT_EQ(s->heading.eraLabel, "令和");
}

TEST(SheetFileLoading, DamagedFilesAreRefusedAndTheOpenSheetStaysAsItWas) {
    struct Case {
        const char* meaning;
        std::vector<std::string> lines;
        const char* saying;  // part of the message
    };
    const std::vector<Case> cases = {
        {"ends before its heading lines",
         {"48", "2", ",,,,,──?", ",,,,,", ",,,,,──?", "50", "6", "6"},
         "は途中で終わっています（11 行あるはずが 8 行しかありません）。"},
        {"ends within its rows", {"48", "28", ",,,,,──?"}, "途中で終わっています"},
        {"row count is not a number",
         {"abc", "0", ",,,,,", "60", "6", "1", "1", "", "令和"},
         "の 1 行目「abc」はシートの行数ではありません。"},
        {"row count above the limit",
         {"250001", "0", ",,,,,", "60", "6", "1", "1", "", "令和"},
         "の 1 行目のシートの行数 250001 は大きすぎます（上限 250000 行）。"},
        {"negative row count",
         {"-5", "0", ",,,,,", "60", "6", "1", "1", "", "令和"},
         "の 1 行目「-5」はシートの行数ではありません。"},
        {"last row is not a number",
         {"20", "x", ",,,,,", "60", "6", "1", "1", "", "令和"},
         "の 2 行目「x」は最終行の番号ではありません。"},
        {"last row beyond the limit", {"20", "250000"}, "大きすぎます"},
        {"frequency is not a number",
         {"20", "0", ",,,,,", "60Hz", "6", "1", "1", "", "令和"},
         "の 4 行目「60Hz」は周波数ではありません。"},
        {"empty file", {}, "は計算書ファイルではありません"},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        writeBytes(dir / "bad.ksk", cp932File(c.lines));
        Sheet open = realisticSheet();
        const Sheet before = open;
        const Status st = loadSheetFile(open, dir / "bad.ksk");
        ASSERT_FALSE(st.ok()) << c.meaning;
        EXPECT_NE(st.error().message.find(c.saying), std::string::npos)
            << c.meaning << ": " << st.error().message;
        EXPECT_NE(st.error().message.find("bad.ksk"), std::string::npos) << c.meaning;
        EXPECT_EQ(open.rowCount(), before.rowCount()) << c.meaning;
        for (int r = 0; r < before.rowCount(); ++r)
            EXPECT_EQ(open.row(r), before.row(r)) << c.meaning << " row " << r;
        EXPECT_EQ(open.heading.buildingName, before.heading.buildingName) << c.meaning;
        EXPECT_EQ(open.heading.eraYear, before.heading.eraYear) << c.meaning;
    }
}

TEST(SheetFileLoading, FilesBeyondTheBoundsOrNotTextAreRefusedWhole) {
    using namespace std::string_literals;
    const auto file = [](const std::vector<std::string>& lines) { return cp932File(lines); };
    const auto withRow = [](int column, const std::string& text) {
        Row row;
        row[col::glyph] = "──▶";
        row[static_cast<std::size_t>(column)] = text;
        return commaText(row);
    };
    std::string longLoadName;
    for (std::size_t i = 0; i <= kMaxFieldChars; ++i)
        longLoadName += "電";
    struct Case {
        const char* meaning;
        std::string bytes;
        const char* saying;
    };
    const std::vector<Case> cases = {
        {"a building name of 2 MB",
         file(oneRowFile(",,,,,──?"))
             .replace(file(oneRowFile(",,,,,──?")).find(utf8ToCp932("本館")), 4,
                      std::string(2'000'000, 'x')),
         "の 8 行目「建物名称」が長すぎます（2000000 文字、上限 1000 文字）。"},
        {"a load name of 1001 characters", file(oneRowFile(withRow(col::loadName, longLoadName))),
         "の 3 行目「負荷名称」が長すぎます（1001 文字"},
        {"a remark cell one character over",
         file(oneRowFile(withRow(col::remarks, std::string(1001, 'r')))),
         "の 3 行目「備考」が長すぎます"},
        {"a first line of 1 MB with terminal escape sequences",
         "\x1b]0;pwned\a\x1b[2J"s + std::string(1 << 20, 'A') + "\r\n3\r\n",
         "の 1 行目「?]0;pwned??[2JAAAAAAAAAAAAAAAAAAAAAAAAAA…」はシートの行数ではありません。"},
        {"a byte code page 932 does not have, in a row",
         file({"20", "0"}) + "\x81\x20,,,,,──?\r\n" + file({"60", "6", "4", "1", "本館", "令和"}),
         "の 3 行目にコードページ 932（シフトJIS）の文字ではないバイト 0x81 0x20 があります。"},
        {"a NUL byte in the building name",
         file({"20", "0", ",,,,,──?", "60", "6", "4", "1"}) + utf8ToCp932("本") + "\0"s +
             utf8ToCp932("館") + "\r\n" + file({"令和"}),
         "の 8 行目に NUL 文字（0x00）があります。"},
        {"a byte code page 932 does not have, after lone CR line ends",
         "20\r0\r,,,,,\r" + utf8ToCp932("本館") + "\xFF\r"s,
         "の 4 行目にコードページ 932（シフトJIS）の文字ではないバイト 0xFF 0x0D があります。"},
        {"a NUL early and a bad byte later: the bad byte is told",
         "20\r\n\0\r\n,,,,,\r\n\x81\x20\r\n"s,
         "の 4 行目にコードページ 932（シフトJIS）の文字ではないバイト 0x81 0x20 があります。"},
        {"a lead byte as the last byte of the file", file({"20", "0", ",,,,,──?"}) + "\x81"s,
         "の 4 行目にコードページ 932（シフトJIS）の文字ではないバイト 0x81 があります。"},
        {"UTF-16 cut in the middle of a character", "\xFF\xFE" + utf16("20\r\n0\r\n", true) + "x",
         "の 3 行目に UTF-16 のテキストが途中で切れています"},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        writeBytes(dir / "bad.ksk", c.bytes);
        Sheet open = realisticSheet();
        const Sheet before = open;
        const Status st = loadSheetFile(open, dir / "bad.ksk");
        ASSERT_FALSE(st.ok()) << c.meaning;
        const std::string& message = st.error().message;
        EXPECT_NE(message.find(c.saying), std::string::npos) << c.meaning << ": " << message;
        // A message quotes little of the file and nothing a terminal would act on.
        EXPECT_LT(message.size(), 400u) << c.meaning;
        EXPECT_EQ(message.find('\x1b'), std::string::npos) << c.meaning;
        for (int r = 0; r < before.rowCount(); ++r)
            EXPECT_EQ(open.row(r), before.row(r)) << c.meaning << " row " << r;
        EXPECT_EQ(open.heading.buildingName, before.heading.buildingName) << c.meaning;
    }
}

TEST(SheetFileLoading, TextFromOtherEditorsAndFieldsUpToTheBoundLoad) {
    struct Case {
        const char* meaning;
        std::string bytes;
        std::string buildingName;
        std::string loadName;
    };
    std::string fullLoadName;
    for (std::size_t i = 0; i < kMaxFieldChars; ++i)
        fullLoadName += "電";
    Row full;
    full[col::glyph] = "──▶";
    full[col::loadName] = fullLoadName;
    std::string utf8;
    for (const std::string& l : oneRowFile(",,,,,──▶,,照明盤"))
        utf8 += l + "\r\n";
    const Case cases[] = {
        {"UTF-8 without a byte-order mark is read as UTF-8, not as mojibake", utf8, "本館",
         "照明盤"},
        {"a load name of exactly 1000 characters", cp932File(oneRowFile(commaText(full))), "本館",
         fullLoadName},
    };
    for (const Case& c : cases) {
        auto s = parseSheetFile(c.bytes, baseSheet(), "t.ksk");
        ASSERT_TRUE(s.ok()) << c.meaning << ": " << s.error().message;
        EXPECT_EQ(s->heading.buildingName, c.buildingName) << c.meaning;
        EXPECT_EQ(s->cell(0, col::loadName), c.loadName) << c.meaning;
        EXPECT_EQ(s->cell(0, col::glyph), "──▶") << c.meaning;
    }
    // Saved again, it is code page 932 as every sheet is.
    auto s = parseSheetFile(utf8, baseSheet(), "t.ksk");
    ASSERT_TRUE(s.ok());
    const auto bytes = sheetFileBytes(*s);
    ASSERT_TRUE(bytes.ok());
    EXPECT_NE(bytes->find(utf8ToCp932("照明盤")), std::string::npos);
}

TEST(SheetFileLoading, AnEraYearNoEraReachesConvertsNothing) {
    for (const char* year : {"99999999999", "100", "0", "-3"}) {
        std::vector<std::string> lines = oneRowFile(",,,,,──?");
        lines[4] = year;
        Sheet current = baseSheet();
        current.heading.westernYear = "2024";
        const Sheet s = parsed(lines, current);
        EXPECT_EQ(s.heading.eraYear, year);
        EXPECT_EQ(s.heading.westernYear, "2024") << year;
    }
}

TEST(SheetFileLoading, MissingFileIsReportedByName) {
    TempFolder dir;
    Sheet s = baseSheet();
    const Status st = loadSheetFile(s, dir / "無い.ksk");
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("無い.ksk\" を開けません。"), std::string::npos)
        << st.error().message;
    EXPECT_EQ(s.rowCount(), 108);
}

TEST(SheetFileLoading, ExtraLinesAfterTheHeadingAreIgnored) {
    std::vector<std::string> lines = oneRowFile(",,,,,──?");
    lines.push_back("something else");
    EXPECT_EQ(parsed(lines).heading.eraLabel, "令和");
}

TEST(SheetFileLoading, RowCountSmallerThanTheRowsStillHoldsEveryRow) {
    std::vector<std::string> lines = {"1", "120"};
    for (int r = 0; r <= 120; ++r)
        lines.push_back(",,,,,──?");
    for (const char* h : {"60", "6", "1", "1", "", "令和"})
        lines.push_back(h);
    const Sheet s = parsed(lines);
    EXPECT_EQ(s.rowCount(), 121);
    EXPECT_EQ(s.cell(120, col::glyph), "──▶");
}

TEST(SheetFileLoading, KeepsTheRowCopyBufferOfTheOpenSheet) {
    Sheet current = baseSheet();
    current.copyBuffer.resize(3);
    current.copyBuffer[0][col::glyph] = "──▶";
    const Sheet s = parsed(oneRowFile(",,,,,──?", "60"), current);
    ASSERT_EQ(s.copyBuffer.size(), 3u);
    EXPECT_EQ(s.copyBuffer[0][col::glyph], "──▶");
}

// --- size -----------------------------------------------------------------------------------

TEST(SheetFileSize, ThirtyTwoThousandRowsSaveAndLoadBack) {
    TempFolder dir;
    Sheet big = realisticSheet();
    const int rows = 32000;
    big.setRowCount(rows + 20);
    for (int r = 7; r < rows; ++r) {
        big.setRow(r, big.row(r % 5));
        big.setCell(r, col::cable, "CV22㎟");  // a character code page 932 lacks, on every row
    }
    ASSERT_TRUE(saveSheetFile(big, dir / "big.ksk").ok());
    Sheet loaded = baseSheet();
    ASSERT_TRUE(loadSheetFile(loaded, dir / "big.ksk").ok());
    EXPECT_EQ(loaded.lastUsedRow(), rows - 1);
    EXPECT_EQ(loaded.cell(rows - 1, col::glyph), big.cell(rows - 1, col::glyph));
}

}  // namespace
