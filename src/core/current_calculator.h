#pragma once
// The current/power calculator `TForm5` ("電流計算フォーム", "電力と電流の計算") without its
// window: a small calculator with its own keypad that turns a current into a power or a power
// into a current for a voltage, a power factor and a circuit kind. The feeder dialog opens it from
// "負荷容量から計算" and takes the current it computed as the design current of a single feeder.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "circuit_rules.h"
#include "dialog_host.h"

namespace wirelark {

class CurrentCalculator {
  public:
    enum class Tab { Power = 0, Current = 1 };  // "電力値を計算する", "電流値を計算する"
    struct Colour {
        int red, green, blue;
        friend bool operator==(const Colour&, const Colour&) = default;
    };
    static constexpr Colour kPowerColour{128, 255, 255};  // light cyan
    static constexpr Colour kCurrentColour{0, 255, 64};   // green

    CurrentCalculator();

    Tab TabControl3 = Tab::Current;
    std::string Label137;           // title of the input row: " 電  流" or " 電  力"
    std::string Edit7;              // the input typed directly
    std::string Label147;           // unit of the input: "A" or "Kw"
    std::string ComboBox9 = "100";  // voltage [V]
    std::string ComboBox10 = "80";  // power factor [%]
    Phase phase = Phase::Single;  // RadioButton28 "単相2線、単相３線" / RadioButton29 "３相３線"
    std::string Label145 = "0";  // the display
    std::string Label146;        // unit of the display: "A", "Kw", "Kva"
    std::string Label144;        // title of the display: "電力値" or "電流値"
    bool Label144Visible = false;
    Colour Label144Colour = kCurrentColour;
    bool Button62Tag = false;  // a decimal point has been keyed
    std::string Button65;  // "電流値の入力", "電力値の入力" (entering) or "計算" (result)
    bool Button67Visible = false;  // "KVA変換"
    std::string Label1;            // hand-back: the last computed current, shortest form

    static std::span<const std::string> voltageItems();
    static std::span<const std::string> powerFactorItems();

    // Each showing: the current-from-power tab, a cleared display; voltage, power factor,
    // circuit kind and the last current stay.
    void FormActivate();
    void TabControl3Change(Tab tab);

    // Button52 .. Button61: the digits "1" .. "9", "0"; Button62: "." (a second one beeps).
    void digitClick(int digit);
    void Button62Click(DialogHost& host);
    void Button64Click();                  // "C"
    void Button65Click(DialogHost& host);  // compute
    void Button67Click(DialogHost& host);  // "KVA変換"
    void Button63Click();                  // "100%"
    void Button66Click();                  // "80%"
    // The circuit kind, by its radio button or its label; a result is computed again.
    void choosePhase(Phase chosen, DialogHost& host);

    // A click in Edit7 empties it for typing; every key released there shows what was typed.
    void Edit7Click();
    void Edit7KeyUp();

    bool entering() const { return Button65 != kResultCaption; }

    // What the caller receives when the calculator closes: the current computed while it was
    // shown, or nothing when no current was computed this time.
    std::optional<std::string> handBack() const;

  private:
    static constexpr std::string_view kResultCaption = "計算";
    void clear();
    std::string_view inputUnit() const;
    std::string_view enteringCaption() const;

    bool m_currentComputed = false;
    std::optional<double> m_power;  // the unrounded power of the last power result [kW]
};

}  // namespace wirelark
