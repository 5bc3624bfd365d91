#include "cable_selection.h"

#include <algorithm>
#include <cmath>

#include "encoding.h"
#include "message_text.h"
#include "number_text.h"

namespace wirelark {

namespace {

constexpr std::string_view kInAirOrCulvertMethod = "気中暗渠配線";
constexpr std::string_view kConduitMethod = "保護管配線";
constexpr std::string_view kBuriedConduitMethod = "地中保護管配線";
constexpr std::string_view kShallowBurial = "H=300";

// Highest conductor temperatures the insulation allows in continuous service [℃].
constexpr double kIvConductorLimit = 60.0;
constexpr double kCableConductorLimit = 90.0;
// IV table values hold at this ambient temperature, for three or fewer wires in one conduit.
constexpr double kIvBaseTemperature = 30.0;
constexpr double kIvTableFactor = 0.7;

// Header rows of the impedance grid; the spacing centres the texts in their columns.
constexpr std::string_view kImpedanceHeader[kImpedanceHeaderRows][kImpedanceColumns] = {
    {"  公称断面積", "  交流導体抵抗", "    リアクタンス", "  交流導体抵抗", "    リアクタンス"},
    {"      (mm2)", "  50Hz  (Ω/km)", "  50Hz (Ω/km)", "  60Hz (Ω/km)", "  60Hz (Ω/km)"},
};
constexpr std::string_view kAllowableHeader[kAllowableColumns] = {
    "配線種類", "仕上外径", "仕上断面積", "許容電流", "重量Kg/Km", "", "", ""};

// The current a conductor may carry falls with the square root of the temperature headroom
// left between the surroundings and the conductor's limit. At or above the limit nothing is
// left: the factor is 0, never the root of a negative number.
double temperatureFactor(double limit, double base, double ambient) {
    const double headroom = (limit - ambient) / (limit - base);
    if (!(headroom > 0.0))
        return 0.0;
    return std::sqrt(headroom);
}

// Table texts are numbers by construction; an empty cell counts as 0.
double cellNumber(std::string_view text) {
    return readNumber(text).valueOr(0.0);
}

std::string wholeNumberText(double x) {
    return formatShortest(x);
}

std::string withoutLastCharacter(std::string_view text) {
    const std::size_t n = utf8Length(text);
    return n == 0 ? std::string() : utf8Prefix(text, n - 1);
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Number of the group (1 to 18) in the order of the catalogue; 0 for no group.
int groupNumber(std::string_view description) {
    const CableGroup* g = findCableGroup(description);
    return g == nullptr ? 0 : static_cast<int>(g - cableGroups().data()) + 1;
}

// The allowable-current tables list the EM (eco) cables under the family they match in
// current: CE under CV, EEF under VVF.
std::string tableFamilyName(std::string_view code) {
    if (code == "CE-T")
        return "CV-T";
    if (code == "CE-D")
        return "CV-D";
    if (code == "CE-Q")
        return "CV-Q";
    if (code == "CE")
        return "CV";
    if (code == "EEF")
        return "VVF";
    return std::string(code);
}

// The CV-style tables align their keys by padding the size to three characters.
std::string_view cvFiller(std::string_view size) {
    if (size == "2゜" || size == "8゜")
        return "  ";
    if (size == "14゜" || size == "22゜" || size == "38゜" || size == "60゜")
        return " ";
    return "";
}

// The IV table keeps the size as printed: the dropped character is put back.
std::string_view ivFiller(std::string_view size) {
    if (size == "1.6mm" || size == "2.0mm" || size == "2.6mm")
        return "m";
    if (endsWith(size, "゜"))
        return "゜";
    return "";
}

// Core count of a multi-core cable chosen by the circuit: two cores for two wires, three for a
// three-wire circuit. A four-wire circuit has no key among the 2- and 3-core cables.
std::string_view coreSuffix(std::string_view system, bool directCurrentTwoWire) {
    if (system == "単相2線" || (directCurrentTwoWire && system == "直流2線"))
        return "-2C";
    if (system == "単相3線" || system == "三相3線")
        return "-3C";
    return "";
}

std::optional<int> installationIndex(Installation installation) {
    switch (installation) {
        case Installation::InAirOrCulvert:
            return 0;
        case Installation::ConduitInAir:
            return 1;
        case Installation::BuriedConduit:
            return 2;
        case Installation::None:
            break;
    }
    return std::nullopt;
}

bool contains(std::span<const std::string_view> items, std::string_view text) {
    return std::find(items.begin(), items.end(), text) != items.end();
}

Error notANumber(std::string_view what, std::string_view text) {
    return Error{std::string(what) + "の「" + quotedText(text) + "」は数値ではありません。"};
}

}  // namespace

CableSelection::CableSelection() : m_allowableGrid(1) {
    const auto items = wirelark::cablesPerTierItems(m_tierText, m_spacingText);
    m_perTierItems.assign(items.begin(), items.end());
}

void CableSelection::preselectFirstGroup() {
    if (m_selectorText == kGroupPrompt)
        m_selectorText = selectorDescriptions().front();
}

bool CableSelection::installationVisible(Installation installation) const {
    const auto i = installationIndex(installation);
    return i && m_installationVisible[static_cast<std::size_t>(*i)];
}

// --- FormActivate ---

void CableSelection::activate(const CallerContext& context) {
    m_context = context;
    m_patt = context.caller;

    for (int c = 0; c < kAllowableColumns; ++c)
        m_allowableGrid[0][static_cast<std::size_t>(c)] = kAllowableHeader[c];
    for (int r = 0; r < kImpedanceHeaderRows; ++r)
        for (int c = 0; c < kImpedanceColumns; ++c)
            m_impedanceGrid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                kImpedanceHeader[r][c];

    m_groupingVisible = false;
    if (m_installation == Installation::InAirOrCulvert)
        m_installation = Installation::None;
    m_installationVisible = {false, false, false};

    if (m_patt != Caller::None) {
        const std::string& method = context.installationMethod;
        if (method == kInAirOrCulvertMethod) {
            // Laying in air needs no correction of its own: the table's 40 ℃ values apply.
            m_groupingVisible = true;
            m_installationVisible[0] = true;
            m_installation = Installation::InAirOrCulvert;
        } else if (method == kConduitMethod) {
            m_groupingVisible = true;
            m_installationVisible[1] = true;
            if (m_installation != Installation::ConduitInAir) {
                m_installation = Installation::ConduitInAir;
                correctForInstallation();
            }
        } else if (method == kBuriedConduitMethod) {
            // Buried conduits are not grouped: the reduction stays 1.
            m_installationVisible[2] = true;
            if (m_installation != Installation::BuriedConduit) {
                m_installation = Installation::BuriedConduit;
                correctForInstallation();
            }
            m_factorText = "1.00";
        }
    }

    if (m_conductorOption != 1) {
        m_conductorOption = 1;
        if (m_loadedFamily == AllowableFamily::IV)
            correctForConductorCount();
    }

    showGroup();
    lookUpAllowableCurrent();
    computeGroupingFactor();
}

// --- Group selector and Show group (Button1Click) ---

void CableSelection::selectGroup(std::string_view text) {
    m_selectorText = std::string(text);
    showGroup();
}

void CableSelection::showGroup() {
    m_temperatureLabel.clear();
    m_familyItems.clear();
    m_familyText.clear();

    const CableGroup* group = findCableGroup(m_selectorText);
    if (group != nullptr) {
        m_familyItems.assign(group->familyCodes.begin(), group->familyCodes.end());
        m_familyText = m_familyItems.front();
        loadAllowableTable(group->allowableFamily);
        // The IV table is loaded at its base conditions; the conductor count and ambient
        // temperature the panel shows must hold for the values the user sees.
        if (group->allowableFamily == AllowableFamily::IV)
            correctForConductorCount();
        m_panel = group->panel;
        m_temperatureLabel = std::string(group->temperatureLabel);
    }

    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r)
        m_impedanceGrid[static_cast<std::size_t>(r)] = ImpedanceGridRow{};
    if (group == nullptr)
        return;
    int r = kImpedanceHeaderRows;
    for (const ImpedanceRow& row : group->rows) {
        if (r >= kImpedanceGridRows)
            break;
        m_impedanceGrid[static_cast<std::size_t>(r++)] = {
            std::string(row.size), std::string(row.r50), std::string(row.x50), std::string(row.r60),
            std::string(row.x60)};
    }
}

// --- Family loaders (Button8Click, Button9Click, Button10Click, Button12Click, Button16Click) ---

void CableSelection::loadAllowableTable(AllowableFamily family) {
    const auto table = allowableTable(family);
    m_allowableGrid.resize(table.size() + 1);
    std::size_t r = 1;
    for (const AllowableRow& row : table) {
        m_allowableGrid[r++] = {std::string(row.key),          std::string(row.outerDiameter),
                                std::string(row.crossSection), std::string(row.current),
                                std::string(row.weight),       std::string(row.inAir),
                                std::string(row.inConduit),    std::string(row.buried)};
    }
    m_loadedFamily = family;

    switch (family) {
        case AllowableFamily::CV:
            m_densen = 1;
            correctForInstallation();
            break;
        case AllowableFamily::CVT:
            // Forgetting the method makes the correction reset the temperature to its base.
            m_densen = 2;
            m_radio = 0;
            correctForInstallation();
            break;
        case AllowableFamily::IV:
        case AllowableFamily::FP:
        case AllowableFamily::VVFVV:
            break;
    }
}

// --- IV conductor-count correction (RadioButton1Click) ---

void CableSelection::correctForConductorCount() {
    loadAllowableTable(AllowableFamily::IV);
    const double k = static_cast<double>(conductorCountFactor(m_conductorOption));
    const double tf =
        temperatureFactor(kIvConductorLimit, kIvBaseTemperature, cellNumber(m_ambientText));
    // The table values already include the factor for three wires; divide it out before
    // applying the factor of the count chosen.
    for (std::size_t r = 1; r < m_allowableGrid.size(); ++r) {
        std::string& cell = m_allowableGrid[r][allowableColumn::current];
        cell = wholeNumberText(roundHalfEven(cellNumber(cell) * k * tf / kIvTableFactor));
    }
}

// --- Installation and temperature correction (Button4Click) ---

void CableSelection::correctForInstallation() {
    double base = 0.0;
    if (const auto b = installationBase(m_installation)) {
        m_baseCaption = std::string(b->caption);
        base = b->temperature;
        // A method chosen anew starts at its base temperature; a temperature chosen for the
        // same method stays.
        if (m_radio != b->radio) {
            m_temperatureText = wholeNumberText(b->temperature);
            m_radio = b->radio;
        }
    }
    const bool cableTable =
        m_loadedFamily == AllowableFamily::CV || m_loadedFamily == AllowableFamily::CVT;
    const auto column = installationIndex(m_installation);
    if (!cableTable || !column)
        return;

    const float f = static_cast<float>(
        temperatureFactor(kCableConductorLimit, base, cellNumber(m_temperatureText)));
    const std::size_t source = static_cast<std::size_t>(allowableColumn::inAir + *column);
    for (std::size_t r = 1; r < m_allowableGrid.size(); ++r) {
        AllowableGridRow& row = m_allowableGrid[r];
        row[allowableColumn::current] =
            wholeNumberText(roundHalfEven(cellNumber(row[source]) * static_cast<double>(f)));
    }
}

// --- Grouping factor (Button3Click) and the cables-per-tier list (ComboBox5Click/6Click) ---

void CableSelection::computeGroupingFactor() {
    const std::string key = m_tierText + m_perTierText + m_spacingText;
    m_caption = key;
    m_factorText = formatShortest(groupingFactor(key));
}

void CableSelection::rebuildCablesPerTier() {
    const auto items = wirelark::cablesPerTierItems(m_tierText, m_spacingText);
    m_perTierItems.assign(items.begin(), items.end());
    m_perTierText = m_perTierItems.empty() ? std::string() : m_perTierItems.front();
    computeGroupingFactor();
}

// --- The user's choices ---

Status CableSelection::pickFamily(std::string_view code) {
    if (std::find(m_familyItems.begin(), m_familyItems.end(), code) == m_familyItems.end())
        return Error{"ケーブル種別「" + std::string(code) +
                     "」はこの電線・ケーブルにはありません。"};
    m_familyText = std::string(code);
    return success();
}

Status CableSelection::chooseConductorCount(int option) {
    if (option < 1 || option > kConductorCountOptions)
        return Error{"配管収容本数の選択は 1 から 7 までです。"};
    if (option == m_conductorOption)
        return success();
    m_conductorOption = option;
    if (m_loadedFamily == AllowableFamily::IV)
        correctForConductorCount();
    followCorrections();
    return success();
}

Status CableSelection::chooseAmbient(std::string_view text) {
    if (!readNumber(text))
        return notANumber("周囲温度", text);
    if (text == m_ambientText)
        return success();
    m_ambientText = std::string(text);
    if (m_loadedFamily == AllowableFamily::IV)
        correctForConductorCount();
    followCorrections();
    return success();
}

Status CableSelection::chooseInstallation(Installation installation) {
    if (installation == Installation::None || !installationVisible(installation))
        return Error{"この配線方式では選べない布設方法です。"};
    if (installation == m_installation)
        return success();
    m_installation = installation;
    // Only the conduit methods have a handler: checking "気中暗渠布設" keeps the table as it is.
    if (installation != Installation::InAirOrCulvert)
        correctForInstallation();
    followCorrections();
    return success();
}

Status CableSelection::chooseInstallationTemperature(std::string_view text) {
    if (!readNumber(text))
        return notANumber("布設温度", text);
    m_temperatureText = std::string(text);
    correctForInstallation();
    followCorrections();
    return success();
}

Status CableSelection::chooseTiers(std::string_view text) {
    if (!contains(tierItems(), text))
        return Error{"段数「" + quotedText(text) + "」は選べません（1、2、3）。"};
    m_tierText = std::string(text);
    rebuildCablesPerTier();
    followCorrections();
    return success();
}

Status CableSelection::chooseSpacing(std::string_view text) {
    if (!contains(spacingItems(), text))
        return Error{"間隔「" + quotedText(text) + "」は選べません（S=d、S=2d、S=3d）。"};
    m_spacingText = std::string(text);
    rebuildCablesPerTier();
    followCorrections();
    return success();
}

Status CableSelection::chooseCablesPerTier(std::string_view text) {
    if (std::find(m_perTierItems.begin(), m_perTierItems.end(), text) == m_perTierItems.end())
        return Error{"列数「" + quotedText(text) + "」はこの段数と間隔では選べません。"};
    m_perTierText = std::string(text);
    computeGroupingFactor();
    followCorrections();
    return success();
}

Status CableSelection::editFactor(std::string_view text) {
    if (!text.empty() && !readNumber(text))
        return notANumber("低減率", text);
    m_factorText = std::string(text);
    followCorrections();
    return success();
}

double CableSelection::factorValue() const {
    return m_factorText.empty() ? 1.0 : readNumber(m_factorText).valueOr(1.0);
}

// --- Allowable-current lookup (StringGrid7Click, Button2Click) ---

void CableSelection::clickRow(int gridRow) {
    m_uyy7 = gridRow;
    lookUpAllowableCurrent();
}

void CableSelection::lookUpAllowableCurrent() {
    // A buried conduit is rated at the ground temperature: the selector goes back to its
    // first item, and a shallow burial at 300 mm is taken as 30 ℃ ground.
    if (m_patt != Caller::None && m_context.installationMethod == kBuriedConduitMethod) {
        const auto temperatures = installationTemperatureItems();
        m_temperatureText = std::string(temperatures[0]);
        if (m_context.burialDepth == kShallowBurial) {
            m_temperatureText = std::string(temperatures[2]);
            correctForInstallation();
        }
        m_factorText = "1.00";
    }

    const bool inGrid = m_uyy7 >= 0 && m_uyy7 < kImpedanceGridRows;
    const ImpedanceGridRow clicked =
        inGrid ? m_impedanceGrid[static_cast<std::size_t>(m_uyy7)] : ImpedanceGridRow{};
    m_sizeText = clicked[0];
    for (std::size_t c = 0; c < 4; ++c)
        m_clickedImpedance[c] = clicked[c + 1];

    m_lookupKey = buildLookupKey();
    m_caption = m_lookupKey;

    m_uy2 = 0;
    for (std::size_t r = 0; r < m_allowableGrid.size(); ++r)
        if (m_allowableGrid[r][allowableColumn::key] == m_lookupKey)
            m_uy2 = static_cast<int>(r);

    showMatchedCurrent();
}

void CableSelection::showMatchedCurrent() {
    double base = 0.0;
    if (m_uy2 > 0)
        base =
            cellNumber(m_allowableGrid[static_cast<std::size_t>(m_uy2)][allowableColumn::current]);
    // While choosing, the value is shown cut down to whole amperes, on the safe side.
    m_shownCurrent = wholeNumberText(std::trunc(factorValue() * base));
}

void CableSelection::followCorrections() {
    // Only while the table still holds the row that was looked up: another table loaded since
    // has other rows under the same numbers.
    const bool sameRow =
        m_uy2 > 0 && static_cast<std::size_t>(m_uy2) < m_allowableGrid.size() &&
        m_allowableGrid[static_cast<std::size_t>(m_uy2)][allowableColumn::key] == m_lookupKey;
    if (sameRow)
        showMatchedCurrent();
}

// The key of the allowable-current row for the size box: the family name of the table, one
// space, the size without its mark, the filler that aligns it in the table and the core count.
std::string CableSelection::buildLookupKey() {
    const int group = groupNumber(m_selectorText);
    std::string family = tableFamilyName(m_familyText);
    std::string_view filler;
    std::string_view suffix;
    const std::string& system = m_context.electricSystem;

    switch (group) {
        case 3:  // CV single core
        case 4:
            filler = cvFiller(m_sizeText);
            suffix = "-1C";
            break;
        case 5:  // CV 2 and 3 cores
            filler = cvFiller(m_sizeText);
            suffix = coreSuffix(system, false);
            break;
        case 6:  // CV 4 cores
            filler = cvFiller(m_sizeText);
            suffix = "-4C";
            break;
        case 7:  // IV
        case 8:
            filler = ivFiller(m_sizeText);
            break;
        case 9:  // EM IE/F, rated as IV
        case 10:
            if (family == "EM-IE")
                family = "IV";
            filler = ivFiller(m_sizeText);
            break;
        case 11:  // VV 2 and 3 cores; the compressed 8 mm² conductor carries what 8 mm² does
            if (m_sizeText == "8゜(円形圧縮)")
                m_sizeText = "8゜";
            filler = "゜";
            suffix = coreSuffix(system, true);
            break;
        case 12:  // VVF, VV: the size already names the cores, "1.6-2C"
        case 13:
            suffix = "C";
            break;
        case 15:  // EM-FP single core
            family = "FP";
            filler = cvFiller(m_sizeText);
            suffix = "-1C";
            break;
        case 17:  // EM-FP 2 and 3 cores
            family = "FP";
            filler = cvFiller(m_sizeText);
            suffix = coreSuffix(system, false);
            break;
        case 18:  // EM-FPD, EM-FPT
            if (family == "EM-FPT")
                family = "FP-T";
            if (family == "EM-FPD")
                family = "FP-D";
            break;
        default:  // CVD, CVT, CVQ: "CV-T 38"
            break;
    }

    std::string key = withoutLastCharacter(family + " " + m_sizeText);
    key += filler;
    key += suffix;
    if (m_familyText == "EEF")
        key += "C";
    return key;
}

// --- Hand-back (StringGrid7DblClick) ---

std::optional<CableChoice> CableSelection::doubleClickRow(int gridRow) {
    if (gridRow < kImpedanceHeaderRows || gridRow >= kImpedanceGridRows)
        return std::nullopt;
    const ImpedanceGridRow& row = m_impedanceGrid[static_cast<std::size_t>(gridRow)];
    if (row[0].empty())
        return std::nullopt;
    // The first click of a double-click has clicked this row; a window that did not report
    // it still gets the lookup of the row it hands back.
    if (gridRow != m_uyy7)
        clickRow(gridRow);

    CableChoice choice;
    choice.cableName = m_familyText + m_sizeText;
    const bool hz50 = m_context.frequency == Frequency::Hz50;
    choice.resistance = row[hz50 ? 1 : 3];
    choice.reactance = row[hz50 ? 2 : 4];
    if (m_uy2 > 0) {
        const std::string& base =
            m_allowableGrid[static_cast<std::size_t>(m_uy2)][allowableColumn::current];
        if (!base.empty())
            choice.allowableCurrent =
                wholeNumberText(roundHalfEven(factorValue() * cellNumber(base)));
    }
    choice.sizeKey = withoutLastCharacter(m_sizeText);
    return choice;
}

std::optional<CableChoice> CableSelection::handBackOf(int gridRow) const {
    // The click may preset the ground temperature and correct the table again: a copy takes
    // it, so the marks cost no change of what the user sees.
    CableSelection trial = *this;
    trial.clickRow(gridRow);
    return trial.doubleClickRow(gridRow);
}

}  // namespace wirelark
