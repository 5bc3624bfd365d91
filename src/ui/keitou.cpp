#include "keitou.h"

#include <functional>

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

#include "circuit_pictures.h"
#include "input_window_services.h"
#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"
#include "ui_keitou.h"
#include "window_placement.h"

namespace wirelark {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string ss(const QString& s) {
    return s.toStdString();
}

void setText(QLineEdit& edit, const std::string& text) {
    const QString t = qs(text);
    // Only a real change moves the cursor of the field being typed in.
    if (edit.text() != t)
        edit.setText(t);
}

void setText(QComboBox& box, const std::string& text) {
    const QString t = qs(text);
    const int i = box.findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (box.isEditable()) {
        if (box.currentIndex() != i)
            box.setCurrentIndex(i);
        if (box.currentText() != t)
            box.setEditText(t);
    } else if (box.currentIndex() != i) {
        box.setCurrentIndex(i);
    }
}

// A field the engineer types in, or picks from a list, as the model holds it.
template <class Widget>
using Binding = std::pair<Widget*, std::string FeederDialog::*>;

}  // namespace

TForm2::TForm2(FeederDialog& model, InputWindowServices& services, ModalRunner& runner,
               QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TForm2>()),
      m_model(model),
      m_services(services),
      m_runner(runner) {
    registerJapaneseFonts();
    ui->setupUi(this);
    m_edits = {
        {ui->Edit1, &FeederDialog::Edit1}, {ui->Edit2, &FeederDialog::Edit2},
        {ui->Edit4, &FeederDialog::Edit4}, {ui->Edit8, &FeederDialog::Edit8},
        {ui->Edit9, &FeederDialog::Edit9}, {ui->Edit10, &FeederDialog::Edit10},
        {ui->Edit6, &FeederDialog::Edit6}, {ui->Edit12, &FeederDialog::Edit12},
        {ui->Edit5, &FeederDialog::Edit5}, {ui->Edit7, &FeederDialog::Edit7},
        {ui->Edit3, &FeederDialog::Edit3},
    };
    m_combos = {
        {ui->ComboBox13, &FeederDialog::ComboBox13}, {ui->ComboBox14, &FeederDialog::ComboBox14},
        {ui->ComboBox16, &FeederDialog::ComboBox16}, {ui->ComboBox2, &FeederDialog::ComboBox2},
        {ui->ComboBox3, &FeederDialog::ComboBox3},   {ui->ComboBox4, &FeederDialog::ComboBox4},
        {ui->ComboBox5, &FeederDialog::ComboBox5},   {ui->ComboBox11, &FeederDialog::ComboBox11},
        {ui->ComboBox7, &FeederDialog::ComboBox7},   {ui->ComboBox8, &FeederDialog::ComboBox8},
        {ui->ComboBox10, &FeederDialog::ComboBox10}, {ui->ComboBox9, &FeederDialog::ComboBox9},
        {ui->ComboBox1, &FeederDialog::ComboBox1},   {ui->ComboBox17, &FeederDialog::ComboBox17},
        {ui->ComboBox15, &FeederDialog::ComboBox15}, {ui->ComboBox12, &FeederDialog::ComboBox12},
        {ui->ComboBox6, &FeederDialog::ComboBox6},
    };
    m_labels = {
        {ui->Label40, &FeederDialog::Label40}, {ui->Label43, &FeederDialog::Label43},
        {ui->Label56, &FeederDialog::Label56}, {ui->Label57, &FeederDialog::Label57},
        {ui->Label60, &FeederDialog::Label60}, {ui->Label70, &FeederDialog::Label70},
    };
    setUpLook();
    fillLists();
    connectControls();
    watchMouse();
    refresh();
}

TForm2::~TForm2() = default;

// ---------------------------------------------------------------------------------------------
// Building the window

