#include "sheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "sheet_journal.h"

using namespace wirelark;

namespace {

TEST(Sheet, ANewSheetHas108EmptyRows) {
    Sheet s;
    EXPECT_EQ(s.rowCount(), 108);
    EXPECT_EQ(s.lastUsedRow(), 0);
    EXPECT_TRUE(s.cell(0, col::glyph).empty());
}

TEST(Sheet, LastUsedRowCountsASingleSpaceButTheLastPrintedRowDoesNot) {
    Sheet s;
    s.setCell(3, col::glyph, std::string(glyph::single));
    s.setCell(7, col::glyph, " ");
    EXPECT_EQ(s.lastUsedRow(), 7);
    EXPECT_EQ(s.lastPrintedRow(), 3);
}

TEST(Sheet, InsertingAndErasingRowsMovesTheRowsBelow) {
    Sheet s(5);
    s.setCell(2, col::name, "L1");
    s.insertRows(1, 2);
    EXPECT_EQ(s.rowCount(), 7);
    EXPECT_EQ(s.cell(4, col::name), "L1");
    s.eraseRows(0, 3);
    EXPECT_EQ(s.cell(1, col::name), "L1");
    s.clearCells();
    EXPECT_EQ(s.rowCount(), 4);
    EXPECT_TRUE(s.cell(1, col::name).empty());
}

std::vector<Row> rowsOf(const Sheet& s) {
    std::vector<Row> rows;
    for (int r = 0; r < s.rowCount(); ++r)
        rows.push_back(s.row(r));
    return rows;
}

// Every way of changing the rows is recorded while a journal is attached: taking the journal
// back gives the rows as they were, and what taking back recorded brings the change again.
// Several cells written at once leave the row as the same writes one after another would.
TEST(Sheet, CellsWrittenTogetherEqualTheSameWritesInTurn) {
    const std::string big(40000, 'x');  // two of them pass 64 KiB: wider offsets
    Row full;
    for (int c = 0; c < kColumnCount; ++c)
        full[static_cast<std::size_t>(c)] = "c" + std::to_string(c);
    Row wide = full;
    wide[3] = big;
    wide[20] = big;
    struct Case {
        const char* meaning;
        Row start;
        std::vector<std::pair<int, std::string>> writes;  // empty text "@N": the text of column N
    };
    const Case cases[] = {
        {"into an empty row, first and last column", Row{}, {{0, "1"}, {34, "z"}}},
        {"first, middle and last of a full row", full, {{0, "A"}, {17, "長い文字列"}, {34, ""}}},
        {"out of order", full, {{23, "over"}, {6, "30"}, {15, "1.25"}}},
        {"a column twice, the later text back to the first", full, {{9, "x"}, {9, "c9"}}},
        {"a column twice", full, {{9, "x"}, {9, "yy"}}},
        {"the same texts again", full, {{1, "c1"}, {2, "c2"}}},
        {"every cell emptied", full,
         [] {
             std::vector<std::pair<int, std::string>> w;
             for (int c = 0; c < kColumnCount; ++c)
                 w.push_back({c, ""});
             return w;
         }()},
        {"two cells swapped, as views into the row", full, {{4, "@5"}, {5, "@4"}}},
        {"past 64 KiB", full, {{3, big}, {20, big}}},
        {"back below 64 KiB", wide, {{3, "short"}, {21, "v"}}},
    };
    for (const Case& c : cases) {
        Sheet together(3);
        together.setRow(1, c.start);
        Sheet inTurn = together;
        std::vector<Sheet::CellText> cells;
        for (const auto& [column, text] : c.writes) {
            if (text.starts_with("@")) {
                const int from = std::stoi(text.substr(1));
                cells.push_back({column, together.cell(1, from)});
            } else {
                cells.push_back({column, text});
            }
        }
        // The texts of "@N" are taken from the row before any write.
        for (const auto& [column, text] : cells)
            inTurn.setCell(1, column, std::string(text));
        together.setCells(1, cells);
        EXPECT_EQ(together.row(1), inTurn.row(1)) << c.meaning;
        EXPECT_EQ(together.row(0), Row{}) << c.meaning;
        EXPECT_EQ(together.row(2), Row{}) << c.meaning;
    }
}

TEST(SheetJournal, EveryChangeOfTheRowsIsTakenBackAndMadeAgain) {
    struct Case {
        const char* meaning;
        std::function<void(Sheet&)> change;
        std::size_t entries;  // what the journal keeps
    };
    Row filled;
    filled.fill("x");
    const Case cases[] = {
        {"a cell written", [](Sheet& s) { s.setCell(2, col::name, "L9"); }, 1},
        {"a cell written with the text it holds is no change",
         [](Sheet& s) { s.setCell(1, col::name, "L1"); }, 0},
        {"several cells of a row at once, unchanged ones not counted",
         [](Sheet& s) {
             const Sheet::CellText cells[] = {
                 {col::name, "L1"}, {col::length, "12"}, {col::remarks, "from the feeder"}};
             s.setCells(1, cells);
         },
         2},
        {"a cell of a row copied into another of the same row, a column given twice",
         [](Sheet& s) {
             const Sheet::CellText cells[] = {{col::loadName, s.cell(1, col::name)},
                                              {col::name, "a much longer name"},
                                              {col::name, "L2"}};
             s.setCells(1, cells);
         },
         3},
        {"a row emptied through its cells",
         [](Sheet& s) {
             const Sheet::CellText cells[] = {{col::remarks, ""}};
             s.setCells(4, cells);
         },
         1},
        {"a row replaced whole", [&](Sheet& s) { s.setRow(1, filled); }, 1},
        {"blank rows inserted in the middle", [](Sheet& s) { s.insertRows(1, 3); }, 1},
        {"given rows inserted at the end",
         [&](Sheet& s) {
             s.insertRows(5, {filled, filled});
         },
         1},
        {"rows erased", [](Sheet& s) { s.eraseRows(0, 2); }, 1},
        {"the sheet grown", [](Sheet& s) { s.setRowCount(9); }, 1},
        {"the sheet trimmed", [](Sheet& s) { s.setRowCount(2); }, 1},
        {"every cell emptied", [](Sheet& s) { s.clearCells(); }, 1},
        {"another sheet assigned", [](Sheet& s) { s = Sheet(3); }, 1},
        {"several changes in a row",
         [](Sheet& s) {
             s.eraseRows(1, 1);
             s.setCell(0, col::name, "L0");
             s.insertRows(0, 1);
             s.setCell(0, col::glyph, "──▶");
         },
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Sheet s(5);
        s.setCell(1, col::name, "L1");
        s.setCell(4, col::remarks, "end");
        const std::vector<Row> before = rowsOf(s);

        SheetJournal journal;
        s.attachJournal(&journal);
        c.change(s);
        s.attachJournal(nullptr);
        EXPECT_EQ(journal.size(), c.entries);
        const std::vector<Row> after = rowsOf(s);

        SheetJournal forward;
        s.attachJournal(&forward);
        journal.takeBack(s);
        s.attachJournal(nullptr);
        EXPECT_TRUE(journal.empty());
        EXPECT_EQ(rowsOf(s), before);

        forward.takeBack(s);
        EXPECT_EQ(rowsOf(s), after);
    }
}

TEST(SheetJournal, EmptyingAnEmptySheetRecordsNothingAndACopyTakesNoJournal) {
    Sheet s(4);
    SheetJournal journal;
    s.attachJournal(&journal);
    s.clearCells();
    EXPECT_TRUE(journal.empty());
    const Sheet copy = s;
    EXPECT_EQ(copy.journal(), nullptr);
    EXPECT_EQ(s.journal(), &journal);
    s.attachJournal(nullptr);
}

}  // namespace

namespace {

TEST(Sheet, ACellErrorNamesTheRowAsTheUserCountsTheColumnAndTheText) {
    EXPECT_EQ(cellNumberError(11, col::length, "3m").message,
              "12 行目「こう長」の「3m」は数値ではありません。");
}

}  // namespace
