#include "recalculation.h"

#include <optional>

#include "checks.h"
#include "row_kind.h"
#include "tree_editing.h"

namespace wirelark {

namespace {

bool isHead(std::string_view g) {
    return rowKind(g) == RowKind::Head;
}
bool isFirstTrunk(std::string_view g) {
    return rowKind(g) == RowKind::FirstTrunk;
}
bool isTrunk(std::string_view g) {
    return rowKind(g) == RowKind::Trunk;
}
// Branches of a one-system feeder and of system 2 of a two-system feeder.
bool isOuterBranch(std::string_view g) {
    const RowClass c = classifyRow(g);
    return c.isBranch() && !c.twoSystemForm;
}
// Branches of system 1 when system 2 runs beside it.
bool isInnerBranch(std::string_view g) {
    const RowClass c = classifyRow(g);
    return c.isBranch() && c.twoSystemForm;
}
bool isBranch(std::string_view g) {
    return classifyRow(g).isBranch();
}
// Rows that carry the current of everything below them.
bool isSumRow(std::string_view g) {
    return classifyRow(g).isSumRow();
}
// The first branch point of a two-system feeder, "┌┌┘".
bool isTwoSystemJunction(std::string_view g) {
    const RowClass c = classifyRow(g);
    return c.kind == RowKind::FirstTrunk && c.twoSystemForm;
}
// System 1's trunk beside system 2, "││".
bool isInnerTrunk(std::string_view g) {
    const RowClass c = classifyRow(g);
    return c.kind == RowKind::Trunk && c.twoSystemForm;
}
// A trunk drawn alone, "│　": a one-system feeder's trunk and every trunk row of system 2.
bool isOuterTrunk(std::string_view g) {
    const RowClass c = classifyRow(g);
    return c.kind == RowKind::Trunk && !c.twoSystemForm;
}

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

// A row whose tree glyph is blank is no part of the feeder's tree (a blank row inserted into
// the block, for example); the recalculation leaves it alone.
bool isOutsideTree(const Sheet& sheet, int row) {
    return isBlank(sheet.cell(row, col::glyph));
}

// The number in a cell, a blank cell counting as 0.
Expected<double> numberOrZero(const Sheet& sheet, int row, int column) {
    auto v = cellNumber(sheet, row, column);
    if (!v)
        return v.error();
    return v->value_or(0.0);
}

// Two-system blocks are recognised by the first branch point drawn for two systems.
bool hasTwoSystems(const Sheet& sheet, int head) {
    return head + 1 < sheet.rowCount() && isTwoSystemJunction(sheet.cell(head + 1, col::glyph));
}

// The last row of system 1 directly above the first row of system 2.
bool isSystemBoundary(const Sheet& sheet, int row) {
    return row + 1 < sheet.rowCount() && sheet.cell(row, col::systemNumber) == "1" &&
           sheet.cell(row + 1, col::systemNumber) == "2";
}

std::string wholeNumberText(double x) {
    return formatShortest(roundHalfEven(x));
}

// Lengths from the feeder's origin, walked down the block. System 2 of a two-system feeder
// leaves the head directly; system 1 starts at its own first branch point.
class LengthWalk {
  public:
    LengthWalk(Sheet& sheet, bool twoSystems) : m_sheet(sheet), m_twoSystems(twoSystems) {}

