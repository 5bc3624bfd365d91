// Any bytes given as a sheet file must load or be refused with a message, never crash, and a
// sheet that loads must survive saving and loading again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "checks.h"
#include "clipboard_text.h"
#include "encoding.h"
#include "recalculation.h"
#include "sheet_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wirelark;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Sheet current;
    auto loaded = parseSheetFile(bytes, current, "fuzz.ksk");
    if (!loaded)
        return 0;
    Sheet sheet = std::move(*loaded);
    (void)recalculateSheet(sheet, SupplyKind::Transformer);
    (void)verdictSummary(sheet);
    (void)wholeSheetClipboardText(sheet);
    const auto saved = sheetFileBytes(sheet);
    if (!saved || !parseSheetFile(*saved, current, "fuzz.ksk"))
        __builtin_trap();
    return 0;
}
