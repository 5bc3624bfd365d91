#include "feeder_dialog.h"

#include <algorithm>
#include <array>
#include <optional>

#include "circuit_rules.h"
#include "number_text.h"
#include "quiet_host.h"
#include "sheet.h"

namespace wirelark {

namespace {

constexpr std::string_view kInAirOrCulvert = "気中暗渠配線";
constexpr std::string_view kInConduit = "保護管配線";
constexpr std::string_view kBuriedConduit = "地中保護管配線";
constexpr std::string_view kMainDeviceShownCaption = "無し";
constexpr std::string_view kMainDeviceHiddenCaption = "ﾌﾞﾚｰｶｰ表示";
constexpr std::string_view kCalculatedCurrentPrefix = "計算電流値:";
// D1: the breaker selection finds no standard breaker above 1600 A.
constexpr std::string_view kChooseBreakerMessage = "遮断器定格電流を選択してください";

std::vector<std::string> texts(std::span<const std::string_view> items) {
    return {items.begin(), items.end()};
}

std::vector<std::string> counting(int first, int last) {
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i)
        out.push_back(std::to_string(i));
    return out;
}

const std::vector<std::string>& loadTypeItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> out;
        for (const LoadType& t : kLoadTypes)
            out.emplace_back(t.name);
        return out;
    }();
    return items;
}

const std::vector<std::string>& methodItems() {
    static const std::vector<std::string> items = {
        std::string(kInAirOrCulvert), std::string(kInConduit), std::string(kBuriedConduit)};
    return items;
}

const std::vector<std::string>& depthItems() {
    static const std::vector<std::string> items = {"H=300", "H=600", "H=1200"};
    return items;
}

const std::vector<std::string>& systemItems() {
    static const std::vector<std::string> items = texts(kSystemsInDialogOrder);
    return items;
}

const std::vector<std::string>& voltageItems() {
    static const std::vector<std::string> items = texts(kVoltagesInDialogOrder);
    return items;
}

const std::vector<std::string>& ratingItems() {
    static const std::vector<std::string> items = texts(kOfferedRatingTexts);
    return items;
}

const std::vector<std::string>& lengthItems() {
    static const std::vector<std::string> items = counting(1, 1000);
    return items;
}

const std::vector<std::string>& dwellingItems() {
    static const std::vector<std::string> items = counting(1, 50);
    return items;
}

const std::vector<std::string>& branchSpacingItems() {
    static const std::vector<std::string> items = counting(1, 100);
    return items;
}

// A field holds nothing the engineer typed: empty or blanks only.
bool missing(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// What a number read from a field must be for the action that needs it.
enum class Need {
    Any,          // any number
    NonNegative,  // a length, a current, a voltage, a resistance
    PowerFactor,  // cos θ: above 0, at most 1
    Count,        // a whole number of dwellings, at least 1
};

}  // namespace

// One control of the dialog as the replay and the window reach it by name.
struct FeederDialog::Field {
    enum class Kind {
        Edit,      // an edit box
        Combo,     // a combo box the engineer may type into
        List,      // a combo box that only offers its items
        Label,     // a caption that shows a value
        ReadOnly,  // an edit box the dialog fills itself
    };
    std::string_view name;
    Kind kind;
    std::string FeederDialog::*member;
    // The field's caption, as a refusal names it; the control name where it has none.
    std::string_view caption;
    const std::vector<std::string>& (*items)() = nullptr;
};

