#include "services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "Unit6.h"
#include "era.h"

namespace wirelark {

namespace {
const QString kBoxTitle = QStringLiteral("Wirelark");
}

void MessageBoxPrompter::info(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), kBoxTitle, text, QMessageBox::Ok);
}

void MessageBoxPrompter::warning(const QString& text) {
    QMessageBox::warning(QApplication::activeWindow(), kBoxTitle, text, QMessageBox::Yes);
}

bool MessageBoxPrompter::question(const QString& text) {
    return QMessageBox::warning(QApplication::activeWindow(), kBoxTitle, text,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

bool MessageBoxPrompter::finding(const QString& text) {
    QMessageBox box(QMessageBox::Warning, kBoxTitle, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* next = box.addButton(QStringLiteral("次へ"), QMessageBox::AcceptRole);
    QPushButton* stop = box.addButton(QStringLiteral("中止"), QMessageBox::RejectRole);
    box.setDefaultButton(next);
    // The close box and Esc press "中止": a long walk can always be left.
    box.setEscapeButton(stop);
    box.exec();
    return box.clickedButton() == next;
}

std::optional<QString> FileDialogChooser::openFileName(const QString& filter) {
    const QString name =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(), filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> FileDialogChooser::saveFileName(const QString& suggestedName,
                                                       const QString& filter) {
    // The save dialog asks nothing before replacing a file: the sheet file is the user's own
    // working copy, saved over again and again.
    const QString name =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), suggestedName, filter,
                                     nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> FileDialogChooser::exportFileName(const QString& suggestedName,
                                                         const QString& filter) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), suggestedName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without the extension gets it before the dialog checks for an existing
    // file, so the question about replacing it is asked about the file really written.
    const QRegularExpressionMatch suffix =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (suffix.hasMatch())
        dialog.setDefaultSuffix(suffix.captured(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QDate SystemClock::today() const {
    const CivilDate d = todayInTokyo();
    return {d.year, d.month, d.day};
}

void SystemClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

std::unique_ptr<QPrinter> PrintDialogChooser::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The dialog opens on the form's paper, so its preview and defaults match what is printed.
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(printer.get(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}

ExportChoice ModalExportChooser::choose(TForm6& chooser) {
    return chooser.choose();
}

bool SystemOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace wirelark
