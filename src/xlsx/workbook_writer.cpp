#include "workbook_writer.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "file_io.h"
#include "message_text.h"

namespace wirelark {

namespace {

// The form's Mincho face is a Japanese font: the character set tells the spreadsheet
// application so when the face is missing and it has to pick another.
constexpr std::uint8_t kShiftJisCharset = 128;

// libxlsxwriter stores no height for a row of exactly its built-in 15 points, and a reader may
// then fit such a row to its contents. A thousandth of a point more is stored and still shows
// as 15 points (20 pixels).
double storedRowHeight(double points) {
    return points == LXW_DEF_ROW_HEIGHT ? points + 0.001 : points;
}

std::uint8_t borderStyle(const std::optional<BorderWeight>& weight) {
    if (!weight)
        return LXW_BORDER_NONE;
    switch (*weight) {
        case BorderWeight::Hair:
            return LXW_BORDER_HAIR;
        case BorderWeight::Thin:
            return LXW_BORDER_THIN;
        case BorderWeight::Medium:
            return LXW_BORDER_MEDIUM;
    }
    return LXW_BORDER_NONE;
}

bool isDefault(const CellStyle& style) {
    return style == CellStyle{};
}

// One format per distinct cell style, created on first use; the workbook owns them.
class Formats {
  public:
    explicit Formats(lxw_workbook* wb) : m_wb(wb) {}

    lxw_format* of(const CellStyle& style) {
        if (isDefault(style))
            return nullptr;
        for (const auto& [known, format] : m_formats)
            if (known == style)
                return format;
        lxw_format* f = workbook_add_format(m_wb);
        if (!style.fontName.empty()) {
            format_set_font_name(f, style.fontName.c_str());
            format_set_font_charset(f, kShiftJisCharset);
        }
        if (style.fontSize > 0)
            format_set_font_size(f, style.fontSize);
        if (style.underline)
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        switch (style.horizontal) {
            case HorizontalAlignment::General:
                break;
            case HorizontalAlignment::Centre:
                format_set_align(f, LXW_ALIGN_CENTER);
                break;
            case HorizontalAlignment::Right:
                format_set_align(f, LXW_ALIGN_RIGHT);
                break;
            case HorizontalAlignment::Justify:
                format_set_align(f, LXW_ALIGN_JUSTIFY);
                break;
        }
        if (style.vertical == VerticalAlignment::Centre)
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        if (style.wrap)
            format_set_text_wrap(f);
        if (style.shrinkToFit)
            format_set_shrink(f);
        if (!style.numberFormat.empty())
            format_set_num_format(f, style.numberFormat.c_str());
        format_set_left(f, borderStyle(style.border(Edge::Left)));
        format_set_right(f, borderStyle(style.border(Edge::Right)));
        format_set_top(f, borderStyle(style.border(Edge::Top)));
        format_set_bottom(f, borderStyle(style.border(Edge::Bottom)));
        m_formats.emplace_back(style, f);
        return f;
    }

  private:
    lxw_workbook* m_wb;
    // A workbook has a few dozen distinct styles; a list is as quick as a map here.
    std::vector<std::pair<CellStyle, lxw_format*>> m_formats;
};

std::string failureMessage(const std::filesystem::path& path, const std::string& reason) {
    return "エクセルファイル「" + displayPath(path) + "」を保存できませんでした（" + reason +
           "）。";
}

// libxlsxwriter prints its own diagnostics on standard error ("[ERROR] workbook_close(): ...",
// English, for a developer). Its failures come back as error codes and are told to the user in
// Japanese; while it runs, what it prints goes nowhere.
class LibraryDiagnosticsSilenced {
  public:
    LibraryDiagnosticsSilenced() {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~LibraryDiagnosticsSilenced() {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    LibraryDiagnosticsSilenced(const LibraryDiagnosticsSilenced&) = delete;
    LibraryDiagnosticsSilenced& operator=(const LibraryDiagnosticsSilenced&) = delete;

  private:
    int m_saved = -1;
};

// A libxlsxwriter error as a Japanese reason; `systemError` is errno as the failing call left it.
std::string libraryReason(lxw_error e, int systemError) {
    const auto system = [&](const char* what) {
        return systemError != 0 ? std::string(what) + "（" + systemErrorText(systemError) + "）"
                                : std::string(what);
    };
    switch (e) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "メモリが足りません";
        case LXW_ERROR_CREATING_XLSX_FILE:
            return systemError != 0 ? systemErrorText(systemError) : "ファイルを作成できません";
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return system("作業用の一時ファイルを使えません");
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
        case LXW_ERROR_ZIP_BAD_ZIP_FILE:
        case LXW_ERROR_ZIP_INTERNAL_ERROR:
        case LXW_ERROR_ZIP_PARAMETER_ERROR:
            return system("ファイルを書き込めません");
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "セルの文字列が長すぎます（1 つのセルに 32,767 文字まで）";
        case LXW_ERROR_255_STRING_LENGTH_EXCEEDED:
        case LXW_ERROR_128_STRING_LENGTH_EXCEEDED:
        case LXW_ERROR_32_STRING_LENGTH_EXCEEDED:
            return "設定の文字列が長すぎます";
        case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
            return "31 文字を超えています";
        case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
            return "使えない文字 [ ] : * ? / \\ があります";
        case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
            return "先頭か末尾が ' です";
        case LXW_ERROR_SHEETNAME_ALREADY_USED:
            return "同じ名前のシートがすでにあります";
        default:
            return "書き出しのエラーです（番号 " + std::to_string(static_cast<int>(e)) + "）";
    }
}

// Adds one worksheet; returns the reason when the application would refuse its name.
std::optional<std::string> addWorksheet(lxw_workbook* wb, Formats& formats,
                                        const Worksheet& sheet) {
    if (lxw_error e = workbook_validate_sheet_name(wb, sheet.name.c_str()); e != LXW_NO_ERROR)
        return "シート名「" + quotedText(sheet.name) + "」は使えません: " + libraryReason(e, 0);
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.c_str());
    if (!ws)
        return "シート名「" + quotedText(sheet.name) + "」のシートを作れません";

