// The document tells its listeners what changed and keeps the unsaved-work flag with the
// user's edits.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "apartment_example.h"
#include "document.h"
#include "recalculation.h"
#include "tree_editing.h"
#include "write_back.h"

using namespace wirelark;

namespace {

struct Recorder {
    explicit Recorder(Document& d)
        : id(d.subscribe([this](Document::Change c) { seen.push_back(c); })) {}
    int id;
    std::vector<Document::Change> seen;
};

using C = Document::Change;

}  // namespace

TEST(Document, AnEditIsHeardAndLeavesWorkUnsaved) {
    Document d;
    Recorder r(d);
    const int written = d.edit("L1 を入力", [](Sheet& s) {
        s.setCell(0, col::glyph, "──▶");
        return 7;
    });
    EXPECT_EQ(written, 7);
    EXPECT_EQ(d.sheet().cell(0, col::glyph), "──▶");
    EXPECT_TRUE(d.unsaved());
    EXPECT_EQ(r.seen, (std::vector<C>{C::Cells, C::Unsaved}));
}

TEST(Document, ANewSheetClearsTheUnsavedFlag) {
    Document d;
    d.edit("", [](Sheet& s) { s.setCell(0, 0, "1"); });
    Recorder r(d);
    d.replace([](Sheet& s) { s.clearCells(); });
    EXPECT_FALSE(d.unsaved());
    EXPECT_EQ(r.seen, (std::vector<C>{C::Replaced, C::Unsaved}));
}

TEST(Document, TheSupplyChoiceIsOneSharedChoice) {
    Document d;
    Recorder r(d);
    d.setSupplyKind(SupplyKind::Typed);
    d.setSupplyPercent("4.5");
    d.setSupplyPercent("4.5");  // unchanged: nobody is told
    EXPECT_EQ(d.supply(), SupplyChoice(SupplyKind::Typed, "4.5"));
    EXPECT_EQ(r.seen, (std::vector<C>{C::Supply, C::Supply}));
}

TEST(Document, AListenerThatLeavesHearsNothingMore) {
    Document d;
    Recorder r(d);
    d.unsubscribe(r.id);
    d.setFrequencyLocked(true);
    EXPECT_TRUE(r.seen.empty());
    EXPECT_TRUE(d.frequencyLocked());
}

// ---------------------------------------------------------------------------------------------
// The history

namespace {

// What undo and redo must bring back exactly: every cell and the heading.
struct State {
    std::vector<Row> rows;
    HeadingFields heading;
};

State stateOf(const Document& d) {
    State s;
    for (int r = 0; r < d.sheet().rowCount(); ++r)
        s.rows.push_back(d.sheet().row(r));
    s.heading = d.sheet().heading;
    return s;
}

// Empty when the two states are the same, else where they first differ.
std::string difference(const State& a, const State& b) {
    if (a.rows.size() != b.rows.size())
        return "rows " + std::to_string(a.rows.size()) + " against " +
               std::to_string(b.rows.size());
    for (std::size_t r = 0; r < a.rows.size(); ++r)
        for (std::size_t c = 0; c < a.rows[r].size(); ++c)
            if (a.rows[r][c] != b.rows[r][c])
                return "cell (" + std::to_string(r) + ", " + std::to_string(c) + ") \"" +
                       a.rows[r][c] + "\" against \"" + b.rows[r][c] + "\"";
    if (!(a.heading == b.heading))
        return "heading";
    return {};
}

// One row operation of the pop-up menu, or a change a dialog or the heading makes, picked at
// random on the sheet as it stands.
void randomStep(Document& d, std::mt19937& random) {
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int rows = d.sheet().rowCount();
    const int a = pick(rows);
    const int b = std::min(rows - 1, a + pick(4));
    switch (pick(8)) {
        case 0:
            d.edit("行の追加", [&](Sheet& s) { insertBlankRows(s, a, b); });
            break;
        case 1:
            d.edit("削除", [&](Sheet& s) {
                deleteRows(s, pick(2) ? MenuMode::Feeder : MenuMode::Rows, a, b, d.kansenno);
            });
            break;
        case 2:
            d.edit("貼付", [&](Sheet& s) {
                copyFeederBlock(s, a, a);
                pasteCopyBuffer(s, pick(rows));
            });
            break;
        case 3:
            if (pick(4) == 0)  // now and then: emptying is drastic
                d.edit("全削除", [](Sheet& s) { emptySheet(s); });
            break;
        case 4:
            d.edit("入力", [&](Sheet& s) {
                s.setCell(a, pick(kColumnCount), "v" + std::to_string(pick(1000)));
            });
            break;
        case 5:
            d.edit("建物名称を変更",
                   [&](Sheet& s) { s.heading.buildingName = "棟" + std::to_string(pick(100)); });
            break;
        case 6:
            d.edit("行の追加", [&](Sheet& s) { s.setRowCount(rows + pick(30)); });
            break;
        default: {
            const std::vector<FeederBlock> blocks = feederBlocks(d.sheet());
            if (blocks.empty())
                break;
            const BlockRange range =
                blocks[static_cast<std::size_t>(pick(static_cast<int>(blocks.size())))].range;
            d.edit("再計算",
                   [&](Sheet& s) { (void)recalculateBlock(s, range.s1, range.e1, d.supply()); });
            break;
        }
    }
}

}  // namespace

