#pragma once
// The branch tree of the sheet: feeder numbers, the rows of a feeder block, and the row
// operations of the grid's pop-up menu (insert, delete, copy, paste, empty the sheet).
//
// Every operation takes the selection rows it works on (`ny1`, the row of the last left press,
// and `uy1`, the row of the last mouse release) and returns what the window keeps between
// operations (`s1`, `e1`, `kansenno`) as values.

#include <string>
#include <string_view>

#include "sheet.h"

namespace wirelark {

// First and last row of a feeder block (`s1`, `e1`).
struct BlockRange {
    int s1 = 0;
    int e1 = 0;
    friend bool operator==(const BlockRange&, const BlockRange&) = default;
};

// Numbers the head rows 1, 2, 3 ... from top to bottom (column 0) and gives every used row the
// number of the nearest head row at or above it (column 26; "0" above the first head row).
void renumberFeeders(Sheet& sheet);

// The feeder block that row `ny1` belongs to: from the first row whose column 0 equals the
// row's feeder number (column 26) to the last row whose column 26 equals it. Texts are compared
// exactly; a part that is not found is 0.
BlockRange findFeederRange(const Sheet& sheet, int ny1);

// Whether a glyph is drawn inside the tree of a one-system residential feeder (first trunk,
// trunk, branch, last branch). Such a row belongs to a block and is never the top of a
// selection the pop-up menu works on.
bool isInnerTreeGlyph(std::string_view glyph);

// Row insertion ("行の追加"): blank rows inserted at the upper of the two selection rows,
// moving that row and everything below down. The count is the number of rows between the two,
// one more when the upper row is a head row of a multi-row selection, and at least 1. Returns
// the number of rows inserted.
int insertBlankRows(Sheet& sheet, int ny1, int uy1);

// Mode of the pop-up menu, kept in its tag; the clipboard copy reads it too.
enum class MenuMode {
    Feeder = 0,  // the first item deletes the feeder block of row ny1
    Rows = 1,    // the first item deletes the rows ny1 to uy1
};

inline constexpr std::string_view kDeletedRenumberMessage = "削除しましたので、No.の更新を行います";

// What the pop-up menu looks like after a right-button release, decided from the sheet and the
// selection alone.
struct PopupMenuDecision {
    bool shown = false;  // when false the window shows no menu and keeps its menu tag
    int ny1 = 0;         // the selection rows in order, ny1 <= uy1 (the window keeps them)
    int uy1 = 0;
    std::string deleteCaption;  // caption of the first item
    MenuMode mode = MenuMode::Feeder;
    bool deleteEnabled = true;     // "幹線削除" (the first item)
    bool copyEnabled = true;       // "コピー"
    bool clipboardEnabled = true;  // "クリップボードへコピー(個別)" and "(全部)"
};
PopupMenuDecision decidePopupMenu(const Sheet& sheet, int ny1, int uy1);

struct DeleteResult {
    BlockRange range;  // the rows that were removed (the window's s1, e1)
    int kansenno = 1;  // the feeder counter after the deletion
    // The message to show after a feeder deletion; empty after a row deletion.
    std::string_view message;
};
// Deletes the feeder block of row ny1 (Feeder mode) or the rows between ny1 and uy1 (Rows
// mode): the rows below move up, the freed rows at the bottom are empty, the row count stays,
// and the feeders are renumbered. A row of Feeder mode that carries no feeder number deletes
// the selected rows only, never a range found by matching empty numbers.
DeleteResult deleteRows(Sheet& sheet, MenuMode mode, int ny1, int uy1, int kansenno);

// Copies the feeder block of row ny1 into the sheet's copy buffer ("コピー") and returns its
// range (the window's s1, e1). A row without a feeder number copies the selected rows.
BlockRange copyFeederBlock(Sheet& sheet, int ny1, int uy1);

// Pastes the copy buffer at row uy1 ("貼付"): as many blank rows as the buffer holds are
// inserted there, filled with the buffer's rows, and the feeders are renumbered, so the pasted
// head row gets its own number. The buffer keeps its rows. Returns the number of rows pasted.
int pasteCopyBuffer(Sheet& sheet, int uy1);

// Empties every cell ("全削除"); the row count and the copy buffer stay. The window enables the
// frequency options again.
void emptySheet(Sheet& sheet);

}  // namespace wirelark
