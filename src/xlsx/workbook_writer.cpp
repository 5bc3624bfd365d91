#include "workbook_writer.h"

#include <xlsxwriter.h>

#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

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
    return "エクセルファイル「" + path.filename().string() + "」を保存できませんでした（" + reason +
           "）。";
}

std::filesystem::path temporaryBeside(const std::filesystem::path& path) {
    std::random_device random;
    const std::filesystem::path folder = path.parent_path();
    for (;;) {
        const std::filesystem::path candidate =
            folder / ("." + path.filename().string() + "." + std::to_string(random()) + ".tmp");
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec))
            return candidate;
    }
}

// Adds one worksheet; returns the reason when the application would refuse its name.
std::optional<std::string> addWorksheet(lxw_workbook* wb, Formats& formats,
                                        const Worksheet& sheet) {
    if (lxw_error e = workbook_validate_sheet_name(wb, sheet.name.c_str()); e != LXW_NO_ERROR)
        return "シート名「" + sheet.name + "」: " + lxw_strerror(e);
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.c_str());
    if (!ws)
        return "シート名「" + sheet.name + "」";

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
                return cellName(r, c) + ": " + lxw_strerror(e);
        }
    return std::nullopt;
}

}  // namespace

Status writeWorkbook(const Workbook& book, const std::filesystem::path& path) {
    if (book.sheets.empty())
        return Error{failureMessage(path, "シートがありません")};
    const std::filesystem::path temporary = temporaryBeside(path);
    lxw_workbook_options options{};
    lxw_workbook* wb = workbook_new_opt(temporary.string().c_str(), &options);
    if (!wb)
        return Error{failureMessage(path, "メモリ不足")};

    std::optional<std::string> failure;
    {
        Formats formats(wb);
        for (const Worksheet& sheet : book.sheets) {
            failure = addWorksheet(wb, formats, sheet);
            if (failure)
                break;
        }
    }
    const lxw_error closed = workbook_close(wb);
    std::error_code ec;
    if (!failure && closed != LXW_NO_ERROR)
        failure = lxw_strerror(closed);
    if (!failure) {
        std::filesystem::rename(temporary, path, ec);
        if (ec)
            failure = ec.message();
    }
    if (failure) {
        std::filesystem::remove(temporary, ec);
        return Error{failureMessage(path, *failure)};
    }
    return success();
}

}  // namespace wirelark
