#pragma once
// The branch input dialog `TForm4` without its window: one row of a residential feeder block
// (its head row, a trunk row or a branch row to a dwelling) as the engineer changes it. The
// feeder's system, voltage and breaker come from the head row and are shown for reference; the
// dialog edits the row's length, load, main device, design current and cable, and computes the
// impedance, the voltage drop of the row and the allowable drop with the circuit rules.
//
// The window copies texts and flags between its controls and the public fields (named as the
// window's controls), calls one method per user action, and shows the layout state. Message
// boxes, questions, the focus, the keypad and the cable selection go through the DialogHost.
// The supply choice of the allowable drop (`RadioButton1`, `RadioButton2`, `RadioButton5` and
// the percentage `Edit13`) is the document's, shared with the feeder dialog and the
// recalculation of the sheet.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cable_selection.h"
#include "dialog_host.h"
#include "document.h"
#include "row_kind.h"

namespace wirelark {

struct BranchEntry;

inline constexpr std::string_view kBranchBreakerNote =
    "※幹線からの分岐ブレーカーがあれば入力してください。";

class BranchDialog final : public ScriptableDialog {
  public:
    // Where the length field, its keypad button and the cable group stand.
    enum class Arrangement {
        BesideTrunk,  // beside the trunk picture: head rows and branch rows
        AtTrunkRow,   // at the position of a trunk row: trunk rows
    };

    // Both references outlive the dialog: the main window owns all three.
    BranchDialog(Document& document, CableSelection& cables);

    // --- Fields, as the window's controls hold them ---
    std::string Edit1 = "L-1";  // feeder number or name (head row)
    std::string Edit2 = "L-1";  // electric system (head row), read only
    std::string Edit3 = "L-1";  // voltage text (head row), read only
    std::string Edit4 = "L-1";  // tree glyph of the row, read only
    std::string Edit5 = "L-1";  // load name
    std::string ComboBox1;      // number appended to the load name: "" or "1".."20"
    std::string ComboBox2;  // unit after the number: "", "階", "Ｆ", "棟", "部屋", "工区"
    std::string Edit6 = "L-1";      // power factor cos θ
    std::string ComboBox6 = "3";    // length of this row [m]
    std::string Label10;            // length from the feeder's origin to the start of this row
    std::string Edit8 = "L-1";      // breaker protecting the feeder (head row)
    std::string ComboBox12 = "60";  // main device rating [A]
    std::string ComboBox15 = "50";  // design load current [A]
    std::string Label60;            // voltage drop of this row [V]
    std::string ComboBox14 = "気中暗渠配線";  // installation method
    std::string ComboBox16 = "H=600";         // burial depth
    std::string Edit10;                       // cable kind and size
    std::string Edit11;                       // allowable current of the cable [A]
    std::string Edit12 = "Z";                 // impedance [Ω/km]; "Z" while none is computed
    std::string Label56 = "R";                // R of the chosen cable [Ω/km]
    std::string Label57 = "X";                // X of the chosen cable [Ω/km]
    std::string Label43 = "sq";               // cable size key
    std::string Edit7 = "200";                // base voltage of the allowable drop [V]
    std::string Label70;                      // allowable voltage drop [V]
    bool CheckBox1 = false;  // "これより後ろの階は同じデーターで書き込む"
    bool CheckBox2 = false;  // "負荷名称は変更しない"
    std::string Edit9;       // remarks

    // The shared supply choice: the radio button checked and the percentage field.
    bool RadioButton1() const { return m_document.supply().kind == SupplyKind::Transformer; }
    bool RadioButton2() const { return m_document.supply().kind == SupplyKind::Utility; }
    bool RadioButton5() const { return m_document.supply().kind == SupplyKind::Typed; }
    const std::string& Edit13() const { return m_document.supply().percent; }
    // Text typed into the percentage field (no handler of its own: the next allowable-drop
    // step reads it).
    void setEdit13(std::string text);

    // The items of a combo box's list; empty for a name that is no combo box of the dialog.
    std::vector<std::string> items(std::string_view comboBox) const;

    // Set by the main window before showing, for the row where the second system leaves the
    // trunk; the activation reads and clears it.
    int Tag = 0;

