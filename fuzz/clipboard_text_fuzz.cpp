// The clipboard text of any sheet that loads, whole and feeder by feeder: one line per row,
// each ended by CR LF and by nothing else.

#include <cstddef>
#include <cstdint>
#include <string>

#include "clipboard_text.h"
#include "fuzz_sheets.h"
#include "tree_editing.h"

using namespace wirelark;
using namespace wirelark::fuzzing;

namespace {

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            require(i > 0 && text[i - 1] == '\r');
            ++lines;
        } else if (text[i] == '\r') {
            require(i + 1 < text.size() && text[i + 1] == '\n');
        }
    }
    require(text.empty() || text.back() == '\n');
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto loaded = loadedSheet(bytesOf(data, size));
    if (!loaded)
        return 0;
    const Sheet& sheet = *loaded;
    const std::string whole = wholeSheetClipboardText(sheet);
    require(lineCount(whole) == static_cast<std::size_t>(sheet.lastUsedRow()) + 2);
    for (const FeederBlock& block : feederBlocks(sheet)) {
        const std::string text = feederClipboardText(sheet, block.range);
        const int rows = block.range.e1 - block.range.s1 + 1;
        require(lineCount(text) == static_cast<std::size_t>(rows > 0 ? rows : 0));
    }
    return 0;
}
