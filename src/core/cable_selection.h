#pragma once
// The cable selection dialog without its window: everything the dialog `Tdensen` holds and
// computes while the engineer picks a wire or cable for a feeder or branch row. The window
// only shows this state and reports what the user does; the handler names of the window are
// given beside each operation.
//
// The dialog shows the impedance table of one cable group and keeps, out of sight, the
// allowable-current table of the group's family, corrected for the conductors in one conduit
// and the ambient temperature (IV wires) or for the installation method and the ambient or
// ground temperature (CV and CVT cables). Clicking a size finds its allowable-current row by a
// text key; a double-click hands the chosen cable back to the input dialog that opened this one.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cable_catalogue.h"
#include "result.h"
#include "sheet.h"

namespace wirelark {

// Which input dialog opened the selection (`patt`: 0, 1, 2).
enum class Caller { None = 0, FeederDialog = 1, BranchDialog = 2 };

// What the dialog reads from outside each time it is activated.
struct CallerContext {
    Caller caller = Caller::None;
    std::string
        installationMethod;  // caller's ComboBox14: "気中暗渠配線", "保護管配線", "地中保護管配線"
    std::string burialDepth;     // caller's ComboBox16: "H=300", "H=600", "H=1200"
    std::string electricSystem;  // the feeder dialog's ComboBox2, whichever dialog called
    Frequency frequency = Frequency::Hz60;  // the main window's frequency buttons
};

// The cable handed back to the calling dialog, all text.
struct CableChoice {
    std::string cableName;   // family code and size, no separator: "CV-T38゜"
    std::string resistance;  // R [Ω/km] for the frequency, exactly as tabulated
    std::string reactance;   // X [Ω/km]
    // Whole amperes, grouping reduction included; empty when the size has no allowable-current
    // row (the engineer must then find the allowable current elsewhere).
    std::string allowableCurrent;
    std::string sizeKey;  // size without its last character: "38", "1.6m"
};

inline constexpr std::string_view kGroupPrompt =
    "※右端の▼をクリックして使用する電線を選択して下さい。";
inline constexpr std::string_view kWindowCaption = "電線・ケーブル選択フォーム";

// The impedance grid `StringGrid7`: two header rows and 26 rows for sizes.
inline constexpr int kImpedanceGridRows = 28;
inline constexpr int kImpedanceHeaderRows = 2;
inline constexpr int kImpedanceColumns = 5;
// The allowable-current grid `StringGrid2`: header row 0, then the table.
inline constexpr int kAllowableColumns = 8;
namespace allowableColumn {
inline constexpr int key = 0;
inline constexpr int current = 3;
inline constexpr int inAir = 5;
inline constexpr int inConduit = 6;
inline constexpr int buried = 7;
}  // namespace allowableColumn

using ImpedanceGridRow = std::array<std::string, kImpedanceColumns>;
using AllowableGridRow = std::array<std::string, kAllowableColumns>;

class CableSelection {
  public:
    // The state at program start: the selector shows its prompt, no installation method is
    // checked, "３本以下" at 30 ℃, 40 ℃ for cables, one cable per tier at S=d, factor "1.00".
    CableSelection();

    // The input dialogs, when they are activated, choose the first group while the selector
    // still shows its prompt (without showing it: the dialog does that when it opens).
    void preselectFirstGroup();

    // FormActivate: reads the caller, sets the installation radios and the grouping panel for
    // the caller's method, checks "３本以下", shows the selected group, repeats the lookup of
    // the last clicked row and recomputes the grouping factor.
    void activate(const CallerContext& context);

    // ComboBox11Change: the group selector takes `text` (an entry or typed text) and the group
    // is shown.
    void selectGroup(std::string_view text);
    // Button1Click ("DATAの表示"): shows the group whose description is the selector's text,
    // with its family codes, temperature label, allowable-current table and correction panel.
    // A text that matches no group leaves the grid empty and the loaded table as it was.
    void showGroup();

    // ComboBox3: one of the codes offered for the shown group.
    Status pickFamily(std::string_view code);
    // RadioButton1..7 (`RadioButton1Click`): wires in one conduit, option 1 ("３本以下") to 7.
    Status chooseConductorCount(int option);
    // ComboBox1 (`RadioButton1Click`): ambient temperature of IV wires [℃].
    Status chooseAmbient(std::string_view text);
    // RadioButton8/9/10 clicked by the user; 9 and 10 rerun the installation correction.
    Status chooseInstallation(Installation installation);
    // ComboBox2 (`Button4Click`): ambient or ground temperature of cables [℃].
    Status chooseInstallationTemperature(std::string_view text);
    // ComboBox5Click, ComboBox6Click: tiers and spacing rebuild the cables-per-tier list.
    Status chooseTiers(std::string_view text);
    Status chooseSpacing(std::string_view text);
    // ComboBox4 (`Button3Click`): cables per tier, one of the current list.
    Status chooseCablesPerTier(std::string_view text);
    // Edit1 typed by the user: a factor or nothing (nothing counts as 1).
    Status editFactor(std::string_view text);

