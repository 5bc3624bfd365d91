#pragma once
// The numeric keypad `TForm3` ("数値フォーム"): an engineer enters a length or a current with the
// mouse. Its display only shows what the keys wrote; "登録" hands the display back to the
// window that opened it, "キャンセル" and the close box hand back nothing.

#include <QDialog>

#include <memory>
#include <optional>
#include <string>

#include "keypad.h"

namespace Ui {
class TForm3;
}

namespace wirelark {

class ModalRunner;

class TForm3 final : public QDialog {
    Q_OBJECT

  public:
    explicit TForm3(ModalRunner& runner, QWidget* parent = nullptr);
    ~TForm3() override;

    // Shows the keypad modally above `caller`: the display accepted with "登録" (whatever it
    // holds, an empty display included), nothing when it was cancelled.
    std::optional<std::string> enter(QWidget* caller = nullptr);

    // Writes the display from the model.
    void refresh();
    const Keypad& model() const { return m_model; }

  public slots:
    // "キャンセル", the close box and Escape.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void accepted();

    std::unique_ptr<Ui::TForm3> ui;
    ModalRunner& m_runner;
    Keypad m_model;
    std::optional<std::string> m_result;
};

}  // namespace wirelark