TEST(DocumentHistory, RandomSessionsUndoneGiveTheStartAndRedoneTheEnd) {
    struct Case {
        const char* meaning;
        unsigned seed;
        int actions;
        int copies;  // of the example building
    };
    const Case cases[] = {
        {"a short session on the example building", 1, 25, 1},
        {"a long session of row operations", 2, 90, 1},
        {"a session on a sheet of many feeders", 3, 60, 8},
        {"more steps than the history keeps: undo stops at the oldest kept", 4, 160, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Document d(examples::buildApartmentSheet(c.copies));
        int steps = 0;
        const int id = d.subscribe([&steps](Document::Change ch) {
            if (ch == Document::Change::Cells)
                ++steps;
        });
        std::vector<State> states{stateOf(d)};
        std::mt19937 random(c.seed);
        for (int i = 0; i < c.actions; ++i) {
            const int before = steps;
            randomStep(d, random);
            if (steps != before)
                states.push_back(stateOf(d));
        }
        d.unsubscribe(id);
        const int kept = std::min(steps, Document::kHistoryDepth);
        const State end = stateOf(d);

        int undone = 0;
        while (d.undo())
            ++undone;
        EXPECT_EQ(undone, kept);
        EXPECT_EQ(difference(stateOf(d), states[states.size() - 1 - undone]), "");
        // Every state on the way forward comes back in turn.
        for (int i = undone - 1; i >= 0; --i) {
            ASSERT_TRUE(d.redo());
            ASSERT_EQ(difference(stateOf(d), states[states.size() - 1 - i]), "") << i;
        }
        EXPECT_FALSE(d.redo());
        EXPECT_EQ(difference(stateOf(d), end), "");
    }
}

TEST(DocumentHistory, TheUnsavedFlagFollowsTheSavedStateAndTheMenuNamesTheSteps) {
    Document d;
    auto write = [&d](const char* name, const char* text) {
        d.edit(name, [text](Sheet& s) { s.setCell(0, col::name, text); });
    };
    struct Action {
        const char* meaning;
        std::function<void()> act;
        bool unsaved;
        std::string_view undoName;
        std::string_view redoName;
    };
    const Action actions[] = {
        {"a new document has nothing to undo", [] {}, false, "", ""},
        {"the first step", [&] { write("No.1 を入力", "L1"); }, true, "No.1 を入力", ""},
        {"saved", [&] { d.markSaved(); }, false, "No.1 を入力", ""},
        {"a step after saving", [&] { write("No.1 を変更", "L2"); }, true, "No.1 を変更", ""},
        {"undone back to the saved state", [&] { d.undo(); }, false, "No.1 を入力", "No.1 を変更"},
        {"undone past it", [&] { d.undo(); }, true, "", "No.1 を入力"},
        {"redone to the saved state", [&] { d.redo(); }, false, "No.1 を入力", "No.1 を変更"},
        {"a new step drops what could be redone", [&] { write("行の追加", "L3"); }, true,
         "行の追加", ""},
        {"undo reaches the saved state again", [&] { d.undo(); }, false, "No.1 を入力", "行の追加"},
        {"a step that changes nothing leaves no trace", [&] { write("No.1 を入力", "L1"); }, false,
         "No.1 を入力", "行の追加"},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(a.meaning);
        a.act();
        EXPECT_EQ(d.unsaved(), a.unsaved);
        EXPECT_EQ(d.undoName(), a.undoName);
        EXPECT_EQ(d.redoName(), a.redoName);
        EXPECT_EQ(d.canUndo(), !a.undoName.empty());
        EXPECT_EQ(d.canRedo(), !a.redoName.empty());
    }
}

TEST(DocumentHistory, AFailedStepIsTakenBackWholeAndLeavesNoStep) {
    struct Case {
        const char* meaning;
        std::function<void(Document&)> run;
        bool step;  // a step remains
        std::string_view name;
        std::string_view heading;
    };
    // Writes rows, the heading and the lock, then reports what `outcome` says.
    auto halfWritten = [](Sheet& s, Document& d) {
        s.setCell(1, col::name, "途中");
        s.insertRows(0, 3);
        s.heading.buildingName = "途中";
        d.setFrequencyLocked(true);
    };
    const Case cases[] = {
        {"a write-back whose status failed",
         [&](Document& d) {
             const FeederWriteResult r = d.editAllOrNothing("No.1 を入力", [&](Sheet& s) {
                 halfWritten(s, d);
                 FeederWriteResult out;
                 out.status = Error{"2 行目「こう長」の「3m」は数値ではありません。"};
                 return out;
             });
             EXPECT_FALSE(r.status.ok());
         },
         false, "", "元"},
        {"a step whose Status failed",
         [&](Document& d) {
             const Status st = d.editAllOrNothing("再計算", [&](Sheet& s) -> Status {
                 halfWritten(s, d);
                 return Error{"失敗"};
             });
             EXPECT_FALSE(st.ok());
         },
         false, "", "元"},
        {"a step that threw",
         [&](Document& d) {
             EXPECT_THROW(d.edit("貼付",
                                 [&](Sheet& s) {
                                     halfWritten(s, d);
                                     throw std::runtime_error("stop");
                                 }),
                          std::runtime_error);
         },
         false, "", "元"},
        {"a failed inner step inside a step takes back its own part only",
         [&](Document& d) {
             d.edit("No.1 を入力", [&](Sheet& s) {
                 s.setCell(0, col::name, "外");
                 const Status inner = d.editAllOrNothing("内", [&](Sheet& t) -> Status {
                     halfWritten(t, d);
                     return Error{"失敗"};
                 });
                 EXPECT_FALSE(inner.ok());
             });
         },
         true, "No.1 を入力", "元"},
        {"a succeeding step stays",
         [&](Document& d) {
             const Status st = d.editAllOrNothing("No.1 を入力", [&](Sheet& s) -> Status {
                 halfWritten(s, d);
                 return success();
             });
             EXPECT_TRUE(st.ok());
         },
         true, "No.1 を入力", "途中"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meaning);
        Document d;
        d.replace([](Sheet& s) { s.heading.buildingName = "元"; });
        const State start = stateOf(d);
        c.run(d);
        EXPECT_EQ(d.canUndo(), c.step);
        EXPECT_EQ(d.undoName(), c.name);
        EXPECT_EQ(d.unsaved(), c.step);
        EXPECT_EQ(d.sheet().heading.buildingName, c.heading);
        EXPECT_EQ(d.frequencyLocked(), c.step && c.heading == "途中");
        if (!c.step) {
            EXPECT_EQ(difference(stateOf(d), start), "");
        } else {
            d.undo();
            EXPECT_EQ(difference(stateOf(d), start), "");
            EXPECT_FALSE(d.frequencyLocked());
        }
    }
}

TEST(DocumentHistory, VerdictsTheChecksWroteComeAndGoWithTheirStep) {
    Document d;
    d.edit("No.1 を入力", [](Sheet& s) {
        s.setCell(0, col::glyph, std::string(glyph::single));
        s.setCell(0, col::breaker, "100");
        s.setCell(0, col::mainBreaker, "125");
    });
    EXPECT_EQ(d.sheet().cell(0, col::verdict), verdict::breakerBelowMain);
    EXPECT_TRUE(d.cellMarks().isRed(0, col::breaker));
    d.undo();
    EXPECT_EQ(d.sheet().cell(0, col::verdict), "");
    EXPECT_FALSE(d.cellMarks().isRed(0, col::breaker));
    d.redo();
    EXPECT_EQ(d.sheet().cell(0, col::verdict), verdict::breakerBelowMain);
    EXPECT_TRUE(d.cellMarks().isRed(0, col::breaker));
}

TEST(DocumentHistory, WhatTheProgramWritesOnItsOwnAccountStaysOutOfTheSteps) {
    Document d;
    d.edit("No.1 を入力", [](Sheet& s) {
        for (int r = 0; r < 5; ++r)
            s.setCell(r, col::glyph, std::string(glyph::single));
    });
    d.markSaved();

    // The page plan of a print: no step, no unsaved work; undoing the last step takes it back.
    d.amend([](Sheet& s) { s.setCell(0, col::pageLine, "1"); });
    EXPECT_FALSE(d.unsaved());
    EXPECT_EQ(d.undoName(), "No.1 を入力");

    // A save trims the rows beyond the last used one plus 20; undo and redo still fit.
    const Status saved = d.save([](Sheet& s) -> Status {
        s.setRowCount(s.lastUsedRow() + 20);
        return success();
    });
    EXPECT_TRUE(saved.ok());
    EXPECT_EQ(d.sheet().rowCount(), 24);
    d.undo();
    EXPECT_EQ(d.sheet().rowCount(), 108);
    EXPECT_EQ(d.sheet().cell(0, col::glyph), "");
    EXPECT_EQ(d.sheet().cell(0, col::pageLine), "");
    EXPECT_TRUE(d.unsaved());
    d.redo();
    EXPECT_EQ(d.sheet().cell(4, col::glyph), glyph::single);
    EXPECT_FALSE(d.unsaved()) << "the saved state again";

    // A failed save is no saved state.
    d.edit("行の追加", [](Sheet& s) { s.insertRows(0, 1); });
    const Status failed = d.save([](Sheet&) -> Status { return Error{"書けません"}; });
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(d.unsaved());
}

TEST(DocumentHistory, ANewSheetStartsANewHistoryAndAFailedOpeningKeepsTheOld) {
    Document d;
    d.edit("No.1 を入力", [](Sheet& s) { s.setCell(0, col::name, "L1"); });
    const Status refused = d.replace([](Sheet&) -> Status { return Error{"読めません"}; });
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(d.canUndo());
    EXPECT_TRUE(d.unsaved());
    const Status opened = d.replace([](Sheet& s) -> Status {
        s = Sheet(120);
        return success();
    });
    EXPECT_TRUE(opened.ok());
    EXPECT_FALSE(d.canUndo());
    EXPECT_FALSE(d.unsaved());
    EXPECT_EQ(d.sheet().rowCount(), 120);
}
