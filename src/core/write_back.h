#pragma once
// The hand-off between a sheet row and the input dialogs: what a dialog is shown with when a
// row is double-clicked, and how its entries are written back into the sheet afterwards (one
// row for a single feeder, a new block of trunk and branch rows for a residential feeder, one
// row or a run of rows for a row of an existing residential feeder).
//
// The entry structures mirror the dialogs' fields; the windows copy their controls into them
// and back, the rules live here.

#include <string>
#include <string_view>

#include "recalculation.h"
#include "result.h"
#include "row_kind.h"
#include "sheet.h"
#include "tree_editing.h"

namespace wirelark {

// The fields of the feeder dialog that travel between the dialog and the sheet.
struct FeederEntry {
    // Both feeder kinds.
    std::string number;  // Edit1: sequence number (read only; column 0)
    std::string name;    // Edit2: feeder number or name (column 1)
    std::string loadType;  // ComboBox13: "電灯・コンセント", "電動機(ｺﾝﾃﾞﾝｻ有)" ...
    std::string powerFactor;       // Edit4: cos θ (column 10)
    std::string cable;             // Edit8: cable kind and size (column 11)
    std::string method;            // ComboBox14: installation method (column 12)
    std::string allowableCurrent;  // Edit9: allowable current of the cable (column 13)
    std::string impedance;         // Edit10: impedance, "Z" until a cable is chosen (column 14)
    std::string voltageDrop;       // Label60: voltage drop (column 15)
    std::string allowableDrop;     // Label70: allowable voltage drop (column 17)
    std::string remarks;           // Edit12: remarks (column 18)
    std::string sizeKey;           // Label43: cable size key (column 20)

    // Single feeder ("単独幹線").
    std::string system;         // ComboBox2: electric system (column 2)
    std::string voltage;        // ComboBox3: voltage text (column 3)
    std::string breaker;        // ComboBox4: breaker rating of the feeder (column 4)
    std::string length;         // ComboBox5: feeder length (column 6)
    std::string loadName;       // Edit7: load name (column 7)
    std::string mainBreaker;    // ComboBox11: main device of the load (column 8)
    std::string designCurrent;  // Edit5: design load current (column 9)

    // Residential feeder ("住宅幹線").
    std::string trunkSystem;            // ComboBox7: electric system (head row column 2)
    std::string trunkVoltage;           // ComboBox8: voltage text (head row column 3)
    std::string trunkBreaker;           // ComboBox9: breaker of the trunk (head row column 4)
    std::string trunkLength;            // ComboBox10: trunk length (head row column 6)
    std::string trunkDesignCurrent;     // Edit3: design current of the trunk (head row column 9)
    std::string branchesSystem1;        // ComboBox1: branches (dwellings) of system 1
    std::string branchesSystem2;        // ComboBox17: branches (dwellings) of system 2
    std::string dwellingMainBreaker;    // ComboBox12: main device of one dwelling (column 8)
    std::string dwellingCurrent;        // ComboBox15: design current of one dwelling (column 9)
    std::string lengthBetweenBranches;  // ComboBox6: trunk length between branch points (column 6)
    int systems = 1;                    // keitou: 1 or 2 systems ("1系統" / "2系統")
};

// The fields of the branch dialog that travel between the dialog and the sheet. The heading
// fields come from and go to the block's head row, the others to the edited row.
struct BranchEntry {
    std::string feederName;     // Edit1: feeder number or name (head row column 1)
    std::string system;         // Edit2: electric system (head row column 2)
    std::string voltage;        // Edit3: voltage text (head row column 3)
    std::string feederBreaker;  // Edit8: breaker protecting the feeder (head row column 4)

    std::string glyph;             // Edit4: tree glyph of the row (column 5)
    std::string length;            // ComboBox6: length of this row (column 6)
    std::string loadName;          // Edit5: load name (column 7)
    std::string mainBreaker;       // ComboBox12: main device rating (column 8)
    std::string designCurrent;     // ComboBox15: design load current (column 9)
    std::string powerFactor;       // Edit6: cos θ (column 10)
    std::string cable;             // Edit10: cable kind and size (column 11)
    std::string method;            // ComboBox14: installation method (column 12)
    std::string allowableCurrent;  // Edit11: allowable current (column 13)
    std::string impedance;         // Edit12: impedance, "Z" until a cable is chosen (column 14)
    std::string voltageDrop;       // Label60: voltage drop of this row (column 15)
    std::string allowableDrop;     // Label70: allowable voltage drop (column 17)
    std::string remarks;           // Edit9: remarks (column 18)
    std::string lengthBefore;      // Label10: length from the origin to the start of the row
    std::string sizeKey;           // Label43: cable size key (column 20)
    std::string baseVoltage;       // Edit7: base voltage of the allowable drop