std::span<const FeederDialog::Field> FeederDialog::fields() {
    using K = Field::Kind;
    using D = FeederDialog;
    static const std::array<Field, 35> kFields = {{
        {"Edit1", K::ReadOnly, &D::Edit1, "Edit1"},
        {"Edit2", K::Edit, &D::Edit2, "幹線番号"},
        {"ComboBox13", K::List, &D::ComboBox13, "負荷の種類", loadTypeItems},
        {"Edit4", K::Edit, &D::Edit4, "力率"},
        {"ComboBox14", K::List, &D::ComboBox14, "配線方式", methodItems},
        {"ComboBox16", K::List, &D::ComboBox16, "埋設深さ", depthItems},
        {"Edit8", K::Edit, &D::Edit8, "電線及びケーブル"},
        {"Edit9", K::Edit, &D::Edit9, "許容電流"},
        {"Edit10", K::Edit, &D::Edit10, "ｲﾝﾋﾟｰﾀﾞﾝｽ"},
        {"Label56", K::Label, &D::Label56, "Label56"},
        {"Label57", K::Label, &D::Label57, "Label57"},
        {"Label43", K::Label, &D::Label43, "Label43"},
        {"Label60", K::Label, &D::Label60, "電圧降下(単体)"},
        // The percentage of the allowable drop is the document's (Edit11(), setEdit11()).
        {"Edit11", K::Edit, nullptr, "%"},
        {"Edit6", K::Edit, &D::Edit6, "計算基準電圧"},
        {"Label70", K::Label, &D::Label70, "許容電圧降下"},
        {"Edit12", K::Edit, &D::Edit12, "備考"},
        {"ComboBox2", K::Combo, &D::ComboBox2, "ComboBox2", systemItems},
        {"ComboBox3", K::Combo, &D::ComboBox3, "ComboBox3", voltageItems},
        {"ComboBox4", K::Combo, &D::ComboBox4, "遮断器定格電流", ratingItems},
        {"ComboBox5", K::Combo, &D::ComboBox5, "こう長", lengthItems},
        {"Edit5", K::Edit, &D::Edit5, "設計負荷電流"},
        {"ComboBox11", K::Combo, &D::ComboBox11, "主幹器具定格電流", ratingItems},
        {"Label40", K::Label, &D::Label40, "Label40"},
        {"Edit7", K::Edit, &D::Edit7, "負荷名称"},
        {"ComboBox7", K::Combo, &D::ComboBox7, "ComboBox7", systemItems},
        {"ComboBox8", K::Combo, &D::ComboBox8, "ComboBox8", voltageItems},
        {"ComboBox10", K::Combo, &D::ComboBox10, "こう長", lengthItems},
        {"Edit3", K::Edit, &D::Edit3, "設計負荷電流"},
        {"ComboBox9", K::Combo, &D::ComboBox9, "遮断器定格電流", ratingItems},
        {"ComboBox1", K::Combo, &D::ComboBox1, "幹線からの分岐数", dwellingItems},
        {"ComboBox17", K::Combo, &D::ComboBox17, "2系統", dwellingItems},
        {"ComboBox15", K::Combo, &D::ComboBox15, "設計負荷電流", ratingItems},
        {"ComboBox12", K::Combo, &D::ComboBox12, "主幹器具定格電流", ratingItems},
        {"ComboBox6", K::Combo, &D::ComboBox6, "こう長(分岐間)", branchSpacingItems},
    }};
    return kFields;
}

const FeederDialog::Field* FeederDialog::findField(std::string_view control) const {
    for (const Field& f : fields())
        if (f.name == control)
            return &f;
    return nullptr;
}

std::span<const std::string> FeederDialog::itemsOf(std::string_view control) {
    for (const Field& f : fields())
        if (f.name == control && f.items)
            return f.items();
    return {};
}

namespace {

// Reads the number an action needs from a field. A text that is not such a number is refused
// with the field's caption, and the field takes the focus.
std::optional<double> readField(DialogHost& host, std::string_view control,
                                std::string_view caption, std::string_view text, Need need) {
    std::optional<double> value;
    if (need == Need::Count) {
        const auto n = readInteger(text);
        if (n && *n >= 1)
            value = static_cast<double>(*n);
    } else if (const auto x = readNumber(text)) {
        const bool fits = need == Need::Any || (need == Need::NonNegative && *x >= 0.0) ||
                          (need == Need::PowerFactor && *x > 0.0 && *x <= 1.0);
        if (fits)
            value = *x;
    }
    if (!value) {
        host.info(invalidNumberMessage(caption, text));
        host.focus(control);
    }
    return value;
}

}  // namespace

