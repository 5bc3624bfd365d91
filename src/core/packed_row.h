#pragma once
// The cells of one sheet row packed into a single allocation: the end offset of every cell
// followed by the cells' texts, one after another. An empty row holds nothing at all, so the
// unused rows of a sheet cost one pointer each, and a used row costs its texts plus two bytes a
// cell (four for a row whose texts exceed 64 KiB together).

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace wirelark {

inline constexpr int kPackedCells = 35;

class PackedRow {
  public:
    PackedRow() = default;
    PackedRow(const PackedRow& other);
    PackedRow(PackedRow&&) noexcept = default;
    PackedRow& operator=(const PackedRow& other);
    PackedRow& operator=(PackedRow&&) noexcept = default;
    ~PackedRow() = default;

    // Packs the given cells; a row of empty cells packs into nothing.
    static PackedRow pack(const std::array<std::string, kPackedCells>& cells);
    static PackedRow pack(const std::array<std::string_view, kPackedCells>& cells);

    bool empty() const { return !m_data; }
    std::string_view cell(int column) const {
        if (!m_data)
            return {};
        const std::size_t begin = column == 0 ? 0 : end(column - 1);
        return {texts() + begin, end(column) - begin};
    }
    // Calls f(text) for every cell in column order, empty ones included.
    template <class F>
    void forEachCell(F&& f) const {
        if (!m_data) {
            for (int c = 0; c < kPackedCells; ++c)
                f(std::string_view());
            return;
        }
        const char* const base = texts();
        std::size_t begin = 0;
        for (int c = 0; c < kPackedCells; ++c) {
            const std::size_t finish = end(c);
            f(std::string_view(base + begin, finish - begin));
            begin = finish;
        }
    }
    // The bytes of all the row's texts together.
    std::size_t textBytes() const { return m_data ? end(kPackedCells - 1) : 0; }
    // Replaces one cell's text (the row is repacked when the length changes).
    void set(int column, std::string_view text);
    // Replaces several cells' texts in one repack; `changes` go by column, from left to right,
    // each column once. The texts may be views into this row.
    using Change = std::pair<int, std::string_view>;
    void replace(std::span<const Change> changes);
    std::array<std::string, kPackedCells> unpack() const;

    friend bool operator==(const PackedRow& a, const PackedRow& b);

  private:
    // Layout: byte 0 the width of an offset (2 or 4), then kPackedCells end offsets, then texts.
    std::size_t width() const { return static_cast<unsigned char>(m_data[0]); }
    std::size_t end(int column) const {
        const char* p = m_data.get() + 1 + static_cast<std::size_t>(column) * width();
        if (width() == 2) {
            std::uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    const char* texts() const { return m_data.get() + 1 + kPackedCells * width(); }
    std::size_t allocatedBytes() const { return 1 + kPackedCells * width() + textBytes(); }

    template <class Cells>
    static PackedRow packCells(const Cells& cells);

    std::unique_ptr<char[]> m_data;
};

}  // namespace wirelark
