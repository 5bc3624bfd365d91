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

void PackedRow::replace(std::span<const Change> changes) {
    const auto oldEnd = [this](int column) -> std::size_t { return m_data ? end(column) : 0; };
    const auto oldBegin = [&](int column) -> std::size_t {
        return column == 0 ? 0 : oldEnd(column - 1);
    };
    std::size_t total = textBytes();
    for (const auto& [column, text] : changes)
        total = total - (oldEnd(column) - oldBegin(column)) + text.size();
    if (total == 0) {
        m_data.reset();
        return;
    }
    const std::size_t w = widthFor(total);
    auto data = allocateRow(w, total);
    char* const out = data.get() + 1 + kPackedCells * w;
    const char* const old = m_data ? texts() : nullptr;
    std::size_t at = 0;
    // The cells first..last-1 as they are, in one copy.
    const auto keep = [&](int first, int last) {
        if (first >= last)
            return;
        const std::size_t from = oldBegin(first);
        const std::size_t to = oldEnd(last - 1);
        if (to > from)
            std::memcpy(out + at, old + from, to - from);
        for (int c = first; c < last; ++c)
            putEnd(data.get(), w, c, at + (oldEnd(c) - from));
        at += to - from;
    };
    int next = 0;
    for (const auto& [column, text] : changes) {
        keep(next, column);
        if (!text.empty())
            std::memcpy(out + at, text.data(), text.size());
        at += text.size();
        putEnd(data.get(), w, column, at);
        next = column + 1;
    }
    keep(next, kPackedCells);
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

}  // namespace wirelark