FeederDialog::FeederDialog(Document& document, CableSelection& cables)
    : m_document(document), m_cables(cables) {}

std::string_view FeederDialog::Button3Caption() const {
    return mainDeviceShown ? kMainDeviceShownCaption : kMainDeviceHiddenCaption;
}

bool FeederDialog::burialDepthShown() const {
    return ComboBox14 == kBuriedConduit;
}

// ---- Internal actions ---------------------------------------------------------------------------

bool FeederDialog::Button9(DialogHost& host) {
    if (Label56 == kResistancePlaceholder || Label57 == kReactancePlaceholder)
        return true;
    if (missing(Edit4)) {
        host.info(kEnterPowerFactorMessage);
        host.focus("Edit4");
        return false;
    }
    const auto r = readField(host, "Label56", "Label56", Label56, Need::NonNegative);
    if (!r)
        return false;
    const auto x = readField(host, "Label57", "Label57", Label57, Need::NonNegative);
    if (!x)
        return false;
    const auto pf = readField(host, "Edit4", "力率", Edit4, Need::PowerFactor);
    if (!pf)
        return false;
    const auto z = impedance(*r, *x, *pf);
    if (!z) {
        host.info(invalidNumberMessage("力率", Edit4));
        host.focus("Edit4");
        return false;
    }
    Edit10 = formatThreeDecimals(*z);
    return true;
}

bool FeederDialog::Button10(DialogHost& host) {
    const std::string& current = activeDesignCurrent();
    if (missing(current)) {
        host.info(kEnterDesignCurrentMessage);
        host.focus(activeCurrentControl());
        return false;
    }
    const std::string& length = activeLength();
    if (missing(length)) {
        host.info(kEnterFeederLengthMessage);
        host.focus(activeLengthControl());
        return false;
    }
    // An empty impedance is a cable not chosen, as "Z" is.
    if (Edit10 == kImpedancePlaceholder || missing(Edit10))
        return true;
    const auto i =
        readField(host, activeCurrentControl(), "設計負荷電流", current, Need::NonNegative);
    if (!i)
        return false;
    const auto l = readField(host, activeLengthControl(), "こう長", length, Need::NonNegative);
    if (!l)
        return false;
    const auto z = readField(host, "Edit10", "ｲﾝﾋﾟｰﾀﾞﾝｽ", Edit10, Need::NonNegative);
    if (!z)
        return false;
    Label60 = formatTwoDecimals(voltageDrop(activeSystem(), *i, *l, *z));
    return true;
}

FeederDialog::CableCheck FeederDialog::Button12(DialogHost& host) {
    for (;;) {
        // Without an allowable-current row the catalogue says nothing about the cable's
        // current; the engineer judges it.
        if (missing(Edit9))
            return CableCheck::Passes;
        const std::string& current = activeDesignCurrent();
        if (missing(current)) {
            host.info(kEnterDesignCurrentMessage);
            host.focus(activeCurrentControl());
            return CableCheck::Stopped;
        }
        const auto i =
            readField(host, activeCurrentControl(), "設計負荷電流", current, Need::NonNegative);
        if (!i)
            return CableCheck::Stopped;
        const auto a = readField(host, "Edit9", "許容電流", Edit9, Need::NonNegative);
        if (!a)
            return CableCheck::Stopped;
        if (!cableBelowDesignCurrent(*i, *a))
            return CableCheck::Passes;
        host.info(cableBelowDesignCurrentMessage(Edit8, current));
        // The engineer is led back to the catalogue until the cable carries the current or the
        // selection is closed without a pick.
        m_cableChosen = false;
        const bool picked = Button8(host);
        m_cableChosen = false;
        if (!picked)
            return CableCheck::Fails;
        if (!Button9(host) || !Button10(host))
            return CableCheck::Stopped;
    }
}

