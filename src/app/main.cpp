// The desktop program: the main window on the sheet named by the first argument, if any.

#include <QApplication>
#include <QStringList>

#include "KANSEN.h"
#include "japanese_fonts.h"
#include "japanese_translations.h"
#include "services.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    wirelark::registerJapaneseFonts();
    wirelark::installJapaneseTranslations(app);

    wirelark::DesktopServices desktop;
    const QStringList args = QApplication::arguments();
    wirelark::TForm1 window(desktop.services(), {QApplication::applicationFilePath(),
                                                 args.size() > 1 ? args[1] : QString()});
    window.show();
    return QApplication::exec();
}
