#include "workbook_layout.h"

#include <algorithm>
#include <initializer_list>

#include "encoding.h"
#include "number_text.h"
#include "page_plan.h"

namespace wirelark {

namespace {

constexpr std::string_view kFormFont = "ＭＳ 明朝";
constexpr int kFirstSlotRow = 8;  // zero-based: sheet row 9
constexpr std::size_t kMaxSheetNameChars = 31;

using H = HorizontalAlignment;

// Alignment codes of the form's cells: 3 centre, 4 right, 6 justify; vertical 2 centre.
H horizontalOf(int code) {
    switch (code) {
        case 3:
            return H::Centre;
        case 4:
            return H::Right;
        case 6:
            return H::Justify;
        default:
            return H::General;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number format that shows `text`, a plain decimal number, exactly as written; nullopt
// when the text is no such number. Plain means what a person types: an optional minus, the
// integer part without leading zeros (optionally grouped by ","), optional decimals.
std::optional<std::string> formatShowing(std::string_view text) {
    std::string_view s = text;
    if (!s.empty() && s.front() == '-')
        s.remove_prefix(1);
    std::size_t intEnd = 0;
    while (intEnd < s.size() && (isDigit(s[intEnd]) || s[intEnd] == ','))
        ++intEnd;
    const std::string_view intPart = s.substr(0, intEnd);
    std::string_view frac = s.substr(intEnd);
    if (intPart.empty() || intPart.front() == ',' || (intPart.size() > 1 && intPart.front() == '0'))
        return std::nullopt;
    const bool grouped = intPart.find(',') != std::string_view::npos;
    if (grouped) {
        const std::size_t lead = intPart.find(',');
        if (lead > 3 || (intPart.size() - lead) % 4 != 0)
            return std::nullopt;
        for (std::size_t i = lead; i < intPart.size(); i += 4)
            if (intPart[i] != ',' || !isDigit(intPart[i + 1]) || !isDigit(intPart[i + 2]) ||
                !isDigit(intPart[i + 3]))
                return std::nullopt;
    }
    std::size_t decimals = 0;
    if (!frac.empty()) {
        if (frac.front() != '.' || frac.size() == 1)
            return std::nullopt;
        frac.remove_prefix(1);
        if (!std::all_of(frac.begin(), frac.end(), isDigit))
            return std::nullopt;
        decimals = frac.size();
    }
    // A double holds 15 significant digits; longer texts would not come back as written.
    const auto digits = static_cast<std::size_t>(
        std::count_if(intPart.begin(), intPart.end(), isDigit) + static_cast<long>(decimals));
    if (digits > 15)
        return std::nullopt;
    if (!grouped && decimals == 0)
        return std::string();
    std::string format = grouped ? "#,##0" : "0";
    if (decimals > 0)
        format += "." + std::string(decimals, '0');
    return format;
}

void setText(WorkbookCell& cell, std::string text) {
    cell.number.reset();
    cell.style.numberFormat.clear();
    if (const auto format = formatShowing(text)) {
        if (const auto value = readNumber(text)) {
            cell.number = *value;
            cell.style.numberFormat = *format;
        }
    }
    // Texts of several lines show their lines only with wrapping on.
    if (text.find('\n') != std::string::npos)
        cell.style.wrap = true;
    cell.text = std::move(text);
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first)
            out += '\n';
        out += line;
        first = false;
    }
    return out;
}

// Applies the steps that build the form, in the order the form is built: later steps
// overwrite what earlier ones set on the same cell or edge.
class FormBuilder {
  public:
    explicit FormBuilder(Worksheet& ws) : m_ws(ws) {}

    template <class F>
    void each(std::string_view a1, F&& f) {
        const CellRange r = cellRange(a1);
        for (int row = r.firstRow; row <= r.lastRow; ++row)
            for (int column = r.firstColumn; column <= r.lastColumn; ++column)
                f(row, column);
    }

