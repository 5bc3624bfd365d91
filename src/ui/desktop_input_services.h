#pragma once
// The windows an input window opens, as the desktop program has them: the numeric keypad
// TForm3, the current/power calculator TForm5 and the cable selection Tdensen, each created
// once and reused for every opening (the calculator and the cable selection keep their choices
// between openings), and the platform's beep. Whoever owns the input windows owns this and
// hands it to them.

#include <memory>
#include <optional>
#include <string>

#include "input_window_services.h"

namespace wirelark {

class CableSelection;
class ModalRunner;
class Prompter;
class TForm3;
class TForm5;
class Tdensen;

class DesktopInputServices final : public InputWindowServices {
  public:
    // `cables` is the cable selection the input dialogs' models share; `runner` shows the
    // windows modally.
    DesktopInputServices(CableSelection& cables, Prompter& prompter, ModalRunner& runner);
    ~DesktopInputServices() override;

    Prompter& prompter() override { return m_prompter; }
    void beep() override;
    std::optional<std::string> keypad(QWidget& caller) override;
    std::optional<std::string> calculator(QWidget& caller) override;
    std::optional<CableChoice> chooseCable(const CableRequest& request, QWidget& caller) override;

    TForm3& keypadWindow() const { return *m_keypad; }
    TForm5& calculatorWindow() const { return *m_calculator; }
    Tdensen& cableWindow() const { return *m_cables; }

  private:
    Prompter& m_prompter;
    std::unique_ptr<TForm3> m_keypad;
    std::unique_ptr<TForm5> m_calculator;
    std::unique_ptr<Tdensen> m_cables;
};

}  // namespace wirelark