bool FeederDialog::Button14(DialogHost& host) {
    const auto base = readField(host, "Edit6", "計算基準電圧", Edit6, Need::NonNegative);
    if (!base)
        return false;
    double length = 1.0;
    if (!missing(activeLength())) {
        const auto l =
            readField(host, activeLengthControl(), "こう長", activeLength(), Need::NonNegative);
        if (!l)
            return false;
        length = *l;
    }
    const SupplyKind kind = m_document.supply().kind;
    double fraction = 0.0;
    if (kind == SupplyKind::Typed) {
        const auto percent = readField(host, "Edit11", "%", Edit11(), Need::NonNegative);
        if (!percent)
            return false;
        fraction = *percent * 0.01;
    } else {
        fraction = allowableDropFraction(kind, length);
        setEdit11(formatShortest(allowableDropPercent(kind, length)));
    }
    Label70 = formatShortest(allowableDrop(*base, fraction));
    return true;
}

bool FeederDialog::Button13(DialogHost& host) {
    if (missing(Edit5)) {
        host.info(kEnterDesignLoadCurrentMessage);
        host.focus("Edit5");
        return false;
    }
    const auto i = readField(host, "Edit5", "設計負荷電流", Edit5, Need::NonNegative);
    if (!i)
        return false;
    ComboBox4 = selectRating(*i);
    return true;
}

bool FeederDialog::Button7(DialogHost& host) {
    const auto n1 = readField(host, "ComboBox1", "幹線からの分岐数", ComboBox1, Need::Count);
    if (!n1)
        return false;
    double n2 = 0.0;
    if (twoSystems) {
        const auto n = readField(host, "ComboBox17", "2系統", ComboBox17, Need::Count);
        if (!n)
            return false;
        n2 = *n;
    }
    const auto id = readField(host, "ComboBox15", "設計負荷電流", ComboBox15, Need::NonNegative);
    if (!id)
        return false;
    const ResidentialCurrent r = residentialDesignCurrent(static_cast<int>(std::min(*n1, 1e6)),
                                                          static_cast<int>(std::min(n2, 1e6)), *id);
    ComboBox9 = r.rating;
    Edit3 = r.designCurrent;
    return true;
}

bool FeederDialog::Button8(DialogHost& host) {
    CableRequest request;
    request.context.caller = Caller::FeederDialog;
    request.context.installationMethod = ComboBox14;
    request.context.burialDepth = ComboBox16;
    // The cable's core count follows the system of the mode being entered.
    request.context.electricSystem = activeSystem();
    request.context.frequency = m_document.sheet().settings.frequency;
    request.designCurrent = activeDesignCurrent();
    request.length = activeLength();
    request.powerFactor = Edit4;
    request.allowableDrop = Label70;
    const std::optional<CableChoice> choice = host.chooseCable(request);
    if (!choice)
        return false;
    Edit8 = choice->cableName;
    Label56 = choice->resistance;
    Label57 = choice->reactance;
    // An empty allowable current (no row of the allowable-current table matched) replaces the
    // previous cable's, which no longer applies.
    Edit9 = choice->allowableCurrent;
    Label43 = choice->sizeKey;
    m_cableChosen = true;
    return true;
}

bool FeederDialog::selectCable(DialogHost& host) {
    m_cableChosen = false;
    Button8(host);
    bool wentOn = true;
    if (m_cableChosen)
        wentOn = Button9(host) && Button10(host) && Button12(host) != CableCheck::Stopped;
    m_cableChosen = false;
    return wentOn;
}

void FeederDialog::keypadInto(std::string& field, DialogHost& host, bool allowableDropToo) {
    const std::optional<std::string> keyed = host.keypad();
    // A cancelled keypad leaves the field as it was.
    if (!keyed)
        return;
    field = *keyed;
    if (Button10(host) && allowableDropToo)
        Button14(host);
}

void FeederDialog::resetVoltageFromSystem() {
    const ElectricSystem* system = findElectricSystem(activeSystem());
    if (!system)
        return;
    activeVoltage() = std::string(system->defaultVoltage);
    Edit6 = formatShortest(system->baseVoltage);
}

