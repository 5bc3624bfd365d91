#pragma once
// Writing rows of a test sheet as (column, text) pairs.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "sheet.h"

namespace wirelark::test {

using Cells = std::initializer_list<std::pair<int, std::string_view>>;

inline void setCells(Sheet& sheet, int row, Cells cells) {
    for (const auto& [column, text] : cells)
        sheet.setCell(row, column, std::string(text));
}

}  // namespace wirelark::test
