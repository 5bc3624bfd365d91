#include "sheet_file.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <optional>
#include <vector>

#include "encoding.h"
#include "era.h"
#include "file_io.h"
#include "message_text.h"
#include "tree_editing.h"

namespace wirelark {

namespace {

bool isBlankChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x01 && u <= 0x20;
}

bool needsQuotes(std::string_view cell) {
    for (const char c : cell) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || c == '"' || c == ',')
            return true;
    }
    return false;
}

bool isLineBreakOrNul(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

// A cell of printable ASCII without a quote or a comma (the numbers, names and codes that make
// up most of a sheet): written as it is, unquoted, in either code.
bool isPlainCell(std::string_view cell) {
    for (const char c : cell) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '"' || c == ',')
            return false;
    }
    return true;
}

// The texts of the file in its code: UTF-8 as the sheet holds them, or code page 932 as saved,
// "?" for what the code page lacks (the arrow "▶" among them).
struct AsUtf8 {
    static constexpr bool kKeepsPlainCells = true;
    static void append(std::string& out, std::string_view text) { out.append(text); }
};
struct AsCp932 {
    static inline const bool kKeepsPlainCells = cp932KeepsPrintableAscii();
    static void append(std::string& out, std::string_view text) { appendUtf8ToCp932(out, text); }
};

// Writes the comma text of the file into `out`, in the code `Code` gives. A cell holding a
// blank, a quote or a comma is quoted, with its quotes doubled; a line break or NUL inside a
// cell or a line becomes a space, since it would split the record and shift every line after
// it. Code page 932 keeps ASCII where it is and puts no byte below 0x40 into its double-byte
// characters, so this is the same whether it looks at the text before or after conversion.
// The bytes go straight into `out`, which grows ahead of them and is cut to its length at the
// end.
template <class Code>
class FileWriter {
  public:
    FileWriter(std::string& out, std::size_t expected) : m_out(out), m_used(out.size()) {
        m_out.resize(m_used + expected);
    }
    ~FileWriter() { m_out.resize(m_used); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void cell(std::string_view cell) {
        if (Code::kKeepsPlainCells && isPlainCell(cell)) {
            put(cell);
            return;
        }
        m_coded.clear();
        Code::append(m_coded, cell);
        if (!needsQuotes(m_coded)) {
            put(m_coded);
            return;
        }
        char* p = room(2 * m_coded.size() + 2);
        *p++ = '"';
        for (const char c : m_coded) {
            if (c == '"')
                *p++ = '"';
            *p++ = isLineBreakOrNul(c) ? ' ' : c;
        }
        *p++ = '"';
        m_used = static_cast<std::size_t>(p - m_out.data());
    }
    void commaText(const Row& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                put(',');
            cell(row[c]);
        }
    }
    void commaText(const Sheet& sheet, int r) {
        bool first = true;
        sheet.forEachCell(r, [&](std::string_view text) {
            if (!first)
                put(',');
            first = false;
            cell(text);
        });
    }
    void line(std::string_view text) {
        m_coded.clear();
        Code::append(m_coded, text);
        for (char& c : m_coded)
            if (isLineBreakOrNul(c))
                c = ' ';
        put(m_coded);
        lineEnd();
    }
    void lineEnd() { put("\r\n"); }

  private:
    char* room(std::size_t n) {
        if (m_out.size() - m_used < n)
            m_out.resize(std::max(m_out.size() * 2, m_used + n));
        return m_out.data() + m_used;
    }
    void put(std::string_view text) {
        if (text.empty())
            return;
        std::memcpy(room(text.size()), text.data(), text.size());
        m_used += text.size();
    }
    void put(char c) {
        *room(1) = c;
        ++m_used;
    }

    std::string& m_out;
    std::size_t m_used;
    std::string m_coded;
};

// Glyphs of column 5 whose "▶" code page 932 cannot hold; they come back with "?".
struct GlyphRepair {
    std::string_view damaged;
    std::string_view glyph;
};
constexpr GlyphRepair kGlyphRepairs[] = {
    {"──?", glyph::single},     {"-─?┌", glyph::head},     {"├─?", glyph::branch},
    {"└─?", glyph::lastBranch}, {"│├?", glyph::branchTwo}, {"│└?", glyph::lastBranchTwo},
};