// An impedance is only as good as the power factor it was computed at. While the cable's R and X
// are known, the next impedance step recomputes it; once they are forgotten (a row read from the
// sheet, a confirmed entry) the impedance can no longer follow, and the cable must be chosen
// again.
void FeederDialog::powerFactorChanged() {
    if (Label56 == kResistancePlaceholder || Label57 == kReactancePlaceholder) {
        Edit10 = std::string(kImpedancePlaceholder);
        Label60.clear();
    }
}

void FeederDialog::chooseSupply(SupplyKind kind, DialogHost& host) {
    if (m_document.supply().kind == kind)
        return;
    m_document.setSupplyKind(kind);
    Button14(host);
}

// ---- Handlers -----------------------------------------------------------------------------------

void FeederDialog::show(DialogHost& host) {
    m_state = State::Open;
    m_settledPowerFactor = Edit4;
    FormActivate(host);
}

void FeederDialog::FormActivate(DialogHost& host) {
    QuietHost quiet(host);
    Label40.clear();
    const Sheet& sheet = m_document.sheet();
    const bool device = editedRow >= 0 && editedRow < sheet.rowCount() &&
                        !isBlank(sheet.cell(editedRow, col::mainBreaker));
    mainDeviceShown = device;
    if (!device)
        ComboBox11.clear();
    // The voltage read from the row gives way to the one of its system.
    resetVoltageFromSystem();
    m_cables.preselectFirstGroup();
    Button14(quiet);
    if (editedColumn == col::name)
        host.focus("Edit2");
    else if (editedColumn == col::loadName)
        host.focus("Edit7");
}

void FeederDialog::Button6Click(DialogHost& host) {
    mode = Mode::Single;
    resetVoltageFromSystem();
    Button14(host);
}

void FeederDialog::Button1Click(DialogHost& host) {
    if (!Button1Enabled)
        return;
    Edit3Enabled = false;
    mode = Mode::Residential;
    resetVoltageFromSystem();
    Button14(host);
}

bool FeederDialog::Button4Click(DialogHost& host) {
    if (Edit10 == kImpedancePlaceholder || missing(Edit10)) {
        host.info(kChooseCableMessage);
        return false;
    }
    if (missing(activeDesignCurrent())) {
        host.info(kEnterDesignLoadCurrentMessage);
        host.focus(activeCurrentControl());
        return false;
    }
    if (missing(activeBreaker())) {
        host.info(kChooseBreakerMessage);
        host.focus(activeBreakerControl());
        return false;
    }
    if (!Button9(host) || !Button10(host) || Button12(host) != CableCheck::Passes ||
        !Button14(host))
        return false;

    const auto drop = readField(host, "Label60", "電圧降下(単体)", Label60, Need::Any);
    if (!drop)
        return false;
    const auto allowable = readField(host, "Label70", "許容電圧降下", Label70, Need::Any);
    if (!allowable)
        return false;
    if (dropTooLarge(*drop, *allowable)) {
        host.info(kDropTooLargeMessage);
        return false;
    }
    if (dropOnlyJustWithin(*drop, *allowable))
        host.info(kDropOnlyJustWithinMessage);

    if (!missing(Edit9)) {
        const auto cable = readInteger(Edit9);
        if (!cable) {
            host.info(invalidNumberMessage("許容電流", Edit9));
            host.focus("Edit9");
            return false;
        }
        const auto breaker = readInteger(activeBreaker());
        if (!breaker) {
            host.info(invalidNumberMessage("遮断器定格電流", activeBreaker()));
            host.focus(activeBreakerControl());
            return false;
        }
        if (breakerAboveCable(*cable, *breaker) &&
            host.question(breakerAboveCableQuestion(activeBreaker()))) {
            host.focus("Button4");
            return false;
        }
    }

    // The cable's R and X are forgotten once the entry is confirmed; the impedance stays.
    Label56 = std::string(kResistancePlaceholder);
    Label57 = std::string(kReactancePlaceholder);
    m_document.setFrequencyLocked(true);
    m_document.patan = single() ? 1 : 2;
    m_state = State::Confirmed;
    return true;
}

