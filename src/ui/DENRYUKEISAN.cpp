#include "DENRYUKEISAN.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QShowEvent>
#include <QSignalBlocker>

#include <array>

#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"
#include "ui_DENRYUKEISAN.h"
#include "window_placement.h"

namespace wirelark {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QColor colour(CurrentCalculator::Colour c) {
    return {c.red, c.green, c.blue};
}

void paint(QWidget& w, const QColor& background) {
    QPalette p = w.palette();
    p.setColor(QPalette::Window, background);
    w.setPalette(p);
    w.setAutoFillBackground(true);
}

void setText(QComboBox& box, const std::string& text) {
    const QString t = qs(text);
    if (box.currentText() != t)
        box.setEditText(t);
}

}  // namespace

TForm5::TForm5(Prompter& prompter, std::function<void()> beep, ModalRunner& runner, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TForm5>()),
      m_prompter(prompter),
      m_beep(std::move(beep)),
      m_runner(runner) {
    registerJapaneseFonts();
    ui->setupUi(this);
    setUpLook();
    connectControls();
    refresh();
}

TForm5::~TForm5() = default;

void TForm5::setUpLook() {
    setFont(sheetFont(11));
    QFont title = sheetFont(14);
    title.setBold(true);
    ui->TitleLabel->setFont(title);
    ui->TabControl3->addTab(QStringLiteral("電力値を計算する"));
    ui->TabControl3->addTab(QStringLiteral("電流値を計算する"));
    ui->TabControl3->setExpanding(true);
    ui->TabControl3->setDrawBase(false);
    for (const std::string& item : CurrentCalculator::voltageItems())
        ui->ComboBox9->addItem(qs(item));
    for (const std::string& item : CurrentCalculator::powerFactorItems())
        ui->ComboBox10->addItem(qs(item));
    for (QComboBox* box : {ui->ComboBox9, ui->ComboBox10}) {
        box->setCompleter(nullptr);
        box->setMaxVisibleItems(16);
        box->view()->setFont(font());
    }
    ui->Label1->hide();

    // The display: black, the result large; its title in the colour of what it shows.
    paint(*ui->DisplayBox, Qt::black);
    QFont shown = sheetFont(22);
    shown.setBold(true);
    ui->Label145->setFont(shown);
    ui->Label145->setMinimumWidth(
        QFontMetrics(shown).horizontalAdvance(QStringLiteral("0,000,000.00")) + 8);
    for (QLabel* l : {ui->Label145, ui->Label146}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
    }
    QFont unit = sheetFont(14);
    ui->Label146->setFont(unit);
    ui->Label146->setMinimumWidth(QFontMetrics(unit).horizontalAdvance(QStringLiteral("Kva")) + 4);
    ui->Label144->setMargin(3);
    QSizePolicy keep = ui->Label144->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->Label144->setSizePolicy(keep);

    QFont keyFont = sheetFont(16);
    keyFont.setBold(true);
    for (QPushButton* key :
         {ui->Button52, ui->Button53, ui->Button54, ui->Button55, ui->Button56, ui->Button57,
          ui->Button58, ui->Button59, ui->Button60, ui->Button61, ui->Button62, ui->Button64}) {
        key->setFont(keyFont);
        key->setFocusPolicy(Qt::NoFocus);
    }
    // The compute button keeps its width whichever of its three captions it shows.
    const QFontMetrics fm(ui->Button65->font());
    int widest = 0;
    for (const char* caption : {"電流値の入力", "電力値の入力", "計算"})
        widest = std::max(widest, fm.horizontalAdvance(QString::fromUtf8(caption)));
    ui->Button65->setMinimumWidth(widest + 28);
    for (QPushButton* b : {ui->Button65, ui->Button67, ui->Button1})
        b->setMinimumHeight(QFontMetrics(b->font()).height() + 16);
    QSizePolicy keep67 = ui->Button67->sizePolicy();
    keep67.setRetainSizeWhenHidden(true);
    ui->Button67->setSizePolicy(keep67);
    for (QLabel* l : {ui->Label141, ui->Label142})
        l->installEventFilter(this);
    ui->Edit7->installEventFilter(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm5::connectControls() {
    connect(ui->TabControl3, &QTabBar::currentChanged, this, [this](int index) {
        act([=, this] {
            m_model.TabControl3Change(index == 0 ? CurrentCalculator::Tab::Power
                                                 : CurrentCalculator::Tab::Current);
        });
    });
    // Button52 .. Button60 are "1" .. "9", Button61 "0".
    const std::array<QPushButton*, 10> digits = {
        ui->Button61, ui->Button52, ui->Button53, ui->Button54, ui->Button55,
        ui->Button56, ui->Button57, ui->Button58, ui->Button59, ui->Button60};
    for (int d = 0; d < 10; ++d)
        connect(digits[static_cast<std::size_t>(d)], &QPushButton::clicked, this,
                [this, d] { act([=, this] { m_model.digitClick(d); }); });
    connect(ui->Button62, &QPushButton::clicked, this,
            [this] { act([=, this] { m_model.Button62Click(*this); }); });
    connect(ui->Button64, &QPushButton::clicked, this, [this] {
        act([=, this] { m_model.Button64Click(); });
        ui->Button65->setFocus();
    });
    connect(ui->Button65, &QPushButton::clicked, this,
            [this] { act([=, this] { m_model.Button65Click(*this); }); });
    connect(ui->Button67, &QPushButton::clicked, this,
            [this] { act([=, this] { m_model.Button67Click(*this); }); });
    connect(ui->Button63, &QPushButton::clicked, this, [this] {
        act([=, this] { m_model.Button63Click(); });
        ui->Button65->setFocus();
    });
    connect(ui->Button66, &QPushButton::clicked, this, [this] {
        act([=, this] { m_model.Button66Click(); });
        ui->Button65->setFocus();
    });
    connect(ui->RadioButton28, &QRadioButton::clicked, this,
            [this] { act([=, this] { m_model.choosePhase(Phase::Single, *this); }); });
    connect(ui->RadioButton29, &QRadioButton::clicked, this,
            [this] { act([=, this] { m_model.choosePhase(Phase::Three, *this); }); });
    connect(ui->Button1, &QPushButton::clicked, this, [this] { accept(); });
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == ui->Edit7) {
        if (type == QEvent::MouseButtonPress)
            act([&] { m_model.Edit7Click(); });
        else if (type == QEvent::KeyPress)
            m_keyPressedInEdit7 = true;
        // The key is taken once the field holds it; a release whose press went elsewhere (the
        // Tab that brought the focus here) is none of the field's.
        else if (type == QEvent::KeyRelease && m_keyPressedInEdit7 &&
                 !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            m_keyPressedInEdit7 = false;
            act([&] { m_model.Edit7KeyUp(); });
        } else if (type == QEvent::FocusOut)
            m_keyPressedInEdit7 = false;
    } else if (type == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label141)
            act([&] { m_model.choosePhase(Phase::Single, *this); });
        else if (watched == ui->Label142)
            act([&] { m_model.choosePhase(Phase::Three, *this); });
    }
    return QDialog::eventFilter(watched, event);
}

