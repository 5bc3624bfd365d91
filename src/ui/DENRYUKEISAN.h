#pragma once
// The current/power calculator `TForm5` ("電流計算フォーム", "電力と電流の計算"): a small
// calculator with its own keypad that turns a current into a power, or a power into a current,
// for a voltage, a power factor and a circuit kind. The feeder input window opens it from
// "負荷容量から計算" and takes the current it computed as the design current.
//
// The window only copies texts: the CurrentCalculator model decides everything, and it lives
// as long as the window, so the voltage, the power factor, the circuit kind and the last
// current stay for the next opening.

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "current_calculator.h"
#include "dialog_host.h"

namespace Ui {
class TForm5;
}

namespace wirelark {

class ModalRunner;
class Prompter;

class TForm5 final : public QDialog, private DialogHost {
    Q_OBJECT

  public:
    // `beep` is the platform's beep: a refused key or computation.
    TForm5(Prompter& prompter, std::function<void()> beep, ModalRunner& runner,
           QWidget* parent = nullptr);
    ~TForm5() override;

    // Shows the calculator modally above `caller`: the current computed while it was shown
    // (as its hand-back label holds it), or nothing when none was computed.
    std::optional<std::string> calculate(QWidget* caller = nullptr);

    // Writes every control from the model; fires no handler.
    void refresh();
    const CurrentCalculator& model() const { return m_model; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpLook();
    void connectControls();
    void collect();
    template <class Handler>
    void act(Handler&& handler);

    // ---- DialogHost: boxes and the beep; the calculator opens no window of its own ----
    void info(std::string_view text) override;
    bool question(std::string_view text) override;
    void focus(std::string_view control) override;
    void beep() override;
    std::optional<std::string> keypad() override { return std::nullopt; }
    std::optional<std::string> calculator() override { return std::nullopt; }
    std::optional<CableChoice> chooseCable(const CableRequest&) override { return std::nullopt; }

    std::unique_ptr<Ui::TForm5> ui;
    Prompter& m_prompter;
    std::function<void()> m_beep;
    ModalRunner& m_runner;
    CurrentCalculator m_model;
    bool m_acting = false;
    bool m_keyPressedInEdit7 = false;
};

}  // namespace wirelark