    const PageSetup& page = sheet.pageSetup;
    // The scale alone: a fit-to-page setting beside it would override both the scale and
    // the manual page breaks in the spreadsheet application.
    worksheet_set_print_scale(ws, static_cast<std::uint16_t>(page.printScale));
    if (page.centreHorizontally)
        worksheet_center_horizontally(ws);
    if (page.centreVertically)
        worksheet_center_vertically(ws);
    if (!page.leftHeader.empty())
        worksheet_set_header(ws, ("&L" + page.leftHeader).c_str());
    worksheet_set_start_page(ws, static_cast<std::uint16_t>(page.firstPageNumber));
    worksheet_set_paper(ws, static_cast<std::uint8_t>(page.paperSize));
    if (page.landscape)
        worksheet_set_landscape(ws);
    lxw_col_t columnBreaks[] = {static_cast<lxw_col_t>(page.pageBreakBeforeColumn), 0};
    lxw_row_t rowBreaks[] = {static_cast<lxw_row_t>(page.pageBreakBeforeRow), 0};
    worksheet_set_v_pagebreaks(ws, columnBreaks);
    worksheet_set_h_pagebreaks(ws, rowBreaks);

    for (int c = 0; c < Worksheet::kColumns; ++c)
        worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             sheet.columnWidths[static_cast<std::size_t>(c)], nullptr);
    for (int r = 0; r < Worksheet::kRows; ++r)
        worksheet_set_row(ws, static_cast<lxw_row_t>(r),
                          storedRowHeight(sheet.rowHeights[static_cast<std::size_t>(r)]), nullptr);

    // Merging writes placeholder cells; the cells written below replace them with their own
    // values and formats.
    for (const CellRange& m : sheet.merges)
        worksheet_merge_range(
            ws, static_cast<lxw_row_t>(m.firstRow), static_cast<lxw_col_t>(m.firstColumn),
            static_cast<lxw_row_t>(m.lastRow), static_cast<lxw_col_t>(m.lastColumn), "", nullptr);

    for (int r = 0; r < Worksheet::kRows; ++r)
        for (int c = 0; c < Worksheet::kColumns; ++c) {
            const WorkbookCell& cell = sheet.cell(r, c);
            lxw_format* format = formats.of(cell.style);
            const auto row = static_cast<lxw_row_t>(r);
            const auto column = static_cast<lxw_col_t>(c);
            lxw_error e = LXW_NO_ERROR;
            if (cell.number)
                e = worksheet_write_number(ws, row, column, *cell.number, format);
            else if (!cell.text.empty())
                e = worksheet_write_string(ws, row, column, cell.text.c_str(), format);
            else if (format)
                e = worksheet_write_blank(ws, row, column, format);
            if (e != LXW_NO_ERROR)
                return "シート「" + quotedText(sheet.name) + "」のセル " + cellName(r, c) + ": " +
                       libraryReason(e, 0);
        }
    return std::nullopt;
}

}  // namespace

Status writeWorkbook(const Workbook& book, const std::filesystem::path& path) {
    if (book.sheets.empty())
        return Error{failureMessage(path, "シートがありません")};
    // The target is checked and its temporary file made as for every other output: the
    // library then writes into that file, which replaces the target only once it is complete.
    auto replacement = FileReplacement::begin(
        path, [path](const std::string& reason) { return Error{failureMessage(path, reason)}; });
    if (!replacement)
        return replacement.error();

    std::optional<std::string> failure;
    {
        const LibraryDiagnosticsSilenced silenced;
        lxw_workbook_options options{};
        lxw_workbook* wb = workbook_new_opt(replacement->temporaryPath().c_str(), &options);
        if (!wb)
            return Error{failureMessage(path, "メモリが足りません")};
        {
            Formats formats(wb);
            for (const Worksheet& sheet : book.sheets) {
                failure = addWorksheet(wb, formats, sheet);
                if (failure)
                    break;
            }
        }
        errno = 0;
        const lxw_error closed = workbook_close(wb);
        const int systemError = errno;
        if (!failure && closed != LXW_NO_ERROR)
            failure = libraryReason(closed, systemError);
    }
    if (failure)
        return replacement->failure(*failure);
    return replacement->commit();
}

}  // namespace wirelark