void TForm5::refresh() {
    const CurrentCalculator& m = m_model;
    {
        const QSignalBlocker b(ui->TabControl3);
        ui->TabControl3->setCurrentIndex(m.TabControl3 == CurrentCalculator::Tab::Power ? 0 : 1);
    }
    ui->Label137->setText(qs(m.Label137));
    if (ui->Edit7->text() != qs(m.Edit7)) {
        const QSignalBlocker b(ui->Edit7);
        ui->Edit7->setText(qs(m.Edit7));
    }
    ui->Label147->setText(qs(m.Label147));
    {
        const QSignalBlocker b9(ui->ComboBox9);
        const QSignalBlocker b10(ui->ComboBox10);
        setText(*ui->ComboBox9, m.ComboBox9);
        setText(*ui->ComboBox10, m.ComboBox10);
    }
    {
        const QSignalBlocker b28(ui->RadioButton28);
        const QSignalBlocker b29(ui->RadioButton29);
        (m.phase == Phase::Single ? ui->RadioButton28 : ui->RadioButton29)->setChecked(true);
    }
    ui->Label145->setText(qs(m.Label145));
    ui->Label146->setText(qs(m.Label146));
    ui->Label144->setText(qs(m.Label144));
    ui->Label144->setVisible(m.Label144Visible);
    paint(*ui->Label144, colour(m.Label144Colour));
    ui->Button65->setText(qs(m.Button65));
    ui->Button67->setVisible(m.Button67Visible);
    ui->Label1->setText(qs(m.Label1));

    // The marker under the tabs stands under the chosen one, in the colour of its result.
    const bool power = m.TabControl3 == CurrentCalculator::Tab::Power;
    const QColor marked =
        colour(power ? CurrentCalculator::kPowerColour : CurrentCalculator::kCurrentColour);
    QWidget* on = power ? ui->Marker0 : ui->Marker1;
    QWidget* off = power ? ui->Marker1 : ui->Marker0;
    paint(*on, marked);
    off->setAutoFillBackground(false);
    off->update();
}

void TForm5::collect() {
    m_model.Edit7 = ui->Edit7->text().toStdString();
    m_model.ComboBox9 = ui->ComboBox9->currentText().toStdString();
    m_model.ComboBox10 = ui->ComboBox10->currentText().toStdString();
}

template <class Handler>
void TForm5::act(Handler&& handler) {
    if (m_acting)
        return;
    m_acting = true;
    collect();
    std::forward<Handler>(handler)();
    m_acting = false;
    refresh();
}

std::optional<std::string> TForm5::calculate(QWidget* caller) {
    placeOver(*this, caller);
    m_runner.run(*this);
    if (isVisible())
        reject();
    return m_model.handBack();
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_model.FormActivate();
    refresh();
    ui->Button65->setFocus();
}

void TForm5::info(std::string_view text) {
    refresh();
    m_prompter.info(qs(text));
}

bool TForm5::question(std::string_view text) {
    refresh();
    return m_prompter.question(qs(text));
}

void TForm5::focus(std::string_view control) {
    if (QWidget* w = findChild<QWidget*>(qs(control)); w != nullptr && w->isVisibleTo(this))
        w->setFocus(Qt::OtherFocusReason);
}

void TForm5::beep() {
    if (m_beep)
        m_beep();
}

}  // namespace wirelark
