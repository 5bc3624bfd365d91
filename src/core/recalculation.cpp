#include "recalculation.h"

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "checks.h"
#include "row_kind.h"
#include "tree_editing.h"

namespace wirelark {

namespace {

struct RowRange {
    int first = 0;
    int last = -1;
    bool empty() const { return last < first; }
};

// The rows s1..e1 that exist; a single feeder's block counts as empty, since nothing in it is
// recalculated.
RowRange treeRows(const Sheet& sheet, int s1, int e1) {
    RowRange r{s1 < 0 ? 0 : s1, e1 >= sheet.rowCount() ? sheet.rowCount() - 1 : e1};
    if (r.empty() || rowKind(sheet.cell(r.first, col::glyph)) == RowKind::Single)
        return RowRange{};
    return r;
}

// The columns the steps read as numbers or write, left to right; every other cell they need is
// read from the sheet, which they never change there.
constexpr int kWorkColumns[] = {
    col::length,     col::mainBreaker,   col::designCurrent,    col::impedance, col::singleDrop,
    col::summedDrop, col::allowableDrop, col::cumulativeLength, col::verdict,   col::mark,
};
constexpr int kWorkColumnCount = static_cast<int>(std::size(kWorkColumns));

constexpr std::array<int, kColumnCount> workSlots() {
    std::array<int, kColumnCount> slots{};
    for (int& s : slots)
        s = -1;
    for (int i = 0; i < kWorkColumnCount; ++i)
        slots[static_cast<std::size_t>(kWorkColumns[i])] = i;
    return slots;
}
constexpr std::array<int, kColumnCount> kWorkSlot = workSlots();

// One feeder block while its steps run. A row has half a dozen of its cells rewritten by the
// steps; they are kept here and the sheet receives each changed row once at the end, in a single
// repack. A cell's number is read from its text once and kept until the text changes, and each
// row's glyph is classified once. Reads see what the steps wrote before, as if every write had
// gone to the sheet at once. The branch-protection rule reads the block's cells here too, so
// that its verdicts go to the sheet with the rest.
class BlockCells final : public BranchProtectionCells {
  public:
    explicit BlockCells(Sheet& sheet) : m_sheet(sheet) {}

    void start(RowRange rows) {
        m_rows = rows;
        const std::size_t n =
            rows.empty() ? 0 : static_cast<std::size_t>(rows.last - rows.first + 1);
        if (m_cells.size() < n)
            m_cells.resize(n);
        for (int r = rows.first; r <= rows.last; ++r) {
            WorkRow& w = work(r);
            const std::string_view g = m_sheet.cell(r, col::glyph);
            w.kind = classifyRow(g);
            w.outside = isBlank(g);
            w.written = false;
            for (Cell& c : w.cells) {
                c.written = false;
                c.deferred = false;
                c.read = Read::No;
            }
        }
    }

    const Sheet& sheet() const { return m_sheet; }
    RowRange rows() const { return m_rows; }

    int rowCount() const override { return m_sheet.rowCount(); }
    RowClass rowClass(int row) const override {
        return inBlock(row) ? work(row).kind : classifyRow(m_sheet.cell(row, col::glyph));
    }
    // A row whose tree glyph is blank is no part of the feeder's tree (a blank row inserted into
    // the block, for example); the recalculation leaves it alone.
    bool isOutsideTree(int row) const { return work(row).outside; }

    std::string_view text(int row, int column) const override {
        if (const Cell* c = workCell(row, column); c && c->written)
            return settled(*c).text;
        return m_sheet.cell(row, column);
    }