    // --- Layout state the window shows ---
    // The kind of row found on the last activation (`pat`): Head, FirstTrunk (also system 2's
    // first trunk row when marked by the tag), Trunk, Branch or LastBranch; Other for any other
    // glyph, which keeps the arrangement of the previous activation.
    RowKind pat = RowKind::Other;
    Arrangement arrangement = Arrangement::BesideTrunk;
    bool feederBreakerShown = true;  // Edit8 with "幹線保護用" "遮断器定格電流"
    // The main-device box reduced to the main-device field, with kBranchBreakerNote: on the
    // trunk row where the second system leaves, the breaker of that tap is entered as its main
    // device.
    bool mainDeviceBoxReduced = false;
    bool mainDevicePictureShown = true;
    bool burialDepthShown = false;  // ComboBox16 with "埋設深さ", for "地中保護管配線"

    // --- User actions, named after the window's handlers ---
    // The dialog is shown: `clickedColumn` is the sheet column whose double-click opened it.
    void FormActivate(DialogHost& host, int clickedColumn);
    void Button1Click();                   // "無し": no main device
    bool Button4Click(DialogHost& host);   // "登録": true when the dialog closes confirmed
    void Button5Click();                   // "キャンセル"
    void Button11Click(DialogHost& host);  // "電線・ケーブル表呼出"
    void Button16Click(DialogHost& host);  // "数値入力": the length on the keypad
    void ComboBox6Click(DialogHost& host);
    void ComboBox12Click();
    void ComboBox14Click(DialogHost& host);
    void ComboBox15Click(DialogHost& host);  // main device against the design current
    void ComboBox16Click(DialogHost& host);
    void RadioButton1Click(DialogHost& host);
    void RadioButton2Click(DialogHost& host);
    void RadioButton5Click(DialogHost& host);
    // A press on a field that cannot be edited sends the focus to the cable button.
    void Edit2MouseDown(DialogHost& host);
    void Edit3MouseDown(DialogHost& host);
    void Edit4MouseDown(DialogHost& host);
    void ComboBox1MouseEnter(DialogHost& host);
    // A double-click empties these fields.
    void Edit1DblClick() { Edit1.clear(); }
    void Edit5DblClick() { Edit5.clear(); }
    void Edit6DblClick() { Edit6.clear(); }
    void Edit8DblClick() { Edit8.clear(); }
    void Edit9DblClick() { Edit9.clear(); }
    void ComboBox1DblClick() { ComboBox1.clear(); }
    void ComboBox2DblClick() { ComboBox2.clear(); }
    void ComboBox12DblClick() { ComboBox12.clear(); }

    // --- The hand-off with the sheet row ---
    BranchEntry entry() const;
    void setEntry(const BranchEntry& entry);

    // --- ScriptableDialog ---
    State state() const override { return m_state; }
    Status pick(std::string_view control, std::string_view text, DialogHost& host) override;
    Status type(std::string_view control, std::string_view text, DialogHost& host) override;
    Status click(std::string_view control, DialogHost& host) override;
    Status doubleClick(std::string_view control, DialogHost& host) override;
    void close(DialogHost& host) override;
    std::vector<std::pair<std::string, std::string>> report() const override;

  private:
    // How an internal action ended. A refusal is a message the user was shown (a missing
    // input, a cable that does not carry the current); the handler that performed the action
    // goes on, but a confirmation stops. A failure is a field that is not a valid number: it
    // ends the whole user action where it stands.
    enum class Step { Done, Refused, Failed };

    Step Button8(DialogHost& host);      // the cable selection, shown modally
    Step Button9(DialogHost& host);      // impedance
    Step Button10(DialogHost& host);     // voltage drop of the row
    Step Button12(DialogHost& host);     // cable against design current
    Step Button14(DialogHost& host);     // allowable drop
    Step selectCable(DialogHost& host);  // Button11 and ComboBox16: selection, then recompute
    Step dropAndAllowableDrop(DialogHost& host);
    void chooseSupply(SupplyKind kind, DialogHost& host);

    Step refuse(DialogHost& host, std::string_view message, std::string_view control);
    Step refuseNumber(DialogHost& host, std::string_view control, std::string_view text);
    std::string* textField(std::string_view control);
    bool known(std::string_view control);

    Document& m_document;
    CableSelection& m_cables;
    State m_state = State::Cancelled;
    // While the dialog activates, a field that is not a number ends the activation silently:
    // the dialog shows with what was done.
    bool m_activating = false;
};

}  // namespace wirelark