    void text(std::string_view a1, std::string value) { setText(m_ws.at(a1), std::move(value)); }
    void fontSize(std::string_view a1, double size) {
        each(a1, [&](int r, int c) { m_ws.cell(r, c).style.fontSize = size; });
    }
    void fontName(std::string_view a1, std::string_view name) {
        each(a1, [&](int r, int c) { m_ws.cell(r, c).style.fontName = std::string(name); });
    }
    void underline(std::string_view a1) {
        each(a1, [&](int r, int c) { m_ws.cell(r, c).style.underline = true; });
    }
    void align(std::string_view a1, int horizontal, int vertical) {
        each(a1, [&](int r, int c) {
            m_ws.cell(r, c).style.horizontal = horizontalOf(horizontal);
            m_ws.cell(r, c).style.vertical =
                vertical == 2 ? VerticalAlignment::Centre : VerticalAlignment::Bottom;
        });
    }
    void merge(std::string_view a1) { m_ws.merges.push_back(cellRange(a1)); }

    // Sets one edge of every cell of the range. An edge between two cells of the form is one
    // line in the spreadsheet application (the right edge of B4 is the left edge of C4), so
    // the neighbour's side of it changes with it and a later step that clears or redraws the
    // line from either side wins, as it does there.
    void border(std::string_view a1, Edge edge, std::optional<BorderWeight> weight) {
        each(a1, [&](int r, int c) {
            setEdge(r, c, edge, weight);
            switch (edge) {
                case Edge::Left:
                    setEdge(r, c - 1, Edge::Right, weight);
                    break;
                case Edge::Right:
                    setEdge(r, c + 1, Edge::Left, weight);
                    break;
                case Edge::Top:
                    setEdge(r - 1, c, Edge::Bottom, weight);
                    break;
                case Edge::Bottom:
                    setEdge(r + 1, c, Edge::Top, weight);
                    break;
            }
        });
    }

  private:
    void setEdge(int r, int c, Edge edge, std::optional<BorderWeight> weight) {
        // Only the form's own cells (B1:S51) carry lines; the margin column A and the columns
        // beyond S stay untouched so that nothing outside the form prints.
        if (r < 0 || r >= Worksheet::kRows || c < 1 || c >= Worksheet::kColumns)
            return;
        m_ws.cell(r, c).style.borders[static_cast<std::size_t>(edge)] = weight;
    }

