#pragma once
// The feeder input window `TForm2` ("データー入力フォーム", "系統パターン登録画面"): one feeder
// of the sheet entered as a single feeder (Panel1) or as a residential feeder (Panel6).
//
// The window holds no state of its own. Everything it shows is the FeederDialog model, which
// the main window owns and keeps between openings; refresh() writes every control from it, and
// each user action first copies the controls' texts into the model and then calls the model's
// handler of that action. As the model's host the window shows its boxes through the
// prompter, focuses its own controls and opens the keypad, the calculator and the cable
// selection through the services.

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialog_host.h"
#include "feeder_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace Ui {
class TForm2;
}

namespace wirelark {

class InputWindowServices;
class ModalRunner;

class TForm2 final : public QDialog, public DialogHost {
    Q_OBJECT

  public:
    // The design's client area; the window grows where the fonts need more room.
    static constexpr int kWidth = 984;
    static constexpr int kHeight = 724;

    TForm2(FeederDialog& model, InputWindowServices& services, ModalRunner& runner,
           QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the window modally for the row the model was prepared for (the model's activation
    // runs as the window is shown) and returns once it has closed: true when it closed with a
    // confirmed "登録", false for "キャンセル" and the close box.
    // The window it opens over: the main window, which is not its parent, so that its controls
    // are never taken for the main window's own when they are looked up by name.
    void setOwner(const QWidget* owner) { m_owner = owner; }
    bool run();

    // Writes every control, its visibility, enabled state and caption from the model; fires no
    // handler.
    void refresh();

    FeederDialog& model() const { return m_model; }

    // ---- DialogHost ----
    void info(std::string_view text) override;
    bool question(std::string_view text) override;
    void focus(std::string_view control) override;
    void beep() override;
    std::optional<std::string> keypad() override;
    std::optional<std::string> calculator() override;
    std::optional<CableChoice> chooseCable(const CableRequest& request) override;

  public slots:
    // "キャンセル", the close box and Escape.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setUpLook();
    void fillLists();
    void connectControls();
    void watchMouse();
    void fitSize();
    void placeOverOwner();
    // Copies what the user typed or picked into the model.
    void collect();
    // One user action: the controls into the model, the model's handler, the model back into
    // the controls. An action that arrives while another one runs (a field left because a box
    // opened) is not started.
    template <class Handler>
    void act(Handler&& handler);
    // One of the model's handlers that take the window as their host, run as act() runs it.
    void actOn(void (FeederDialog::*handler)(DialogHost&));

    std::unique_ptr<Ui::TForm2> ui;
    FeederDialog& m_model;
    InputWindowServices& m_services;
    ModalRunner& m_runner;
    bool m_acting = false;
    std::vector<std::pair<QLineEdit*, std::string FeederDialog::*>> m_edits;
    std::vector<std::pair<QComboBox*, std::string FeederDialog::*>> m_combos;
    std::vector<std::pair<QLabel*, std::string FeederDialog::*>> m_labels;
    // The fields a double-click empties, by the widget that receives the click.
    std::vector<std::pair<QObject*, std::string>> m_emptiedByDoubleClick;
    const QWidget* m_owner = nullptr;
};

}  // namespace wirelark