    // StringGrid7Click: remembers the row and looks up its allowable current (`Button2Click`).
    void clickRow(int gridRow);
    // StringGrid7DblClick: the cable of a size row, for the window to write into the caller
    // (`patt`) before it closes; with no caller nobody receives it. Nothing for a header row or
    // an empty row: the dialog then stays open.
    std::optional<CableChoice> doubleClickRow(int gridRow);
    // What a click and a double-click on this row would hand back now, leaving the dialog as
    // it is: what the window marks each size by.
    std::optional<CableChoice> handBackOf(int gridRow) const;

    // --- What the window shows ---
    Caller caller() const { return m_patt; }                                       // patt
    const std::string& selectorText() const { return m_selectorText; }             // ComboBox11
    const std::vector<std::string>& familyItems() const { return m_familyItems; }  // ComboBox3
    const std::string& familyText() const { return m_familyText; }
    const std::string& temperatureLabel() const { return m_temperatureLabel; }  // Label166
    // The correction panel of the last group shown (Panel3 or Panel5); none before that.
    std::optional<CorrectionPanel> correctionPanel() const { return m_panel; }
    std::optional<AllowableFamily> loadedFamily() const { return m_loadedFamily; }
    int densen() const { return m_densen; }
    int radio() const { return m_radio; }  // Radio

    int conductorCountOption() const { return m_conductorOption; }    // RadioButton1..7
    const std::string& ambientText() const { return m_ambientText; }  // ComboBox1
    Installation installation() const { return m_installation; }      // RadioButton8/9/10
    bool installationVisible(Installation installation) const;
    // ComboBox2
    const std::string& installationTemperatureText() const { return m_temperatureText; }
    const std::string& baseTemperatureCaption() const { return m_baseCaption; }  // Label12

    bool groupingPanelVisible() const { return m_groupingVisible; }  // Panel1
    const std::string& tierText() const { return m_tierText; }       // ComboBox5
    const std::vector<std::string>& cablesPerTierItems() const { return m_perTierItems; }
    const std::string& cablesPerTierText() const { return m_perTierText; }  // ComboBox4
    const std::string& spacingText() const { return m_spacingText; }        // ComboBox6
    const std::string& factorText() const { return m_factorText; }          // Edit1

    const std::string& sizeText() const { return m_sizeText; }  // Edit10
    // The hidden boxes Edit12 to Edit15: R and X at 50 Hz, R and X at 60 Hz of the clicked row.
    const std::array<std::string, 4>& clickedImpedance() const { return m_clickedImpedance; }
    int clickedRow() const { return m_uyy7; }          // uyy7
    int matchedAllowableRow() const { return m_uy2; }  // uy2
    const std::string& lookupKey() const { return m_lookupKey; }
    const std::string& allowableCurrentShown() const { return m_shownCurrent; }  // Label22
    const std::string& windowCaption() const { return m_caption; }

    const std::array<ImpedanceGridRow, kImpedanceGridRows>& impedanceGrid() const {
        return m_impedanceGrid;
    }
    // StringGrid2: row 0 is the header, the loaded table follows.
    const std::vector<AllowableGridRow>& allowableGrid() const { return m_allowableGrid; }

  private:
    void loadAllowableTable(AllowableFamily family);  // Button8/9/10/12/16Click
    void correctForConductorCount();                  // RadioButton1Click
    void correctForInstallation();                    // Button4Click
    void computeGroupingFactor();                     // Button3Click
    void rebuildCablesPerTier();                      // ComboBox5Click, ComboBox6Click
    void lookUpAllowableCurrent();                    // Button2Click
    void showMatchedCurrent();                        // Label22 from the matched row
    // After a correction or a new reduction, Label22 shows the clicked size's new value.
    void followCorrections();
    std::string buildLookupKey();
    double factorValue() const;

    Caller m_patt = Caller::None;
    CallerContext m_context;

    std::string m_selectorText{kGroupPrompt};
    std::vector<std::string> m_familyItems;
    std::string m_familyText = "ｹｰﾌﾞﾙ種別";
    std::string m_temperatureLabel;
    std::optional<CorrectionPanel> m_panel;
    std::optional<AllowableFamily> m_loadedFamily;
    int m_densen = 0;
    int m_radio = 0;

    int m_conductorOption = 1;
    std::string m_ambientText = "30";
    Installation m_installation = Installation::None;
    std::array<bool, 3> m_installationVisible{};
    std::string m_temperatureText = "40";
    std::string m_baseCaption = "基本温度40℃";

    bool m_groupingVisible = false;
    std::string m_tierText = "1";
    std::vector<std::string> m_perTierItems;
    std::string m_perTierText = "1";
    std::string m_spacingText = "S=d";
    std::string m_factorText = "1.00";

    std::string m_sizeText = "断面積";
    std::array<std::string, 4> m_clickedImpedance;
    int m_uyy7 = 0;
    int m_uy2 = 0;
    std::string m_lookupKey;
    std::string m_shownCurrent;
    std::string m_caption{kWindowCaption};

    std::array<ImpedanceGridRow, kImpedanceGridRows> m_impedanceGrid;
    std::vector<AllowableGridRow> m_allowableGrid;
};

}  // namespace wirelark
