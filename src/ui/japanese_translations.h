#pragma once
// Everything the user sees is Japanese, the desktop's own dialogs included: the file choosers,
// the print dialog and the Yes / No / OK buttons of the message boxes come from Qt, in Japanese
// only when Qt's Japanese translations are loaded.

#include <QCoreApplication>

namespace wirelark {

// Loads Qt's Japanese translations into the application, whatever the desktop's language.
// False when they are not installed (Debian package qt6-translations-l10n); the program then
// runs with Qt's English buttons.
bool installJapaneseTranslations(QCoreApplication& app);

}  // namespace wirelark