    std::string nameNumber;  // ComboBox1: number appended to the load name, "" or "1".."20"
    std::string nameSuffix;  // ComboBox2: unit after the number ("階", "Ｆ", "棟" ...)
    bool sameDataBelow = false;  // CheckBox1: "これより後ろの階は同じデーターで書き込む"
    bool keepLoadNames = false;  // CheckBox2: "負荷名称は変更しない"
};

// Load type of a feeder from its electric system and power factor: lighting for single-phase
// and DC systems, a motor with or without capacitor for three-phase ones at exactly "0.9" or
// "0.8". Anything else keeps `current`.
std::string deriveLoadType(std::string_view system, std::string_view powerFactor,
                           std::string current);

// Base voltage of the allowable drop by electric system ("単相3線" -> "100", "三相4線" ->
// "230" ...); any other system keeps `current`.
std::string baseVoltageForSystem(std::string_view system, std::string current);

struct FeederDialogStart {
    FeederEntry entry;
    // The row is an existing single feeder: the dialog starts in the single-feeder pattern
    // ("単独幹線") and its "住宅幹線" button is disabled.
    bool existingSingleFeeder = false;
};
// What the feeder dialog is shown with for row uy1. `shown` holds the dialog's fields as they
// were when it last closed; an existing single feeder replaces them with its cells.
FeederDialogStart feederDialogStart(const Sheet& sheet, int uy1, int kansenno, FeederEntry shown);

struct BranchDialogStart {
    BranchEntry entry;
    BlockRange range;  // the block of the row (the window's s1, e1)
    // The row is where the second system leaves the trunk: the window sets the dialog's tag to
    // 1 before showing it. When false the tag is left as it is.
    bool secondSystemStart = false;
};
// What the branch dialog is shown with for row uy1. `shown` holds the dialog's fields as they
// were when it last closed; fields whose cell is empty keep them. Fails, naming the row, when
// the row belongs to no feeder or its lengths are not numbers.
Expected<BranchDialogStart> branchDialogStart(const Sheet& sheet, int uy1, BranchEntry shown);

// Outcome of a write-back: the window's new s1, e1 and kansenno, and whether everything ran.
// On a failure the cells written before stay and the window reports `status`.
struct FeederWriteResult {
    BlockRange range;
    int kansenno = 1;
    Status status = success();
};
struct BranchWriteResult {
    BlockRange range;
    Status status = success();
};

// Writes a confirmed single feeder into row uy1 (a new number when the row has none), then
// renumbers and runs the branch-protection check over `lastRange`, the block of the last range
// search, as long as those rows still form that one block.
FeederWriteResult writeSingleFeeder(Sheet& sheet, int uy1, const FeederEntry& entry, int kansenno,
                                    BlockRange lastRange);

// Lays out a confirmed residential feeder as a block of rows headed by row uy1: head row, then
// for every branch a trunk row and a branch row, system 1 before system 2. When any row the
// block will take is in use, blank rows are inserted below the head row first, so a block never
// overwrites a used row. Renumbers, finds the block, records its row count and recalculates it.
FeederWriteResult buildResidentialBlock(Sheet& sheet, int uy1, const FeederEntry& entry,
                                        int kansenno, const SupplyChoice& supply);

// The feeder dialog's result by its pattern `patan`: 1 single feeder, 2 residential feeder,
// 0 not confirmed (nothing is written).
FeederWriteResult writeFeederDialogResult(Sheet& sheet, int uy1, int patan,
                                          const FeederEntry& entry, int kansenno,
                                          BlockRange lastRange, const SupplyChoice& supply);

// Writes the branch dialog's fields back: the heading fields into the head row, the row's own
// fields into row uy1 or, with "same data below", into every row of its kind down to the end of
// the block (numbering the load names when a start number is given). Then records the block's
// row count and recalculates the block. All or nothing: on a failure (a numbering start that is
// not a whole number, a cell of the block the recalculation cannot read) the sheet is left as
// it was and the error names the row and the field.
BranchWriteResult writeBranchDialogResult(Sheet& sheet, int uy1, const BranchEntry& entry,
                                          const SupplyChoice& supply);

}  // namespace wirelark
