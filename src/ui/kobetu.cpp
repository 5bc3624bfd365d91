#include "kobetu.h"

#include <functional>

#include "window_placement.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QShowEvent>
#include <QSignalBlocker>

#include <array>
#include <utility>
#include <vector>

#include "feeder_diagram.h"
#include "input_window_services.h"
#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"
#include "ui_kobetu.h"

namespace wirelark {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ss(const QString& s) {
    return s.toStdString();
}

void setText(QLineEdit& edit, const std::string& text) {
    const QString shown = qs(text);
    if (edit.text() == shown)
        return;
    const QSignalBlocker b(edit);
    edit.setText(shown);
}

void setText(QLabel& label, const std::string& text) {
    label.setText(qs(text));
}

int indexOf(const QComboBox& box, const std::string& text) {
    return box.findText(qs(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// A combo box the engineer may type into: any text, the list item of that text current.
void setEditText(QComboBox& box, const std::string& text) {
    const QSignalBlocker b(box);
    const QSignalBlocker be(box.lineEdit());
    const int index = indexOf(box, text);
    if (box.currentIndex() != index)
        box.setCurrentIndex(index);
    if (box.currentText() != qs(text))
        box.setEditText(qs(text));
}

// A fixed list: the item of that text. A text the list does not hold (a method read from an
// older sheet) stays readable in place of the selection.
void selectText(QComboBox& box, const std::string& text) {
    const QSignalBlocker b(box);
    const int index = indexOf(box, text);
    box.setCurrentIndex(index);
    box.setPlaceholderText(index < 0 ? qs(text) : QString());
}

// Rows of the tree panel: the feeder with its breaker, a piece of trunk, a branch, the trunk
// going on. The length and cable group stands beside the branch in the first arrangement and
// beside the piece of trunk in the second.
constexpr int kTrunkRow = 1;
constexpr int kBranchRow = 2;
constexpr int kFieldColumn = 1;

}  // namespace

TForm4::TForm4(BranchDialog& model, InputWindowServices& services, ModalRunner& runner,
               QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TForm4>()),
      m_model(model),
      m_services(services),
      m_runner(runner) {
    registerJapaneseFonts();
    ui->setupUi(this);
    setUpLook();
    connectControls();
    refresh();
}

TForm4::~TForm4() = default;

// ---------------------------------------------------------------------------------------------
// Building the window

void TForm4::setUpLook() {
    setFont(sheetFont(10));
    setStyleSheet(QStringLiteral(
        "QFrame#TreePanel { background: white; }"
        "QFrame#LengthCableGroup { background: #eef4fb; border: 1px solid #8aa6c8; }"
        "QFrame#MainDeviceBox, QFrame#LoadBox, QFrame#DropBox { border: 1px solid #b8b8b8; }"
        "QLabel#Label60, QLabel#Label70 { background: white; border: 1px solid gray;"
        " padding: 1px 4px; }"
        "QLabel#BreakerNote { color: #b00000; }"));

    const QFontMetrics fm(font());
    for (QLabel* result : {ui->Label60, ui->Label70}) {
        result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        result->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0,000.00")) + 12);
    }
    // Number fields as wide as their longest sensible text, names and cables wider.
    const auto width = [&](const char* sample) {
        return fm.horizontalAdvance(QString::fromUtf8(sample)) + 16;
    };
    for (QLineEdit* e : {ui->Edit6, ui->Edit7, ui->Edit11, ui->Edit12})
        e->setFixedWidth(width("0.0000"));
    ui->Edit13->setFixedWidth(width("00.0"));
    ui->Edit8->setFixedWidth(width("00000"));
    ui->Edit2->setFixedWidth(width("単相3線__"));
    ui->Edit3->setFixedWidth(width("230/400__"));
    ui->Edit4->setFixedWidth(width("-─▶┌__"));
    ui->Edit1->setMinimumWidth(width("L-1-1 共用部__"));
    ui->Edit5->setMinimumWidth(width("住戸 101号室"));
    ui->Edit10->setMinimumWidth(width("CV-T150゜(円形圧縮)"));
    for (QComboBox* box : {ui->ComboBox6, ui->ComboBox12, ui->ComboBox15})
        box->setFixedWidth(width("0000") + 24);
    ui->ComboBox1->setFixedWidth(width("00") + 24);
    ui->ComboBox2->setFixedWidth(width("部屋") + 24);

    const std::array<std::pair<QComboBox*, const char*>, 7> lists = {{
        {ui->ComboBox1, "ComboBox1"},
        {ui->ComboBox2, "ComboBox2"},
        {ui->ComboBox6, "ComboBox6"},
        {ui->ComboBox12, "ComboBox12"},
        {ui->ComboBox14, "ComboBox14"},
        {ui->ComboBox15, "ComboBox15"},
        {ui->ComboBox16, "ComboBox16"},
    }};
    for (const auto& [box, name] : lists) {
        for (const std::string& item : m_model.items(name))
            box->addItem(qs(item));
        box->view()->setFont(font());
        // The wheel turns only the list the engineer is in: the pointer passing over a length
        // or a current on the way elsewhere must not change it (see eventFilter).
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
        if (box->isEditable()) {
            // A typed number is taken as typed: no completion to the next list item, and
            // leaving the field does not count as picking the item of that text (Qt's combo
            // box would then emit `activated`): a pick from the list runs the handler.
            box->setCompleter(nullptr);
            disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
            disconnect(box->lineEdit(), &QLineEdit::returnPressed, box, nullptr);
        }
    }
    ui->ComboBox6->setMaxVisibleItems(20);
    ui->ComboBox12->setMaxVisibleItems(28);
    ui->ComboBox15->setMaxVisibleItems(28);

    ui->FeederPiece->setShape(FeederTreePiece::Shape::Feeder);
    ui->TrunkPiece->setShape(FeederTreePiece::Shape::Trunk);
    ui->TrunkPiece->setMinimumHeight(2 * fm.height() + 16);
    ui->BranchPiece->setMinimumHeight(2 * fm.height() + 8);
    ui->TreeLayout->setRowStretch(4, 1);
    ui->TreeLayout->setColumnStretch(kFieldColumn, 1);

    // The captions stay where they are when the dwelling has no main device.
    QSizePolicy picture = ui->MainDevicePicture->sizePolicy();
    picture.setRetainSizeWhenHidden(true);
    ui->MainDevicePicture->setSizePolicy(picture);

    // Working fields the window never shows: the length before the row, R, X, the size key.
    ui->WorkingLabels->hide();

    const std::array<QWidget*, 12> watched = {ui->Edit2,
                                              ui->Edit3,
                                              ui->Edit4,
                                              ui->ComboBox1,
                                              ui->Edit1,
                                              ui->Edit5,
                                              ui->Edit6,
                                              ui->Edit8,
                                              ui->Edit9,
                                              ui->ComboBox1->lineEdit(),
                                              ui->ComboBox2->lineEdit(),
                                              ui->ComboBox12->lineEdit()};
    for (QWidget* field : watched)
        field->installEventFilter(this);
}

void TForm4::connectControls() {
    connect(ui->ComboBox6, &QComboBox::activated, this,
            [this] { act([this] { m_model.ComboBox6Click(*this); }); });
    connect(ui->ComboBox12, &QComboBox::activated, this,
            [this] { act([this] { m_model.ComboBox12Click(); }); });
    connect(ui->ComboBox15, &QComboBox::activated, this,
            [this] { act([this] { m_model.ComboBox15Click(*this); }); });
    connect(ui->ComboBox14, &QComboBox::activated, this, [this](int i) {
        act([this, i] {
            m_model.ComboBox14 = ss(ui->ComboBox14->itemText(i));
            m_model.ComboBox14Click(*this);
        });
    });
    connect(ui->ComboBox16, &QComboBox::activated, this, [this](int i) {
        act([this, i] {
            m_model.ComboBox16 = ss(ui->ComboBox16->itemText(i));
            m_model.ComboBox16Click(*this);
        });
    });

    connect(ui->Button1, &QPushButton::clicked, this,
            [this] { act([this] { m_model.Button1Click(); }); });
    connect(ui->Button4, &QPushButton::clicked, this, [this] {
        act([this] {
            if (m_model.Button4Click(*this))
                accept();
        });
    });
    connect(ui->Button5, &QPushButton::clicked, this, &TForm4::reject);
    connect(ui->Button11, &QPushButton::clicked, this,
            [this] { act([this] { m_model.Button11Click(*this); }); });
    connect(ui->Button16, &QPushButton::clicked, this,
            [this] { act([this] { m_model.Button16Click(*this); }); });

    // A click on the supply already chosen changes nothing.
    connect(ui->RadioButton1, &QRadioButton::clicked, this, [this] {
        act([this] {
            if (!m_model.RadioButton1())
                m_model.RadioButton1Click(*this);
        });
    });
    connect(ui->RadioButton2, &QRadioButton::clicked, this, [this] {
        act([this] {
            if (!m_model.RadioButton2())
                m_model.RadioButton2Click(*this);
        });
    });
    connect(ui->RadioButton5, &QRadioButton::clicked, this, [this] {
        act([this] {
            if (!m_model.RadioButton5())
                m_model.RadioButton5Click(*this);
        });
    });

    // The check marks and the typed percentage are read by the next action; taking them at
    // once keeps the shared supply choice current for the feeder dialog and the sheet.
    connect(ui->CheckBox1, &QCheckBox::clicked, this, [this] { act([] {}); });
    connect(ui->CheckBox2, &QCheckBox::clicked, this, [this] { act([] {}); });
    connect(ui->Edit13, &QLineEdit::editingFinished, this, [this] { act([] {}); });
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

bool TForm4::run(int clickedColumn) {
    m_pendingActivation = clickedColumn;
    refresh();
    placeOver(*this, m_owner != nullptr ? m_owner : parentWidget());
    m_runner.run(*this);
    // A window that was never shown ran no activation and confirmed nothing.
    const bool shown = !m_pendingActivation.has_value();
    m_pendingActivation.reset();
    if (isVisible())
        reject();
    return shown && m_model.state() == ScriptableDialog::State::Confirmed;
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only the showing that run() asked for activates the model; a window restored from the
    // task bar keeps what it shows.
    if (event->spontaneous() || !m_pendingActivation)
        return;
    const int column = *m_pendingActivation;
    m_pendingActivation.reset();
    m_busy = true;
    m_model.FormActivate(*this, column);
    m_busy = false;
    refresh();
}

void TForm4::reject() {
    if (!m_busy)
        transferFromWindow();
    m_model.Button5Click();
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// Moving texts

template <class F>
void TForm4::act(F&& action) {
    // While a handler runs, the window's own signals (a field losing the focus to a message
    // box) are no actions of the user.
    if (m_busy)
        return;
    transferFromWindow();
    m_busy = true;
    std::forward<F>(action)();
    m_busy = false;
    refresh();
}

void TForm4::transferFromWindow() {
    const std::array<std::pair<QLineEdit*, std::string*>, 9> edits = {{
        {ui->Edit1, &m_model.Edit1},
        {ui->Edit5, &m_model.Edit5},
        {ui->Edit6, &m_model.Edit6},
        {ui->Edit7, &m_model.Edit7},
        {ui->Edit8, &m_model.Edit8},
        {ui->Edit9, &m_model.Edit9},
        {ui->Edit10, &m_model.Edit10},
        {ui->Edit11, &m_model.Edit11},
        {ui->Edit12, &m_model.Edit12},
    }};
    for (const auto& [edit, field] : edits)
        *field = ss(edit->text());
    const std::array<std::pair<QComboBox*, std::string*>, 5> typed = {{
        {ui->ComboBox1, &m_model.ComboBox1},
        {ui->ComboBox2, &m_model.ComboBox2},
        {ui->ComboBox6, &m_model.ComboBox6},
        {ui->ComboBox12, &m_model.ComboBox12},
        {ui->ComboBox15, &m_model.ComboBox15},
    }};
    for (const auto& [box, field] : typed)
        *field = ss(box->currentText());
    if (const std::string percent = ss(ui->Edit13->text()); percent != m_model.Edit13())
        m_model.setEdit13(percent);
    m_model.CheckBox1 = ui->CheckBox1->isChecked();
    m_model.CheckBox2 = ui->CheckBox2->isChecked();
}

void TForm4::refresh() {
    const BranchDialog& m = m_model;
    const std::array<std::pair<QLineEdit*, const std::string*>, 13> edits = {{
        {ui->Edit1, &m.Edit1},
        {ui->Edit2, &m.Edit2},
        {ui->Edit3, &m.Edit3},
        {ui->Edit4, &m.Edit4},
        {ui->Edit5, &m.Edit5},
        {ui->Edit6, &m.Edit6},
        {ui->Edit7, &m.Edit7},
        {ui->Edit8, &m.Edit8},
        {ui->Edit9, &m.Edit9},
        {ui->Edit10, &m.Edit10},
        {ui->Edit11, &m.Edit11},
        {ui->Edit12, &m.Edit12},
        {ui->Edit13, &m.Edit13()},
    }};
    for (const auto& [edit, text] : edits)
        setText(*edit, *text);
    setEditText(*ui->ComboBox1, m.ComboBox1);
    setEditText(*ui->ComboBox2, m.ComboBox2);
    setEditText(*ui->ComboBox6, m.ComboBox6);
    setEditText(*ui->ComboBox12, m.ComboBox12);
    setEditText(*ui->ComboBox15, m.ComboBox15);
    selectText(*ui->ComboBox14, m.ComboBox14);
    selectText(*ui->ComboBox16, m.ComboBox16);
    setText(*ui->Label10, m.Label10);
    setText(*ui->Label43, m.Label43);
    setText(*ui->Label56, m.Label56);
    setText(*ui->Label57, m.Label57);
    setText(*ui->Label60, m.Label60);
    setText(*ui->Label70, m.Label70);

    const std::array<std::pair<QRadioButton*, bool>, 3> radios = {{
        {ui->RadioButton1, m.RadioButton1()},
        {ui->RadioButton2, m.RadioButton2()},
        {ui->RadioButton5, m.RadioButton5()},
    }};
    for (const auto& [radio, on] : radios) {
        const QSignalBlocker b(radio);
        if (on)
            radio->setChecked(true);
    }
    const std::array<std::pair<QCheckBox*, bool>, 2> checks = {{
        {ui->CheckBox1, m.CheckBox1},
        {ui->CheckBox2, m.CheckBox2},
    }};
    for (const auto& [box, on] : checks) {
        const QSignalBlocker b(box);
        box->setChecked(on);
    }

    ui->FeederBreakerBox->setVisible(m.feederBreakerShown);
    // On the trunk row where the second system leaves, the box asks only for the breaker of
    // that tap, entered as the main device.
    const bool reduced = m.mainDeviceBoxReduced;
    const std::array<QWidget*, 4> designCurrent = {ui->DesignCurrentCaption, ui->ComboBox15,
                                                   ui->DesignCurrentUnit, ui->Button1};
    for (QWidget* w : designCurrent)
        w->setVisible(!reduced);
    ui->BreakerNote->setVisible(reduced);
    ui->MainDevicePicture->setVisible(m.mainDevicePictureShown);
    ui->BurialDepthCaption->setVisible(m.burialDepthShown);
    ui->ComboBox16->setVisible(m.burialDepthShown);

    // The tree as far as the edited row needs it: a last branch ends the trunk.
    const bool last = m.pat == RowKind::LastBranch;
    ui->TrunkPiece->setCaption(m.pat == RowKind::FirstTrunk ? QStringLiteral("分岐点")
                                                            : QStringLiteral("分岐間"));
    ui->BranchPiece->setShape(last ? FeederTreePiece::Shape::LastBranch
                                   : FeederTreePiece::Shape::Branch);
    ui->TrunkOnPiece->setShape(last ? FeederTreePiece::Shape::None
                                    : FeederTreePiece::Shape::TrunkOn);
    ui->FeederPiece->setHighlighted(m.pat == RowKind::Head);
    ui->TrunkPiece->setHighlighted(m.pat == RowKind::FirstTrunk || m.pat == RowKind::Trunk);
    ui->BranchPiece->setHighlighted(m.pat == RowKind::Branch || last);
    placeLengthAndCable();
    fitSize();
}

void TForm4::placeLengthAndCable() {
    const int wanted =
        m_model.arrangement == BranchDialog::Arrangement::AtTrunkRow ? kTrunkRow : kBranchRow;
    QGridLayout& grid = *ui->TreeLayout;
    const int index = grid.indexOf(ui->LengthCableGroup);
    if (index >= 0) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid.getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        if (row == wanted)
            return;
        grid.removeWidget(ui->LengthCableGroup);
    }
    grid.addWidget(ui->LengthCableGroup, wanted, kFieldColumn);
}

void TForm4::fitSize() {
    // Before the window is first shown a change of visibility reaches no layout by itself:
    // every panel is measured afresh.
    for (QWidget* panel : findChildren<QWidget*>())
        if (panel->layout() != nullptr) {
            panel->layout()->invalidate();
            panel->updateGeometry();
        }
    layout()->invalidate();
    layout()->activate();
    const QSize wanted = layout()->totalMinimumSize().expandedTo(QSize(kWidth, kHeight));
    if (minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

// ---------------------------------------------------------------------------------------------
// The model's host

void TForm4::info(std::string_view text) {
    // The box stands over the window as the model has it at this point.
    refresh();
    m_services.prompter().info(qs(text));
}

bool TForm4::question(std::string_view text) {
    refresh();
    return m_services.prompter().question(qs(text));
}

void TForm4::focus(std::string_view control) {
    // The control may only now be shown (the feeder breaker of a head row).
    refresh();
    if (auto* w = findChild<QWidget*>(qs(control)))
        w->setFocus(Qt::OtherFocusReason);
}

void TForm4::beep() {
    m_services.beep();
}

std::optional<std::string> TForm4::keypad() {
    refresh();
    return m_services.keypad(*this);
}

std::optional<std::string> TForm4::calculator() {
    refresh();
    return m_services.calculator(*this);
}

std::optional<CableChoice> TForm4::chooseCable(const CableRequest& request) {
    refresh();
    return m_services.chooseCable(request, *this);
}

// ---------------------------------------------------------------------------------------------
// Mouse actions that are no signals of the controls

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    using Handler = void (BranchDialog::*)(DialogHost&);
    using Emptying = void (BranchDialog::*)();
    if (event->type() == QEvent::Wheel) {
        if (auto* box = qobject_cast<QComboBox*>(watched); box && !box->hasFocus()) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        // The fields taken from the head row cannot be edited: a press sends the engineer on
        // to the cable button.
        const std::array<std::pair<QObject*, Handler>, 3> pressed = {{
            {ui->Edit2, &BranchDialog::Edit2MouseDown},
            {ui->Edit3, &BranchDialog::Edit3MouseDown},
            {ui->Edit4, &BranchDialog::Edit4MouseDown},
        }};
        for (const auto& [field, handler] : pressed)
            if (watched == field) {
                // The model and the host are named before the lambda takes them: g++ 12 gets
                // `this` wrong in a lambda that captures it beside a member-function pointer
                // of another class (the sanitizers catch it).
                DialogHost& host = *this;
                BranchDialog& model = m_model;
                act([&model, &host, handler] { std::invoke(handler, model, host); });
                return true;
            }
    } else if (event->type() == QEvent::Enter && watched == ui->ComboBox1) {
        act([this] { m_model.ComboBox1MouseEnter(*this); });
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        const std::array<std::pair<QObject*, Emptying>, 8> emptied = {{
            {ui->Edit1, &BranchDialog::Edit1DblClick},
            {ui->Edit5, &BranchDialog::Edit5DblClick},
            {ui->Edit6, &BranchDialog::Edit6DblClick},
            {ui->Edit8, &BranchDialog::Edit8DblClick},
            {ui->Edit9, &BranchDialog::Edit9DblClick},
            {ui->ComboBox1->lineEdit(), &BranchDialog::ComboBox1DblClick},
            {ui->ComboBox2->lineEdit(), &BranchDialog::ComboBox2DblClick},
            {ui->ComboBox12->lineEdit(), &BranchDialog::ComboBox12DblClick},
        }};
        for (const auto& [field, handler] : emptied)
            if (watched == field) {
                BranchDialog& model = m_model;
                act([&model, handler] { std::invoke(handler, model); });
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wirelark