void TForm2::setUpLook() {
    setFont(sheetFont(10));
    QFont title = sheetFont(16);
    title.setBold(true);
    ui->TitleLabel->setFont(title);
    QFont mode = sheetFont(12);
    mode.setBold(true);
    ui->Button6->setFont(mode);
    ui->Button1->setFont(mode);
    for (QPushButton* b : {ui->Button6, ui->Button1, ui->Button4, ui->Button5})
        b->setMinimumHeight(QFontMetrics(b->font()).height() + 18);
    ui->Button4->setMinimumWidth(110);
    ui->Button5->setMinimumWidth(110);
    setStyleSheet(QStringLiteral(
        "QLabel#TitleLabel { color: rgb(0, 0, 128); }"
        "QFrame#Panel1, QFrame#Panel6 { background: rgb(246, 250, 255); }"
        "QLabel#Label60, QLabel#Label70 { background: white; border: 1px solid rgb(150, 150, 150);"
        " padding: 1px 4px; }"
        "QLabel#Label40 { color: rgb(0, 0, 160); }"
        "QLabel#ComboBox9Note { color: rgb(160, 0, 0); }"));
    ui->Panel1->setAutoFillBackground(true);
    ui->Panel6->setAutoFillBackground(true);

    // Hidden working fields: the feeder's sequence number, the cable's R, X and size key.
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->Edit1, ui->Label43, ui->Label56, ui->Label57})
        w->hide();

    // The main device toggle keeps its width whichever caption it shows.
    const QFontMetrics fm(ui->Button3->font());
    ui->Button3->setMinimumWidth(std::max(fm.horizontalAdvance(QStringLiteral("ﾌﾞﾚｰｶｰ表示")),
                                          fm.horizontalAdvance(QStringLiteral("無し"))) +
                                 28);

    // The second system's picture and count keep their place while one system is entered.
    for (QWidget* w : std::initializer_list<QWidget*>{ui->SystemPicture2, ui->ComboBox17,
                                                      ui->ComboBox17Caption}) {
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
    }
    ui->Edit9->setAlignment(Qt::AlignRight);
    ui->Edit10->setAlignment(Qt::AlignRight);
    ui->Edit5->setAlignment(Qt::AlignRight);
    ui->Edit3->setAlignment(Qt::AlignRight);
    ui->Edit4->setAlignment(Qt::AlignRight);
    ui->Edit6->setAlignment(Qt::AlignRight);
    ui->Edit11->setAlignment(Qt::AlignRight);
}

void TForm2::fillLists() {
    for (const auto& [box, member] : m_combos) {
        const QSignalBlocker b(box);
        box->clear();
        for (const std::string& item : FeederDialog::itemsOf(ss(box->objectName())))
            box->addItem(qs(item));
        box->view()->setFont(font());
        box->setMaxVisibleItems(20);
        // What is typed stays as typed: no completion to a listed item.
        if (box->isEditable())
            box->setCompleter(nullptr);
    }
}

void TForm2::connectControls() {
    using F = FeederDialog;
    const auto onClick = [this](QAbstractButton* button, void (F::*handler)(DialogHost&)) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { actOn(handler); });
    };
    const auto onPick = [this](QComboBox* box, void (F::*handler)(DialogHost&)) {
        // `activated`: a pick of the item already shown runs the handler too.
        connect(box, &QComboBox::activated, this, [this, handler] { actOn(handler); });
    };
    const auto onLeave = [this](QLineEdit* edit, void (F::*handler)(DialogHost&)) {
        connect(edit, &QLineEdit::editingFinished, this, [this, handler] { actOn(handler); });
    };

    onClick(ui->Button6, &F::Button6Click);
    onClick(ui->Button1, &F::Button1Click);
    connect(ui->Button4, &QPushButton::clicked, this, [this] {
        act([=, this] {
            if (m_model.Button4Click(*this))
                accept();
        });
    });
    connect(ui->Button5, &QPushButton::clicked, this, [this] { reject(); });
    onClick(ui->Button2, &F::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this,
            [this] { act([=, this] { m_model.Button3Click(); }); });
    onClick(ui->Button11, &F::Button11Click);
    onClick(ui->Button15, &F::Button15Click);
    onClick(ui->Button16, &F::Button16Click);
    onClick(ui->Button17, &F::Button17Click);
    onClick(ui->RadioButton1, &F::RadioButton1Click);
    onClick(ui->RadioButton2, &F::RadioButton2Click);
    onClick(ui->RadioButton5, &F::RadioButton5Click);
    onClick(ui->RadioButton3, &F::RadioButton3Click);
    onClick(ui->RadioButton4, &F::RadioButton4Click);

    onPick(ui->ComboBox2, &F::ComboBox2Click);
    onPick(ui->ComboBox3, &F::ComboBox3Click);
    onPick(ui->ComboBox7, &F::ComboBox7Click);
    onPick(ui->ComboBox8, &F::ComboBox8Click);
    onPick(ui->ComboBox5, &F::ComboBox5Click);
    onPick(ui->ComboBox10, &F::ComboBox10Click);
    onPick(ui->ComboBox1, &F::ComboBox1Click);
    onPick(ui->ComboBox17, &F::ComboBox17Click);
    onPick(ui->ComboBox15, &F::ComboBox15Click);
    onPick(ui->ComboBox11, &F::ComboBox11Click);
    onPick(ui->ComboBox14, &F::ComboBox14Click);
    onPick(ui->ComboBox16, &F::ComboBox16Click);
    // The load type's change handler: the user's change only, never refresh()'s.
    connect(ui->ComboBox13, &QComboBox::currentIndexChanged, this,
            [this] { act([=, this] { m_model.ComboBox13Change(*this); }); });

    onLeave(ui->ComboBox3->lineEdit(), &F::ComboBox3Click);
    onLeave(ui->ComboBox8->lineEdit(), &F::ComboBox8Click);
    onLeave(ui->Edit4, &F::Edit4Exit);
}

