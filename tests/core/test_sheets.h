#pragma once
// Small sheets for the tests: feeders laid out as the program writes them.

#include <string>
#include <string_view>
#include <vector>

#include "sheet.h"

namespace wirelark::test {

inline void putGlyph(Sheet& s, int row, std::string_view g) {
    s.setCell(row, col::glyph, std::string(g));
}

// A single feeder row; the number in column 0 is a placeholder until renumbering.
inline void putSingleFeeder(Sheet& s, int row, std::string name) {
    s.setCell(row, col::number, "?");
    s.setCell(row, col::name, std::move(name));
    putGlyph(s, row, glyph::single);
    s.setCell(row, col::blockRows, "1");
}

// A one-system residential feeder of `branches` branches at `row`: head, first trunk, branch,
// then trunk and branch pairs, the last branch closing the tree. Returns the rows it takes.
inline int putResidentialFeeder(Sheet& s, int row, int branches, std::string name = "R") {
    s.setCell(row, col::number, "?");
    s.setCell(row, col::name, std::move(name));
    putGlyph(s, row, glyph::head);
    int r = row + 1;
    for (int i = 1; i <= branches; ++i) {
        putGlyph(s, r, i == 1 ? glyph::firstTrunk : glyph::trunk);
        s.setCell(r, col::loadName, i == 1 ? "分岐点" : "分岐間");
        putGlyph(s, r + 1, i == branches ? glyph::lastBranch : glyph::branch);
        s.setCell(r + 1, col::loadName, "B" + std::to_string(i));
        r += 2;
    }
    const int rows = r - row;
    s.setCell(row, col::blockRows, std::to_string(rows));
    return rows;
}

// A two-system residential feeder of two branches per system (nine rows).
inline int putTwoSystemFeeder(Sheet& s, int row, std::string name = "W") {
    static const std::vector<std::string_view> kGlyphs = {
        glyph::head,     glyph::firstTrunkTwo, glyph::branchTwo,
        glyph::trunkTwo, glyph::lastBranchTwo, glyph::trunk,
        glyph::branch,   glyph::trunk,         glyph::lastBranch};
    s.setCell(row, col::number, "?");
    s.setCell(row, col::name, std::move(name));
    for (std::size_t i = 0; i < kGlyphs.size(); ++i)
        putGlyph(s, row + static_cast<int>(i), kGlyphs[i]);
    s.setCell(row, col::blockRows, std::to_string(kGlyphs.size()));
    return static_cast<int>(kGlyphs.size());
}

// Column 5 of rows first..last, for comparing a block's tree at a glance.
inline std::vector<std::string> glyphs(const Sheet& s, int first, int last) {
    std::vector<std::string> out;
    for (int r = first; r <= last; ++r)
        out.emplace_back(s.cell(r, col::glyph));
    return out;
}

// A test case name from the meaning of a table row: "empty row below" -> "empty_row_below".
inline std::string caseName(std::string_view meaning) {
    std::string name;
    for (char c : meaning) {
        const bool keep =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += keep ? c : '_';
    }
    return name;
}

}  // namespace wirelark::test
