#include "Unit6.h"

#include "ui_Unit6.h"

namespace wirelark {

TForm6::TForm6(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm6>()) {
    ui->setupUi(this);
    connect(ui->Button12, &QPushButton::clicked, this, &TForm6::Button12Click);
    connect(ui->Button15, &QPushButton::clicked, this, &TForm6::Button15Click);
    connect(ui->Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
}

TForm6::~TForm6() = default;

int TForm6::exec() {
    m_choice = ExportChoice::None;
    return QDialog::exec();
}

ExportChoice TForm6::choose() {
    exec();
    return m_choice;
}

void TForm6::Button12Click() {
    m_choice = ExportChoice::PerFeeder;
    accept();
}

void TForm6::Button15Click() {
    m_choice = ExportChoice::EighteenRows;
    accept();
}

void TForm6::Button1Click() {
    m_choice = ExportChoice::None;
    reject();
}

}  // namespace wirelark
