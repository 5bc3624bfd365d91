// The page plan, the printed sheet and both workbook layouts on any sheet that loads: they
// finish, or refuse with a message, and what they lay out stays within the form.

#include <cstddef>
#include <cstdint>

#include "fuzz_sheets.h"
#include "page_plan.h"
#include "print_layout.h"
#include "workbook_layout.h"

using namespace wirelark;
using namespace wirelark::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto loaded = loadedSheet(bytesOf(data, size));
    if (!loaded)
        return 0;

    Sheet printed = *loaded;
    const PrintedSheet job = layoutPrintJob(printed);
    // A page holds 18 rows: never more pages than the rows ask for.
    require(job.pages.size() <= static_cast<std::size_t>(printed.lastPrintedRow()) / 18 + 1);
    require(job.failure || !job.pages.empty());

    for (const WorkbookExport kind : {WorkbookExport::EighteenRows, WorkbookExport::PerFeeder}) {
        Sheet sheet = *loaded;
        const auto book = layoutExport(sheet, kind);
        if (!book) {
            require(!book.error().message.empty());
            continue;
        }
        require(!book->sheets.empty());
        // Worksheets grow with the rows, whatever the working columns of the file claim.
        require(book->sheets.size() <= 3 * static_cast<std::size_t>(sheet.rowCount()) / 18 + 2 +
                                           static_cast<std::size_t>(sheet.lastPrintedRow()) + 1);
        for (const Worksheet& ws : book->sheets) {
            require(!ws.name.empty());
            for (const CellRange& m : ws.merges)
                require(m.firstRow >= 0 && m.lastRow < Worksheet::kRows && m.firstColumn >= 0 &&
                        m.lastColumn < Worksheet::kColumns);
        }
    }
    return 0;
}
