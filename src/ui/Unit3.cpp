#include "Unit3.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QShowEvent>

#include <array>

#include "japanese_fonts.h"
#include "modal_runner.h"
#include "ui_Unit3.h"
#include "window_placement.h"

namespace wirelark {

TForm3::TForm3(ModalRunner& runner, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TForm3>()), m_runner(runner) {
    registerJapaneseFonts();
    ui->setupUi(this);
    setFont(sheetFont(11));
    QFont display = sheetFont(18);
    display.setBold(true);
    ui->Edit1->setFont(display);
    QFont keyFont = sheetFont(16);
    keyFont.setBold(true);
    const std::array<QPushButton*, 10> digits = {
        ui->Button10, ui->Button1, ui->Button2, ui->Button3, ui->Button4,
        ui->Button5,  ui->Button6, ui->Button7, ui->Button8, ui->Button9};
    for (int d = 0; d < 10; ++d) {
        QPushButton* key = digits[static_cast<std::size_t>(d)];
        key->setFont(keyFont);
        key->setFocusPolicy(Qt::NoFocus);
        connect(key, &QPushButton::clicked, this, [this, d] {
            m_model.digitClick(d);
            refresh();
        });
    }
    for (QPushButton* key : {ui->Button11, ui->Button13}) {
        key->setFont(keyFont);
        key->setFocusPolicy(Qt::NoFocus);
    }
    connect(ui->Button11, &QPushButton::clicked, this, [this] {
        m_model.Button11Click();
        refresh();
    });
    connect(ui->Button13, &QPushButton::clicked, this, [this] {
        m_model.Button13Click();
        refresh();
    });
    for (QPushButton* b : {ui->Button14, ui->Button23})
        b->setMinimumHeight(QFontMetrics(b->font()).height() + 22);
    connect(ui->Button14, &QPushButton::clicked, this, [this] { accepted(); });
    connect(ui->Button23, &QPushButton::clicked, this, [this] { reject(); });
    // A double-click on the display empties it like "C".
    ui->Edit1->installEventFilter(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

TForm3::~TForm3() = default;

std::optional<std::string> TForm3::enter(QWidget* caller) {
    m_result.reset();
    placeOver(*this, caller);
    m_runner.run(*this);
    if (isVisible())
        reject();
    return m_result;
}

void TForm3::refresh() {
    ui->Edit1->setText(QString::fromStdString(m_model.Edit1));
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Every entry starts empty, with the decimal point allowed again.
    m_model.FormShow();
    m_result.reset();
    refresh();
}

void TForm3::accepted() {
    m_result = m_model.Button14Click();
    refresh();
    accept();
}

void TForm3::reject() {
    m_model.Button23Click();
    m_result.reset();
    refresh();
    QDialog::reject();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    // The keys of the keyboard work as the keypad's own: digits, the point, Enter for "登録",
    // Escape for "キャンセル", Delete and Backspace for "C".
    const QString text = event->text();
    if (text.size() == 1 && m_model.press(text.front().toLatin1())) {
        refresh();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accepted();
            return;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            m_model.Button13Click();
            refresh();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Edit1 && event->type() == QEvent::MouseButtonDblClick) {
        m_model.Edit1DblClick();
        refresh();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wirelark
