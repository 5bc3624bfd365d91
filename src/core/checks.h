#pragma once
// The sheet's judgement of its rows: the branch-protection rule for conductors tapped from a
// feeder, the cell checks that mark a row red (breaker against main breaker, main breaker
// against design current, drop against allowable drop), and the summary of every failing row.
// Verdicts live in column 21: a text beginning "×" fails, one beginning "〇" passes.

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "result.h"
#include "row_kind.h"
#include "sheet.h"

namespace wirelark {

namespace verdict {
inline constexpr std::string_view below35 = "×：許容電流35%以下";
inline constexpr std::string_view from35Within8m = "〇：許容電流35%以上で8m以下";
inline constexpr std::string_view from35Beyond8m = "×：許容電流35%以上だが8m超えている";
inline constexpr std::string_view from55 = "〇：許容電流55%以上";
inline constexpr std::string_view branchWithin3m = "〇：分岐こう長が3m以下";
inline constexpr std::string_view trunkBeyond8m = "×：分岐こう長が8mを超えました";
inline constexpr std::string_view breakerBelowMain =
    "×：幹線保護用遮断機が主幹器具定格電流より小さい";
inline constexpr std::string_view mainBelowDesign = "×：主幹器具定格電流が設計負荷電流より小さい";
inline constexpr std::string_view dropTooLarge = "×：電圧降下が大きい 確認必要";
// A bare failure mark, as older sheets may hold it.
inline constexpr std::string_view bareFailure = "×";
// Every verdict the checks write, for sizing the column that shows them.
inline constexpr std::string_view all[] = {
    below35,       from35Within8m,   from35Beyond8m,  from55,       branchWithin3m,
    trunkBeyond8m, breakerBelowMain, mainBelowDesign, dropTooLarge,
};
}  // namespace verdict

// True for a verdict that marks a failing row.
inline bool isFailingVerdict(std::string_view text) {
    return text.starts_with("×");
}

// The branch-protection rule over rows s1..e1 of a feeder block, writing the verdict of every
// row that has a length. A conductor tapped from a feeder needs no breaker of its own when its
// allowable current is at least 55 % of the rating protecting the feeder, or at least 35 % and
// it is no longer than 8 m, or it is no longer than 3 m. The reference is the smaller of the
// feeder's breaker and its cable's allowable current; a tap breaker on the trunk ("┌┌┘", "│　"
// with a main breaker) becomes the reference for the rows after it.
Status checkBranchProtection(Sheet& sheet, int s1, int e1);

// The branch-protection rule applied to one row, with the numbers it used.
struct BranchProtectionVerdict {
    int row = 0;
    std::string_view verdict;
    double allowable = 0;  // Ia, the row's allowable current (or the last one above it)
    bool allowableFromAbove = false;
    double protection = 0;       // P, the breaker protecting the row
    int protectionRow = 0;       // the row whose breaker P is: the head row or a tap on the trunk
    double feederAllowable = 0;  // Iw, the allowable current of the feeder's cable
    double reference = 0;        // Ib = min(P, Iw)
    double a55 = 0;              // R(Ib × 0.55)
    double a35 = 0;              // R(Ib × 0.35)
    double length = 0;           // the row's own length
    // A trunk row in the 35 % zone: where its run may end (8 m beyond the end of the same
    // cable before it) and how far it reaches from the origin.
    std::optional<double> limit8m;
    std::optional<double> reach;
};
struct BranchProtectionResult {
    // The rows judged, in order, up to a failure.
    std::vector<BranchProtectionVerdict> verdicts;
    Status status = success();
};
// The evaluation checkBranchProtection writes: the verdict of every row of s1..e1 that has a
// length, stopping at the first cell that should hold a number and does not.
BranchProtectionResult evaluateBranchProtection(const Sheet& sheet, int s1, int e1);

// What the branch-protection rule reads: the sheet's cells, or those of a recalculation that
// has not written its results to the sheet yet.
class BranchProtectionCells {
  public:
    virtual ~BranchProtectionCells() = default;
    virtual int rowCount() const = 0;
    virtual RowClass rowClass(int row) const = 0;
    virtual std::string_view text(int row, int column) const = 0;
    // As cellNumber reads it.
    virtual Expected<std::optional<double>> number(int row, int column) = 0;
};
BranchProtectionResult evaluateBranchProtection(BranchProtectionCells& cells, int s1, int e1);

// Which cells of each row the grid draws red, from the cell checks.
class CellMarks {
  public:
    using Columns = std::bitset<kColumnCount>;

    CellMarks() = default;
    CellMarks(int firstRow, std::vector<Columns> rows)
        : m_firstRow(firstRow), m_rows(std::move(rows)) {}

    int firstRow() const { return m_firstRow; }
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // The red columns of a row; none for a row outside the checked range.
    Columns redColumns(int row) const;
    bool isRed(int row, int column) const;

  private:
    int m_firstRow = 0;
    std::vector<Columns> m_rows;
};

// The cell checks of rows firstRow..lastRow, as the grid draws them from left to right:
// column 4 (breaker below main breaker), column 8 (main breaker below design current), columns
// 15 and 16 (a drop above the allowable drop) each write their verdict into column 21 when they
// fail, a later column's verdict replacing an earlier one; columns 6 and 11 turn red on the
// verdict column 21 holds when their turn comes, column 21 on the verdict it ends with. A
// compared cell that is not a number skips that one check. Column 21 is written only where its
// text changes. The grid runs this after every change and draws from the result without
// writing any cell.
CellMarks applyCellChecks(Sheet& sheet, int firstRow, int lastRow);

// One comparison of the cell checks that failed on a row.
struct FailedComparison {
    int column = 0;      // the cell turned red: 4, 8, 15 or 16
    int comparedTo = 0;  // the cell it was compared with: 8, 9 or 17
    std::string_view verdict;
};
// The cell checks of one row as applyCellChecks makes them: the verdict the row ends with, its
// red columns and the comparisons that failed, left to right.
struct CellCheckOutcome {
    std::string_view verdict;  // into the row, or one of the verdicts above
    CellMarks::Columns red;
    std::vector<FailedComparison> failed;
};
CellCheckOutcome evaluateCellChecks(const Sheet& sheet, int row);

// Why a row has the verdict it holds, in Japanese, one line per comparison, with the numbers
// the rule used: for the branch-protection rule the allowable current Ia, the reference Ib
// (the smaller of the breaker P and the feeder cable's Iw, naming which), the 55 % and 35 %
// thresholds and the length against 8 m or 3 m; for the cell checks the two values compared.
// The same evaluations as the checks themselves. Empty when the row has no verdict, or one the
// checks do not write.
std::vector<std::string> explainVerdict(const Sheet& sheet, int row);

// One failing row of the verdict summary.
struct VerdictFinding {
    enum class Kind { Verdict, VoltageDrop };
    int row = 0;
    Kind kind = Kind::Verdict;
    std::string message;  // the text of the warning box
};

// The answer when nothing fails.
inline constexpr std::string_view kVerdictsGoodMessage = "判定は良好です。";

// Every failing row of the sheet, in row order: a failing verdict, and a summed drop (or, where
// there is none, the single drop) above the allowable drop. A drop or allowable drop that is
// not a number is an error naming its row and column.
Expected<std::vector<VerdictFinding>> verdictSummary(const Sheet& sheet);

}  // namespace wirelark
