#include "checks.h"

#include <algorithm>
#include <optional>

#include "number_text.h"
#include "row_kind.h"
#include "tree_editing.h"

namespace wirelark {

namespace {

// Where a tap first enters the 35 % zone, the 8 m it may run are counted from the end of the
// piece before it, provided that piece is the same cable (the same size key). The piece before
// a first trunk row is the feeder itself; before a further trunk row it is the previous trunk
// row, two rows up, past the branch between them.
Expected<std::optional<double>> eightMetreLimit(BranchProtectionCells& cells, int row, RowKind c) {
    const int before = c == RowKind::FirstTrunk ? row - 1 : row - 2;
    if (before < 0 || cells.text(before, col::sizeKey) != cells.text(row, col::sizeKey))
        return std::optional<double>();
    auto start = cells.number(before, col::cumulativeLength);
    if (!start)
        return start.error();
    if (!*start)
        return std::optional<double>();
    return std::optional<double>(**start + 8.0);
}

// The sheet as the branch-protection rule reads it.
class SheetCells final : public BranchProtectionCells {
  public:
    explicit SheetCells(const Sheet& sheet) : m_sheet(sheet) {}
    int rowCount() const override { return m_sheet.rowCount(); }
    RowClass rowClass(int row) const override { return classifyRow(m_sheet.cell(row, col::glyph)); }
    std::string_view text(int row, int column) const override { return m_sheet.cell(row, column); }
    Expected<std::optional<double>> number(int row, int column) override {
        return cellNumber(m_sheet, row, column);
    }

  private:
    const Sheet& m_sheet;
};

// A cell the cell checks compare: its number, read once however many comparisons use it;
// nothing when it is blank or not a number, so that a check on such a cell is skipped.
class ComparedCell {
  public:
    explicit ComparedCell(std::string_view text) : m_text(text) {}
    std::optional<double> number() {
        if (!m_read) {
            m_read = true;
            if (!isBlank(m_text))
                if (auto v = readNumber(m_text))
                    m_value = *v;
        }
        return m_value;
    }

