#pragma once
// What the changes of a sheet's rows replaced, recorded while the journal is attached to the
// sheet (Sheet::attachJournal), so that the changes can be taken back: the undo history keeps
// one journal per step, and a step that fails is rolled back with its journal.
//
// A journal holds only what was there before each change: the old text of a changed cell, the
// rows an erase removed, the position of rows an insert added. Taking a journal back applies
// those entries last first through the sheet's own operations, so a journal attached to the
// sheet meanwhile records what taking back replaced: the way forward again. Undo and redo are
// the same operation on two journals.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "sheet.h"

namespace wirelark {

class SheetJournal {
  public:
    struct CellWas {
        int row = 0;
        int column = 0;
        std::string text;
    };
    struct RowWas {
        int row = 0;
        PackedRow cells;
    };
    struct RowsInserted {
        int at = 0;
        int count = 0;
    };
    struct RowsErased {
        int at = 0;
        std::vector<PackedRow> rows;
    };
    struct AllRowsWere {
        std::vector<PackedRow> rows;
    };
    using Entry = std::variant<CellWas, RowWas, RowsInserted, RowsErased, AllRowsWere>;

    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    // Records one entry of kind E, made in place from `args`.
    template <class E, class... A>
    void add(A&&... args) {
        m_entries.emplace_back(std::in_place_type<E>, std::forward<A>(args)...);
    }

    // Takes back the entries from `from` to the end, the last first, on `sheet`; they leave
    // the journal. An entry that no longer fits the sheet (rows trimmed since, outside any
    // step) is fitted to it: missing rows are added empty, so nothing is ever out of range.
    void takeBack(Sheet& sheet, std::size_t from = 0);

  private:
    std::vector<Entry> m_entries;
};

}  // namespace wirelark