    Status step(int row) {
        const std::string g = std::string(m_sheet.cell(row, col::glyph));
        if (isHead(g)) {
            if (Status s = take(row, m_feeder, false); !s)
                return s;
            return write(row, m_feeder);
        }
        if (!m_twoSystems) {
            if (isFirstTrunk(g) || isTrunk(g)) {
                if (Status s = take(row, m_trunk1, true); !s)
                    return s;
                return write(row, m_feeder + m_trunk1);
            }
            if (isBranch(g)) {
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
        auto v = cellNumber(m_sheet, row, col::length);
        if (!v)
            return v.error();
        if (*v)
            into = add ? into + **v : **v;
        return success();
    }
    Status write(int row, double length) {
        m_sheet.setCell(row, col::cumulativeLength, formatShortest(length));
        return success();
    }

    Sheet& m_sheet;
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
    explicit CurrentWalk(Sheet& sheet) : m_sheet(sheet) {}

    Status step(int row) {
        const std::string g = std::string(m_sheet.cell(row, col::glyph));
        if (isSystemBoundary(m_sheet, row)) {
            m_system2 = m_sum;
            m_sum = 0.0;
            m_sinceBoundary = 0;
        }
        const bool head = isHead(g);
        const bool branch = isBranch(g);
        if (head || branch) {
            ++m_sinceBoundary;
            ++m_all;
        }
        if (isInnerBranch(g))
            ++m_inner;
        if (isOuterBranch(g))
            ++m_outer;

        if ((head || branch) && !isBlank(m_sheet.cell(row, col::designCurrent))) {
            if (branch) {
                auto v = numberOrZero(m_sheet, row, col::designCurrent);
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
        if (isFirstTrunk(g) && !isTwoSystemJunction(g))
            write(row, m_sum * m_factorHere);
        if (isOuterTrunk(g)) {
            // System 2's first trunk row leaves the head directly and carries all of system 2.
            const bool system2Start =
                row > 0 && isInnerBranch(m_sheet.cell(row - 1, col::glyph)) &&
                rowKind(m_sheet.cell(row - 1, col::glyph)) == RowKind::LastBranch;
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
        m_sheet.setCell(row, col::designCurrent, wholeNumberText(current));
    }

    Status writeHead(int row) {
        const double demand = roundHalfEven(m_sum * m_factorHere);
        write(row, demand);
        // The main breaker must carry the feeder's demand current; raise it to the next
        // standard rating. No standard breaker goes beyond 1600 A: then it stays as entered.
        if (!isBlank(m_sheet.cell(row, col::mainBreaker))) {
            auto main = numberOrZero(m_sheet, row, col::mainBreaker);
            if (!main)
                return main.error();
            if (*main < demand) {
                std::string rating = selectRating(demand);
                if (!rating.empty())
                    m_sheet.setCell(row, col::mainBreaker, std::move(rating));
            }
        }
        if (hasTwoSystems(m_sheet, row))
            write(row, (m_system1 * m_factorInner + m_system2) * m_factorHere);
        return success();
    }

    Sheet& m_sheet;
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

}  // namespace

Status recalculateDesignCurrents(Sheet& sheet, int s1, int e1) {
    const RowRange rows = treeRows(sheet, s1, e1);
    double sum = 0.0;
    bool sumRow = true;
    for (int r = rows.last; r >= rows.first; --r) {
        if (isOutsideTree(sheet, r))
            continue;
        const std::string_view g = sheet.cell(r, col::glyph);
        // A row of an unknown kind is taken as the kind of the row below it.
        if (isSumRow(g))
            sumRow = true;
        if (isBranch(g))
            sumRow = false;
        if (sumRow) {
            sheet.setCell(r, col::designCurrent, formatShortest(sum));
        } else {
            auto v = numberOrZero(sheet, r, col::designCurrent);
            if (!v)
                return v.error();
            sum += *v;
        }
    }
    return success();
}

Status computeSingleDrops(Sheet& sheet, int s1, int e1) {
    const RowRange rows = treeRows(sheet, s1, e1);
    if (rows.empty())
        return success();
    const double k = dropCoefficient(sheet.cell(rows.first, col::system));
    for (int r = rows.first; r <= rows.last; ++r) {
        if (isOutsideTree(sheet, r))
            continue;
        if (isBlank(sheet.cell(r, col::designCurrent)) || isBlank(sheet.cell(r, col::length)) ||
            isBlank(sheet.cell(r, col::impedance)))
            continue;
        auto current = numberOrZero(sheet, r, col::designCurrent);
        if (!current)
            return current.error();
        auto length = numberOrZero(sheet, r, col::length);
        if (!length)
            return length.error();
        auto z = numberOrZero(sheet, r, col::impedance);
        if (!z)
            return z.error();
        sheet.setCell(r, col::singleDrop, formatTwoDecimals(voltageDrop(k, *current, *length, *z)));
    }
    return success();
}

Status sumLengthsCurrentsAndDrops(Sheet& sheet, int s1, int e1, const SupplyChoice& supply) {
    const RowRange rows = treeRows(sheet, s1, e1);
    if (rows.empty())
        return success();
    // The typed percentage is the same for every row; a text that is no number stops the step
    // before it writes anything.
    const auto typedFraction = allowableDropFraction(supply, 0.0);
    if (!typedFraction)
        return typedFraction.error();
    const std::string system = std::string(sheet.cell(rows.first, col::system));
    const double k = dropCoefficient(system);
    const double baseVoltage = systemBaseVoltage(system);

    // Lengths go down the block and currents up it, in one pass: a failure leaves the rows
    // reached from both ends done.
    LengthWalk lengths(sheet, hasTwoSystems(sheet, rows.first));
    CurrentWalk currents(sheet);
    for (int i = 0; i <= rows.last - rows.first; ++i) {
        if (!isOutsideTree(sheet, rows.first + i))
            if (Status s = lengths.step(rows.first + i); !s)
                return s;
        if (!isOutsideTree(sheet, rows.last - i))
            if (Status s = currents.step(rows.last - i); !s)
                return s;
    }

    // Drops, down the block. The trunk's drop accumulates; a branch adds its own to the trunk's
    // drop at its branch point. System 2 leaves the head, so its trunk starts again from the
    // feeder's own drop.
    double trunkDrop = 0.0;
    for (int r = rows.first; r <= rows.last; ++r) {
        if (isOutsideTree(sheet, r))
            continue;
        const std::string g = std::string(sheet.cell(r, col::glyph));
        auto length = numberOrZero(sheet, r, col::length);
        if (!length)
            return length.error();
        auto current = numberOrZero(sheet, r, col::designCurrent);
        if (!current)
            return current.error();
        auto z = numberOrZero(sheet, r, col::impedance);
        if (!z)
            return z.error();
        // The sums are made of the drops as the sheet shows them, two decimals.
        const std::string dropText = formatTwoDecimals(voltageDrop(k, *current, *length, *z));
        const double drop = readNumber(dropText).valueOr(0.0);
        sheet.setCell(r, col::singleDrop, dropText);

        if (isSumRow(g))
            trunkDrop += drop;
        if (isBranch(g))
            sheet.setCell(r, col::summedDrop, formatShortest(trunkDrop + drop));

        auto distance = numberOrZero(sheet, r, col::cumulativeLength);
        if (!distance)
            return distance.error();
        const double fraction = supply.kind == SupplyKind::Typed
                                    ? *typedFraction
                                    : allowableDropFraction(supply.kind, *distance);
        sheet.setCell(r, col::allowableDrop, formatShortest(allowableDrop(baseVoltage, fraction)));

        if (isSystemBoundary(sheet, r)) {
            auto headDrop = cellNumber(sheet, rows.first, col::singleDrop);
            if (!headDrop)
                return headDrop.error();
            if (*headDrop)
                trunkDrop = **headDrop;
        }

        sheet.setCell(r, col::mark, std::string());
        auto summed = cellNumber(sheet, r, col::summedDrop);
        if (!summed)
            return summed.error();
        auto allowed = cellNumber(sheet, r, col::allowableDrop);
        if (!allowed)
            return allowed.error();
        if (*summed && *allowed && **summed > **allowed)
            sheet.setCell(r, col::mark, "over");
    }
    return success();
}

Status recalculateBlock(Sheet& sheet, int s1, int e1, const SupplyChoice& supply) {
    if (Status s = recalculateDesignCurrents(sheet, s1, e1); !s)
        return s;
    if (Status s = computeSingleDrops(sheet, s1, e1); !s)
        return s;
    if (Status s = sumLengthsCurrentsAndDrops(sheet, s1, e1, supply); !s)
        return s;
    return checkBranchProtection(sheet, s1, e1);
}

Status recalculateSheet(Sheet& sheet, const SupplyChoice& supply) {
    for (const FeederBlock& block : feederBlocks(sheet)) {
        const Status st = isHead(sheet.cell(block.headRow, col::glyph))
                              ? recalculateBlock(sheet, block.range.s1, block.range.e1, supply)
                              : checkBranchProtection(sheet, block.range.s1, block.range.e1);
        if (!st)
            return st;
    }
    applyCellChecks(sheet, 0, sheet.rowCount() - 1);
    return success();
}

}  // namespace wirelark
