#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "apartment_example.h"
#include "checks.h"
#include "clipboard_text.h"
#include "recalculation.h"
#include "sheet_file.h"

using namespace wirelark;

namespace {

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char b : bytes) {
        h ^= b;
        h *= 1099511628211ULL;
    }
    return h;
}

struct WholeSheetCase {
    const char* name;
    SupplyChoice supply;
    std::uint64_t savedFile;      // the file `recalc` writes
    std::uint64_t clipboardText;  // the whole sheet as copied
};

// Whole-sheet work on a generated sheet of about 32,000 rows, opened from its file as the
// program opens it, recalculated, checked and saved: the bytes must stay the same whatever is
// done to make it faster. A changed checksum means a changed output; find the byte that moved
// before accepting a new value.
TEST(WholeSheetOutput, RecalculatedLargeSheetStaysTheSameByte) {
    Sheet built = examples::buildLargeSheet(32000);
    auto bytes = sheetFileBytes(built);
    ASSERT_TRUE(bytes.ok()) << bytes.error().message;

    const WholeSheetCase cases[] = {
        {"transformer", SupplyKind::Transformer, 0xba0834daae10e6ecULL, 0x6cb696d9d8640b1aULL},
        {"utility", SupplyKind::Utility, 0xe96677c61fd65d81ULL, 0x91f8e3429d9c748eULL},
        {"typed 2.5 %", SupplyChoice(SupplyKind::Typed, "2.5"), 0xce95d013ed1eb459ULL,
         0xbbf5a713ed227bceULL},
    };
    for (const WholeSheetCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto opened = parseSheetFile(*bytes, Sheet{}, "large.ksk");
        ASSERT_TRUE(opened.ok()) << opened.error().message;
        ASSERT_TRUE(recalculateSheet(*opened, c.supply).ok());
        applyCellChecks(*opened, 0, opened->rowCount() - 1);
        auto saved = sheetFileBytes(*opened);
        ASSERT_TRUE(saved.ok()) << saved.error().message;
        EXPECT_NE(*saved, *bytes) << "the stretched copies must give the recalculation work";
        EXPECT_EQ(fnv1a(*saved), c.savedFile) << "0x" << std::hex << fnv1a(*saved);
        EXPECT_EQ(fnv1a(wholeSheetClipboardText(*opened)), c.clipboardText)
            << "0x" << std::hex << fnv1a(wholeSheetClipboardText(*opened));
    }
}

}  // namespace
