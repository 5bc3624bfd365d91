#include "tree_editing.h"

#include <string>

namespace wirelark {

void renumberFeeders(Sheet& sheet) {
    int next = 1;
    int last = 0;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        if (!isBlank(sheet.cell(r, col::number))) {
            sheet.setCell(r, col::number, std::to_string(next));
            last = next++;
        }
        if (!isBlank(sheet.cell(r, col::glyph))) sheet.setCell(r, col::feederNumber, std::to_string(last));
    }
}

BlockRange findFeederRange(const Sheet& sheet, int ny1) {
    BlockRange range;
    if (ny1 < 0 || ny1 >= sheet.rowCount()) return range;
    const std::string& v = sheet.cell(ny1, col::feederNumber);
    bool foundStart = false;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        if (!foundStart && sheet.cell(r, col::number) == v) {
            range.s1 = r;
            foundStart = true;
        }
        if (sheet.cell(r, col::feederNumber) == v) range.e1 = r;
    }
    return range;
}

}  // namespace wirelark
