#pragma once
// The feeder input dialog `TForm2` ("データー入力フォーム", "系統パターン登録画面") without its
// window: one feeder of the sheet, entered as a single feeder (単独幹線, one row with its own
// load) or as a residential feeder (住宅幹線, a trunk supplying dwellings in one or two systems).
// While the engineer edits, the dialog computes the design current, the breaker, the impedance of
// the chosen cable, the voltage drop and the allowable drop; "登録" checks them before the main
// window writes the feeder into the sheet.
//
// The fields carry the control names of the dialog, so the window copies texts between its
// controls and these members and calls one method per user action. Every message box, focus
// change, keypad, calculator and cable selection goes through the DialogHost. The dialog never
// touches the sheet: the row hand-off (feeder_row_edit.h) fills it and writes it back.

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cable_selection.h"
#include "dialog_host.h"
#include "document.h"

namespace wirelark {

class FeederDialog final : public ScriptableDialog {
  public:
    enum class Mode { Single, Residential };

    // The dialog as the program creates it; `document` supplies the supply choice, the frequency,
    // `patan` and `keitou`, `cables` the cable selection the dialog opens.
    FeederDialog(Document& document, CableSelection& cables);

    // ---- Fields of both modes ----
    std::string Edit1;                         // feeder sequence number (hidden)
    std::string Edit2 = "L1";                  // 幹線番号又は名称
    std::string ComboBox13{kDefaultLoadType};  // 負荷の種類
    std::string Edit4 = "0.95";                // 力率 cos θ
    std::string ComboBox14 = "気中暗渠配線";   // 配線方式
    std::string ComboBox16 = "H=600";          // 埋設深さ
    std::string Edit8;                         // 電線及びケーブル
    std::string Edit9;                         // 許容電流 [A]
    std::string Edit10 = "Z";    // ｲﾝﾋﾟｰﾀﾞﾝｽ [Ω/km]; "Z" while none is computed
    std::string Label56 = "R";   // R of the chosen cable [Ω/km]; "R" while none is chosen
    std::string Label57 = "X";   // X of the chosen cable [Ω/km]; "X" while none is chosen
    std::string Label43 = "sq";  // size key of the chosen cable
    std::string Label60;         // 電圧降下(単体) [V]
    std::string Edit6 = "200";   // 計算基準電圧 [V]
    std::string Label70;         // 許容電圧降下 [V]
    std::string Edit12;          // 備考

    // ---- Single feeder (Panel1) ----
    std::string ComboBox2{kDefaultSystem};   // electric system
    std::string ComboBox3{kDefaultVoltage};  // voltage
    std::string ComboBox4 = "50";            // 遮断器定格電流 [A]
    std::string ComboBox5 = "50";            // こう長 [m]
    std::string Edit5 = "50";                // 設計負荷電流 [A]
    std::string ComboBox11 = "50";           // 主幹器具定格電流 [A]
    std::string Label40;                     // note of the current taken from the calculator
    std::string Edit7;                       // 負荷名称

    // ---- Residential feeder (Panel6) ----
    std::string ComboBox7{kDefaultSystem};   // electric system
    std::string ComboBox8{kDefaultVoltage};  // voltage
    std::string ComboBox10 = "50";           // こう長 of the trunk [m]
    std::string Edit3 = "250";               // 設計負荷電流 of the trunk [A], computed
    std::string ComboBox9 = "250";           // 遮断器定格電流 of the trunk [A]
    std::string ComboBox1 = "5";             // dwellings of system 1
    std::string ComboBox17 = "4";            // dwellings of system 2
    std::string ComboBox15 = "50";           // 設計負荷電流 of one dwelling [A]
    std::string ComboBox12 = "50";           // 主幹器具定格電流 of one dwelling [A]
    std::string ComboBox6 = "3";             // こう長(分岐間) [m]

    // ---- What the window shows besides the texts ----
    Mode mode = Mode::Single;     // Panel1 or Panel6 visible
    bool Button1Enabled = true;   // "住宅幹線"
    bool Edit3Enabled = true;     // the trunk current is computed once the residential mode is used
    bool mainDeviceShown = true;  // ComboBox11 with its labels; otherwise the no-device picture
    bool twoSystems = false;  // RadioButton4 "2系統" checked (RadioButton3 "1系統" otherwise)
    // "無し" while the main device is shown, "ﾌﾞﾚｰｶｰ表示" while it is hidden.
    std::string_view Button3Caption() const;
    // The burial depth selector (ComboBox16 and its label) for "地中保護管配線", with the cable
    // table button Button11 moved below it.
    bool burialDepthShown() const;
    // ComboBox17 and the diagram of the second system.
    bool secondSystemShown() const { return twoSystems; }

    // The supply kind of the allowable drop (RadioButton1, RadioButton2, RadioButton5) and its
    // percentage Edit11 are the document's, shared with the branch dialog.
    SupplyKind supplyKind() const { return m_document.supply().kind; }
    const std::string& Edit11() const { return m_document.supply().percent; }
    void setEdit11(std::string text) { m_document.setSupplyPercent(std::move(text)); }

    // The cell whose double-click opened the dialog (the main window's ny1 and nx1): its row's
    // main device decides the main device display, its column the first focus.
    int editedRow = 0;
    int editedColumn = 0;