    // The number in a cell: nothing when it is blank, an error naming the row, the column and
    // the text when it is not a number.
    Expected<std::optional<double>> number(int row, int column) override {
        Cell* c = workCell(row, column);
        if (!c)
            return cellNumber(m_sheet, row, column);
        if (c->read == Read::No) {
            const std::string_view t = text(row, column);
            if (isBlank(t)) {
                c->read = Read::Blank;
            } else if (auto v = readNumber(t)) {
                c->read = Read::Number;
                c->value = *v;
            } else {
                c->read = Read::NotNumber;
            }
        }
        switch (c->read) {
            case Read::Number:
                return std::optional<double>(c->value);
            case Read::NotNumber:
                return cellNumberError(row, column, text(row, column));
            default:
                return std::optional<double>();
        }
    }
    // The number in a cell, a blank cell counting as 0.
    Expected<double> numberOrZero(int row, int column) {
        auto v = number(row, column);
        if (!v)
            return v.error();
        return v->value_or(0.0);
    }

    void write(int row, int column, std::string_view text) {
        Cell* c = workCell(row, column);
        if (!c) {
            m_sheet.setCell(row, column, text);
            return;
        }
        c->text.assign(text);
        c->written = true;
        c->deferred = false;
        c->read = Read::No;
        work(row).written = true;
    }
    // A number with two decimals, as formatTwoDecimals writes it, whose text is made only when
    // it is read or the block is written: a later step usually writes the cell again first.
    void writeTwoDecimalsLater(int row, int column, double x) {
        Cell* c = workCell(row, column);
        if (!c) {
            m_sheet.setCell(row, column, formatTwoDecimals(x));
            return;
        }
        c->written = true;
        c->deferred = true;
        c->read = Read::No;
        c->value = x;
        work(row).written = true;
    }
    // A number written as formatShortest writes it; its value is kept when the text is known to
    // read back as it, so that the steps after do not read the text again.
    void writeShortest(int row, int column, double x) {
        std::optional<double> readBack;
        const std::string text = formatShortest(x, readBack);
        write(row, column, text);
        if (Cell* c = workCell(row, column); c && readBack)
            keep(*c, *readBack);
    }
    // A text whose number the caller has just read from it.
    void writeRead(int row, int column, std::string_view text, double value) {
        write(row, column, text);
        if (Cell* c = workCell(row, column))
            keep(*c, value);
    }

    // Every row with a cell written gets its changed cells in one go; the journal, if one is
    // attached, records each changed cell as setCell would.
    void flush() {
        for (int r = m_rows.first; r <= m_rows.last; ++r) {
            WorkRow& w = work(r);
            if (!w.written)
                continue;
            std::array<Sheet::CellText, kWorkColumnCount> changes;
            std::size_t n = 0;
            for (int i = 0; i < kWorkColumnCount; ++i)
                if (const Cell& c = w.cells[static_cast<std::size_t>(i)]; c.written)
                    changes[n++] = {kWorkColumns[i], settled(c).text};
            m_sheet.setCells(r, std::span<const Sheet::CellText>(changes.data(), n));
            w.written = false;
        }
    }

  private:
    enum class Read : unsigned char { No, Blank, Number, NotNumber };
    struct Cell {
        std::string text;  // what the steps wrote, while `written` and not `deferred`
        bool written = false;
        bool deferred = false;  // `value` is to be written with two decimals
        Read read = Read::No;
        double value = 0.0;  // the number read, or the deferred one
    };
    // The cell with the text of a deferred number made.
    static const Cell& settled(const Cell& c) {
        if (c.deferred) {
            Cell& m = const_cast<Cell&>(c);
            m.text = formatTwoDecimals(c.value);
            m.deferred = false;
        }
        return c;
    }
    struct WorkRow {
        RowClass kind;
        bool outside = false;
        bool written = false;
        std::array<Cell, kWorkColumnCount> cells;
    };

    static void keep(Cell& c, double value) {
        c.read = Read::Number;
        c.value = value;
    }
    bool inBlock(int row) const { return row >= m_rows.first && row <= m_rows.last; }
    WorkRow& work(int row) { return m_cells[static_cast<std::size_t>(row - m_rows.first)]; }
    const WorkRow& work(int row) const {
        return m_cells[static_cast<std::size_t>(row - m_rows.first)];
    }
    const Cell* workCell(int row, int column) const {
        const int slot = kWorkSlot[static_cast<std::size_t>(column)];
        if (slot < 0 || !inBlock(row))
            return nullptr;
        return &work(row).cells[static_cast<std::size_t>(slot)];
    }
    Cell* workCell(int row, int column) {
        return const_cast<Cell*>(std::as_const(*this).workCell(row, column));
    }

