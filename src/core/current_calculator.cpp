#include "current_calculator.h"

#include <vector>

#include "number_text.h"

namespace wirelark {

namespace {

constexpr std::string_view kPowerTitle = "電力値";
constexpr std::string_view kCurrentTitle = "電流値";

// A value the calculator reads: above 0 where a zero would divide (the voltage, the power
// factor), at most 100 % for the power factor. Refused with the row's caption.
std::optional<double> readValue(DialogHost& host, std::string_view caption,
                                std::string_view control, std::string_view text, double atLeast,
                                bool zeroAllowed, double atMost) {
    const auto x = readNumber(text);
    if (x && *x >= atLeast && (zeroAllowed || *x > 0.0) && *x <= atMost)
        return *x;
    host.info(invalidNumberMessage(caption, text));
    host.focus(control);
    return std::nullopt;
}

}  // namespace

std::span<const std::string> CurrentCalculator::voltageItems() {
    static const std::vector<std::string> items = {"100", "200",  "440",  "105", "110", "210",
                                                   "220", "3300", "6600", "",    ""};
    return items;
}

std::span<const std::string> CurrentCalculator::powerFactorItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> out;
        for (int c = 100; c >= 60; --c)
            out.push_back(std::to_string(c));
        out.emplace_back("50");
        out.emplace_back("");
        return out;
    }();
    return items;
}

CurrentCalculator::CurrentCalculator() {
    FormActivate();
}

std::string_view CurrentCalculator::inputUnit() const {
    return TabControl3 == Tab::Power ? "A" : "Kw";
}

std::string_view CurrentCalculator::enteringCaption() const {
    return TabControl3 == Tab::Power ? "電流値の入力" : "電力値の入力";
}

void CurrentCalculator::FormActivate() {
    TabControl3Change(Tab::Current);
    m_currentComputed = false;
}

void CurrentCalculator::TabControl3Change(Tab tab) {
    TabControl3 = tab;
    const bool power = tab == Tab::Power;
    Label137 = power ? " 電  流" : " 電  力";
    Label147 = std::string(inputUnit());
    Label144 = std::string(power ? kPowerTitle : kCurrentTitle);
    Label144Colour = power ? kPowerColour : kCurrentColour;
    clear();
}

void CurrentCalculator::clear() {
    Edit7.clear();
    Label144Visible = false;
    Label145 = "0";
    Button62Tag = false;
    Button65 = std::string(enteringCaption());
    Label146 = std::string(inputUnit());
    // "KVA変換" converts a power result; with the display cleared there is none.
    Button67Visible = false;
    m_power.reset();
}

void CurrentCalculator::Button64Click() {
    clear();
}

void CurrentCalculator::digitClick(int digit) {
    if (!entering() || digit < 0 || digit > 9)
        return;
    if (digit == 0) {
        if (Label145 != "0")
            Label145 += '0';
        return;
    }
    if (Label145 == "0")
        Label145.clear();
    Label145 += static_cast<char>('0' + digit);
}

void CurrentCalculator::Button62Click(DialogHost& host) {
    if (!entering())
        return;
    if (Button62Tag) {
        host.beep();
        return;
    }
    Label145 += '.';
    Button62Tag = true;
}

void CurrentCalculator::Button63Click() {
    ComboBox10 = "100";
}

void CurrentCalculator::Button66Click() {
    ComboBox10 = "80";
}

void CurrentCalculator::Edit7Click() {
    Edit7.clear();
    Label144Visible = false;
    Label145 = "0";
    Label146 = std::string(inputUnit());
    Button65 = std::string(enteringCaption());
    Button67Visible = false;
    m_power.reset();
}

void CurrentCalculator::Edit7KeyUp() {
    const bool power = TabControl3 == Tab::Power;
    Label145 = Edit7;
    // The display shows the typed input under the input's own title.
    Label144 = std::string(power ? kCurrentTitle : kPowerTitle);
    Label144Colour = power ? kCurrentColour : kPowerColour;
    Label144Visible = true;
    Label146 = std::string(inputUnit());
    Button65 = std::string(kResultCaption);
    Button67Visible = false;
    m_power.reset();
}

void CurrentCalculator::Button65Click(DialogHost& host) {
    if (!entering() && Edit7.empty()) {
        host.beep();
        return;
    }
    const bool power = TabControl3 == Tab::Power;
    const std::string input = Edit7.empty() ? Label145 : Edit7;
    // Everything is read before the display changes, so a refused entry leaves it as it was.
    const auto value = readValue(host, power ? "電流" : "電力", "Edit7", input, 0.0, true, 1e300);
    if (!value)
        return;
    const auto voltage = readValue(host, "電圧", "ComboBox9", ComboBox9, 0.0, false, 1e300);
    if (!voltage)
        return;
    const auto factor = readValue(host, "力率", "ComboBox10", ComboBox10, 0.0, false, 100.0);
    if (!factor)
        return;

    Edit7 = input;
    Label145 = "0";
    Button62Tag = false;
    Label144 = std::string(power ? kPowerTitle : kCurrentTitle);
    Label144Colour = power ? kPowerColour : kCurrentColour;
    Label144Visible = true;
    Label146 = power ? "Kw" : "A";
    Button65 = std::string(kResultCaption);
    if (power) {
        const double p = powerFromCurrent(phase, *value, *voltage, *factor);
        m_power = p;
        Button67Visible = true;
        Label145 = formatFixed(p, 0, true);
    } else {
        const auto i = currentFromPower(phase, *value, *voltage, *factor);
        if (!i)
            return;
        Label1 = formatShortest(*i);
        m_currentComputed = true;
        Label145 = formatFixed(*i, 2, true);
    }
}

void CurrentCalculator::Button67Click(DialogHost& host) {
    if (!m_power)
        return;
    const auto factor = readValue(host, "力率", "ComboBox10", ComboBox10, 0.0, false, 100.0);
    if (!factor)
        return;
    // From the power as computed, not as the display rounds it to whole kilowatts.
    const auto s = apparentPower(*m_power, *factor);
    if (!s)
        return;
    Label145 = formatFixed(*s, 2, true);
    Label146 = "Kva";
    Button67Visible = false;
}

void CurrentCalculator::choosePhase(Phase chosen, DialogHost& host) {
    phase = chosen;
    if (!entering())
        Button65Click(host);
}

std::optional<std::string> CurrentCalculator::handBack() const {
    if (!m_currentComputed)
        return std::nullopt;
    return Label1;
}

}  // namespace wirelark