    // The items of a combo box of the dialog; empty for any other control.
    static std::span<const std::string> itemsOf(std::string_view control);

    // ---- Handlers of the user's actions ----
    void FormActivate(DialogHost& host);  // each time the dialog is shown
    void Button6Click(DialogHost& host);  // "単独幹線"
    void Button1Click(DialogHost& host);  // "住宅幹線"
    // "登録": true when every check passed and the dialog closed with `patan` set.
    bool Button4Click(DialogHost& host);
    void Button5Click();  // "キャンセル"; the close box does the same
    void ComboBox2Click(DialogHost& host);
    void ComboBox3Click(DialogHost& host);  // also when ComboBox3 is left
    void ComboBox7Click(DialogHost& host);
    void ComboBox8Click(DialogHost& host);  // also when ComboBox8 is left
    void ComboBox5Click(DialogHost& host);
    void ComboBox10Click(DialogHost& host);
    void ComboBox1Click(DialogHost& host);  // ComboBox17 and ComboBox15 do the same
    void ComboBox17Click(DialogHost& host);
    void ComboBox15Click(DialogHost& host);
    void RadioButton3Click(DialogHost& host);  // "1系統"
    void RadioButton4Click(DialogHost& host);  // "2系統"
    void RadioButton1Click(DialogHost& host);  // supply kinds
    void RadioButton2Click(DialogHost& host);
    void RadioButton5Click(DialogHost& host);
    void ComboBox13Change(DialogHost& host);  // load type
    void Edit4Exit(DialogHost& host);         // power factor typed
    void ComboBox11Click(DialogHost& host);
    void Button2Click(DialogHost& host);  // "負荷容量から計算"
    void Button3Click();                  // main device toggle
    void ComboBox14Click(DialogHost& host);
    void ComboBox16Click(DialogHost& host);
    void Button11Click(DialogHost& host);  // "電線・ケーブル表呼出"
    void Button15Click(DialogHost& host);  // "数値入力" for ComboBox5
    void Button16Click(DialogHost& host);  // "数値入力" for ComboBox10
    void Button17Click(DialogHost& host);  // "数値入力" for ComboBox6
    void Edit5MouseDown(DialogHost& host);
    void Edit3MouseDown(DialogHost& host);
    // A double-click that empties a field (Edit2, Edit4, Edit8, Edit9, Edit10, Edit12, ComboBox4,
    // ComboBox9, ComboBox11, ComboBox12); false for a control without one.
    bool emptyOnDoubleClick(std::string_view control, DialogHost& host);

    // ---- ScriptableDialog ----
    State state() const override { return m_state; }
    // The dialog is shown: it is open until confirmed or cancelled.
    void show(DialogHost& host);
    Status pick(std::string_view control, std::string_view text, DialogHost& host) override;
    Status type(std::string_view control, std::string_view text, DialogHost& host) override;
    Status click(std::string_view control, DialogHost& host) override;
    Status doubleClick(std::string_view control, DialogHost& host) override;
    void close(DialogHost& host) override;
    std::vector<std::pair<std::string, std::string>> report() const override;

  private:
    enum class CableCheck { Passes, Fails, Stopped };
    struct Field;

    // The internal actions, each one button of the design. False when the action refused (an
    // information box was shown) and the user's action ends there.
    bool Button9(DialogHost& host);         // impedance
    bool Button10(DialogHost& host);        // voltage drop of the run
    CableCheck Button12(DialogHost& host);  // cable against design current
    bool Button14(DialogHost& host);        // allowable drop
    bool Button13(DialogHost& host);        // breaker from the design current
    bool Button7(DialogHost& host);         // design current of the residential feeder
    bool Button8(DialogHost& host);      // shows the cable selection; true when a cable was picked
    bool selectCable(DialogHost& host);  // Button11: the selection and what follows a pick
    void keypadInto(std::string& field, DialogHost& host, bool allowableDropToo);

    void resetVoltageFromSystem();
    void powerFactorChanged();
    void chooseSupply(SupplyKind kind, DialogHost& host);

    bool single() const { return mode == Mode::Single; }
    std::string& activeSystem() { return single() ? ComboBox2 : ComboBox7; }
    std::string& activeVoltage() { return single() ? ComboBox3 : ComboBox8; }
    std::string& activeLength() { return single() ? ComboBox5 : ComboBox10; }
    std::string& activeDesignCurrent() { return single() ? Edit5 : Edit3; }
    std::string& activeBreaker() { return single() ? ComboBox4 : ComboBox9; }
    std::string_view activeLengthControl() const { return single() ? "ComboBox5" : "ComboBox10"; }
    std::string_view activeCurrentControl() const { return single() ? "Edit5" : "Edit3"; }
    std::string_view activeBreakerControl() const { return single() ? "ComboBox4" : "ComboBox9"; }

    static std::span<const Field> fields();
    const Field* findField(std::string_view control) const;

    Document& m_document;
    CableSelection& m_cables;
    State m_state = State::Cancelled;
    bool m_cableChosen = false;  // the tag of Button8 while the cable selection is open
    // The power factor the impedance was last settled at, to tell a change from a visit.
    std::string m_settledPowerFactor = Edit4;
};

}  // namespace wirelark