void TForm2::watchMouse() {
    // A press on the design currents opens the keypad.
    ui->Edit5->installEventFilter(this);
    ui->Edit3->installEventFilter(this);
    const std::array<std::pair<QWidget*, const char*>, 10> emptied = {{
        {ui->Edit2, "Edit2"},
        {ui->Edit4, "Edit4"},
        {ui->Edit8, "Edit8"},
        {ui->Edit9, "Edit9"},
        {ui->Edit10, "Edit10"},
        {ui->Edit12, "Edit12"},
        {ui->ComboBox4->lineEdit(), "ComboBox4"},
        {ui->ComboBox9->lineEdit(), "ComboBox9"},
        {ui->ComboBox11->lineEdit(), "ComboBox11"},
        {ui->ComboBox12->lineEdit(), "ComboBox12"},
    }};
    for (const auto& [widget, name] : emptied) {
        widget->installEventFilter(this);
        m_emptiedByDoubleClick.emplace_back(widget, name);
    }
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Edit5) {
            act([&] { m_model.Edit5MouseDown(*this); });
            return true;
        }
        if (watched == ui->Edit3 && ui->Edit3->isEnabled()) {
            act([&] { m_model.Edit3MouseDown(*this); });
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (const auto& [widget, name] : m_emptiedByDoubleClick)
            if (widget == watched) {
                act([&] { m_model.emptyOnDoubleClick(name, *this); });
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::fitSize() {
    // Panels come and go with the mode and the choices; before the window is first shown such
    // a change reaches no layout by itself, so every box is measured afresh.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->layout() != nullptr) {
            w->layout()->invalidate();
            w->updateGeometry();
        }
    layout()->invalidate();
    layout()->activate();
    const QSize wanted = layout()->totalMinimumSize().expandedTo(QSize(kWidth, kHeight));
    if (minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

// ---------------------------------------------------------------------------------------------
// Moving texts between the controls and the model

void TForm2::refresh() {
    const FeederDialog& m = m_model;
    for (const auto& [edit, member] : m_edits) {
        const QSignalBlocker b(edit);
        setText(*edit, m.*member);
    }
    {
        const QSignalBlocker b(ui->Edit11);
        setText(*ui->Edit11, m.Edit11());
    }
    for (const auto& [box, member] : m_combos) {
        const QSignalBlocker b(box);
        const QSignalBlocker be(box->lineEdit());
        setText(*box, m.*member);
    }
    for (const auto& [label, member] : m_labels)
        label->setText(qs(m.*member));

    const bool single = m.mode == FeederDialog::Mode::Single;
    ui->ModePanels->setCurrentWidget(single ? ui->Panel1 : ui->Panel6);
    {
        const QSignalBlocker b6(ui->Button6);
        const QSignalBlocker b1(ui->Button1);
        ui->Button6->setChecked(single);
        ui->Button1->setChecked(!single);
    }
    ui->Button1->setEnabled(m.Button1Enabled);
    ui->Edit3->setEnabled(m.Edit3Enabled);

    const bool device = m.mainDeviceShown;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->ComboBox11Caption, ui->ComboBox11, ui->ComboBox11Unit})
        w->setVisible(device);
    ui->NoDevicePicture->setVisible(!device);
    ui->SinglePiece3->setShape(device ? CircuitPiece::Shape::Device : CircuitPiece::Shape::Line);
    ui->Button3->setText(qs(m.Button3Caption()));

    // The depth is asked for a buried conduit only, and the cable table button moves below it.
    ui->BurialDepthBox->setVisible(m.burialDepthShown());

    const bool two = m.secondSystemShown();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->ComboBox17Caption, ui->ComboBox17, ui->SystemPicture2})
        w->setVisible(two);
    {
        const QSignalBlocker b3(ui->RadioButton3);
        const QSignalBlocker b4(ui->RadioButton4);
        ui->RadioButton3->setChecked(!two);
        ui->RadioButton4->setChecked(two);
    }
    {
        const SupplyKind kind = m.supplyKind();
        const std::array<std::pair<QRadioButton*, SupplyKind>, 3> supply = {{
            {ui->RadioButton1, SupplyKind::Transformer},
            {ui->RadioButton2, SupplyKind::Utility},
            {ui->RadioButton5, SupplyKind::Typed},
        }};
        for (const auto& [radio, k] : supply) {
            const QSignalBlocker b(radio);
            if (k == kind)
                radio->setChecked(true);
        }
    }
    fitSize();
}

