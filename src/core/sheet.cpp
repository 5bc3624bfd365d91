#include "sheet.h"

#include <algorithm>
#include <iterator>

#include "message_text.h"
#include "sheet_journal.h"

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

Sheet::Sheet(const Sheet& other)
    : heading(other.heading),
      settings(other.settings),
      copyBuffer(other.copyBuffer),
      m_rows(other.m_rows) {}

Sheet::Sheet(Sheet&& other) noexcept
    : heading(std::move(other.heading)),
      settings(std::move(other.settings)),
      copyBuffer(std::move(other.copyBuffer)),
      m_rows(std::move(other.m_rows)) {}

Sheet& Sheet::operator=(const Sheet& other) {
    if (this != &other) {
        heading = other.heading;
        settings = other.settings;
        copyBuffer = other.copyBuffer;
        replacePackedRows(other.m_rows);
    }
    return *this;
}

Sheet& Sheet::operator=(Sheet&& other) {
    if (this != &other) {
        heading = std::move(other.heading);
        settings = std::move(other.settings);
        copyBuffer = std::move(other.copyBuffer);
        replacePackedRows(std::move(other.m_rows));
    }
    return *this;
}

void Sheet::recordCell(int row, int column, std::string_view old) {
    m_journal->add<SheetJournal::CellWas>(row, column, std::string(old));
}

void Sheet::setCells(int row, std::span<const CellText> cells) {
    PackedRow& target = m_rows[idx(row)];
    // The cells that change, left to right: one repack that copies the unchanged runs whole.
    std::array<CellText, kColumnCount> changed;
    std::array<signed char, kColumnCount> slot;
    slot.fill(-1);
    std::size_t n = 0;
    bool ordered = true;
    for (const auto& [column, text] : cells) {
        signed char& s = slot[idx(column)];
        const std::string_view now = s < 0 ? target.cell(column) : changed[idx(s)].second;
        if (now == text)
            continue;
        if (m_journal)
            recordCell(row, column, now);
        if (s >= 0) {
            changed[idx(s)].second = text;
            continue;
        }
        if (n > 0 && changed[n - 1].first > column)
            ordered = false;
        s = static_cast<signed char>(n);
        changed[n++] = {column, text};
    }
    if (n == 0)
        return;
    if (!ordered)
        std::sort(changed.begin(), changed.begin() + static_cast<std::ptrdiff_t>(n),
                  [](const CellText& a, const CellText& b) { return a.first < b.first; });
    // Every view still points into the old row or into the caller's texts until the new row
    // is packed.
    target.replace(std::span<const CellText>(changed.data(), n));
}

void Sheet::copyRowsFrom(const Sheet& other, int first, int last) {
    first = std::max(first, 0);
    last = std::min({last, rowCount(), other.rowCount()});
    for (int r = first; r < last; ++r)
        m_rows[idx(r)] = other.m_rows[idx(r)];
}

void Sheet::swapRowsWith(Sheet& other, int first, int last) {
    first = std::max(first, 0);
    last = std::min({last, rowCount(), other.rowCount()});
    for (int r = first; r < last; ++r)
        std::swap(m_rows[idx(r)], other.m_rows[idx(r)]);
}

void Sheet::setPackedRow(int r, PackedRow cells) {
    PackedRow& target = m_rows[idx(r)];
    if (target == cells)
        return;
    if (m_journal)
        m_journal->add<SheetJournal::RowWas>(r, std::move(target));
    target = std::move(cells);
}

void Sheet::setRowCount(int count) {
    const std::size_t n = idx(count < 0 ? 0 : count);
    if (m_journal && n != m_rows.size()) {
        const int now = rowCount();
        if (n > m_rows.size()) {
            m_journal->add<SheetJournal::RowsInserted>(now, static_cast<int>(n) - now);
        } else {
            std::vector<PackedRow> dropped(std::make_move_iterator(m_rows.begin() + n),
                                           std::make_move_iterator(m_rows.end()));
            m_journal->add<SheetJournal::RowsErased>(static_cast<int>(n), std::move(dropped));
        }
    }
    m_rows.resize(n);
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
    if (m_journal)
        m_journal->add<SheetJournal::RowsInserted>(at, count);
    m_rows.insert(m_rows.begin() + at, idx(count), PackedRow{});
}

void Sheet::insertRows(int at, std::vector<Row> rows) {
    std::vector<PackedRow> packed;
    packed.reserve(rows.size());
    for (const Row& r : rows)
        packed.push_back(PackedRow::pack(r));
    insertPackedRows(at, std::move(packed));
}

void Sheet::insertPackedRows(int at, std::vector<PackedRow> rows) {
    if (rows.empty())
        return;
    if (m_journal)
        m_journal->add<SheetJournal::RowsInserted>(at, static_cast<int>(rows.size()));
    m_rows.insert(m_rows.begin() + at, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
}

void Sheet::eraseRows(int at, int count) {
    if (count <= 0)
        return;
    const auto first = m_rows.begin() + at;
    const auto last = first + count;
    if (m_journal)
        m_journal->add<SheetJournal::RowsErased>(
            at,
            std::vector<PackedRow>(std::make_move_iterator(first), std::make_move_iterator(last)));
    m_rows.erase(first, last);
}

void Sheet::clearCells() {
    const bool anyText =
        std::any_of(m_rows.begin(), m_rows.end(), [](const PackedRow& r) { return !r.empty(); });
    if (!anyText)
        return;
    // With a journal the rows as they were go to it whole: emptying and taking back a sheet of
    // thousands of rows moves one vector instead of copying every cell.
    replacePackedRows(std::vector<PackedRow>(m_rows.size()));
}

void Sheet::replaceRows(std::vector<Row> rows) {
    std::vector<PackedRow> packed;
    packed.reserve(rows.size());
    for (const Row& r : rows)
        packed.push_back(PackedRow::pack(r));
    replacePackedRows(std::move(packed));
}

void Sheet::replacePackedRows(std::vector<PackedRow> rows) {
    if (m_journal)
        m_journal->add<SheetJournal::AllRowsWere>(std::move(m_rows));
    m_rows = std::move(rows);
}

Expected<std::optional<double>> cellNumber(const Sheet& sheet, int row, int column) {
    const std::string_view text = sheet.cell(row, column);
    if (isBlank(text))
        return std::optional<double>();
    auto v = readNumber(text);
    if (!v)
        return cellNumberError(row, column, text);
    return std::optional<double>(*v);
}

}  // namespace wirelark
