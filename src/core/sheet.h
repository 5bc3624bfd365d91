#pragma once
// The feeder sheet: every feeder and every branch of the building is one row of 35 text
// cells. The sheet is the only store of the calculation; every value is text and is
// converted where it is computed (number_text.h).

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "number_text.h"
#include "packed_row.h"
#include "result.h"

namespace wirelark {

inline constexpr int kColumnCount = 35;
inline constexpr int kInitialRowCount = 108;
// Rows of one printed page and of one exported worksheet.
inline constexpr int kRowsPerPage = 18;

// Column indices. Columns 19 and above are working columns that the grid does not show
// (but for the verdict, 21); they are saved, copied and read like the others.
namespace col {
inline constexpr int number = 0;             // feeder sequence number, on head rows only
inline constexpr int name = 1;               // feeder number or name ("L1")
inline constexpr int system = 2;             // electric system ("単相3線")
inline constexpr int voltage = 3;            // voltage as entered ("100/200")
inline constexpr int breaker = 4;            // rating of the breaker protecting the feeder [A]
inline constexpr int glyph = 5;              // tree glyph; non-empty marks a used row
inline constexpr int length = 6;             // length [m]
inline constexpr int loadName = 7;           // load name
inline constexpr int mainBreaker = 8;        // rated current of the main breaker [A]
inline constexpr int designCurrent = 9;      // design load current [A]
inline constexpr int powerFactor = 10;       // cos θ
inline constexpr int cable = 11;             // wire or cable type and size
inline constexpr int method = 12;            // installation method
inline constexpr int allowableCurrent = 13;  // allowable current of the cable [A]
inline constexpr int impedance = 14;         // impedance [Ω/km]
inline constexpr int singleDrop = 15;        // voltage drop of this row alone [V]
inline constexpr int summedDrop = 16;        // voltage drop from the origin to this row [V]
inline constexpr int allowableDrop = 17;     // allowable voltage drop [V]
inline constexpr int remarks = 18;           // free text
inline constexpr int cumulativeLength = 19;  // length from the feeder's origin [m]
inline constexpr int sizeKey = 20;           // cable size key; equal keys, equal cable
inline constexpr int verdict = 21;           // "〇：…" or "×：…"
inline constexpr int systemNumber = 22;      // "1" or "2" on trunk and branch rows
inline constexpr int mark = 23;          // "1" on a written single feeder, "over" on a drop too big
inline constexpr int blockRows = 24;     // on head rows: rows of the feeder block
inline constexpr int pageLine = 25;      // line of the row on its export page, 1..18
inline constexpr int feederNumber = 26;  // number of the feeder the row belongs to
inline constexpr int blockPages = 30;    // on head rows: export pages of the block
inline constexpr int settingCells = 34;  // sheet setting cells while saving and loading
}  // namespace col

// Tree glyphs of column 5. The first character of `head` is the ASCII hyphen-minus; `trunk`
// is a box-drawing bar followed by an ideographic space (U+3000).
namespace glyph {
inline constexpr std::string_view single = "──▶";         // single feeder
inline constexpr std::string_view head = "-─▶┌";          // head row of a residential feeder
inline constexpr std::string_view firstTrunk = "┌─┘";     // first branch point, one system
inline constexpr std::string_view firstTrunkTwo = "┌┌┘";  // first branch point, two systems
inline constexpr std::string_view trunk = "│　";          // trunk; also every trunk row of system 2
inline constexpr std::string_view trunkTwo = "││";        // trunk of system 1 beside system 2
inline constexpr std::string_view branch = "├─▶";         // branch; also branches of system 2
inline constexpr std::string_view branchTwo = "│├▶";      // branch of system 1 beside system 2
inline constexpr std::string_view lastBranch = "└─▶";     // last branch of a system
inline constexpr std::string_view lastBranchTwo = "│└▶";  // last branch of system 1 beside system 2
}  // namespace glyph

// One row's cells, as a value: what is read, written and recorded whole.
using Row = std::array<std::string, kColumnCount>;
static_assert(kColumnCount == kPackedCells);

// Caption of a column as the user knows it ("こう長", "設計負荷電流"); hidden working columns
// get a descriptive name.
std::string_view columnCaption(int column);

// The error of a cell that should hold a number and does not, naming the row (counted from 1,
// as the user counts) and the column: "12 行目「こう長」の「3m」は数値ではありません。"
Error cellNumberError(int row, int column, std::string_view text);
inline Error cellNumberError(int row, int column, const NumberError& e) {
    return cellNumberError(row, column, e.text);
}

// A cell that holds nothing: empty, or the single-space placeholder.
inline bool isBlank(std::string_view cell) {
    return cell.empty() || cell == " ";
}

enum class Frequency { Hz60, Hz50 };
enum class YearDisplay { Era, Western };

// The heading of the sheet, as the main window shows it.
struct HeadingFields {
    friend bool operator==(const HeadingFields&, const HeadingFields&) = default;