    Sheet& m_sheet;
    RowRange m_rows;
    std::vector<WorkRow> m_cells;
};

// Branches of a one-system feeder and of system 2 of a two-system feeder.
bool isOuterBranch(RowClass c) {
    return c.isBranch() && !c.twoSystemForm;
}
// Branches of system 1 when system 2 runs beside it.
bool isInnerBranch(RowClass c) {
    return c.isBranch() && c.twoSystemForm;
}
// The first branch point of a two-system feeder, "┌┌┘".
bool isTwoSystemJunction(RowClass c) {
    return c.kind == RowKind::FirstTrunk && c.twoSystemForm;
}
// System 1's trunk beside system 2, "││".
bool isInnerTrunk(RowClass c) {
    return c.kind == RowKind::Trunk && c.twoSystemForm;
}
// A trunk drawn alone, "│　": a one-system feeder's trunk and every trunk row of system 2.
bool isOuterTrunk(RowClass c) {
    return c.kind == RowKind::Trunk && !c.twoSystemForm;
}

// Two-system blocks are recognised by the first branch point drawn for two systems.
bool hasTwoSystems(const BlockCells& b, int head) {
    return head + 1 < b.sheet().rowCount() && isTwoSystemJunction(b.rowClass(head + 1));
}

// The last row of system 1 directly above the first row of system 2.
bool isSystemBoundary(const Sheet& sheet, int row) {
    return row + 1 < sheet.rowCount() && sheet.cell(row, col::systemNumber) == "1" &&
           sheet.cell(row + 1, col::systemNumber) == "2";
}

// Lengths from the feeder's origin, walked down the block. System 2 of a two-system feeder
// leaves the head directly; system 1 starts at its own first branch point.
class LengthWalk {
  public:
    LengthWalk(BlockCells& cells, bool twoSystems) : m_cells(cells), m_twoSystems(twoSystems) {}

    Status step(int row) {
        const RowClass g = m_cells.rowClass(row);
        if (g.kind == RowKind::Head) {
            if (Status s = take(row, m_feeder, false); !s)
                return s;
            return write(row, m_feeder);
        }
        if (!m_twoSystems) {
            if (g.isTrunk()) {
                if (Status s = take(row, m_trunk1, true); !s)
                    return s;
                return write(row, m_feeder + m_trunk1);
            }
            if (g.isBranch()) {
                if (Status s = take(row, m_branch1, false); !s)
                    return s;
                return write(row, m_feeder + m_trunk1 + m_branch1);
            }
            return success();
        }
        if (isTwoSystemJunction(g)) {
            if (Status s = take(row, m_junction, false); !s)
                return s;
            return write(row, m_feeder + m_junction);
        }
        if (isInnerTrunk(g)) {
            if (Status s = take(row, m_trunk1, true); !s)
                return s;
            return write(row, m_feeder + m_junction + m_trunk1);
        }
        if (isInnerBranch(g)) {
            if (Status s = take(row, m_branch1, false); !s)
                return s;
            return write(row, m_feeder + m_junction + m_trunk1 + m_branch1);
        }
        if (isOuterTrunk(g)) {
            if (Status s = take(row, m_trunk2, true); !s)
                return s;
            return write(row, m_feeder + m_trunk2);
        }
        if (isOuterBranch(g)) {
            if (Status s = take(row, m_branch2, false); !s)
                return s;
            return write(row, m_feeder + m_trunk2 + m_branch2);
        }
        return success();
    }

