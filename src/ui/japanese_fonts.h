#pragma once
// The sheet is drawn in the Mincho faces of the official form. Where "ＭＳ 明朝" is not installed
// (every Linux desktop), fontconfig would pick a Latin face and every kanji would come out as
// an empty box, so the program names an installed Japanese Mincho face as its substitute.

#include <QFont>
#include <QString>

namespace wirelark {

inline const QString kSheetFamily = QStringLiteral("ＭＳ 明朝");
inline const QString kProportionalFamily = QStringLiteral("ＭＳ Ｐ明朝");

// Registers the substitutes (IPAMincho, IPAPMincho and their relatives) for the two faces.
// Safe to call more than once.
void registerJapaneseFonts();

// "ＭＳ 明朝" at the given size: the grid, the header captions and most labels.
QFont sheetFont(qreal pointSize);
// "ＭＳ Ｐ明朝" at the given size: the building name.
QFont proportionalFont(qreal pointSize);

// True when the face that `font` resolves to has the kanji of the sheet.
bool drawsKanji(const QFont& font);

}  // namespace wirelark
