#pragma once
// The cable selection window: the impedance table of one cable group, the correction and
// grouping panels beside and below it, and the allowable current of the size clicked. A
// double-click on a size hands the cable back to the input dialog that opened the window.
//
// The window holds no state of its own: everything it shows is the caller-owned
// CableSelection, which outlives the window's openings (so the group, the family and the
// corrections chosen stay for the next opening). refresh() writes every control from it.

#include <QDialog>

#include <memory>
#include <optional>

#include "cable_marking.h"
#include "cable_selection.h"
#include "dialog_host.h"

class QModelIndex;

namespace Ui {
class Tdensen;
}

namespace wirelark {

class CableTableModel;
class ModalRunner;
class Prompter;

class Tdensen : public QDialog {
    Q_OBJECT

  public:
    // The smallest size of the window; it grows where the fonts need more room.
    static constexpr int kWidth = 663;
    static constexpr int kHeight = 568;

    Tdensen(CableSelection& selection, Prompter& prompter, ModalRunner& runner,
            QWidget* parent = nullptr);
    ~Tdensen() override;

    // Opens the window for an input dialog: FormActivate with the caller's context, the sizes
    // marked for the calling row, centred on `caller` (else on the parent window) and shown
    // modally. The cable double-clicked, or nothing when the window was closed.
    std::optional<CableChoice> choose(const CableRequest& request, QWidget* caller = nullptr);

    // Writes every control from the selection; fires no handler.
    void refresh();

    const SizeMarks& marks() const { return m_marks; }
    CableTableModel& tableModel() const { return *m_model; }

    // --- The user's actions, by the design's names ---
    void ComboBox11Change(const QString& text);  // a group picked or typed
    void ComboBox3Click();                       // family code
    void StringGrid7Click(const QModelIndex& index);
    void StringGrid7DblClick(const QModelIndex& index);
    void RadioButton1Click();  // a conductor-count radio or the ambient selector ComboBox1
    void RadioButton8Click();  // "気中暗渠布設"
    void Button4Click();       // RadioButton9, RadioButton10 or the temperature ComboBox2
    void ComboBox5Click();     // tiers
    void ComboBox6Click();     // spacing
    void Button3Click();       // cables per tier, ComboBox4
    void Edit1Exit();          // the reduction factor typed

  private:
    void setUpLook();
    void setUpGrid();
    void connectControls();
    // After every change of the selection: the marks, then every control.
    void changed();
    // A refusal of the core, shown; the controls go back to what the selection holds.
    void refused(const Status& status);
    void fitSize();
    void placeOver(const QWidget* caller);

    std::unique_ptr<Ui::Tdensen> ui;
    CableSelection& m_selection;
    Prompter& m_prompter;
    ModalRunner& m_runner;
    CableRequest m_request;
    SizeMarks m_marks;
    CableTableModel* m_model;
    std::optional<CableChoice> m_choice;
};

}  // namespace wirelark
