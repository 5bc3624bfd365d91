#pragma once
// The spreadsheet export as plain data: every worksheet a complete copy of the official form
// 電路計算書（幹線用） on a fixed cell grid (heading, column titles, 18 row slots of two sheet
// rows each, the voltage-drop formula), with the rows of the sheet written into its slots.
// The workbook writer turns this cell map into a file; nothing here knows a file format.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"
#include "sheet.h"

namespace wirelark {

enum class HorizontalAlignment { General, Centre, Right, Justify };
enum class VerticalAlignment { Bottom, Centre };
enum class BorderWeight { Hair, Thin, Medium };
enum class Edge { Left = 0, Right = 1, Top = 2, Bottom = 3 };

struct CellStyle {
    std::string fontName;  // empty: the workbook's default face
    double fontSize = 0;   // points; 0: the workbook's default size
    bool underline = false;
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    bool shrinkToFit = false;
    std::string numberFormat;  // empty: the general format
    // The line on each edge (indexed by Edge); no value: no line.
    std::array<std::optional<BorderWeight>, 4> borders{};

    std::optional<BorderWeight> border(Edge e) const {
        return borders[static_cast<std::size_t>(e)];
    }
    bool operator==(const CellStyle&) const = default;
};

struct WorkbookCell {
    // What the cell shows. Lines are separated by "\n".
    std::string text;
    // A text that is a plain decimal number ("20", "0.95", "1,600") is stored as that number,
    // as the spreadsheet application stores what is typed, with a number format that shows it
    // exactly as the text did.
    std::optional<double> number;
    CellStyle style;
    bool operator==(const WorkbookCell&) const = default;
};

// Zero-based, both ends included: A1 is (0, 0).
struct CellRange {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool operator==(const CellRange&) const = default;
};

// "B4:B8" or "S1" -> the range; column letters A to ZZ.
CellRange cellRange(std::string_view a1);
// (3, 1) -> "B4".
std::string cellName(int row, int column);

struct PageSetup {
    int printScale = 67;  // percent; the form fits one A4 sheet at this scale
    bool centreHorizontally = true;
    bool centreVertically = true;
    std::string leftHeader = "&A";  // the worksheet's name
    int firstPageNumber = 1;
    int paperSize = 9;  // A4
    bool landscape = true;
    // Manual page breaks: before column T and before row 52 (zero-based indices).
    int pageBreakBeforeColumn = 19;
    int pageBreakBeforeRow = 51;
    bool operator==(const PageSetup&) const = default;
};

// One worksheet: sheet rows 1 to 51 and columns A to S; the form itself occupies B1:S51.
class Worksheet {
  public:
    static constexpr int kRows = 51;
    static constexpr int kColumns = 19;

    std::string name;
    PageSetup pageSetup;
    std::array<double, kColumns> columnWidths{};  // character units
    std::array<double, kRows> rowHeights{};       // points
    std::vector<CellRange> merges;

    WorkbookCell& cell(int row, int column) { return m_cells[index(row, column)]; }
    const WorkbookCell& cell(int row, int column) const { return m_cells[index(row, column)]; }
    WorkbookCell& at(std::string_view a1);
    const WorkbookCell& at(std::string_view a1) const;

  private:
    static std::size_t index(int row, int column) {
        return static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column);
    }
    std::vector<WorkbookCell> m_cells = std::vector<WorkbookCell>(kRows * kColumns);
};

struct Workbook {
    std::vector<Worksheet> sheets;
};

// The empty form with the heading of the sheet (building name, date, frequency). The date
// follows the year display of the settings: the era date, or the Western year.
Worksheet formTemplate(const Sheet& sheet);

// The 18-row export of a sheet whose page plan has just been made: `pageCount` worksheets
// ("電路計算書", or "電路計算書(1)", "電路計算書(2)" ... when there are several) and the rows
// from 0 to `lastRow` in their slots, a row whose line (column 25) is 1 starting the next
// worksheet.
Workbook layoutPagedWorkbook(const Sheet& sheet, int pageCount, int lastRow);

// The item export: every numbered feeder on worksheets of its own ("電路計算書 " + its name,
// with " (j)" when it needs several), 18 rows a worksheet and one worksheet more when its
// rows fill the last one exactly. A sheet of at most 18 rows goes onto the single worksheet
// "電路計算書 ". Fails, naming the row and column, when the sequence number or the row count
// of a numbered row is not a whole number.
Expected<Workbook> layoutFeederWorkbook(const Sheet& sheet);

enum class WorkbookExport {
    EighteenRows,  // "エクセル変換　(１８行毎に自動調整)"
    PerFeeder,     // "エクセル変換  (　１項目　/　シート　)"
};

// Either export as the export chooser runs it: the page plan first (it rewrites the working
// columns 25 and 30 of the sheet), then the workbook. Fails, naming the row and column, where
// a feeder's sequence number or row count is not a number.
Expected<Workbook> layoutExport(Sheet& sheet, WorkbookExport kind);

// A worksheet name that the spreadsheet application accepts: the characters it refuses
// ([ ] : * ? / \) become "_", an apostrophe at either end becomes "_", and the name is cut to
// 31 characters.
std::string validWorksheetName(std::string_view name);

// Valid names, made unique in order: a name equal to an earlier one (ignoring letter case,
// as the application does) gets "(" n ")" appended, n being a counter shared by the whole
// list and raised at every such collision.
std::vector<std::string> uniqueWorksheetNames(const std::vector<std::string>& names);

// The cell a text becomes: a plain decimal number is stored as a number (see WorkbookCell).
WorkbookCell cellOfText(std::string text);

}  // namespace wirelark