  private:
    // A row without a length keeps the last one: a branch drawn without its own length is
    // taken as long as the branch above it.
    Status take(int row, double& into, bool add) {
        auto v = m_cells.number(row, col::length);
        if (!v)
            return v.error();
        if (*v)
            into = add ? into + **v : **v;
        return success();
    }
    Status write(int row, double length) {
        m_cells.writeShortest(row, col::cumulativeLength, length);
        return success();
    }

    BlockCells& m_cells;
    bool m_twoSystems;
    double m_feeder = 0.0;    // the feeder up to the first branch point
    double m_junction = 0.0;  // system 1's first trunk piece
    double m_trunk1 = 0.0;
    double m_trunk2 = 0.0;
    double m_branch1 = 0.0;
    double m_branch2 = 0.0;
};

// Trunk currents, walked up the block: each trunk row carries the branches below it, reduced by
// the demand factor for the number of dwellings it supplies where the trunk branches off.
class CurrentWalk {
  public:
    explicit CurrentWalk(BlockCells& cells) : m_cells(cells) {}

    Status step(int row) {
        const RowClass g = m_cells.rowClass(row);
        if (isSystemBoundary(m_cells.sheet(), row)) {
            m_system2 = m_sum;
            m_sum = 0.0;
            m_sinceBoundary = 0;
        }
        const bool head = g.kind == RowKind::Head;
        const bool branch = g.isBranch();
        if (head || branch) {
            ++m_sinceBoundary;
            ++m_all;
        }
        if (isInnerBranch(g))
            ++m_inner;
        if (isOuterBranch(g))
            ++m_outer;

        if ((head || branch) && !isBlank(m_cells.text(row, col::designCurrent))) {
            if (branch) {
                auto v = m_cells.numberOrZero(row, col::designCurrent);
                if (!v)
                    return v.error();
                m_sum += *v;
            } else {
                m_system1 = m_sum;
                m_sum += m_system2;
                m_sinceBoundary = m_all - 1;
            }
            m_factorHere = demandFactor(m_sinceBoundary);
            m_factorOuter = demandFactor(m_outer);
        }
        if (isTwoSystemJunction(g))
            m_factorInner = demandFactor(m_inner);

        if (head)
            return writeHead(row);
        if (g.kind == RowKind::FirstTrunk && !isTwoSystemJunction(g))
            write(row, m_sum * m_factorHere);
        if (isOuterTrunk(g)) {
            // System 2's first trunk row leaves the head directly and carries all of system 2.
            bool system2Start = false;
            if (row > 0) {
                const RowClass above = m_cells.rowClass(row - 1);
                system2Start = isInnerBranch(above) && above.kind == RowKind::LastBranch;
            }
            write(row, system2Start ? m_sum * m_factorOuter : m_sum);
        }
        if (isInnerTrunk(g))
            write(row, m_sum);
        if (isTwoSystemJunction(g))
            write(row, m_sum * m_factorInner);
        return success();
    }

  private:
    void write(int row, double current) {
        m_cells.writeShortest(row, col::designCurrent, roundHalfEven(current));
    }

    Status writeHead(int row) {
        const double demand = roundHalfEven(m_sum * m_factorHere);
        write(row, demand);
        // The main breaker must carry the feeder's demand current; raise it to the next
        // standard rating. No standard breaker goes beyond 1600 A: then it stays as entered.
        if (!isBlank(m_cells.text(row, col::mainBreaker))) {
            auto main = m_cells.numberOrZero(row, col::mainBreaker);
            if (!main)
                return main.error();
            if (*main < demand) {
                const std::string rating = selectRating(demand);
                if (!rating.empty())
                    m_cells.write(row, col::mainBreaker, rating);
            }
        }
        if (hasTwoSystems(m_cells, row))
            write(row, (m_system1 * m_factorInner + m_system2) * m_factorHere);
        return success();
    }

