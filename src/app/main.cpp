// The desktop program: the main window on the sheet named by the first argument, if any.

#include <QApplication>
#include <QIcon>
#include <QStringList>

#include <cstdio>
#include <cstring>

#include "KANSEN.h"
#include "japanese_fonts.h"
#include "japanese_translations.h"
#include "services.h"

#ifndef WIRELARK_VERSION
#error "WIRELARK_VERSION is set by the build from the project's version"
#endif

namespace {

constexpr const char* kHelp =
    "使い方: wirelark [計算書ファイル.ksk]\n"
    "電路計算書（幹線用）を作成・確認する画面を開きます。計算書ファイルを指定すると、\n"
    "そのシートを開いて起動します。\n"
    "\n"
    "  -h, --help     この説明を表示します。\n"
    "  --version      版を表示します。\n"
    "\n"
    "画面のないバッチ処理は wirelark-cli（wirelark-cli --help）で行います。\n";

// --version and --help answer on standard output before any window exists, so that they work
// without a display.
bool answeredWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("wirelark %s\n", WIRELARK_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (answeredWithoutWindow(argc, argv))
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(WIRELARK_VERSION));
    // Ties the windows to the installed desktop entry, whose icon the desktop then shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("wirelark"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("wirelark")));
    wirelark::registerJapaneseFonts();
    wirelark::installJapaneseTranslations(app);

    wirelark::DesktopServices desktop;
    const QStringList args = QApplication::arguments();
    wirelark::TForm1 window(desktop.services(), {QApplication::applicationFilePath(),
                                                 args.size() > 1 ? args[1] : QString()});
    window.show();
    return QApplication::exec();
}
