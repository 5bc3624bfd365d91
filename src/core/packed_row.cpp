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
    // The old ends read once; the new ones worked out beside them and written at the end.
    std::array<std::uint32_t, kPackedCells> oldEnds{};
    if (m_data) {
        const char* p = m_data.get() + 1;
        if (width() == 2) {
            for (std::size_t c = 0; c < kPackedCells; ++c) {
                std::uint16_t v;
                std::memcpy(&v, p + 2 * c, 2);
                oldEnds[c] = v;
            }
        } else {
            std::memcpy(oldEnds.data(), p, 4 * kPackedCells);
        }
    }
    const auto oldBegin = [&oldEnds](std::size_t c) -> std::uint32_t {
        return c == 0 ? 0 : oldEnds[c - 1];
    };
    std::size_t total = textBytes();
    for (const auto& [column, text] : changes) {
        const auto c = static_cast<std::size_t>(column);
        total = total - (oldEnds[c] - oldBegin(c)) + text.size();
    }
    if (total == 0) {
        m_data.reset();
        return;
    }
    const std::size_t w = widthFor(total);
    // A row whose texts do not grow keeps its allocation: the new row is packed on the stack
    // (the changed texts may be views into the old one) and copied over it.
    const std::size_t bytes = 1 + kPackedCells * w + total;
    char scratch[1024];
    std::unique_ptr<char[]> data;
    char* target = scratch;
    if (!m_data || w != width() || total > textBytes() || bytes > sizeof scratch) {
        data = allocateRow(w, total);
        target = data.get();
    }
    target[0] = static_cast<char>(w);
    char* const out = target + 1 + kPackedCells * w;
    const char* const old = m_data ? texts() : nullptr;
    std::array<std::uint32_t, kPackedCells> ends;
    std::size_t at = 0;
    // The cells first..last-1 as they are, in one copy.
    const auto keep = [&](std::size_t first, std::size_t last) {
        if (first >= last)
            return;
        const std::uint32_t from = oldBegin(first);
        const std::uint32_t to = oldEnds[last - 1];
        if (to > from)
            std::memcpy(out + at, old + from, to - from);
        for (std::size_t c = first; c < last; ++c)
            ends[c] = static_cast<std::uint32_t>(at + (oldEnds[c] - from));
        at += to - from;
    };
    std::size_t next = 0;
    for (const auto& [column, text] : changes) {
        const auto c = static_cast<std::size_t>(column);
        keep(next, c);
        if (!text.empty())
            std::memcpy(out + at, text.data(), text.size());
        at += text.size();
        ends[c] = static_cast<std::uint32_t>(at);
        next = c + 1;
    }
    keep(next, kPackedCells);
    char* p = target + 1;
    if (w == 2) {
        for (std::size_t c = 0; c < kPackedCells; ++c) {
            const auto v = static_cast<std::uint16_t>(ends[c]);
            std::memcpy(p + 2 * c, &v, 2);
        }
    } else {
        std::memcpy(p, ends.data(), 4 * kPackedCells);
    }
    if (data)
        m_data = std::move(data);
    else
        std::memcpy(m_data.get(), scratch, bytes);
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
