#pragma once
// The sheet as tab-separated text for the clipboard, to be pasted into a spreadsheet or a
// document. Every line ends with CR LF; cell texts are copied unchanged, nothing is quoted.

#include <string>

#include "sheet.h"
#include "tree_editing.h"

namespace wirelark {

// The whole sheet: the title line (17 column titles, each followed by a tab), then one line
// per row from row 0 to the last used row.
std::string wholeSheetClipboardText(const Sheet& sheet);

// The rows s1 to e1 of one feeder block, without the title line.
std::string feederClipboardText(const Sheet& sheet, BlockRange range);

// One row: columns 1 to 17 separated by tabs, the tree glyph preceded by a space so that a
// spreadsheet does not read the leading "-" of a head row's glyph as a minus sign.
std::string clipboardRowLine(const Sheet& sheet, int row);

}  // namespace wirelark
