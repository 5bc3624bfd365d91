#pragma once
// What the main window needs from the desktop beyond its own widgets: message boxes, the modal
// input dialogs, file choosers, the clipboard, today's date, the print dialog, the export
// chooser and the application that shows a finished workbook. The window gets them through
// its constructor, so a test can answer every prompt itself and fail on one it did not expect.

#include <QDate>
#include <QString>

#include <memory>
#include <optional>

#include "modal_runner.h"

class QPrinter;

namespace wirelark {

class TForm6;
enum class ExportChoice;

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A notice or a refusal: information box, one button.
    virtual void info(const QString& text) = 0;
    // A finding the user has to look at: warning box, one button.
    virtual void warning(const QString& text) = 0;
    // A question: warning box with Yes and No; true for Yes.
    virtual bool question(const QString& text) = 0;
    // One finding of "判定の確認": warning box with "次へ" (true: go on to the next finding) and
    // "中止" (false: end the walk); closing the box counts as "中止".
    virtual bool finding(const QString& text) {
        warning(text);
        return true;
    }
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The file to open, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const QString& filter) = 0;
    // The file to save to, proposing `suggestedName`; nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const QString& suggestedName,
                                                const QString& filter) = 0;
    // The file an export is written to, proposing `suggestedName`. Unlike the sheet file, an
    // existing file there may hold work done on it since (a workbook edited in the spreadsheet
    // application), so the user confirms replacing it. Nothing when the user cancelled.
    virtual std::optional<QString> exportFileName(const QString& suggestedName,
                                                  const QString& filter) = 0;
};

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

// The print dialog: the printer the user chose, set up as the dialog left it, or nothing when
// the user cancelled.
class PrinterChooser {
  public:
    virtual ~PrinterChooser() = default;
    virtual std::unique_ptr<QPrinter> choosePrinter() = 0;
};

// Runs the export chooser, owned by the main window, modally; the export the user picked, or
// ExportChoice::None.
class ExportChooser {
  public:
    virtual ~ExportChooser() = default;
    virtual ExportChoice choose(TForm6& chooser) = 0;
};

// Shows a finished file in the desktop's application for its kind (the workbook in the
// spreadsheet application). False when no application could be started.
class DesktopOpener {
  public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const QString& path) = 0;
};

struct Services {
    Prompter& prompter;
    // How the input windows and the windows they open (keypad, calculator, cable selection)
    // are run modally: exec() on the desktop, a script of the user's clicks in a test.
    ModalRunner& modal;
    FileChooser& files;
    Clipboard& clipboard;
    Clock& clock;
    PrinterChooser& printers;
    ExportChooser& exports;
    DesktopOpener& opener;
};

// The desktop's own: QMessageBox, QFileDialog, QClipboard and the system date.
class MessageBoxPrompter final : public Prompter {
  public:
    void info(const QString& text) override;
    void warning(const QString& text) override;
    bool question(const QString& text) override;
    bool finding(const QString& text) override;
};

class FileDialogChooser final : public FileChooser {
  public:
    std::optional<QString> openFileName(const QString& filter) override;
    std::optional<QString> saveFileName(const QString& suggestedName,
                                        const QString& filter) override;
    std::optional<QString> exportFileName(const QString& suggestedName,
                                          const QString& filter) override;
};

class SystemClipboard final : public Clipboard {
  public:
    void setText(const QString& text) override;
};

class SystemClock final : public Clock {
  public:
    // Today in Japan, whatever the machine's time zone: the date printed on the sheet.
    QDate today() const override;
};

// The platform's print dialog on a high-resolution printer.
class PrintDialogChooser final : public PrinterChooser {
  public:
    std::unique_ptr<QPrinter> choosePrinter() override;
};

// TForm6 shown modally.
class ModalExportChooser final : public ExportChooser {
  public:
    ExportChoice choose(TForm6& chooser) override;
};

// The desktop's default application for the file's type.
class SystemOpener final : public DesktopOpener {
  public:
    bool open(const QString& path) override;
};

// The desktop services of one running program.
struct DesktopServices {
    MessageBoxPrompter prompter;
    ExecRunner modal;
    FileDialogChooser files;
    SystemClipboard clipboard;
    SystemClock clock;
    PrintDialogChooser printers;
    ModalExportChooser exports;
    SystemOpener opener;
    Services services() {
        return {prompter, modal, files, clipboard, clock, printers, exports, opener};
    }
};

}  // namespace wirelark