    std::string buildingName;  // 建物名称 (Edit1)
    std::string eraLabel;      // era shown before the year, "令和" (Label56)
    std::string eraYear;       // year in the era, "6" or "元" (Edit25)
    std::string month;         // Edit26
    std::string day;           // Edit27
    std::string westernYear;   // Western year for the Western display (Edit3)
    std::string eraName;       // era name of the settings (Edit2)
};

// Settings that travel with the sheet and in set.ini.
struct SheetSettings {
    friend bool operator==(const SheetSettings&, const SheetSettings&) = default;
    Frequency frequency = Frequency::Hz60;
    YearDisplay yearDisplay = YearDisplay::Era;
    bool printPageNumbers = true;
};

class SheetJournal;

class Sheet {
  public:
    Sheet() : Sheet(kInitialRowCount) {}
    explicit Sheet(int rowCount) : m_rows(static_cast<std::size_t>(rowCount < 0 ? 0 : rowCount)) {}
    // A copy is a sheet of its own: it takes the cells, never the journal.
    Sheet(const Sheet& other);
    Sheet(Sheet&& other) noexcept;
    // Assigning replaces every row, and a journal attached here records the rows it replaced.
    Sheet& operator=(const Sheet& other);
    Sheet& operator=(Sheet&& other);
    ~Sheet() = default;

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // Grows with empty rows or drops rows from the end.
    void setRowCount(int count);

    // The text of a cell. The view stays valid until that row is changed.
    std::string_view cell(int row, int column) const { return m_rows[idx(row)].cell(column); }
    void setCell(int row, int column, std::string_view text) {
        PackedRow& target = m_rows[idx(row)];
        const std::string_view old = target.cell(column);
        if (old == text)
            return;
        if (m_journal)
            recordCell(row, column, old);
        target.set(column, text);
    }
    // Several cells of one row at once, as setCell would write them one after another, with a
    // single repack of the row; the texts may be views into that same row.
    using CellText = std::pair<int, std::string_view>;
    void setCells(int row, std::span<const CellText> cells);
    // A copy of the row's cells; const, so that assigning to it, which would change nothing,
    // does not compile.
    const Row row(int r) const { return m_rows[idx(r)].unpack(); }
    void setRow(int r, const Row& cells) { setPackedRow(r, PackedRow::pack(cells)); }
    // Puts a row packed beforehand (as the file reader builds them) in place of row `r`.
    void setPackedRow(int r, PackedRow cells);

    // Calls f(text) for every cell of row `r`, column by column: the fast way through a row.
    template <class F>
    void forEachCell(int r, F&& f) const {
        m_rows[idx(r)].forEachCell(f);
    }
    // The bytes of all the texts of row `r` together.
    std::size_t rowTextBytes(int r) const { return m_rows[idx(r)].textBytes(); }

    // A used row has a tree glyph (column 5 not empty; a single space counts as used).
    bool isUsed(int r) const { return !cell(r, col::glyph).empty(); }
    // Highest row whose column 5 is not empty; 0 when there is none.
    int lastUsedRow() const;
    // Highest row whose column 5 is neither empty nor a single space; 0 when there is none.
    int lastPrintedRow() const;

    // Inserts `count` empty rows before row `at` (at == rowCount() appends).
    void insertRows(int at, int count);
    // Inserts the given rows before row `at`.
    void insertRows(int at, std::vector<Row> rows);
    // Removes `count` rows starting at `at`.
    void eraseRows(int at, int count);
    // Empties every cell; the row count stays.
    void clearCells();
    // Every row at once.
    void replaceRows(std::vector<Row> rows);

    // Rows first..last-1 copied from, or exchanged with, another sheet of as many rows, without
    // a journal's record: work on a part of the sheet can run on a sheet of its own.
    void copyRowsFrom(const Sheet& other, int first, int last);
    void swapRowsWith(Sheet& other, int first, int last);

    // While a journal is attached, every change of the rows records what it replaced
    // (sheet_journal.h); the heading, the settings and the copy buffer are not recorded.
    void attachJournal(SheetJournal* journal) { m_journal = journal; }
    SheetJournal* journal() const { return m_journal; }

    HeadingFields heading;
    SheetSettings settings;
    // Rows of the last copied feeder block (the hidden grid StringGrid2).
    std::vector<Row> copyBuffer;

  private:
    friend class SheetJournal;
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    void recordCell(int row, int column, std::string_view old);
    void insertPackedRows(int at, std::vector<PackedRow> rows);
    void replacePackedRows(std::vector<PackedRow> rows);
    std::vector<PackedRow> m_rows;
    SheetJournal* m_journal = nullptr;
};

// The number in a cell: nothing when the cell is blank (empty or " "), an error naming the
// row, the column and the text when it holds something that is not a number.
Expected<std::optional<double>> cellNumber(const Sheet& sheet, int row, int column);

}  // namespace wirelark
