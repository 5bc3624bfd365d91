#include <gtest/gtest.h>

#include <filesystem>

#include "apartment_example.h"
#include "checks.h"
#include "encoding.h"
#include "file_io.h"
#include "recalculation.h"
#include "sheet_file.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

const std::filesystem::path kExample =
    std::filesystem::path(WIRELARK_SOURCE_DIR) / "examples" / "apartment.ksk";

TEST(ExampleSheet, TheBundledFileIsWhatTheDialogEntriesProduce) {
    Sheet built = examples::buildApartmentSheet();
    const auto bytes = readFileBytes(kExample);
    ASSERT_TRUE(bytes.ok()) << bytes.error().message;
    EXPECT_EQ(utf8ToCp932(sheetFileText(built)), *bytes)
        << "examples/apartment.ksk is out of date: rebuild it with make-example";
}

TEST(ExampleSheet, SurvivesASaveAndLoadRoundTrip) {
    Sheet opened;
    ASSERT_TRUE(loadSheetFile(opened, kExample).ok());
    Sheet copy = opened;
    const std::string saved = sheetFileText(copy);
    auto reopened = parseSheetFile(utf8ToCp932(saved), Sheet{}, "apartment.ksk");
    ASSERT_TRUE(reopened.ok()) << reopened.error().message;
    for (int r = 0; r <= opened.lastUsedRow(); ++r)
        for (int c = 0; c < kColumnCount; ++c)
            EXPECT_EQ(reopened->cell(r, c), opened.cell(r, c)) << "row " << r << " column " << c;
    EXPECT_EQ(reopened->heading.buildingName, "サンプルマンション新築工事");
    EXPECT_EQ(reopened->heading.eraLabel, opened.heading.eraLabel);
    EXPECT_EQ(reopened->heading.eraYear, opened.heading.eraYear);
    EXPECT_EQ(reopened->heading.month, opened.heading.month);
    EXPECT_EQ(reopened->heading.day, opened.heading.day);
}

// The example is a finished design: recalculating every block and checking every cell again
// changes nothing and finds nothing to report.
TEST(ExampleSheet, IsConsistentAndPassesEveryCheck) {
    Sheet opened;
    ASSERT_TRUE(loadSheetFile(opened, kExample).ok());
    Sheet again = opened;
    for (int r = 0; r <= again.lastUsedRow(); ++r) {
        if (again.cell(r, col::glyph) != glyph::head)
            continue;
        const BlockRange range = findFeederRange(again, r);
        ASSERT_TRUE(recalculateBlock(again, range.s1, range.e1, SupplyKind::Transformer).ok());
    }
    applyCellChecks(again, 0, again.rowCount() - 1);
    for (int r = 0; r < opened.rowCount(); ++r)
        EXPECT_EQ(again.row(r), opened.row(r)) << r;
    auto findings = verdictSummary(again);
    ASSERT_TRUE(findings.ok());
    EXPECT_TRUE(findings->empty());
}

}  // namespace