void TForm2::collect() {
    for (const auto& [edit, member] : m_edits)
        if (!edit->isReadOnly())
            m_model.*member = ss(edit->text());
    if (const std::string percent = ss(ui->Edit11->text()); percent != m_model.Edit11())
        m_model.setEdit11(percent);
    for (const auto& [box, member] : m_combos)
        m_model.*member = ss(box->currentText());
}

template <class Handler>
void TForm2::act(Handler&& handler) {
    if (m_acting)
        return;
    m_acting = true;
    collect();
    std::forward<Handler>(handler)();
    m_acting = false;
    refresh();
}

void TForm2::actOn(void (FeederDialog::*handler)(DialogHost&)) {
    // The model and the host are named before the lambda takes them: g++ 12 gets `this` wrong
    // in a lambda that captures it beside a member-function pointer of another class (the
    // sanitizers catch it).
    DialogHost& host = *this;
    FeederDialog& model = m_model;
    act([&model, &host, handler] { std::invoke(handler, model, host); });
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

bool TForm2::run() {
    placeOverOwner();
    m_runner.run(*this);
    if (isVisible())
        reject();
    return m_model.state() == ScriptableDialog::State::Confirmed;
}

void TForm2::placeOverOwner() {
    placeOver(*this, m_owner != nullptr ? m_owner : parentWidget());
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // FormActivate, once for each opening: not on every return of the focus to the window.
    m_acting = true;
    m_model.show(*this);
    m_acting = false;
    refresh();
}

void TForm2::reject() {
    if (m_model.state() == ScriptableDialog::State::Open)
        m_model.close(*this);
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// DialogHost

void TForm2::info(std::string_view text) {
    // The box stands over what the action has computed so far.
    refresh();
    m_services.prompter().info(qs(text));
}

bool TForm2::question(std::string_view text) {
    refresh();
    return m_services.prompter().question(qs(text));
}

void TForm2::focus(std::string_view control) {
    QWidget* w = findChild<QWidget*>(qs(control));
    if (w != nullptr && w->isVisibleTo(this) && w->isEnabled())
        w->setFocus(Qt::OtherFocusReason);
}

void TForm2::beep() {
    m_services.beep();
}

std::optional<std::string> TForm2::keypad() {
    refresh();
    return m_services.keypad(*this);
}

std::optional<std::string> TForm2::calculator() {
    refresh();
    return m_services.calculator(*this);
}

std::optional<CableChoice> TForm2::chooseCable(const CableRequest& request) {
    refresh();
    return m_services.chooseCable(request, *this);
}

}  // namespace wirelark