void FeederDialog::Button5Click() {
    m_state = State::Cancelled;
}

void FeederDialog::ComboBox2Click(DialogHost& host) {
    if (const ElectricSystem* system = findElectricSystem(ComboBox2)) {
        ComboBox3 = std::string(system->defaultVoltage);
        Edit6 = formatShortest(system->baseVoltage);
    }
    if (Button14(host))
        host.focus("Button6");
}

void FeederDialog::ComboBox3Click(DialogHost& host) {
    const auto base = baseVoltageFromText(ComboBox3);
    if (!base || *base < 0.0) {
        host.info(invalidNumberMessage("ComboBox3", ComboBox3));
        host.focus("ComboBox3");
        return;
    }
    Edit6 = formatShortest(*base);
    if (Button14(host))
        host.focus("Button6");
}

void FeederDialog::ComboBox7Click(DialogHost& host) {
    if (const ElectricSystem* system = findElectricSystem(ComboBox7)) {
        ComboBox8 = std::string(system->defaultVoltage);
        Edit6 = formatShortest(system->baseVoltage);
    }
    Button14(host);
}

void FeederDialog::ComboBox8Click(DialogHost& host) {
    const auto base = baseVoltageFromText(ComboBox8);
    if (!base || *base < 0.0) {
        host.info(invalidNumberMessage("ComboBox8", ComboBox8));
        host.focus("ComboBox8");
        return;
    }
    Edit6 = formatShortest(*base);
    // The allowable drop follows the new base voltage at once, as it does in the single mode.
    if (Button14(host))
        host.focus("Button6");
}

void FeederDialog::ComboBox5Click(DialogHost& host) {
    (void)(Button14(host) && Button10(host) && Button14(host));
}

void FeederDialog::ComboBox10Click(DialogHost& host) {
    (void)(Button10(host) && Button14(host));
}

void FeederDialog::ComboBox1Click(DialogHost& host) {
    Button7(host);
}

void FeederDialog::ComboBox17Click(DialogHost& host) {
    Button7(host);
}

void FeederDialog::ComboBox15Click(DialogHost& host) {
    Button7(host);
}

void FeederDialog::RadioButton3Click(DialogHost& host) {
    if (!twoSystems)
        return;
    twoSystems = false;
    m_document.keitou = 1;
    Button7(host);
}

void FeederDialog::RadioButton4Click(DialogHost& host) {
    if (twoSystems)
        return;
    twoSystems = true;
    m_document.keitou = 2;
    Button7(host);
}

void FeederDialog::RadioButton1Click(DialogHost& host) {
    chooseSupply(SupplyKind::Transformer, host);
}

void FeederDialog::RadioButton2Click(DialogHost& host) {
    chooseSupply(SupplyKind::Utility, host);
}

void FeederDialog::RadioButton5Click(DialogHost& host) {
    chooseSupply(SupplyKind::Typed, host);
}

void FeederDialog::ComboBox13Change(DialogHost& host) {
    const std::string_view pf = powerFactorText(ComboBox13);
    if (!pf.empty())
        Edit4 = std::string(pf);
    if (Edit4 != m_settledPowerFactor)
        powerFactorChanged();
    m_settledPowerFactor = Edit4;
    (void)(Button9(host) && Button10(host));
}

void FeederDialog::Edit4Exit(DialogHost& /*host*/) {
    if (Edit4 != m_settledPowerFactor)
        powerFactorChanged();
    m_settledPowerFactor = Edit4;
}

void FeederDialog::ComboBox11Click(DialogHost& host) {
    Edit5 = ComboBox11;
    (void)(Button13(host) && Button10(host));
}

