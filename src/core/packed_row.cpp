#include "packed_row.h"

#include <limits>

namespace wirelark {

namespace {

std::unique_ptr<char[]> allocateRow(std::size_t width, std::size_t textBytes) {
    auto data = std::make_unique_for_overwrite<char[]>(1 + kPackedCells * width + textBytes);
    data[0] = static_cast<char>(width);
    return data;
}

void putEnd(char* data, std::size_t width, int column, std::size_t value) {
    char* p = data + 1 + static_cast<std::size_t>(column) * width;
    if (width == 2) {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(p, &v, 2);
    } else {
        const auto v = static_cast<std::uint32_t>(value);
        std::memcpy(p, &v, 4);
    }
}

std::size_t widthFor(std::size_t textBytes) {
    return textBytes <= std::numeric_limits<std::uint16_t>::max() ? 2 : 4;
}

}  // namespace

PackedRow::PackedRow(const PackedRow& other) {
    if (other.m_data) {
        const std::size_t n = other.allocatedBytes();
        m_data = std::make_unique_for_overwrite<char[]>(n);
        std::memcpy(m_data.get(), other.m_data.get(), n);
    }
}

PackedRow& PackedRow::operator=(const PackedRow& other) {
    if (this != &other)
        *this = PackedRow(other);
    return *this;
}

template <class Cells>
PackedRow PackedRow::packCells(const Cells& cells) {
    std::size_t total = 0;
    for (const auto& c : cells)
        total += c.size();
    PackedRow row;
    if (total == 0)
        return row;
    const std::size_t w = widthFor(total);
    row.m_data = allocateRow(w, total);
    char* out = row.m_data.get() + 1 + kPackedCells * w;
    std::size_t at = 0;
    for (int c = 0; c < kPackedCells; ++c) {
        const auto& text = cells[static_cast<std::size_t>(c)];
        if (!text.empty())  // an empty view may hold no pointer at all
            std::memcpy(out + at, text.data(), text.size());
        at += text.size();
        putEnd(row.m_data.get(), w, c, at);
    }
    return row;
}

PackedRow PackedRow::pack(const std::array<std::string, kPackedCells>& cells) {
    return packCells(cells);
}

PackedRow PackedRow::pack(const std::array<std::string_view, kPackedCells>& cells) {
    return packCells(cells);
}

void PackedRow::set(int column, std::string_view text) {
    const std::string_view old = cell(column);
    if (old.size() == text.size()) {
        if (!text.empty())
            std::memcpy(m_data.get() + (old.data() - m_data.get()), text.data(), text.size());
        return;
    }
    const std::size_t total = textBytes() - old.size() + text.size();
    if (total == 0) {
        m_data.reset();
        return;
    }
    const std::size_t w = widthFor(total);
    auto data = allocateRow(w, total);
    char* out = data.get() + 1 + kPackedCells * w;
    std::size_t at = 0;
    for (int c = 0; c < kPackedCells; ++c) {
        const std::string_view piece = c == column ? text : cell(c);
        if (!piece.empty())
            std::memcpy(out + at, piece.data(), piece.size());
        at += piece.size();
        putEnd(data.get(), w, c, at);
    }
    m_data = std::move(data);
}

std::array<std::string, kPackedCells> PackedRow::unpack() const {
    std::array<std::string, kPackedCells> cells;
    if (m_data)
        for (int c = 0; c < kPackedCells; ++c)
            cells[static_cast<std::size_t>(c)] = cell(c);
    return cells;
}

bool operator==(const PackedRow& a, const PackedRow& b) {
    if (a.empty() || b.empty())
        return a.empty() == b.empty();
    for (int c = 0; c < kPackedCells; ++c)
        if (a.cell(c) != b.cell(c))
            return false;
    return true;
}

void PackedRowBuilder::endCell() {
    if (m_cells < kPackedCells) {
        m_ends[static_cast<std::size_t>(m_cells++)] = static_cast<std::uint32_t>(m_text.size());
        m_cellStart = m_text.size();
    } else {
        m_text.resize(m_cellStart);
    }
}

PackedRow PackedRowBuilder::take() {
    std::array<std::string_view, kPackedCells> cells{};
    std::size_t begin = 0;
    for (int c = 0; c < m_cells; ++c) {
        const std::size_t e = m_ends[static_cast<std::size_t>(c)];
        cells[static_cast<std::size_t>(c)] = std::string_view(m_text).substr(begin, e - begin);
        begin = e;
    }
    PackedRow row = PackedRow::pack(cells);
    m_text.clear();
    m_cellStart = 0;
    m_cells = 0;
    return row;
}

}  // namespace wirelark