    BlockCells& m_cells;
    double m_sum = 0.0;
    double m_system1 = 0.0;   // system 1's sum when the head is reached
    double m_system2 = 0.0;   // system 2's sum, saved at the boundary between the systems
    int m_sinceBoundary = 0;  // branch rows since the last boundary, plus the head row
    int m_all = 0;            // all branch rows, plus the head row
    int m_inner = 0;          // branch rows of system 1 beside system 2
    int m_outer = 0;          // branch rows of a one-system feeder or of system 2
    double m_factorHere = 1.0;
    double m_factorInner = 1.0;
    double m_factorOuter = 1.0;
};

Status designCurrents(BlockCells& b) {
    const RowRange rows = b.rows();
    double sum = 0.0;
    bool sumRow = true;
    for (int r = rows.last; r >= rows.first; --r) {
        if (b.isOutsideTree(r))
            continue;
        const RowClass g = b.rowClass(r);
        // A row of an unknown kind is taken as the kind of the row below it.
        if (g.isSumRow())
            sumRow = true;
        if (g.isBranch())
            sumRow = false;
        if (sumRow) {
            b.writeShortest(r, col::designCurrent, sum);
        } else {
            auto v = b.numberOrZero(r, col::designCurrent);
            if (!v)
                return v.error();
            sum += *v;
        }
    }
    return success();
}

Status singleDrops(BlockCells& b) {
    const RowRange rows = b.rows();
    if (rows.empty())
        return success();
    const double k = dropCoefficient(b.sheet().cell(rows.first, col::system));
    for (int r = rows.first; r <= rows.last; ++r) {
        if (b.isOutsideTree(r))
            continue;
        if (isBlank(b.text(r, col::designCurrent)) || isBlank(b.text(r, col::length)) ||
            isBlank(b.text(r, col::impedance)))
            continue;
        auto current = b.numberOrZero(r, col::designCurrent);
        if (!current)
            return current.error();
        auto length = b.numberOrZero(r, col::length);
        if (!length)
            return length.error();
        auto z = b.numberOrZero(r, col::impedance);
        if (!z)
            return z.error();
        b.writeTwoDecimalsLater(r, col::singleDrop, voltageDrop(k, *current, *length, *z));
    }
    return success();
}

Status lengthsCurrentsAndDrops(BlockCells& b, const SupplyChoice& supply) {
    const RowRange rows = b.rows();
    if (rows.empty())
        return success();
    // The typed percentage is the same for every row; a text that is no number stops the step
    // before it writes anything.
    const auto typedFraction = allowableDropFraction(supply, 0.0);
    if (!typedFraction)
        return typedFraction.error();
    const std::string_view system = b.sheet().cell(rows.first, col::system);
    const double k = dropCoefficient(system);
    const double baseVoltage = systemBaseVoltage(system);

    // Lengths go down the block and currents up it, in one pass: a failure leaves the rows
    // reached from both ends done.
    LengthWalk lengths(b, hasTwoSystems(b, rows.first));
    CurrentWalk currents(b);
    for (int i = 0; i <= rows.last - rows.first; ++i) {
        if (!b.isOutsideTree(rows.first + i))
            if (Status s = lengths.step(rows.first + i); !s)
                return s;
        if (!b.isOutsideTree(rows.last - i))
            if (Status s = currents.step(rows.last - i); !s)
                return s;
    }

    // Drops, down the block. The trunk's drop accumulates; a branch adds its own to the trunk's
    // drop at its branch point. System 2 leaves the head, so its trunk starts again from the
    // feeder's own drop.
    double trunkDrop = 0.0;
    for (int r = rows.first; r <= rows.last; ++r) {
        if (b.isOutsideTree(r))
            continue;
        const RowClass g = b.rowClass(r);
        auto length = b.numberOrZero(r, col::length);
        if (!length)
            return length.error();
        auto current = b.numberOrZero(r, col::designCurrent);
        if (!current)
            return current.error();
        auto z = b.numberOrZero(r, col::impedance);
        if (!z)
            return z.error();
        // The sums are made of the drops as the sheet shows them, two decimals.
        std::optional<double> dropRead;
        const std::string dropText =
            formatTwoDecimals(voltageDrop(k, *current, *length, *z), dropRead);
        const double drop = dropRead.value_or(0.0);
        if (dropRead)
            b.writeRead(r, col::singleDrop, dropText, drop);
        else
            b.write(r, col::singleDrop, dropText);

        if (g.isSumRow())
            trunkDrop += drop;
        if (g.isBranch())
            b.writeShortest(r, col::summedDrop, trunkDrop + drop);

        auto distance = b.numberOrZero(r, col::cumulativeLength);
        if (!distance)
            return distance.error();
        const double fraction = supply.kind == SupplyKind::Typed
                                    ? *typedFraction
                                    : allowableDropFraction(supply.kind, *distance);
        b.writeShortest(r, col::allowableDrop, allowableDrop(baseVoltage, fraction));

        if (isSystemBoundary(b.sheet(), r)) {
            auto headDrop = b.number(rows.first, col::singleDrop);
            if (!headDrop)
                return headDrop.error();
            if (*headDrop)
                trunkDrop = **headDrop;
        }

        // The mark is cleared first: a row stopped by a cell below keeps it cleared.
        b.write(r, col::mark, std::string_view());
        auto summed = b.number(r, col::summedDrop);
        if (!summed)
            return summed.error();
        auto allowed = b.number(r, col::allowableDrop);
        if (!allowed)
            return allowed.error();
        if (*summed && *allowed && **summed > **allowed)
            b.write(r, col::mark, "over");
    }
    return success();
}

// The three steps of a residential block and then the branch-protection rule, on one set of
// block cells, written to the sheet when they end, whether they succeed or stop. A block whose
// first row is a single feeder has nothing to recalculate: the rule reads the sheet itself.
Status recalculateAndJudge(Sheet& sheet, BlockCells& b, int s1, int e1,
                           const SupplyChoice& supply) {
    const RowRange rows = treeRows(sheet, s1, e1);
    if (rows.empty())
        return checkBranchProtection(sheet, s1, e1);
    b.start(rows);
    Status st = designCurrents(b);
    if (st)
        st = singleDrops(b);
    if (st)
        st = lengthsCurrentsAndDrops(b, supply);
    if (st) {
        // Rows judged before a cell that stops the rule keep their new verdicts.
        const BranchProtectionResult judged = evaluateBranchProtection(b, s1, e1);
        for (const BranchProtectionVerdict& v : judged.verdicts)
            b.write(v.row, col::verdict, v.verdict);
        st = judged.status;
    }
    b.flush();
    return st;
}

// One step on the block's cells, written to the sheet when it ends, whether it succeeds or stops.
template <class Step>
Status runStep(Sheet& sheet, int s1, int e1, Step step) {
    BlockCells b(sheet);
    b.start(treeRows(sheet, s1, e1));
    const Status st = step(b);
    b.flush();
    return st;
}

// The blocks in the order given, each as recalculateSheet treats it; the first that stops ends
// the run.
Status recalculateBlocks(Sheet& sheet, std::span<const FeederBlock> blocks,
                         const SupplyChoice& supply) {
    // One set of block cells for every block, so that its texts keep their storage.
    BlockCells b(sheet);
    for (const FeederBlock& block : blocks) {
        const bool tree = rowKind(sheet.cell(block.headRow, col::glyph)) == RowKind::Head;
        const Status s = tree
                             ? recalculateAndJudge(sheet, b, block.range.s1, block.range.e1, supply)
                             : checkBranchProtection(sheet, block.range.s1, block.range.e1);
        if (!s)
            return s;
    }
    return success();
}

// A run of consecutive blocks and the rows firstRow..endRow-1 that hold them: the parts of a
// sheet recalculated side by side.
struct SheetPart {
    int firstBlock = 0;
    int endBlock = 0;
    int firstRow = 0;
    int endRow = 0;
};

// A block reads at most two rows above its first row: the glyph of the row above a trunk, and
// for the 8 m rule of a trunk row among its first two the size key and the cumulative length
// of the piece before it, which the block above may just have recalculated. A cut is made only
// above a block that cannot read that length: one headed by a row of no trunk, with no further
// trunk row right below it.
constexpr int kRowsReadAbove = 2;

bool readsAboveItself(const Sheet& sheet, const BlockRange& range) {
    const auto kindAt = [&sheet](int row) {
        return row >= 0 && row < sheet.rowCount() ? classifyRow(sheet.cell(row, col::glyph))
                                                  : RowClass{};
    };
    return kindAt(range.s1).isTrunk() ||
           (range.s1 + 1 <= range.e1 && kindAt(range.s1 + 1).kind == RowKind::Trunk);
}

// The sheet cut into parts between blocks, one per processor for a sheet large enough; a cut
// goes only where the blocks above it touch no row at or below it, and the blocks below it read
// nothing above it that a recalculation writes. One part when no such cut is found, and
// whenever a journal records the changes, which must come in the order they were made.
std::vector<SheetPart> divideSheet(const Sheet& sheet, const std::vector<FeederBlock>& blocks,
                                   SheetThreads threads) {
    const int rows = sheet.rowCount();
    const std::size_t n = blocks.size();
    int wanted = threads.parts;
    if (wanted <= 0)
        wanted = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    const int minRows = std::max(threads.minRowsPerPart, 1);
    wanted = std::min(wanted, rows / minRows);
    if (wanted < 2 || sheet.journal() || n < 2)
        return {SheetPart{0, static_cast<int>(n), 0, rows}};

    // Below each block, the highest row the blocks above it touch; from each block on, the
    // lowest row those blocks read.
    std::vector<int> highestAbove(n + 1, -1);
    std::vector<int> lowestFrom(n + 1, rows);
    for (std::size_t i = 0; i < n; ++i) {
        const FeederBlock& b = blocks[i];
        highestAbove[i + 1] = std::max({highestAbove[i], b.headRow, b.range.s1, b.range.e1});
    }
    for (std::size_t i = n; i-- > 0;) {
        const FeederBlock& b = blocks[i];
        const int lowest = std::min({b.headRow, b.range.s1, b.range.e1}) -
                           (readsAboveItself(sheet, b.range) ? kRowsReadAbove : 0);
        lowestFrom[i] = std::min(lowestFrom[i + 1], lowest);
    }

    std::vector<SheetPart> parts;
    // Every part but the first copies its rows before it starts, which costs about a third of
    // recalculating them: the first part is given that much more.
    constexpr double kCopyCost = 0.3;
    const double share = rows / (wanted + kCopyCost);
    SheetPart current{0, 0, 0, 0};
    std::size_t m = 1;
    for (int j = 1; j < wanted; ++j) {
        const double aim = share * (j + kCopyCost);
        for (; m < n; ++m) {
            const int cut = blocks[m].range.s1;
            if (cut >= aim && cut - current.firstRow >= minRows && highestAbove[m] < cut &&
                lowestFrom[m] >= cut)
                break;
        }
        if (m >= n || rows - blocks[m].range.s1 < minRows)
            break;
        current.endBlock = static_cast<int>(m);
        current.endRow = blocks[m].range.s1;
        parts.push_back(current);
        current = SheetPart{static_cast<int>(m), 0, blocks[m].range.s1, 0};
        ++m;
    }
    current.endBlock = static_cast<int>(n);
    current.endRow = rows;
    parts.push_back(current);
    return parts;
}

// Runs work(0) .. work(n-1) at once: the first on the calling thread, each other on a thread of
// its own, or after the first where no thread can be started. Returns when all have ended; an
// exception thrown by one is thrown again then.
void runSideBySide(int n, const std::function<void(int)>& work) {
    std::vector<std::exception_ptr> thrown(static_cast<std::size_t>(n));
    const auto run = [&](int i) {
        try {
            work(i);
        } catch (...) {
            thrown[static_cast<std::size_t>(i)] = std::current_exception();
        }
    };
    std::vector<std::thread> started;
    std::vector<int> here{0};
    started.reserve(static_cast<std::size_t>(n));
    here.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i < n; ++i) {
        try {
            started.emplace_back(run, i);
        } catch (const std::system_error&) {
            here.push_back(i);
        }
    }
    for (int i : here)
        run(i);
    for (std::thread& t : started)
        t.join();
    for (const std::exception_ptr& e : thrown)
        if (e)
            std::rethrow_exception(e);
}

}  // namespace