// An offending text of the file, as a message quotes it.
std::string bracketed(std::string_view text) {
    return "「" + quotedText(text) + "」";
}

// Lines of a text as views into it, split as splitLines does (CR LF, lone CR, lone LF): a sheet
// of tens of thousands of rows is read without copying every line.
std::vector<std::string_view> lineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    // Each line end is found with two scans of the machine's string search: the LF, and a CR
    // before it.
    const char* const data = text.data();
    const std::size_t size = text.size();
    const auto find = [data](std::size_t from, std::size_t to, char c) {
        const void* hit = std::memchr(data + from, c, to - from);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : to;
    };
    std::size_t start = 0;
    while (start < size) {
        const std::size_t lf = find(start, size, '\n');
        const std::size_t cr = find(start, lf, '\r');
        if (cr < lf) {
            lines.push_back(text.substr(start, cr - start));
            start = cr + 1 == lf ? lf + 1 : cr + 1;  // CR LF, or a lone CR
        } else {
            lines.push_back(text.substr(start, lf - start));
            start = lf + 1;
        }
    }
    return lines;
}

// A Japanese particle followed by a reason, with a space where the reason begins with Latin
// text ("に NUL 文字…", "にコードページ…").
std::string afterParticle(std::string_view particle, const std::string& reason) {
    const bool latin = !reason.empty() && static_cast<unsigned char>(reason[0]) < 0x80;
    return std::string(particle) + (latin ? " " : "") + reason;
}

std::string shownName(std::string_view fileName) {
    return "ファイル \"" + printableText(fileName) + "\"";
}

Error fileError(std::string_view fileName, std::size_t line, std::string_view what) {
    return Error{shownName(fileName) + " の " + std::to_string(line + 1) + " 行目" +
                 std::string(what)};
}

// A field longer than any sheet needs: the file is damaged or not a sheet file, and holding
// such texts would make every later step (the print above all) slow and huge.
std::optional<Error> overlongField(std::string_view fileName, std::size_t line,
                                   std::string_view field, std::string_view text) {
    if (text.size() <= kMaxFieldChars)
        return std::nullopt;
    const std::size_t chars = utf8Length(text);
    if (chars <= kMaxFieldChars)
        return std::nullopt;
    return fileError(fileName, line,
                     "「" + std::string(field) + "」が長すぎます（" + std::to_string(chars) +
                         " 文字、上限 " + std::to_string(kMaxFieldChars) + " 文字）。");
}

// Splits comma text field by field into `out`, which takes each field's text in pieces
// (append) and its end (end); splitCommaText tells the rules.
template <class Fields>
void splitFields(std::string_view line, Fields& out) {
    // A NUL ends the record, as it ends the text for every reader of such files.
    if (const auto nul = line.find('\0'); nul != std::string_view::npos)
        line = line.substr(0, nul);
    const std::size_t n = line.size();
    std::size_t p = 0;

    while (p < n && isBlankChar(line[p]))
        ++p;
    while (p < n) {
        if (line[p] == '"') {
            ++p;
            std::size_t run = p;
            while (p < n) {
                if (line[p] == '"') {
                    out.append(line.substr(run, p - run));
                    if (p + 1 < n && line[p + 1] == '"') {
                        out.append("\"");
                        p += 2;
                        run = p;
                        continue;
                    }
                    ++p;
                    run = std::string_view::npos;
                    break;
                }
                ++p;
            }
            if (run != std::string_view::npos)
                out.append(line.substr(run, p - run));
            out.end();
        } else {
            const std::size_t begin = p;
            while (p<n&& static_cast<unsigned char>(line[p])> 0x20 && line[p] != ',')
                ++p;
            out.append(line.substr(begin, p - begin));
            out.end();
        }
        while (p < n && isBlankChar(line[p]))
            ++p;
        if (p < n && line[p] == ',') {
            if (p + 1 == n)
                out.end();
            do {
                ++p;
            } while (p < n && isBlankChar(line[p]));
        }
    }
}

}  // namespace