void FeederDialog::Button2Click(DialogHost& host) {
    const std::optional<std::string> handed = host.calculator();
    // Closed without a result: nothing changes.
    if (!handed)
        return;
    double current = 0.0;
    if (!missing(*handed)) {
        const auto value = readNumber(*handed);
        if (!value || *value < 0.0) {
            host.info(invalidNumberMessage("計算電流値", *handed));
            return;
        }
        current = roundHalfEven(*value) + 0.0;  // + 0.0: no "-0"
    }
    const std::string text = formatShortest(current);
    ComboBox11 = selectRating(current);
    Label40 = std::string(kCalculatedCurrentPrefix) + text + " A";
    Edit5 = text;
    (void)(Button13(host) && Button10(host));
}

void FeederDialog::Button3Click() {
    if (mainDeviceShown) {
        ComboBox11.clear();
        mainDeviceShown = false;
    } else {
        ComboBox11 = ComboBox4;
        mainDeviceShown = true;
    }
}

void FeederDialog::ComboBox14Click(DialogHost& host) {
    // Buried in conduit, the depth decides the correction: the engineer picks it first, and
    // that pick opens the cable table.
    if (ComboBox14 == kInAirOrCulvert || ComboBox14 == kInConduit)
        selectCable(host);
    host.focus("Button11");
}

void FeederDialog::ComboBox16Click(DialogHost& host) {
    selectCable(host);
}

void FeederDialog::Button11Click(DialogHost& host) {
    selectCable(host);
}

void FeederDialog::Button15Click(DialogHost& host) {
    keypadInto(ComboBox5, host, true);
}

void FeederDialog::Button16Click(DialogHost& host) {
    keypadInto(ComboBox10, host, true);
}

void FeederDialog::Button17Click(DialogHost& host) {
    keypadInto(ComboBox6, host, true);
}

void FeederDialog::Edit5MouseDown(DialogHost& host) {
    keypadInto(Edit5, host, false);
}

void FeederDialog::Edit3MouseDown(DialogHost& host) {
    if (Edit3Enabled)
        keypadInto(Edit3, host, false);
}

bool FeederDialog::emptyOnDoubleClick(std::string_view control, DialogHost& /*host*/) {
    static constexpr std::array<std::string_view, 10> kEmptied = {
        "Edit2",  "Edit4",     "Edit8",     "Edit9",      "Edit10",
        "Edit12", "ComboBox4", "ComboBox9", "ComboBox11", "ComboBox12"};
    if (std::find(kEmptied.begin(), kEmptied.end(), control) == kEmptied.end())
        return false;
    const Field* f = findField(control);
    (this->*(f->member)).clear();
    // The impedance and the allowable current belong to one cable: emptying the impedance
    // leaves no allowable current behind.
    if (control == "Edit10")
        Edit9.clear();
    if (control == "Edit4") {
        powerFactorChanged();
        m_settledPowerFactor = Edit4;
    }
    return true;
}

// ---- ScriptableDialog ---------------------------------------------------------------------------

namespace {

Error noSuchControl(std::string_view control) {
    return Error{"TForm2 に「" + std::string(control) + "」という部品はありません。"};
}

Error noHandler(std::string_view what, std::string_view control) {
    return Error{"TForm2 の " + std::string(control) + " は" + std::string(what) +
                 "に応じません。"};
}

}  // namespace

