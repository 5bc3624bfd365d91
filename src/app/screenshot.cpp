// Takes a picture of the main window on a sheet file, or of the cable selection window on a
// cable group, and writes it as PNG, for checking the look of the windows on a machine without
// a desktop (see scripts/screenshot).
// usage: wirelark-screenshot SHEET.ksk|"" OUT.png
//        wirelark-screenshot --cable GROUP METHOD OUT.png [DESIGN_CURRENT LENGTH]

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QWindow>

#include "KANSEN.h"
#include "Ldensen.h"
#include "cable_selection.h"
#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"

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
    if (argc < 3) {
        QTextStream(stderr) << "usage: wirelark-screenshot SHEET.ksk|\"\" OUT.png\n"
                               "       wirelark-screenshot --cable GROUP METHOD OUT.png "
                               "[DESIGN_CURRENT LENGTH]\n";
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