std::string withSheetExtension(std::string_view chosen) {
    std::string name(chosen);
    if (name.size() < 3 || name.compare(name.size() - 3, 3, "ksk") != 0)
        name += ".ksk";
    return name;
}

std::string commaText(const Row& row) {
    std::string out;
    FileWriter<AsUtf8>(out, kColumnCount).commaText(row);
    return out;
}

void splitCommaText(std::string_view line, Row& row) {
    struct Cells {
        Row& row;
        std::size_t column = 0;
        void append(std::string_view piece) {
            if (column < row.size())
                row[column].append(piece);
        }
        void end() { ++column; }
    } cells{row};
    for (std::string& cell : row)
        cell.clear();
    splitFields(line, cells);
}

namespace {

// The whole file in the code `Code` gives; the sheet changes as sheetFileText says.
template <class Code>
std::string sheetFileIn(Sheet& sheet) {
    const int last = sheet.lastUsedRow();
    sheet.setRowCount(last + 20);

    // Neither code needs more bytes than the sheet's texts (code page 932 holds a character in
    // no more bytes than UTF-8) besides the commas and line ends, unless cells are quoted.
    std::size_t expected = 256;
    for (int r = 0; r <= last; ++r)
        expected += sheet.rowTextBytes(r) + kColumnCount + 1;
    const HeadingFields& h = sheet.heading;
    for (const std::string* text : {&h.eraYear, &h.month, &h.day, &h.buildingName, &h.eraLabel})
        expected += text->size();

    std::string out;
    {
        FileWriter<Code> file(out, expected);
        file.line(std::to_string(last + 20));
        file.line(std::to_string(last));

        sheet.setCell(0, col::blockPages, sheet.heading.eraLabel);
        sheet.setCell(0, col::settingCells,
                      sheet.settings.yearDisplay == YearDisplay::Era ? "3" : "4");
        sheet.setCell(1, col::settingCells, sheet.settings.printPageNumbers ? "5" : "6");
        sheet.setCell(2, col::settingCells, sheet.heading.eraName);
        for (int r = 0; r <= last; ++r) {
            file.commaText(sheet, r);
            file.lineEnd();
        }
        sheet.setCell(0, col::settingCells, "");
        sheet.setCell(0, col::blockPages, "");

        file.line(sheet.settings.frequency == Frequency::Hz60 ? "60" : "50");
        file.line(h.eraYear);
        file.line(h.month);
        file.line(h.day);
        file.line(h.buildingName);
        file.line(h.eraLabel);
    }
    return out;
}

}  // namespace

std::string sheetFileText(Sheet& sheet) {
    return sheetFileIn<AsUtf8>(sheet);
}

Expected<std::string> sheetFileBytes(Sheet& sheet) {
    // A file the program could not read back is not written: the same bound as loading.
    const auto overlong = [](std::string_view text) {
        return text.size() > kMaxFieldChars && utf8Length(text) > kMaxFieldChars;
    };
    const auto tooLong = [](std::string_view where, std::string_view text) {
        return Error{std::string(where) + "が長すぎます（" + std::to_string(utf8Length(text)) +
                     " 文字、上限 " + std::to_string(kMaxFieldChars) +
                     " 文字）。短くしてから保存してください。"};
    };
    const int last = sheet.lastUsedRow();
    for (int r = 0; r <= last && r < sheet.rowCount(); ++r) {
        if (sheet.rowTextBytes(r) <= kMaxFieldChars)
            continue;  // no cell of the row can be too long
        for (int c = 0; c < kColumnCount; ++c)
            if (overlong(sheet.cell(r, c)))
                return tooLong(
                    std::to_string(r + 1) + " 行目「" + std::string(columnCaption(c)) + "」",
                    sheet.cell(r, c));
    }
    const HeadingFields& h = sheet.heading;
    const std::pair<std::string_view, const std::string*> heading[] = {
        {"「年」", &h.eraYear},    {"「月」", &h.month},
        {"「日」", &h.day},        {"「建物名称」", &h.buildingName},
        {"「年号」", &h.eraLabel}, {"設定の「年号」", &h.eraName},
    };
    for (const auto& [where, text] : heading)
        if (overlong(*text))
            return tooLong(where, *text);
    return sheetFileIn<AsCp932>(sheet);
}

