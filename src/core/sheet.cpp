#include "sheet.h"

#include "message_text.h"

namespace wirelark {

std::string_view columnCaption(int column) {
    static constexpr std::string_view kCaptions[kColumnCount] = {
        "No.",
        "幹線番号又は名称",
        "電気方式",
        "電圧",
        "幹線保護用遮断器定格電流",
        "系統",
        "こう長",
        "負荷名称",
        "主幹器具定格電流",
        "設計負荷電流",
        "負荷の力率",
        "種別及び断面積",
        "配線方式",
        "許容電流",
        "インピーダンス",
        "単一配線の電圧降下",
        "分岐がある場合の合計",
        "許容電圧降下",
        "備考",
        "累積こう長",
        "ケーブルサイズ",
        "判定",
        "系統番号",
        "電圧降下超過",
        "幹線の行数",
        "ページ内の行",
        "幹線番号",
        "列27",
        "列28",
        "列29",
        "ページ数",
        "列31",
        "列32",
        "列33",
        "シート設定",
    };
    if (column < 0 || column >= kColumnCount)
        return "?";
    return kCaptions[column];
}

Error cellNumberError(int row, int column, std::string_view text) {
    return Error{std::to_string(row + 1) + " 行目「" + std::string(columnCaption(column)) +
                 "」の「" + quotedText(text) + "」は数値ではありません。"};
}

void Sheet::setRowCount(int count) {
    m_rows.resize(idx(count < 0 ? 0 : count));
}

int Sheet::lastUsedRow() const {
    for (int r = rowCount() - 1; r > 0; --r)
        if (!cell(r, col::glyph).empty())
            return r;
    return 0;
}

int Sheet::lastPrintedRow() const {
    for (int r = rowCount() - 1; r > 0; --r)
        if (!isBlank(cell(r, col::glyph)))
            return r;
    return 0;
}

void Sheet::insertRows(int at, int count) {
    if (count <= 0)
        return;
    m_rows.insert(m_rows.begin() + at, idx(count), Row{});
}

void Sheet::eraseRows(int at, int count) {
    if (count <= 0)
        return;
    m_rows.erase(m_rows.begin() + at, m_rows.begin() + at + count);
}

void Sheet::clearCells() {
    for (Row& r : m_rows)
        for (std::string& c : r)
            c.clear();
}

Expected<std::optional<double>> cellNumber(const Sheet& sheet, int row, int column) {
    const std::string& text = sheet.cell(row, column);
    if (isBlank(text))
        return std::optional<double>();
    auto v = readNumber(text);
    if (!v)
        return cellNumberError(row, column, text);
    return std::optional<double>(*v);
}

}  // namespace wirelark
