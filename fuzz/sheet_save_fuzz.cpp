// The sheet file's write path: whatever loads, once saved, loads again as the same sheet. The
// first save may change what the file format cannot hold (a character code page 932 lacks
// becomes "?"); from then on saving and loading change nothing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoding.h"
#include "fuzz_sheets.h"

namespace {

using namespace wirelark;
using namespace wirelark::fuzzing;

bool isAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void requireSame(const Sheet& a, const Sheet& b) {
    require(a.rowCount() == b.rowCount());
    for (int r = 0; r < a.rowCount(); ++r)
        require(a.row(r) == b.row(r));
    const HeadingFields& x = a.heading;
    const HeadingFields& y = b.heading;
    require(x.buildingName == y.buildingName && x.eraLabel == y.eraLabel &&
            x.eraYear == y.eraYear && x.month == y.month && x.day == y.day &&
            x.westernYear == y.westernYear && x.eraName == y.eraName);
    require(a.settings.frequency == b.settings.frequency &&
            a.settings.yearDisplay == b.settings.yearDisplay &&
            a.settings.printPageNumbers == b.settings.printPageNumbers);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto first = loadedSheet(bytesOf(data, size));
    if (!first)
        return 0;
    Sheet loaded = *first;
    const auto saved = sheetFileBytes(*first);
    require(saved.ok());  // a loaded sheet holds nothing a file cannot carry back
    if (readsAsUtf8(*saved))
        return 0;
    auto second = loadedSheet(*saved);
    require(second.has_value());

    // What the file carried over plainly comes back as it was: the used rows, their ASCII
    // cells (the era label cell (0, 30) is rewritten from the heading on saving), the heading.
    require(second->lastUsedRow() == loaded.lastUsedRow());
    for (int r = 0; r <= loaded.lastUsedRow(); ++r)
        for (int c = 0; c < kColumnCount; ++c) {
            const std::string_view before = loaded.cell(r, c);
            if ((r == 0 && c == col::blockPages) || !isAscii(before))
                continue;
            require(second->cell(r, c) == before);
        }
    if (isAscii(loaded.heading.buildingName))
        require(second->heading.buildingName == loaded.heading.buildingName);
    require(second->settings.frequency == loaded.settings.frequency);
    require(second->settings.yearDisplay == loaded.settings.yearDisplay);

    // From the first save on, nothing changes any more.
    Sheet again = *second;
    const auto resaved = sheetFileBytes(again);
    require(resaved.ok() && *resaved == *saved);
    auto third = loadedSheet(*resaved);
    require(third.has_value());
    requireSame(*second, *third);
    return 0;
}
