#include "branch_dialog.h"

#include <algorithm>
#include <array>
#include <optional>

#include "circuit_rules.h"
#include "number_text.h"
#include "write_back.h"

namespace wirelark {

namespace {

constexpr std::string_view kInAirOrCulvert = "気中暗渠配線";
constexpr std::string_view kInConduit = "保護管配線";
constexpr std::string_view kBuriedConduit = "地中保護管配線";
constexpr std::array<std::string_view, 3> kMethods = {kInAirOrCulvert, kInConduit, kBuriedConduit};
constexpr std::array<std::string_view, 3> kDepths = {"H=300", "H=600", "H=1200"};
constexpr std::array<std::string_view, 6> kNameUnits = {"", "階", "Ｆ", "棟", "部屋", "工区"};
constexpr int kNameNumbers = 20;
constexpr int kLengths = 100;

// The caption a refusal names a field by: its first caption on the dialog, or its control name
// where it has none.
struct FieldCaption {
    std::string_view control;
    std::string_view caption;
};
constexpr std::array<FieldCaption, 11> kCaptions = {{
    {"Edit6", "負荷力率"},
    {"ComboBox6", "幹線"},
    {"ComboBox12", "主幹器具定格電流"},
    {"ComboBox15", "設計負荷電流"},
    {"Edit11", "許容電流"},
    {"Edit12", "ｲﾝﾋﾟｰﾀﾞﾝｽ"},
    {"Edit13", "%"},
    {"Edit7", "計算基準電圧"},
    {"Label10", "総長"},
    {"Label60", "電圧降下(単体)"},
    {"Label70", "許容電圧降下"},
}};

std::string_view captionOf(std::string_view control) {
    for (const FieldCaption& c : kCaptions)
        if (c.control == control)
            return c.caption;
    return control;
}

// Labels show results and take no focus.
bool takesFocus(std::string_view control) {
    return !control.starts_with("Label");
}

std::optional<double> fieldNumber(std::string_view text, bool nonNegative) {
    const auto n = readNumber(text);
    if (!n || (nonNegative && *n < 0.0))
        return std::nullopt;
    return *n;
}

std::vector<std::string> texts(auto&& views) {
    return std::vector<std::string>(std::begin(views), std::end(views));
}

std::vector<std::string> numberTexts(int count) {
    std::vector<std::string> out;
    for (int i = 1; i <= count; ++i)
        out.push_back(std::to_string(i));
    return out;
}

Error noSuchControl(std::string_view control) {
    return Error{"「" + std::string(control) + "」は TForm4 にありません。"};
}

// Every control of the dialog that a script may name, the invisible action buttons included.
bool isControl(std::string_view control) {
    constexpr std::string_view others[] = {
        "Edit13",       "Button1",      "Button4",   "Button5",   "Button8",  "Button9",
        "Button10",     "Button11",     "Button12",  "Button14",  "Button16", "RadioButton1",
        "RadioButton2", "RadioButton5", "CheckBox1", "CheckBox2",
    };
    return std::find(std::begin(others), std::end(others), control) != std::end(others);
}

Error cannot(std::string_view control, std::string_view what) {
    return Error{"「" + std::string(control) + "」は" + std::string(what) + "できません。"};
}

}  // namespace

BranchDialog::BranchDialog(Document& document, CableSelection& cables)
    : m_document(document), m_cables(cables) {}

void BranchDialog::setEdit13(std::string text) {
    m_document.setSupplyPercent(std::move(text));
}

std::vector<std::string> BranchDialog::items(std::string_view comboBox) const {
    if (comboBox == "ComboBox1")
        return numberTexts(kNameNumbers);
    if (comboBox == "ComboBox2")
        return texts(kNameUnits);
    if (comboBox == "ComboBox6")
        return numberTexts(kLengths);
    if (comboBox == "ComboBox12" || comboBox == "ComboBox15")
        return texts(kOfferedRatingTexts);
    if (comboBox == "ComboBox14")
        return texts(kMethods);
    if (comboBox == "ComboBox16")
        return texts(kDepths);
    return {};
}

// ---- Refusals ----------------------------------------------------------------------------------

BranchDialog::Step BranchDialog::refuse(DialogHost& host, std::string_view message,
                                        std::string_view control) {
    host.info(message);
    if (!control.empty())
        host.focus(control);
    return Step::Refused;
}

BranchDialog::Step BranchDialog::refuseNumber(DialogHost& host, std::string_view control,
                                              std::string_view text) {
    if (!m_activating) {
        host.info(invalidNumberMessage(captionOf(control), text));
        if (takesFocus(control))
            host.focus(control);
    }
    return Step::Failed;
}

// ---- Internal actions --------------------------------------------------------------------------

BranchDialog::Step BranchDialog::Button9(DialogHost& host) {
    if (Label56 == kResistancePlaceholder || Label57 == kReactancePlaceholder)
        return Step::Done;
    if (isBlank(Edit6))
        return refuse(host, kEnterPowerFactorMessage, "Edit6");
    const auto r = fieldNumber(Label56, true);
    if (!r)
        return refuseNumber(host, "Label56", Label56);
    const auto x = fieldNumber(Label57, true);
    if (!x)
        return refuseNumber(host, "Label57", Label57);
    const auto cos = fieldNumber(Edit6, true);
    if (!cos || !(*cos > 0.0 && *cos <= 1.0))
        return refuseNumber(host, "Edit6", Edit6);
    const auto z = impedance(*r, *x, *cos);
    if (!z)
        return refuseNumber(host, "Edit6", Edit6);
    Edit12 = formatThreeDecimals(*z);
    return Step::Done;
}

BranchDialog::Step BranchDialog::Button10(DialogHost& host) {
    if (isBlank(ComboBox15))
        return refuse(host, kEnterDesignCurrentMessage, "ComboBox15");
    if (isBlank(ComboBox6))
        return refuse(host, kEnterBranchLengthMessage, "ComboBox6");
    // An empty impedance is as good as no cable chosen.
    if (Edit12 == kImpedancePlaceholder || isBlank(Edit12))
        return Step::Done;
    const auto current = fieldNumber(ComboBox15, true);
    if (!current)
        return refuseNumber(host, "ComboBox15", ComboBox15);
    const auto length = fieldNumber(ComboBox6, true);
    if (!length)
        return refuseNumber(host, "ComboBox6", ComboBox6);
    const auto z = fieldNumber(Edit12, true);
    if (!z)
        return refuseNumber(host, "Edit12", Edit12);
    Label60 = formatTwoDecimals(voltageDrop(Edit2, *current, *length, *z));
    return Step::Done;
}

BranchDialog::Step BranchDialog::Button12(DialogHost& host) {
    // Without an allowable current (the size has no row in the allowable-current table) there
    // is nothing to compare.
    if (isBlank(Edit11) || isBlank(ComboBox15))
        return Step::Done;
    const auto allowable = fieldNumber(Edit11, true);
    if (!allowable)
        return refuseNumber(host, "Edit11", Edit11);
    const auto current = fieldNumber(ComboBox15, true);
    if (!current)
        return refuseNumber(host, "ComboBox15", ComboBox15);
    if (!cableBelowDesignCurrent(*current, *allowable))
        return Step::Done;
    host.info(cableBelowDesignCurrentMessage(Edit10, ComboBox15));
    // Back to the catalogue until the cable carries the current or the selection is closed.
    return selectCable(host);
}

BranchDialog::Step BranchDialog::Button14(DialogHost& host) {
    // The drop allowed at the end of this row counts from the feeder's origin.
    double length = 1.0;
    if (!isBlank(Label10)) {
        const auto before = fieldNumber(Label10, false);
        if (!before)
            return refuseNumber(host, "Label10", Label10);
        double own = 0.0;
        if (!isBlank(ComboBox6)) {
            const auto l = fieldNumber(ComboBox6, true);
            if (!l)
                return refuseNumber(host, "ComboBox6", ComboBox6);
            own = *l;
        }
        length = *before + own;
    }
    const auto base = fieldNumber(Edit7, true);
    if (!base)
        return refuseNumber(host, "Edit7", Edit7);
    const SupplyChoice supply = m_document.supply();
    double fraction = 0.0;
    if (supply.kind == SupplyKind::Typed) {
        const auto percent = fieldNumber(supply.percent, false);
        if (!percent)
            return refuseNumber(host, "Edit13", supply.percent);
        fraction = *percent * 0.01;
    } else {
        fraction = allowableDropFraction(supply.kind, length);
        m_document.setSupplyPercent(formatShortest(allowableDropPercent(supply.kind, length)));
    }
    Label70 = formatShortest(allowableDrop(*base, fraction));
    return Step::Done;
}

BranchDialog::Step BranchDialog::Button8(DialogHost& host) {
    CableRequest request;
    request.context.caller = Caller::BranchDialog;
    request.context.installationMethod = ComboBox14;
    request.context.burialDepth = ComboBox16;
    // The cable is judged for the system of the feeder this row belongs to.
    request.context.electricSystem = Edit2;
    request.context.frequency = m_document.sheet().settings.frequency;
    request.designCurrent = ComboBox15;
    request.length = ComboBox6;
    request.powerFactor = Edit6;
    request.allowableDrop = Label70;
    const std::optional<CableChoice> choice = host.chooseCable(request);
    if (!choice)
        return Step::Refused;
    Edit10 = choice->cableName;
    Label56 = choice->resistance;
    Label57 = choice->reactance;
    Edit11 = choice->allowableCurrent;
    Label43 = choice->sizeKey;
    return Step::Done;
}

BranchDialog::Step BranchDialog::selectCable(DialogHost& host) {
    if (const Step picked = Button8(host); picked != Step::Done)
        return picked;
    for (Step (BranchDialog::*step)(DialogHost&) :
         {&BranchDialog::Button9, &BranchDialog::Button10})
        if ((this->*step)(host) == Step::Failed)
            return Step::Failed;
    const Step check = Button12(host);
    if (check == Step::Failed)
        return check;
    if (Button14(host) == Step::Failed)
        return Step::Failed;
    return check;
}

BranchDialog::Step BranchDialog::dropAndAllowableDrop(DialogHost& host) {
    if (Button10(host) == Step::Failed)
        return Step::Failed;
    return Button14(host);
}

void BranchDialog::chooseSupply(SupplyKind kind, DialogHost& host) {
    m_document.setSupplyKind(kind);
    Button14(host);
}

// ---- User actions ------------------------------------------------------------------------------

void BranchDialog::FormActivate(DialogHost& host, int clickedColumn) {
    m_state = State::Open;
    m_activating = true;
    CheckBox1 = false;
    mainDeviceBoxReduced = false;

    // The mark belongs to this opening only: it is read once and cleared, so it never carries
    // over to the next row.
    const bool secondSystemLeaves = Tag == 1;
    Tag = 0;
    const RowClass row = classifyRow(Edit4);
    switch (row.kind) {
        case RowKind::Head:
            pat = RowKind::Head;
            arrangement = Arrangement::BesideTrunk;
            feederBreakerShown = true;
            break;
        case RowKind::Branch:
        case RowKind::LastBranch:
            pat = row.kind;
            arrangement = Arrangement::BesideTrunk;
            feederBreakerShown = false;
            break;
        case RowKind::Trunk:
        case RowKind::FirstTrunk:
            // System 2's own first trunk row is drawn "│　" like any trunk row; the main window's
            // mark tells it apart.
            pat = row.kind == RowKind::FirstTrunk || (Edit4 == glyph::trunk && secondSystemLeaves)
                      ? RowKind::FirstTrunk
                      : RowKind::Trunk;
            arrangement = Arrangement::AtTrunkRow;
            feederBreakerShown = false;
            mainDeviceBoxReduced = pat == RowKind::FirstTrunk && secondSystemLeaves &&
                                   (Edit4 == glyph::trunk || Edit4 == glyph::firstTrunkTwo);
            break;
        default:
            pat = RowKind::Other;
            break;
    }

    if (isBlank(ComboBox14))
        ComboBox14 = kInAirOrCulvert;
    if (isBlank(Edit11))
        Edit11 = "0";
    if (isBlank(Edit12))
        Edit12 = kImpedancePlaceholder;
    burialDepthShown = ComboBox14 == kBuriedConduit;

    if (dropAndAllowableDrop(host) == Step::Failed) {
        m_activating = false;
        return;
    }
    m_cables.preselectFirstGroup();

    switch (clickedColumn) {
        case 4:
            host.focus("Edit8");
            break;
        case 6:
            host.focus("Button16");
            break;
        case 7:
            host.focus("Edit5");
            break;
        case 8:
            if (row.kind == RowKind::Head)
                host.focus("Edit8");
            else if (row.isBranch())
                host.focus("ComboBox12");
            break;
        case 10:
            host.focus("Edit6");
            break;
        case 11:
            host.focus("Button11");
            break;
        default:
            break;
    }
    mainDevicePictureShown = !ComboBox12.empty();
    m_activating = false;
}

void BranchDialog::Button1Click() {
    ComboBox12.clear();
    mainDevicePictureShown = false;
}

bool BranchDialog::Button4Click(DialogHost& host) {
    if (Edit12 == kImpedancePlaceholder || isBlank(Edit12)) {
        host.info(kChooseCableMessage);
        return false;
    }
    if (isBlank(ComboBox15)) {
        refuse(host, kEnterDesignLoadCurrentMessage, "ComboBox15");
        return false;
    }
    // Everything is recomputed before the drop is judged, so that a current or length changed
    // since the last computation cannot pass a drop that is too large.
    for (Step (BranchDialog::*step)(DialogHost&) :
         {&BranchDialog::Button9, &BranchDialog::Button10, &BranchDialog::Button12,
          &BranchDialog::Button14})
        if ((this->*step)(host) != Step::Done)
            return false;
    const auto drop = fieldNumber(Label60, true);
    if (!drop) {
        refuseNumber(host, "Label60", Label60);
        return false;
    }
    const auto allowable = fieldNumber(Label70, false);
    if (!allowable) {
        refuseNumber(host, "Label70", Label70);
        return false;
    }
    if (dropTooLarge(*drop, *allowable)) {
        host.info(kDropTooLargeMessage);
        return false;
    }
    if (dropOnlyJustWithin(*drop, *allowable))
        host.info(kDropOnlyJustWithinMessage);
    // The sheet keeps no R and X: the next opening must not take them for its row's cable.
    Label56 = kResistancePlaceholder;
    Label57 = kReactancePlaceholder;
    m_state = State::Confirmed;
    return true;
}

void BranchDialog::Button5Click() {
    m_state = State::Cancelled;
}

void BranchDialog::Button11Click(DialogHost& host) {
    selectCable(host);
}

void BranchDialog::Button16Click(DialogHost& host) {
    const std::optional<std::string> keyed = host.keypad();
    if (!keyed)
        return;
    ComboBox6 = *keyed;
    dropAndAllowableDrop(host);
}

void BranchDialog::ComboBox6Click(DialogHost& host) {
    dropAndAllowableDrop(host);
}

void BranchDialog::ComboBox12Click() {
    mainDevicePictureShown = !ComboBox12.empty();
}

void BranchDialog::ComboBox14Click(DialogHost& host) {
    if (ComboBox14 == kInAirOrCulvert || ComboBox14 == kInConduit) {
        burialDepthShown = false;
        selectCable(host);
    } else {
        // Buried conduit: the cable table opens once the depth is picked.
        burialDepthShown = ComboBox14 == kBuriedConduit;
    }
    host.focus("Button11");
}

void BranchDialog::ComboBox15Click(DialogHost& host) {
    // Without a main device ("無し") there is nothing to compare.
    const auto mainDevice = readInteger(ComboBox12);
    const auto current = readInteger(ComboBox15);
    if (!mainDevice || !current)
        return;
    switch (mainDeviceAgainstDesignCurrent(*mainDevice, *current)) {
        case MainDeviceAction::Raise:
            ComboBox12 = ComboBox15;
            break;
        case MainDeviceAction::AskToKeep:
            if (!host.question(mainDeviceQuestion(ComboBox12)))
                ComboBox12 = ComboBox15;
            host.focus("Button4");
            break;
        case MainDeviceAction::Keep:
            break;
    }
}

void BranchDialog::ComboBox16Click(DialogHost& host) {
    selectCable(host);
}

void BranchDialog::RadioButton1Click(DialogHost& host) {
    chooseSupply(SupplyKind::Transformer, host);
}

void BranchDialog::RadioButton2Click(DialogHost& host) {
    chooseSupply(SupplyKind::Utility, host);
}

void BranchDialog::RadioButton5Click(DialogHost& host) {
    chooseSupply(SupplyKind::Typed, host);
}

void BranchDialog::Edit2MouseDown(DialogHost& host) {
    host.focus("Button11");
}

void BranchDialog::Edit3MouseDown(DialogHost& host) {
    host.focus("Button11");
}

void BranchDialog::Edit4MouseDown(DialogHost& host) {
    host.focus("Button11");
}

void BranchDialog::ComboBox1MouseEnter(DialogHost& host) {
    host.focus("Edit5");
}

// ---- The hand-off with the sheet row -----------------------------------------------------------

BranchEntry BranchDialog::entry() const {
    BranchEntry e;
    e.feederName = Edit1;
    e.system = Edit2;
    e.voltage = Edit3;
    e.feederBreaker = Edit8;
    e.glyph = Edit4;
    e.length = ComboBox6;
    e.loadName = Edit5;
    e.mainBreaker = ComboBox12;
    e.designCurrent = ComboBox15;
    e.powerFactor = Edit6;
    e.cable = Edit10;
    e.method = ComboBox14;
    e.allowableCurrent = Edit11;
    e.impedance = Edit12;
    e.voltageDrop = Label60;
    e.allowableDrop = Label70;
    e.remarks = Edit9;
    e.lengthBefore = Label10;
    e.sizeKey = Label43;
    e.baseVoltage = Edit7;
    e.nameNumber = ComboBox1;
    e.nameSuffix = ComboBox2;
    e.sameDataBelow = CheckBox1;
    e.keepLoadNames = CheckBox2;
    return e;
}

void BranchDialog::setEntry(const BranchEntry& e) {
    Edit1 = e.feederName;
    Edit2 = e.system;
    Edit3 = e.voltage;
    Edit8 = e.feederBreaker;
    Edit4 = e.glyph;
    ComboBox6 = e.length;
    Edit5 = e.loadName;
    ComboBox12 = e.mainBreaker;
    ComboBox15 = e.designCurrent;
    Edit6 = e.powerFactor;
    Edit10 = e.cable;
    ComboBox14 = e.method;
    Edit11 = e.allowableCurrent;
    Edit12 = e.impedance;
    Label60 = e.voltageDrop;
    Label70 = e.allowableDrop;
    Edit9 = e.remarks;
    Label10 = e.lengthBefore;
    Label43 = e.sizeKey;
    Edit7 = e.baseVoltage;
    ComboBox1 = e.nameNumber;
    ComboBox2 = e.nameSuffix;
    CheckBox1 = e.sameDataBelow;
    CheckBox2 = e.keepLoadNames;
}

// ---- ScriptableDialog --------------------------------------------------------------------------

std::string* BranchDialog::textField(std::string_view control) {
    std::pair<std::string_view, std::string*> fields[] = {
        {"Edit1", &Edit1},           {"Edit2", &Edit2},           {"Edit3", &Edit3},
        {"Edit4", &Edit4},           {"Edit5", &Edit5},           {"Edit6", &Edit6},
        {"Edit7", &Edit7},           {"Edit8", &Edit8},           {"Edit9", &Edit9},
        {"Edit10", &Edit10},         {"Edit11", &Edit11},         {"Edit12", &Edit12},
        {"ComboBox1", &ComboBox1},   {"ComboBox2", &ComboBox2},   {"ComboBox6", &ComboBox6},
        {"ComboBox12", &ComboBox12}, {"ComboBox14", &ComboBox14}, {"ComboBox15", &ComboBox15},
        {"ComboBox16", &ComboBox16}, {"Label10", &Label10},       {"Label43", &Label43},
        {"Label56", &Label56},       {"Label57", &Label57},       {"Label60", &Label60},
        {"Label70", &Label70},
    };
    for (auto& [name, field] : fields)
        if (name == control)
            return field;
    return nullptr;
}

bool BranchDialog::known(std::string_view control) {
    return textField(control) != nullptr || isControl(control);
}

Status BranchDialog::pick(std::string_view control, std::string_view text, DialogHost& host) {
    if (m_state != State::Open)
        return Error{"TForm4 は開いていません。"};
    const std::vector<std::string> listed = items(control);
    if (listed.empty())
        return known(control) ? cannot(control, "一覧から選択") : noSuchControl(control);
    if (std::find(listed.begin(), listed.end(), text) == listed.end())
        return Error{"「" + std::string(control) + "」の一覧に「" + std::string(text) +
                     "」はありません。"};
    *textField(control) = std::string(text);
    if (control == "ComboBox6")
        ComboBox6Click(host);
    else if (control == "ComboBox12")
        ComboBox12Click();
    else if (control == "ComboBox14")
        ComboBox14Click(host);
    else if (control == "ComboBox15")
        ComboBox15Click(host);
    else if (control == "ComboBox16")
        ComboBox16Click(host);
    return success();
}

Status BranchDialog::type(std::string_view control, std::string_view text, DialogHost&) {
    if (m_state != State::Open)
        return Error{"TForm4 は開いていません。"};
    if (control == "Edit13") {
        setEdit13(std::string(text));
        return success();
    }
    // The fields taken from the head row's system, voltage and glyph cannot be edited, nor can
    // the labels and the two fixed lists.
    constexpr std::string_view typeable[] = {
        "Edit1",  "Edit5",  "Edit6",     "Edit7",     "Edit8",     "Edit9",      "Edit10",
        "Edit11", "Edit12", "ComboBox1", "ComboBox2", "ComboBox6", "ComboBox12", "ComboBox15",
    };
    if (std::find(std::begin(typeable), std::end(typeable), control) == std::end(typeable))
        return known(control) ? cannot(control, "入力") : noSuchControl(control);
    *textField(control) = std::string(text);
    return success();
}

Status BranchDialog::click(std::string_view control, DialogHost& host) {
    if (m_state != State::Open)
        return Error{"TForm4 は開いていません。"};
    if (control == "Button1")
        Button1Click();
    else if (control == "Button4")
        Button4Click(host);
    else if (control == "Button5")
        Button5Click();
    else if (control == "Button11")
        Button11Click(host);
    else if (control == "Button16")
        Button16Click(host);
    else if (control == "RadioButton1") {
        if (!RadioButton1())
            RadioButton1Click(host);
    } else if (control == "RadioButton2") {
        if (!RadioButton2())
            RadioButton2Click(host);
    } else if (control == "RadioButton5") {
        if (!RadioButton5())
            RadioButton5Click(host);
    } else if (control == "CheckBox1")
        CheckBox1 = !CheckBox1;
    else if (control == "CheckBox2")
        CheckBox2 = !CheckBox2;
    else if (control == "Edit2")
        Edit2MouseDown(host);
    else if (control == "Edit3")
        Edit3MouseDown(host);
    else if (control == "Edit4")
        Edit4MouseDown(host);
    else
        return known(control) ? cannot(control, "クリック") : noSuchControl(control);
    return success();
}

Status BranchDialog::doubleClick(std::string_view control, DialogHost&) {
    if (m_state != State::Open)
        return Error{"TForm4 は開いていません。"};
    constexpr std::string_view emptied[] = {"Edit1", "Edit5",     "Edit6",     "Edit8",
                                            "Edit9", "ComboBox1", "ComboBox2", "ComboBox12"};
    if (std::find(std::begin(emptied), std::end(emptied), control) != std::end(emptied)) {
        textField(control)->clear();
        return success();
    }
    return known(control) ? cannot(control, "ダブルクリック") : noSuchControl(control);
}

void BranchDialog::close(DialogHost&) {
    m_state = State::Cancelled;
}

std::vector<std::pair<std::string, std::string>> BranchDialog::report() const {
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    return {
        {"Edit1", Edit1},
        {"Edit2", Edit2},
        {"Edit3", Edit3},
        {"Edit4", Edit4},
        {"Edit5", Edit5},
        {"ComboBox1", ComboBox1},
        {"ComboBox2", ComboBox2},
        {"Edit6", Edit6},
        {"ComboBox6", ComboBox6},
        {"Label10", Label10},
        {"Edit8", Edit8},
        {"ComboBox12", ComboBox12},
        {"ComboBox15", ComboBox15},
        {"Label60", Label60},
        {"ComboBox14", ComboBox14},
        {"ComboBox16", ComboBox16},
        {"Edit10", Edit10},
        {"Edit11", Edit11},
        {"Edit12", Edit12},
        {"Label56", Label56},
        {"Label57", Label57},
        {"Label43", Label43},
        {"Edit13", Edit13()},
        {"Edit7", Edit7},
        {"Label70", Label70},
        {"CheckBox1", flag(CheckBox1)},
        {"CheckBox2", flag(CheckBox2)},
        {"Edit9", Edit9},
    };
}

}  // namespace wirelark
