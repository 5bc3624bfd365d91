// Takes a picture of the main window on a sheet file, of the cable selection window on a cable
// group, or of the branch input window on a row of a sheet file, and writes it as PNG, for
// checking the look of the windows on a machine without a desktop (see scripts/screenshot).
// usage: wirelark-screenshot SHEET.ksk|"" OUT.png
//        wirelark-screenshot --cable GROUP METHOD OUT.png [DESIGN_CURRENT LENGTH]
//        wirelark-screenshot --branch SHEET.ksk ROW OUT.png [COLUMN]

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QWindow>

#include "KANSEN.h"
#include "Ldensen.h"
#include "branch_dialog.h"
#include "branch_hand_off.h"
#include "cable_selection.h"
#include "document.h"
#include "input_window_services.h"
#include "japanese_fonts.h"
#include "kobetu.h"
#include "modal_runner.h"
#include "services.h"
#include "sheet_file.h"

namespace {

// Messages go to the terminal: nobody is there to close a box.
class PrintingPrompter final : public wirelark::Prompter {
  public:
    void info(const QString& text) override { print(QStringLiteral("info"), text); }
    void warning(const QString& text) override { print(QStringLiteral("warning"), text); }
    bool question(const QString& text) override {
        print(QStringLiteral("question"), text);
        return true;
    }

  private:
    static void print(const QString& kind, const QString& text) {
        QTextStream(stderr) << kind << ": " << text << '\n';
    }
};

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

QPixmap picture(QWidget& window) {
    QPixmap p;
    if (QScreen* screen = window.screen(); screen && window.windowHandle())
        p = screen->grabWindow(window.winId());
    if (p.isNull() || p.size().isEmpty())
        p = window.grab();
    return p;
}

bool save(const QPixmap& p, const QString& out) {
    if (p.save(out, "PNG"))
        return true;
    QTextStream(stderr) << "cannot write " << out << '\n';
    return false;
}

// Shows the cable selection instead of running it modally, takes the picture and closes it.
class PictureRunner final : public wirelark::ModalRunner {
  public:
    explicit PictureRunner(QString out) : m_out(std::move(out)) {}
    void run(QDialog& dialog) override {
        dialog.show();
        dialog.activateWindow();
        settle(1500);
        saved = save(picture(dialog), m_out);
        dialog.close();
    }
    bool saved = false;

  private:
    QString m_out;
};

// The cable selection as the feeder dialog opens it on `group`, a size of the middle of the
// table clicked, the sizes marked when a design current and a length are given.
int cableWindow(const QStringList& args) {
    PrintingPrompter prompter;
    PictureRunner runner(args[2]);
    wirelark::CableSelection selection;
    selection.selectGroup(args[0].toStdString());
    selection.clickRow(wirelark::kImpedanceHeaderRows + 5);
    wirelark::CableRequest request;
    request.context = {wirelark::Caller::FeederDialog, args[1].toStdString(), "H=600", "単相3線",
                       wirelark::Frequency::Hz60};
    if (args.size() >= 5) {
        request.designCurrent = args[3].toStdString();
        request.length = args[4].toStdString();
        request.powerFactor = "0.95";
        request.allowableDrop = "3";
    }
    wirelark::Tdensen window(selection, prompter, runner);
    window.choose(request);
    return runner.saved ? 0 : 1;
}

// The branch input window has nobody to key numbers or pick cables for it.
class NoInputServices final : public wirelark::InputWindowServices {
  public:
    wirelark::Prompter& prompter() override { return m_prompter; }
    void beep() override {}
    std::optional<std::string> keypad(QWidget&) override { return std::nullopt; }
    std::optional<std::string> calculator(QWidget&) override { return std::nullopt; }
    std::optional<wirelark::CableChoice> chooseCable(const wirelark::CableRequest&,
                                                     QWidget&) override {
        return std::nullopt;
    }

  private:
    PrintingPrompter m_prompter;
};

// The branch input window as a double-click on grid row ROW (0-based) of the sheet opens it,
// the double-click on COLUMN (length, 6, unless given).
int branchWindow(const QStringList& args) {
    wirelark::Document document;
    const wirelark::Status loaded = document.replace([&](wirelark::Sheet& sheet) {
        return wirelark::loadSheetFile(sheet, args[0].toStdString());
    });
    if (!loaded) {
        QTextStream(stderr) << QString::fromStdString(loaded.error().message) << '\n';
        return 2;
    }
    wirelark::CableSelection cables;
    wirelark::BranchDialog model(document, cables);
    NoInputServices services;
    PictureRunner runner(args[2]);
    wirelark::TForm4 window(model, services, runner);
    if (!wirelark::openBranchRow(document, args[1].toInt(), model, window)) {
        QTextStream(stderr) << "row " << args[1] << " is no row of a residential feeder\n";
        return 2;
    }
    window.run(args.size() >= 4 ? args[3].toInt() : 6);
    return runner.saved ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc >= 5 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--cable")) {
        wirelark::registerJapaneseFonts();
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        return cableWindow(args);
    }
    if (argc >= 5 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--branch")) {
        wirelark::registerJapaneseFonts();
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        return branchWindow(args);
    }
    if (argc < 3) {
        QTextStream(stderr) << "usage: wirelark-screenshot SHEET.ksk|\"\" OUT.png\n"
                               "       wirelark-screenshot --cable GROUP METHOD OUT.png "
                               "[DESIGN_CURRENT LENGTH]\n"
                               "       wirelark-screenshot --branch SHEET.ksk ROW OUT.png "
                               "[COLUMN]\n";
        return 2;
    }
    wirelark::registerJapaneseFonts();

    PrintingPrompter prompter;
    wirelark::DesktopServices desktop;
    const wirelark::Services services{prompter,          desktop.dialogs, desktop.files,
                                      desktop.clipboard, desktop.clock,   desktop.printers,
                                      desktop.exports,   desktop.opener};
    wirelark::TForm1 window(services,
                            {QApplication::applicationFilePath(), QString::fromLocal8Bit(argv[1])});
    window.show();
    window.activateWindow();
    settle(1500);

    return save(picture(window), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