    Worksheet& m_ws;
};

struct FixedCell {
    const char* cell;
    const char* merge;  // nullptr: the cell stands alone
    double size;        // 0: left at the default
    int horizontal;
    int vertical;
    const char* underline;  // the range underlined, or nullptr
};

std::string dateText(const Sheet& sheet) {
    const HeadingFields& h = sheet.heading;
    const std::string rest = " 年 " + h.month + " 月 " + h.day + " 日";
    if (sheet.settings.yearDisplay == YearDisplay::Western)
        return " " + h.westernYear + rest;
    return h.eraLabel + " " + h.eraYear + rest;
}

void buildForm(Worksheet& ws, const Sheet& sheet) {
    // Column widths A to S and row heights 1 to 51 of the official layout.
    constexpr double kWidths[Worksheet::kColumns] = {2, 12, 8,  7, 8, 9, 7, 11, 8, 8,
                                                     7, 12, 14, 8, 9, 7, 7, 6,  9};
    std::copy(std::begin(kWidths), std::end(kWidths), ws.columnWidths.begin());
    for (int row = 0; row < Worksheet::kRows; ++row) {
        const int n = row + 1;
        double height = 13.5;
        if (n == 1 || n == 8 || n == 51)
            height = 15.75;
        if (n == 2)
            height = 27.75;
        if (n == 3)
            height = 18;
        if (n == 49)
            height = 15;
        if (n == 50)
            height = 7.5;
        ws.rowHeights[static_cast<std::size_t>(row)] = height;
    }

    FormBuilder f(ws);
    f.fontName("B1:S51", kFormFont);

    const auto fixed = [&](const FixedCell& c, std::string value) {
        f.text(c.cell, std::move(value));
        if (c.size > 0)
            f.fontSize(c.cell, c.size);
        if (c.horizontal != 0)
            f.align(c.cell, c.horizontal, c.vertical);
        if (c.underline)
            f.underline(c.underline);
    };
    const std::string frequency = sheet.settings.frequency == Frequency::Hz60 ? "60" : "50";
    const std::pair<FixedCell, std::string> cells[] = {
        {{"S1", nullptr, 10, 4, 2, nullptr}, "(様式 電－８－１) "},
        {{"B2", "B2:E2", 12, 6, 2, nullptr}, "　電路計算書（幹線用）"},
        {{"G2", nullptr, 11, 4, 2, "G2"}, "建物名称"},
        {{"H2", "H2:P2", 11, 6, 2, "H2:P2"}, sheet.heading.buildingName},
        {{"Q2", "Q2:S2", 10, 6, 2, "Q2"}, dateText(sheet)},
        {{"C3", nullptr, 10, 4, 2, nullptr}, "周波数 [Hz]："},
        {{"D3", nullptr, 10, 3, 2, nullptr}, frequency},
        {{"E3", "E3:S3", 0, 0, 0, nullptr}, ""},
        {{"B4", "B4:B8", 10, 3, 2, nullptr}, joinLines({"幹線番号", "又は名称"})},
        {{"C4", "C4:C8", 10, 3, 2, nullptr}, "電気方式"},
        {{"D4", "D4:D8", 10, 3, 2, nullptr}, joinLines({"", "電圧", "", "", "[V]"})},
        {{"E4", "E4:E8", 10, 3, 2, nullptr},
         joinLines({"幹線保", "護用遮", "断器定", "格電流", "[A]"})},
        {{"F4", "F4:F8", 10, 3, 2, nullptr}, "系統"},
        {{"G4", "G4:G8", 10, 3, 2, nullptr}, joinLines({"", "こう長", "", "", "l [ｍ]"})},
        {{"H4", "H4:H8", 10, 3, 2, nullptr}, "負荷名称"},
        {{"I4", "I4:I8", 10, 3, 2, nullptr}, joinLines({"", "主幹器具", "定格電流", "", "[A]"})},
        {{"J4", "J4:J8", 10, 3, 2, nullptr}, joinLines({"", "設計負荷", "電流", "", "I [A]"})},
        {{"K4", "K4:K8", 10, 3, 2, nullptr}, joinLines({"", "負荷の", "力率", "", "cosθ"})},
        {{"L4", "L4:O4", 10, 3, 2, nullptr}, "電線及びケーブル"},
        {{"P4", "P4:Q5", 10, 3, 2, nullptr}, joinLines({"各線間の電圧降下", "e [V]"})},
        {{"L5", "L5:L8", 10, 3, 2, nullptr}, joinLines({"種別及び", "断面積", "", "A [mm2]"})},
        {{"M5", "M5:M8", 10, 3, 2, nullptr}, "配線方式"},
        {{"N5", "N5:N8", 10, 3, 2, nullptr}, joinLines({"許容", "電流", "", "[A]"})},
        {{"O5", "O5:O8", 10, 3, 2, nullptr},
         joinLines({"電線1kmあ", "たりのｲﾝ", "ﾋﾟｰﾀﾞﾝｽ", "Z [Ω/km]"})},
        {{"P6", "P6:P8", 9, 3, 2, nullptr}, joinLines({"単一配線", "の", "電圧降下"})},
        {{"Q6", "Q6:Q8", 9, 3, 2, nullptr}, joinLines({"分岐があ", "る場合の", "合計"})},
        {{"R4", "R4:R8", 10, 3, 2, nullptr}, joinLines({"", "許容電", "圧降下", "", "[V]"})},
        {{"S4", "S4:S8", 10, 3, 2, nullptr}, "備考"},
        {{"B45", "B45:D45", 10, 6, 2, nullptr}, " 電圧降下による電線太さの算出"},
        {{"C47", nullptr, 10, 3, 2, nullptr}, "K'IlZ"},
        {{"B47", "B47:B48", 10, 4, 2, nullptr}, "e＝"},
        {{"C48", nullptr, 10, 3, 2, nullptr}, "1,000"},
        {{"D47", "D47:E48", 10, 6, 2, nullptr}, " [V]"},
        {{"B49", "B49:E49", 10, 6, 2, nullptr}, "　　中性線がある場合は中性線との電圧降下"},
        {{"F45", nullptr, 10, 4, 2, nullptr}, "ここに、e："},
        {{"F46", nullptr, 10, 4, 2, nullptr}, "K'："},
        {{"F47", nullptr, 10, 4, 2, nullptr}, "I："},
        {{"F48", nullptr, 10, 4, 2, nullptr}, "l："},
        {{"F49", nullptr, 10, 4, 2, nullptr}, "Z："},
        {{"G45", "G45:J45", 10, 6, 2, nullptr}, "各線間の電圧降下 [V]"},
        {{"G46", "G46:J46", 10, 6, 2, nullptr}, "電気方式による係数"},
        {{"G47", "G47:J47", 10, 6, 2, nullptr}, "設計負荷電流 [A]"},
        {{"G48", "G48:J48", 10, 6, 2, nullptr}, "こう長 [m]"},
        {{"G49", "G49:J49", 10, 6, 2, nullptr}, "電線1kmあたりのｲﾝﾋﾟｰﾀﾞﾝｽ [Ω/km]"},
        {{"K45", "K45:M45", 10, 3, 2, nullptr}, "K'：電気方式による係数"},
        {{"K46", "K46:L46", 10, 3, 2, nullptr}, "回路の電気方式"},
        {{"K47", "K47:L47", 10, 6, 2, nullptr}, "単相2線式"},
        {{"K48", "K48:L48", 10, 6, 2, nullptr}, "三相3線式"},
        {{"K49", "K49:L49", 10, 6, 2, nullptr}, "単相3線式、三相4線式"},
        {{"M46", nullptr, 10, 3, 2, nullptr}, "係数"},
        {{"M47", nullptr, 10, 3, 2, nullptr}, "2"},
        {{"M48", nullptr, 10, 3, 2, nullptr}, "√3"},
        {{"M49", nullptr, 10, 3, 2, nullptr}, "1"},
        {{"S51", nullptr, 10, 4, 2, nullptr}, "Ｈ２１"},
    };
    for (const auto& [cell, value] : cells)
        fixed(cell, value);

    for (const auto& [cell, value] : cells)
        if (cell.merge)
            f.merge(cell.merge);
    for (const char* range : {"N45:S45", "N46:S46", "N47:S47", "N48:S48", "N49:S49", "B50:S50"})
        f.merge(range);
    for (int slot = 0; slot < kRowsPerPage; ++slot) {
        const int top = kFirstSlotRow + 2 * slot;
        for (int column = 1; column < Worksheet::kColumns; ++column)
            ws.merges.push_back(CellRange{top, column, top + 1, column});
    }

    const auto rowRange = [](std::string_view from, std::string_view to, int row) {
        return std::string(from) + std::to_string(row) + ":" + std::string(to) +
               std::to_string(row);
    };
    // Every slot is ruled at its top, and the middle of its two sheet rows is kept clear.
    for (int n = 9; n <= 45; n += 2) {
        f.border(rowRange("B", "S", n), Edge::Top, BorderWeight::Thin);
        f.border(rowRange("B", "R", n + 1), Edge::Top, std::nullopt);
    }
    f.border("B2:S2", Edge::Top, BorderWeight::Medium);
    f.border("B50:S50", Edge::Bottom, BorderWeight::Medium);
    f.border("B2:B50", Edge::Left, BorderWeight::Medium);
    f.border("S2:S50", Edge::Right, BorderWeight::Medium);
    for (const char* range :
         {"B4:B44", "C3:C44", "D3:D44", "E4:E44", "F4:F44", "G4:G44", "H4:H44", "I4:I44", "J4:J44",
          "K4:K44", "L5:L44", "M5:M44", "N5:N44", "O4:O44", "P6:P44", "Q4:Q44", "R4:R44"})
        f.border(range, Edge::Right, BorderWeight::Hair);
    f.border("L4:O4", Edge::Bottom, BorderWeight::Hair);
    f.border("P5:Q5", Edge::Bottom, BorderWeight::Hair);
    f.border("B2:S2", Edge::Bottom, BorderWeight::Thin);
    f.border("B3:S3", Edge::Bottom, BorderWeight::Thin);
    for (int n = 45; n <= 49; ++n)
        f.border(rowRange("K", "M", n), Edge::Bottom, BorderWeight::Hair);
    f.border("C47", Edge::Bottom, BorderWeight::Hair);
}

// Writes grid row `row` into slot `slot` of the worksheet: columns 1 to 18 into B to S of the
// slot's first sheet row, each as the text it holds.
void writeRow(Worksheet& ws, const Sheet& sheet, int row, int slot, bool shrinkLongTexts) {
    const int sheetRow = kFirstSlotRow + 2 * slot;
    for (int column = col::name; column <= col::remarks; ++column) {
        WorkbookCell& cell = ws.cell(sheetRow, column);
        setText(cell,
                row < sheet.rowCount() ? std::string(sheet.cell(row, column)) : std::string());
        if (column == col::glyph)
            cell.style.fontSize = 16;
        if (column == col::length)
            cell.style.fontSize = 10;
        // Load names and installation methods may be longer than their columns.
        if (column == col::loadName || column == col::method)
            cell.style.shrinkToFit = shrinkLongTexts;
    }
}

bool caseInsensitiveEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// Full-width Latin letters (Ａ-Ｚ, ａ-ｚ) differ in case the same way; the application does not
// tell them apart either. Their lower-case forms are folded onto the upper-case ones.
std::string foldFullWidthCase(std::string_view s) {
    std::string out(s);
    // ａ..ｚ are EF BD 81..9A; Ａ..Ｚ are EF BC A1..BA.
    for (std::size_t i = 0; i + 2 < out.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(out[i]);
        const auto b1 = static_cast<unsigned char>(out[i + 1]);
        const auto b2 = static_cast<unsigned char>(out[i + 2]);
        if (b0 == 0xEF && b1 == 0xBD && b2 >= 0x81 && b2 <= 0x9A) {
            out[i + 1] = static_cast<char>(0xBC);
            out[i + 2] = static_cast<char>(b2 - 0x81 + 0xA1);
            i += 2;
        }
    }
    return out;
}

bool sameWorksheetName(std::string_view a, std::string_view b) {
    return caseInsensitiveEqual(foldFullWidthCase(a), foldFullWidthCase(b));
}

}  // namespace

CellRange cellRange(std::string_view a1) {
    const auto parse = [](std::string_view ref, int& row, int& column) {
        std::size_t i = 0;
        column = 0;
        while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z')
            column = column * 26 + (ref[i++] - 'A' + 1);
        row = 0;
        while (i < ref.size() && isDigit(ref[i]))
            row = row * 10 + (ref[i++] - '0');
        --row;
        --column;
    };
    CellRange r;
    const auto colon = a1.find(':');
    parse(a1.substr(0, colon), r.firstRow, r.firstColumn);
    if (colon == std::string_view::npos) {
        r.lastRow = r.firstRow;
        r.lastColumn = r.firstColumn;
    } else {
        parse(a1.substr(colon + 1), r.lastRow, r.lastColumn);
    }
    return r;
}

std::string cellName(int row, int column) {
    std::string letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

WorkbookCell& Worksheet::at(std::string_view a1) {
    const CellRange r = cellRange(a1);
    return cell(r.firstRow, r.firstColumn);
}

const WorkbookCell& Worksheet::at(std::string_view a1) const {
    const CellRange r = cellRange(a1);
    return cell(r.firstRow, r.firstColumn);
}

WorkbookCell cellOfText(std::string text) {
    WorkbookCell cell;
    setText(cell, std::move(text));
    return cell;
}

Worksheet formTemplate(const Sheet& sheet) {
    Worksheet ws;
    buildForm(ws, sheet);
    return ws;
}

std::string validWorksheetName(std::string_view name) {
    std::string out;
    for (char c : name) {
        switch (c) {
            case '[':
            case ']':
            case ':':
            case '*':
            case '?':
            case '/':
            case '\\':
                out += '_';
                break;
            default:
                out += c;
        }
    }
    out = utf8Prefix(out, kMaxSheetNameChars);
    if (!out.empty() && out.front() == '\'')
        out.front() = '_';
    if (!out.empty() && out.back() == '\'')
        out.back() = '_';
    return out;
}

std::vector<std::string> uniqueWorksheetNames(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    out.reserve(names.size());
    int counter = 0;
    for (const std::string& wanted : names) {
        std::string name = validWorksheetName(wanted);
        // Each collision appends the next number; an appended name can meet an earlier name
        // in turn, so the search repeats until the name is free.
        bool collided = true;
        while (collided) {
            collided = false;
            for (const std::string& earlier : out) {
                if (!sameWorksheetName(name, earlier))
                    continue;
                collided = true;
                const std::string suffix = "(" + std::to_string(++counter) + ")";
                name = utf8Prefix(name, kMaxSheetNameChars - suffix.size()) + suffix;
            }
        }
        out.push_back(std::move(name));
    }
    return out;
}

Workbook layoutPagedWorkbook(const Sheet& sheet, int pageCount, int lastRow) {
    const Worksheet form = formTemplate(sheet);
    Workbook book;
    const auto addSheet = [&] {
        book.sheets.push_back(form);
        book.sheets.back().name = "電路計算書(" + std::to_string(book.sheets.size()) + ")";
    };
    for (int i = 0; i < std::max(pageCount, 1); ++i)
        addSheet();

    int current = -1;
    int slot = 0;
    for (int row = 0; row <= lastRow && row < sheet.rowCount(); ++row) {
        // The page plan starts a worksheet at line 1; a plan that ran past 18 lines must not
        // write beyond the form either.
        if (sheet.cell(row, col::pageLine) == "1" || current < 0 || slot >= kRowsPerPage) {
            ++current;
            slot = 0;
            if (current >= static_cast<int>(book.sheets.size()))
                addSheet();
        }
        writeRow(book.sheets[static_cast<std::size_t>(current)], sheet, row, slot, true);
        ++slot;
    }
    if (book.sheets.size() == 1)
        book.sheets[0].name = "電路計算書";
    return book;
}

Expected<Workbook> layoutFeederWorkbook(const Sheet& sheet) {
    struct Feeder {
        std::int64_t number;
        int firstRow;
        std::int64_t rows;
        int worksheets;
    };
    const int last = sheet.rowCount() > 0 ? sheet.lastPrintedRow() : -1;
    std::vector<Feeder> feeders;
    double total = 0;
    const int usedRows = sheet.rowCount() > 0 ? sheet.lastUsedRow() + 1 : 0;
    for (int row = 0; row <= last; ++row) {
        const std::string_view numberText = sheet.cell(row, col::number);
        if (numberText.empty())
            continue;
        const auto number = readInteger(numberText);
        if (!number)
            return cellNumberError(row, col::number, number.error());
        const auto rows = readInteger(sheet.cell(row, col::blockRows));
        if (!rows)
            return cellNumberError(row, col::blockRows, rows.error());
        // Checked before the count sizes the list of worksheets.
        if (auto e = checkBlockRows(sheet, row, static_cast<double>(*rows), usedRows))
            return *e;
        total += static_cast<double>(*rows);
        if (auto e = checkBlockRowsTotal(total, usedRows))
            return *e;
        const std::int64_t pages = *rows / kRowsPerPage + 1;
        feeders.push_back(Feeder{*number, row, *rows, static_cast<int>(pages)});
    }
    std::stable_sort(feeders.begin(), feeders.end(),
                     [](const Feeder& a, const Feeder& b) { return a.number < b.number; });

    const Worksheet form = formTemplate(sheet);
    Workbook book;
    if (last + 1 <= kRowsPerPage) {
        // A small sheet goes onto one worksheet as it stands, whatever its feeders.
        book.sheets.push_back(form);
        book.sheets[0].name = "電路計算書 ";
        for (int row = 0; row <= last; ++row)
            writeRow(book.sheets[0], sheet, row, row, false);
        return book;
    }

    std::vector<std::string> names;
    for (const Feeder& feeder : feeders)
        for (int j = 1; j <= feeder.worksheets; ++j) {
            std::string name = "電路計算書 " + std::string(sheet.cell(feeder.firstRow, col::name));
            if (feeder.worksheets >= 2)
                name += " (" + std::to_string(j) + ")";
            names.push_back(std::move(name));
        }
    if (names.empty())
        names.push_back("電路計算書 ");
    const std::vector<std::string> unique = uniqueWorksheetNames(names);
    for (const std::string& name : unique) {
        book.sheets.push_back(form);
        book.sheets.back().name = name;
    }

    std::size_t next = 0;
    for (const Feeder& feeder : feeders) {
        int row = feeder.firstRow;
        const std::int64_t end = std::min<std::int64_t>(
            feeder.firstRow + std::max<std::int64_t>(feeder.rows, 0), sheet.rowCount());
        for (int page = 0; page < feeder.worksheets; ++page, ++next) {
            Worksheet& ws = book.sheets[next];
            for (int slot = 0; slot < kRowsPerPage && row < end; ++slot, ++row)
                writeRow(ws, sheet, row, slot, true);
        }
    }
    return book;
}

Expected<Workbook> layoutExport(Sheet& sheet, WorkbookExport kind) {
    const auto plan = planPages(sheet);
    if (!plan)
        return plan.error();
    if (kind == WorkbookExport::PerFeeder)
        return layoutFeederWorkbook(sheet);
    return layoutPagedWorkbook(sheet, plan->pagesu, plan->maxrowsu);
}

}  // namespace wirelark