  private:
    std::string_view m_text;
    bool m_read = false;
    std::optional<double> m_value;
};

// a < b for two cells that both hold numbers.
bool cellLess(ComparedCell& a, ComparedCell& b) {
    const std::optional<double> x = a.number();
    if (!x)
        return false;
    const std::optional<double> y = b.number();
    return y && *x < *y;
}

// The cell checks of one row, left to right (checks.h, applyCellChecks); the failed
// comparisons are collected only where they are asked for, since the grid's pass over every
// row needs the verdict and the red columns alone.
template <bool kCollectFailures>
CellCheckOutcome runCellChecks(const Sheet& sheet, int row) {
    CellCheckOutcome out;
    ComparedCell breaker(sheet.cell(row, col::breaker));
    ComparedCell mainBreaker(sheet.cell(row, col::mainBreaker));
    ComparedCell designCurrent(sheet.cell(row, col::designCurrent));
    ComparedCell singleDrop(sheet.cell(row, col::singleDrop));
    ComparedCell summedDrop(sheet.cell(row, col::summedDrop));
    ComparedCell allowableDrop(sheet.cell(row, col::allowableDrop));
    // The verdict as it stands while the row is drawn from left to right.
    out.verdict = sheet.cell(row, col::verdict);
    auto fail = [&out](int column, int comparedTo, std::string_view v) {
        out.red.set(static_cast<std::size_t>(column));
        out.verdict = v;
        if constexpr (kCollectFailures)
            out.failed.push_back({column, comparedTo, v});
    };
    if (cellLess(breaker, mainBreaker))
        fail(col::breaker, col::mainBreaker, verdict::breakerBelowMain);
    if (out.verdict == verdict::bareFailure || out.verdict == verdict::from35Beyond8m ||
        out.verdict == verdict::trunkBeyond8m)
        out.red.set(col::length);
    if (cellLess(mainBreaker, designCurrent))
        fail(col::mainBreaker, col::designCurrent, verdict::mainBelowDesign);
    if (out.verdict == verdict::bareFailure || out.verdict == verdict::below35)
        out.red.set(col::cable);
    if (cellLess(allowableDrop, singleDrop))
        fail(col::singleDrop, col::allowableDrop, verdict::dropTooLarge);
    if (cellLess(allowableDrop, summedDrop))
        fail(col::summedDrop, col::allowableDrop, verdict::dropTooLarge);
    if (isFailingVerdict(out.verdict))
        out.red.set(col::verdict);
    return out;
}

std::string nameFrame(std::string_view name) {
    if (isBlank(name))
        return {};
    return "   幹線名【 " + std::string(name) + " 】　";
}

std::string findingTail(std::string_view nameFramed, std::string_view loadName) {
    return std::string(nameFramed) + "   負荷名称【 " + std::string(loadName) + " 】" +
           "　※確認してください。";
}

}  // namespace

BranchProtectionResult evaluateBranchProtection(const Sheet& sheet, int s1, int e1) {
    SheetCells cells(sheet);
    return evaluateBranchProtection(cells, s1, e1);
}

BranchProtectionResult evaluateBranchProtection(BranchProtectionCells& sheet, int s1, int e1) {
    BranchProtectionResult result;
    const int first = std::max(s1, 0);
    const int last = std::min(e1, sheet.rowCount() - 1);
    if (last < first)
        return result;
    auto fail = [&result](Error e) {
        result.status = std::move(e);
        return std::move(result);
    };

    auto breaker = sheet.number(first, col::breaker);
    if (!breaker)
        return fail(breaker.error());
    auto feederCable = sheet.number(first, col::allowableCurrent);
    if (!feederCable)
        return fail(feederCable.error());
    double protection = breaker->value_or(0.0);
    int protectionRow = first;
    const double feederAllowable = feederCable->value_or(0.0);

    result.verdicts.reserve(static_cast<std::size_t>(last - first + 1));
    std::optional<double> limit8m;
    double length = 0.0;
    double allowable = 0.0;
    for (int q = first; q <= last; ++q) {
        const RowClass rc = sheet.rowClass(q);
        const RowKind c = rc.kind;
        auto ownLength = sheet.number(q, col::length);
        if (!ownLength)
            return fail(ownLength.error());
        if (*ownLength)
            length = **ownLength;
        auto ownAllowable = sheet.number(q, col::allowableCurrent);
        if (!ownAllowable)
            return fail(ownAllowable.error());
        if (*ownAllowable)
            allowable = **ownAllowable;

        BranchProtectionVerdict v;
        v.row = q;
        v.allowable = allowable;
        v.allowableFromAbove = !*ownAllowable;
        v.protection = protection;
        v.protectionRow = protectionRow;
        v.feederAllowable = feederAllowable;
        v.reference = std::min(protection, feederAllowable);
        v.a55 = roundHalfEven(v.reference * 0.55);
        v.a35 = roundHalfEven(v.reference * 0.35);
        v.length = length;

        // A breaker where the trunk is tapped protects what follows it.
        if ((c == RowKind::FirstTrunk && rc.twoSystemForm) ||
            (c == RowKind::Trunk && !rc.twoSystemForm)) {
            auto tap = sheet.number(q, col::mainBreaker);
            if (!tap)
                return fail(tap.error());
            if (*tap) {
                protection = **tap;
                protectionRow = q;
            }
        }

        if (!*ownLength)
            continue;  // a row without a length keeps its verdict
        bool zone35 = false;
        if (allowable < v.a35)
            v.verdict = verdict::below35;
        if (v.a35 <= allowable && allowable < v.a55) {
            zone35 = true;
            v.verdict = length <= 8.0 ? verdict::from35Within8m : verdict::from35Beyond8m;
        }
        if (allowable >= v.a55)
            v.verdict = verdict::from55;
        if (rc.isBranch() && length <= 3.0)
            v.verdict = verdict::branchWithin3m;
        if (rc.isTrunk() && zone35) {
            if (!limit8m) {
                auto l = eightMetreLimit(sheet, q, c);
                if (!l)
                    return fail(l.error());
                limit8m = *l;
            }
            if (limit8m) {
                auto reach = sheet.number(q, col::cumulativeLength);
                if (!reach)
                    return fail(reach.error());
                v.limit8m = limit8m;
                v.reach = *reach;
                if (*reach && **reach > *limit8m)
                    v.verdict = verdict::trunkBeyond8m;
            }
        }
        result.verdicts.push_back(v);
    }
    return result;
}

Status checkBranchProtection(Sheet& sheet, int s1, int e1) {
    // Rows judged before a cell that stops the check keep their new verdicts.
    BranchProtectionResult judged = evaluateBranchProtection(sheet, s1, e1);
    for (const BranchProtectionVerdict& v : judged.verdicts)
        sheet.setCell(v.row, col::verdict, v.verdict);
    return judged.status;
}

CellMarks::Columns CellMarks::redColumns(int row) const {
    const int i = row - m_firstRow;
    if (i < 0 || i >= rowCount())
        return {};
    return m_rows[static_cast<std::size_t>(i)];
}

bool CellMarks::isRed(int row, int column) const {
    if (column < 0 || column >= kColumnCount)
        return false;
    return redColumns(row).test(static_cast<std::size_t>(column));
}

CellCheckOutcome evaluateCellChecks(const Sheet& sheet, int row) {
    return runCellChecks<true>(sheet, row);
}

CellMarks applyCellChecks(Sheet& sheet, int firstRow, int lastRow) {
    const int first = std::max(firstRow, 0);
    const int last = std::min(lastRow, sheet.rowCount() - 1);
    if (last < first)
        return CellMarks(first, {});
    std::vector<CellMarks::Columns> marks(static_cast<std::size_t>(last - first + 1));

    const Sheet& read = sheet;
    for (int r = first; r <= last; ++r) {
        // The verdict is either the one the row holds, which is no write, or one of the
        // constant texts, which no write to the row moves.
        const CellCheckOutcome out = runCellChecks<false>(read, r);
        marks[static_cast<std::size_t>(r - first)] = out.red;
        sheet.setCell(r, col::verdict, out.verdict);
    }
    return CellMarks(first, std::move(marks));
}

namespace {

std::string amps(double x) {
    return formatShortest(x) + " A";
}
std::string metres(double x) {
    return formatShortest(x) + " m";
}
std::string rowName(int row) {
    return std::to_string(row + 1) + " 行目";
}

bool isBranchProtectionVerdict(std::string_view text) {
    for (std::string_view v : {verdict::below35, verdict::from35Within8m, verdict::from35Beyond8m,
                               verdict::from55, verdict::branchWithin3m, verdict::trunkBeyond8m})
        if (text == v)
            return true;
    return false;
}

std::vector<std::string> explainBranchProtection(const BranchProtectionVerdict& v, int s1) {
    std::vector<std::string> lines;
    if (v.verdict == verdict::branchWithin3m) {
        lines.push_back("分岐のこう長 " + metres(v.length) + " ≦ 3 m");
        return lines;
    }
    lines.push_back("許容電流 Ia = " + amps(v.allowable) +
                    (v.allowableFromAbove ? "（上の行の値）" : ""));
    lines.push_back(
        "遮断器 P = " + amps(v.protection) +
        (v.protectionRow != s1 ? "（" + rowName(v.protectionRow) + "の分岐の主幹器具）" : ""));
    lines.push_back("幹線ケーブルの許容電流 Iw = " + amps(v.feederAllowable));
    const char* which = v.protection < v.feederAllowable   ? "（P と Iw の小さい方の P）"
                        : v.feederAllowable < v.protection ? "（P と Iw の小さい方の Iw）"
                                                           : "（P と Iw が同じ）";
    lines.push_back("基準電流 Ib = " + amps(v.reference) + which);
    lines.push_back("55 % = " + amps(v.a55) + "、35 % = " + amps(v.a35));

    const std::string ia = "Ia " + amps(v.allowable);
    const std::string zone = "35 % の " + amps(v.a35) + " ≦ " + ia + " < 55 % の " + amps(v.a55);
    if (v.verdict == verdict::below35)
        lines.push_back(ia + " < 35 % の " + amps(v.a35));
    else if (v.verdict == verdict::from55)
        lines.push_back(ia + " ≧ 55 % の " + amps(v.a55));
    else if (v.verdict == verdict::from35Within8m)
        lines.push_back(zone + "、こう長 " + metres(v.length) + " ≦ 8 m");
    else if (v.verdict == verdict::from35Beyond8m)
        lines.push_back(zone + "、こう長 " + metres(v.length) + " > 8 m");
    else if (v.verdict == verdict::trunkBeyond8m && v.limit8m && v.reach) {
        lines.push_back(zone);
        lines.push_back("起点からのこう長 " + metres(*v.reach) + " > 限度 " + metres(*v.limit8m) +
                        "（" + metres(*v.limit8m - 8.0) + " の位置から 8 m）");
    }
    return lines;
}

std::string explainComparison(const Sheet& sheet, int row, const FailedComparison& f) {
    const bool drop = f.comparedTo == col::allowableDrop;
    const std::string unit = drop ? " V" : " A";
    std::string left = std::string(columnCaption(f.column));
    if (f.column == col::summedDrop)
        left += "の電圧降下";
    return left + " " + std::string(sheet.cell(row, f.column)) + unit + (drop ? " > " : " < ") +
           std::string(columnCaption(f.comparedTo)) + " " +
           std::string(sheet.cell(row, f.comparedTo)) + unit;
}

}  // namespace

std::vector<std::string> explainVerdict(const Sheet& sheet, int row) {
    std::vector<std::string> lines;
    if (row < 0 || row >= sheet.rowCount())
        return lines;
    const std::string_view text = sheet.cell(row, col::verdict);
    if (isBlank(text))
        return lines;

    if (isBranchProtectionVerdict(text)) {
        // The rule runs over the feeder block of the row; a row of no block over itself.
        BlockRange range = findFeederRange(sheet, row);
        if (isBlank(sheet.cell(row, col::feederNumber)) || range.s1 > row || range.e1 < row)
            range = {row, row};
        const BranchProtectionResult judged = evaluateBranchProtection(sheet, range.s1, range.e1);
        const auto it = std::find_if(judged.verdicts.begin(), judged.verdicts.end(),
                                     [row](const auto& v) { return v.row == row; });
        if (it != judged.verdicts.end() && it->verdict == text)
            lines = explainBranchProtection(*it, range.s1);
        else if (it != judged.verdicts.end())
            lines.push_back("今の値で判定すると「" + std::string(it->verdict) +
                            "」になります（再計算されていません）。");
        else if (!judged.status)
            lines.push_back(judged.status.error().message);
    }
    const std::vector<FailedComparison> failed = evaluateCellChecks(sheet, row).failed;
    for (const FailedComparison& f : failed)
        lines.push_back(explainComparison(sheet, row, f));
    // The cell checks write a failure and never take it back: say when the values have moved on.
    const bool cellCheckVerdict = text == verdict::breakerBelowMain ||
                                  text == verdict::mainBelowDesign || text == verdict::dropTooLarge;
    if (cellCheckVerdict && failed.empty())
        lines.push_back("今の値ではこの判定になりません（再計算されていません）。");
    return lines;
}

Expected<std::vector<VerdictFinding>> verdictSummary(const Sheet& sheet) {
    std::vector<VerdictFinding> findings;
    for (int r = 0; r < sheet.rowCount(); ++r) {
        const auto row = [&](int column) { return std::string(sheet.cell(r, column)); };
        const std::string name = nameFrame(row(col::name));
        if (isFailingVerdict(row(col::verdict)))
            findings.push_back(
                {r, VerdictFinding::Kind::Verdict,
                 "エラー:　" + row(col::verdict) + findingTail(name, row(col::loadName))});

        auto allowed = cellNumber(sheet, r, col::allowableDrop);
        if (!allowed)
            return allowed.error();
        if (!*allowed)
            continue;
        // The drop summed from the origin where the row has one, else the row's own drop.
        const int dropColumn = isBlank(row(col::summedDrop)) ? col::singleDrop : col::summedDrop;
        auto drop = cellNumber(sheet, r, dropColumn);
        if (!drop)
            return drop.error();
        if (*drop && **drop > **allowed)
            findings.push_back(
                {r, VerdictFinding::Kind::VoltageDrop,
                 "電圧降下:　" + row(dropColumn) + " V " + findingTail(name, row(col::loadName))});
    }
    return findings;
}

}  // namespace wirelark
