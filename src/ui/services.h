#pragma once
// What the main window needs from the desktop beyond its own widgets: message boxes, the modal
// input dialogs, file choosers, the clipboard and today's date. The window gets them through
// its constructor, so a test can answer every prompt itself and fail on one it did not expect.

#include <QDate>
#include <QString>

#include <optional>

namespace wirelark {

class Prompter {
  public:
    virtual ~Prompter() = default;
    // A notice or a refusal: information box, one button.
    virtual void info(const QString& text) = 0;
    // A finding the user has to look at: warning box, one button.
    virtual void warning(const QString& text) = 0;
    // A question: warning box with Yes and No; true for Yes.
    virtual bool question(const QString& text) = 0;
};

// Runs the modal input dialog for a row of the sheet (chosen by the row's tree glyph) and
// tells whether the user confirmed it.
class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    virtual bool editRow(int row) = 0;
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The file to open, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const QString& filter) = 0;
    // The file to save to, proposing `suggestedName`; nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const QString& suggestedName,
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

struct Services {
    Prompter& prompter;
    DialogRunner& dialogs;
    FileChooser& files;
    Clipboard& clipboard;
    Clock& clock;
};

// The desktop's own: QMessageBox, QFileDialog, QClipboard and the system date.
class MessageBoxPrompter final : public Prompter {
  public:
    void info(const QString& text) override;
    void warning(const QString& text) override;
    bool question(const QString& text) override;
};

// Until the input dialogs exist, a double-click opens nothing and confirms nothing.
class NoDialogRunner final : public DialogRunner {
  public:
    bool editRow(int) override { return false; }
};

class FileDialogChooser final : public FileChooser {
  public:
    std::optional<QString> openFileName(const QString& filter) override;
    std::optional<QString> saveFileName(const QString& suggestedName,
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

// The desktop services of one running program.
struct DesktopServices {
    MessageBoxPrompter prompter;
    NoDialogRunner dialogs;
    FileDialogChooser files;
    SystemClipboard clipboard;
    SystemClock clock;
    Services services() { return {prompter, dialogs, files, clipboard, clock}; }
};

}  // namespace wirelark