Status recalculateDesignCurrents(Sheet& sheet, int s1, int e1) {
    return runStep(sheet, s1, e1, [](BlockCells& b) { return designCurrents(b); });
}

Status computeSingleDrops(Sheet& sheet, int s1, int e1) {
    return runStep(sheet, s1, e1, [](BlockCells& b) { return singleDrops(b); });
}

Status sumLengthsCurrentsAndDrops(Sheet& sheet, int s1, int e1, const SupplyChoice& supply) {
    return runStep(sheet, s1, e1,
                   [&supply](BlockCells& b) { return lengthsCurrentsAndDrops(b, supply); });
}

Status recalculateBlock(Sheet& sheet, int s1, int e1, const SupplyChoice& supply) {
    BlockCells b(sheet);
    return recalculateAndJudge(sheet, b, s1, e1, supply);
}

Status recalculateSheet(Sheet& sheet, const SupplyChoice& supply, SheetThreads threads) {
    const std::vector<FeederBlock> blocks = feederBlocks(sheet);
    const std::vector<SheetPart> parts = divideSheet(sheet, blocks, threads);
    if (parts.size() < 2) {
        if (Status s = recalculateBlocks(sheet, blocks, supply); !s)
            return s;
        applyCellChecks(sheet, 0, sheet.rowCount() - 1);
        return success();
    }

    // The first part is recalculated on the sheet itself, every other on a sheet of its own
    // holding copies of its rows and of the rows next to them, which it reads only in columns
    // no recalculation writes; so the parts run side by side and end as one after another
    // would. The rows above a part are copied before the part above starts changing them.
    const int n = static_cast<int>(parts.size());
    std::vector<std::optional<Sheet>> own(parts.size());
    for (std::size_t i = 1; i < parts.size(); ++i)
        own[i]
            .emplace(sheet.rowCount())
            .copyRowsFrom(sheet, parts[i].firstRow - kRowsReadAbove, parts[i].firstRow);
    std::vector<Status> outcome(parts.size(), success());
    runSideBySide(n, [&](int i) {
        const SheetPart& part = parts[static_cast<std::size_t>(i)];
        Sheet* target = &sheet;
        if (i > 0) {
            target = &*own[static_cast<std::size_t>(i)];
            target->copyRowsFrom(sheet, part.firstRow, part.endRow + 1);
        }
        outcome[static_cast<std::size_t>(i)] = recalculateBlocks(
            *target, std::span(blocks).subspan(part.firstBlock, part.endBlock - part.firstBlock),
            supply);
    });

    // The rows of every part up to the first that stopped go into the sheet; the parts after
    // it are dropped, so that the sheet shows no sign of them.
    for (int i = 0; i < n; ++i) {
        const SheetPart& part = parts[static_cast<std::size_t>(i)];
        if (i > 0)
            sheet.swapRowsWith(*own[static_cast<std::size_t>(i)], part.firstRow, part.endRow);
        if (!outcome[static_cast<std::size_t>(i)])
            return outcome[static_cast<std::size_t>(i)];
    }
    runSideBySide(n, [&](int i) {
        const SheetPart& part = parts[static_cast<std::size_t>(i)];
        applyCellChecks(sheet, part.firstRow, part.endRow - 1);
        own[static_cast<std::size_t>(i)].reset();  // the rows replaced are freed here too
    });
    return success();
}

}  // namespace wirelark