Status saveSheetFile(Sheet& sheet, const std::filesystem::path& path) {
    const auto bytes = sheetFileBytes(sheet);
    if (!bytes)
        return Error{"ファイル \"" + displayPath(path) + "\" を保存できません。" +
                     bytes.error().message};
    return writeFileReplacing(path, *bytes);
}

Expected<Sheet> parseSheetFile(std::string_view bytes, const Sheet& current,
                               std::string_view fileName) {
    const auto opened = openFileText(bytes);
    if (!opened)
        return fileError(fileName, opened.error().line,
                         afterParticle("に", opened.error().reason) +
                             "。正しいテキストのファイルではありません。");
    // A code page 932 file, the program's own, is converted a line at a time as its lines are
    // read; any other is converted whole by openFileText.
    const std::vector<std::string_view> raw = lineViews(opened->cp932 ? bytes : opened->text);
    std::string converted;
    // Line k as UTF-8; the view lasts until the next line is asked for.
    const auto lineText = [&](std::size_t k) -> std::string_view {
        if (!opened->cp932)
            return raw[k];
        cp932LineToUtf8(raw[k], converted);
        return converted;
    };
    if (raw.size() < 2)
        return Error{shownName(fileName) +
                     " は計算書ファイルではありません（行数と最終行の番号がありません）。"};

    const auto declaredRows = readInteger(lineText(0));
    if (!declaredRows || *declaredRows < 0)
        return fileError(fileName, 0, bracketed(lineText(0)) + "はシートの行数ではありません。");
    if (*declaredRows > kMaxSheetFileRows)
        return fileError(fileName, 0,
                         "のシートの行数 " + quotedText(lineText(0)) + " は大きすぎます（上限 " +
                             std::to_string(kMaxSheetFileRows) + " 行）。");
    const auto lastRow = readInteger(lineText(1));
    if (!lastRow || *lastRow < 0)
        return fileError(fileName, 1, bracketed(lineText(1)) + "は最終行の番号ではありません。");
    if (*lastRow >= kMaxSheetFileRows)
        return fileError(fileName, 1,
                         "の最終行の番号 " + quotedText(lineText(1)) + " は大きすぎます（上限 " +
                             std::to_string(kMaxSheetFileRows) + " 行）。");
    const int last = static_cast<int>(*lastRow);
    const std::size_t needed = static_cast<std::size_t>(last) + 9;
    if (raw.size() < needed)
        return Error{shownName(fileName) + " は途中で終わっています（" + std::to_string(needed) +
                     " 行あるはずが " + std::to_string(raw.size()) + " 行しかありません）。"};
    const std::size_t headingLine = static_cast<std::size_t>(last) + 3;
    const auto frequency = readInteger(lineText(headingLine));
    if (!frequency)
        return fileError(fileName, headingLine,
                         bracketed(lineText(headingLine)) + "は周波数ではありません。");

    // Rows 0 to 2 carry the sheet setting cells, and every row line must land in a row.
    Sheet sheet(std::max({static_cast<int>(*declaredRows), last + 1, 3}));
    sheet.heading = current.heading;
    sheet.settings = current.settings;
    sheet.copyBuffer = current.copyBuffer;

    // Each row line is split straight into its packed row. A cell is a view into the line, but
    // for a quoted cell with doubled quotes, which is put together in `joined` (never longer
    // than the line, so reserving the line keeps every view into it valid). A single space
    // stands for an empty cell, and an arrow the code page could not hold comes back whole.
    struct RowCells {
        std::array<std::string_view, kColumnCount> cells{};
        int count = 0;
        std::string_view current;
        bool inJoined = false;  // `current` is the end of `joined`
        std::string joined;
        int overlongColumn = -1;

        void start(std::string_view line) {
            cells = {};
            count = 0;
            current = {};
            inJoined = false;
            joined.clear();
            joined.reserve(line.size());
        }
        void append(std::string_view piece) {
            if (current.empty() && !inJoined) {
                current = piece;
                return;
            }
            if (!inJoined) {
                const std::size_t at = joined.size();
                joined.append(current);
                current = std::string_view(joined).substr(at);
                inJoined = true;
            }
            joined.append(piece);
            current = std::string_view(current.data(), current.size() + piece.size());
        }
        void end() {
            if (count < kColumnCount) {
                std::string_view text = current;
                if (overlongColumn < 0 && text.size() > kMaxFieldChars &&
                    utf8Length(text) > kMaxFieldChars)
                    overlongColumn = count;
                if (text == " ") {
                    text = {};
                } else if (count == col::glyph) {
                    for (const GlyphRepair& repair : kGlyphRepairs)
                        if (text == repair.damaged) {
                            text = repair.glyph;
                            break;
                        }
                }
                cells[static_cast<std::size_t>(count++)] = text;
            }
            current = {};
            inJoined = false;
        }
    } row;
    for (int r = 0; r <= last; ++r) {
        const std::size_t lineNo = static_cast<std::size_t>(r) + 2;
        const std::string_view text = lineText(lineNo);
        row.start(text);
        splitFields(text, row);
        if (row.overlongColumn >= 0) {
            const int c = row.overlongColumn;
            Row cells;
            splitCommaText(text, cells);
            return *overlongField(fileName, lineNo, columnCaption(c),
                                  cells[static_cast<std::size_t>(c)]);
        }
        sheet.setPackedRow(r, PackedRow::pack(row.cells));
    }
    constexpr std::string_view kHeadingFields[] = {"年", "月", "日", "建物名称", "年号"};
    for (std::size_t k = 0; k < std::size(kHeadingFields); ++k) {
        const std::size_t lineNo = headingLine + 1 + k;
        if (auto e = overlongField(fileName, lineNo, kHeadingFields[k], lineText(lineNo)))
            return *e;
    }

    if (*frequency == 60)
        sheet.settings.frequency = Frequency::Hz60;
    if (*frequency == 50)
        sheet.settings.frequency = Frequency::Hz50;
    HeadingFields& h = sheet.heading;
    h.eraYear = lineText(headingLine + 1);
    h.month = lineText(headingLine + 2);
    h.day = lineText(headingLine + 3);
    h.buildingName = lineText(headingLine + 4);
    // The era label line is the last word on the label; the label cell (0, 30) of older saves
    // says the same and stays in its hidden column.
    h.eraLabel = lineText(headingLine + 5);

    renumberFeeders(sheet);

    // The date of the file is the date of the sheet; the Western year is derived from it, never
    // from today.
    if (const auto eraYear = readEraYear(h.eraYear))
        if (const auto western = westernYearOf(h.eraLabel, *eraYear))
            h.westernYear = std::to_string(*western);

    const std::string_view display = sheet.cell(0, col::settingCells);
    if (display.empty() || display == "3")
        sheet.settings.yearDisplay = YearDisplay::Era;
    if (display == "4")
        sheet.settings.yearDisplay = YearDisplay::Western;
    sheet.setCell(0, col::settingCells, "");
    const std::string_view pages = sheet.cell(1, col::settingCells);
    if (pages.empty() || pages == "5")
        sheet.settings.printPageNumbers = true;
    if (pages == "6")
        sheet.settings.printPageNumbers = false;
    sheet.setCell(1, col::settingCells, "");
    if (const std::string_view eraName = sheet.cell(2, col::settingCells); !eraName.empty()) {
        h.eraName = std::string(eraName);
        sheet.setCell(2, col::settingCells, "");
    }

    if (sheet.rowCount() <= kInitialRowCount)
        sheet.setRowCount(kInitialRowCount);
    return sheet;
}

Status loadSheetFile(Sheet& sheet, const std::filesystem::path& path) {
    auto bytes = readFileBytes(path);
    if (!bytes)
        return bytes.error();
    auto loaded = parseSheetFile(*bytes, sheet, displayPath(path));
    if (!loaded)
        return loaded.error();
    sheet = std::move(*loaded);
    return success();
}

}  // namespace wirelark