Status FeederDialog::pick(std::string_view control, std::string_view text, DialogHost& host) {
    const Field* f = findField(control);
    if (!f)
        return noSuchControl(control);
    if (!f->items)
        return Error{"TForm2 の " + std::string(control) + " は一覧から選ぶ部品ではありません。"};
    const auto& items = f->items();
    if (std::find(items.begin(), items.end(), text) == items.end())
        return Error{"TForm2 の " + std::string(control) + " の一覧に「" + std::string(text) +
                     "」はありません。"};
    this->*(f->member) = std::string(text);
    if (control == "ComboBox2")
        ComboBox2Click(host);
    else if (control == "ComboBox3")
        ComboBox3Click(host);
    else if (control == "ComboBox7")
        ComboBox7Click(host);
    else if (control == "ComboBox8")
        ComboBox8Click(host);
    else if (control == "ComboBox5")
        ComboBox5Click(host);
    else if (control == "ComboBox10")
        ComboBox10Click(host);
    else if (control == "ComboBox1")
        ComboBox1Click(host);
    else if (control == "ComboBox17")
        ComboBox17Click(host);
    else if (control == "ComboBox15")
        ComboBox15Click(host);
    else if (control == "ComboBox13")
        ComboBox13Change(host);
    else if (control == "ComboBox11")
        ComboBox11Click(host);
    else if (control == "ComboBox14")
        ComboBox14Click(host);
    else if (control == "ComboBox16")
        ComboBox16Click(host);
    return success();
}

Status FeederDialog::type(std::string_view control, std::string_view text, DialogHost& host) {
    const Field* f = findField(control);
    if (!f)
        return noSuchControl(control);
    using K = Field::Kind;
    if (f->kind == K::Label || f->kind == K::List || f->kind == K::ReadOnly)
        return Error{"TForm2 の " + std::string(control) + " には入力できません。"};
    if (control == "Edit3" && !Edit3Enabled)
        return Error{"TForm2 の Edit3 は使えない状態です（住宅幹線では計算で求めます）。"};
    if (control == "Edit11") {
        setEdit11(std::string(text));
        return success();
    }
    this->*(f->member) = std::string(text);
    if (control == "ComboBox3")
        ComboBox3Click(host);
    else if (control == "ComboBox8")
        ComboBox8Click(host);
    else if (control == "Edit4")
        Edit4Exit(host);
    return success();
}

Status FeederDialog::click(std::string_view control, DialogHost& host) {
    if (control == "Button1") {
        if (!Button1Enabled)
            return Error{"TForm2 の「住宅幹線」(Button1) は使えない状態です。"};
        Button1Click(host);
    } else if (control == "Button2") {
        Button2Click(host);
    } else if (control == "Button3") {
        Button3Click();
    } else if (control == "Button4") {
        Button4Click(host);
    } else if (control == "Button5") {
        Button5Click();
    } else if (control == "Button6") {
        Button6Click(host);
    } else if (control == "Button11") {
        Button11Click(host);
    } else if (control == "Button15") {
        Button15Click(host);
    } else if (control == "Button16") {
        Button16Click(host);
    } else if (control == "Button17") {
        Button17Click(host);
    } else if (control == "RadioButton1") {
        RadioButton1Click(host);
    } else if (control == "RadioButton2") {
        RadioButton2Click(host);
    } else if (control == "RadioButton5") {
        RadioButton5Click(host);
    } else if (control == "RadioButton3") {
        RadioButton3Click(host);
    } else if (control == "RadioButton4") {
        RadioButton4Click(host);
    } else if (control == "Edit5") {
        Edit5MouseDown(host);
    } else if (control == "Edit3") {
        if (!Edit3Enabled)
            return Error{"TForm2 の Edit3 は使えない状態です（住宅幹線では計算で求めます）。"};
        Edit3MouseDown(host);
    } else if (findField(control) || control.starts_with("Button")) {
        return noHandler("クリック", control);
    } else {
        return noSuchControl(control);
    }
    return success();
}

Status FeederDialog::doubleClick(std::string_view control, DialogHost& host) {
    if (emptyOnDoubleClick(control, host))
        return success();
    if (findField(control))
        return noHandler("ダブルクリック", control);
    return noSuchControl(control);
}

void FeederDialog::close(DialogHost& /*host*/) {
    Button5Click();
}

std::vector<std::pair<std::string, std::string>> FeederDialog::report() const {
    std::vector<std::pair<std::string, std::string>> out;
    out.emplace_back("mode", single() ? "single" : "residential");
    for (const Field& f : fields())
        out.emplace_back(std::string(f.name), f.member ? this->*(f.member) : Edit11());
    return out;
}

}  // namespace wirelark
