// Takes a picture of the main window on a sheet file and writes it as PNG, for checking the
// look of the window on a machine without a desktop (see scripts/screenshot).
// usage: wirelark-screenshot SHEET.ksk|"" OUT.png

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QWindow>

#include "KANSEN.h"
#include "japanese_fonts.h"
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

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        QTextStream(stderr) << "usage: wirelark-screenshot SHEET.ksk|\"\" OUT.png\n";
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

    QPixmap picture;
    if (QScreen* screen = window.screen(); screen && window.windowHandle())
        picture = screen->grabWindow(window.winId());
    if (picture.isNull() || picture.size().isEmpty())
        picture = window.grab();
    const QString out = QString::fromLocal8Bit(argv[2]);
    if (!picture.save(out, "PNG")) {
        QTextStream(stderr) << "cannot write " << out << '\n';
        return 1;
    }
    return 0;
}
