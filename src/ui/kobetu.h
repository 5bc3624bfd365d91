#pragma once
// The branch input window: one row of a residential feeder block (its head row, a trunk row or
// a branch row to a dwelling) as the engineer changes it, drawn beside a small picture of the
// feeder's tree with the edited piece marked.
//
// The window holds no state of its own: every text, check mark and visibility it shows is the
// caller-owned BranchDialog, which keeps its values between openings. refresh() writes every
// control from the model; before each user action the controls' texts go back into the model,
// and the model's handler for that action runs. As the model's host the window shows message
// boxes through the prompter, moves the focus to its own controls, and opens the keypad and
// the cable selection through the services, above itself.

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "branch_dialog.h"
#include "dialog_host.h"

namespace Ui {
class TForm4;
}

namespace wirelark {

class InputWindowServices;
class ModalRunner;

class TForm4 final : public QDialog, public DialogHost {
    Q_OBJECT

  public:
    // The client area where the fonts leave it room; the window grows where they need more.
    static constexpr int kWidth = 932;
    static constexpr int kHeight = 606;

    TForm4(BranchDialog& model, InputWindowServices& services, ModalRunner& runner,
           QWidget* parent = nullptr);
    ~TForm4() override;

    // Shows the window modally for the row the main window filled the model with:
    // `clickedColumn` is the sheet column whose double-click opened it. The model's activation
    // runs when the window is shown. True when the window closed with a confirmation ("登録");
    // キャンセル, Escape and the close box give false.
    // The window it opens over: the main window, which is not its parent, so that its controls
    // are never taken for the main window's own when they are looked up by name.
    void setOwner(const QWidget* owner) { m_owner = owner; }
    bool run(int clickedColumn);

    // Writes every control, visibility and arrangement from the model; fires no handler.
    void refresh();

    // --- DialogHost ---
    void info(std::string_view text) override;
    bool question(std::string_view text) override;
    void focus(std::string_view control) override;
    void beep() override;
    std::optional<std::string> keypad() override;
    std::optional<std::string> calculator() override;
    std::optional<CableChoice> chooseCable(const CableRequest& request) override;

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpLook();
    void connectControls();
    // The texts the user may have typed, back into the model before a handler reads them.
    void transferFromWindow();
    // Runs one user action on the model with the window's texts, then shows the result.
    template <class F>
    void act(F&& action);
    void placeLengthAndCable();
    void fitSize();

    std::unique_ptr<Ui::TForm4> ui;
    BranchDialog& m_model;
    InputWindowServices& m_services;
    ModalRunner& m_runner;
    // Set by run() for the next showing: the activation runs once per opening.
    std::optional<int> m_pendingActivation;
    bool m_busy = false;
    const QWidget* m_owner = nullptr;
};

}  // namespace wirelark
