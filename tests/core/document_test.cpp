// The document tells its listeners what changed and keeps the unsaved-work flag with the
// user's edits.

#include <gtest/gtest.h>

#include <vector>

#include "document.h"

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
