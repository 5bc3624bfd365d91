#include "japanese_fonts.h"

#include <QFontMetrics>
#include <QStringList>

namespace wirelark {

void registerJapaneseFonts() {
    // Several names, best first: the IPA faces of fonts-ipafont-mincho, then the Takao, MS and
    // Noto faces that other systems install instead. Fixed-pitch faces come first: the grid and
    // the printed numbers are aligned by blanks. The proportional IPAex face is the last resort,
    // still better than kanji drawn as empty boxes. The window, the print and the batch PDF all
    // take their faces from here.
    const QStringList mincho = {QStringLiteral("IPAMincho"),         QStringLiteral("IPA明朝"),
                                QStringLiteral("TakaoMincho"),       QStringLiteral("MS Mincho"),
                                QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho")};
    const QStringList pmincho = {QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝"),
                                 QStringLiteral("TakaoPMincho"),
                                 QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAMincho")};
    if (!QFont::substitutes(kSheetFamily).contains(mincho.first()))
        QFont::insertSubstitutions(kSheetFamily, mincho);
    if (!QFont::substitutes(kProportionalFamily).contains(pmincho.first()))
        QFont::insertSubstitutions(kProportionalFamily, pmincho);
}

QFont sheetFont(qreal pointSize) {
    QFont f(kSheetFamily);
    f.setPointSizeF(pointSize);
    return f;
}

QFont proportionalFont(qreal pointSize) {
    QFont f(kProportionalFamily);
    f.setPointSizeF(pointSize);
    return f;
}

bool drawsKanji(const QFont& font) {
    const QFontMetrics fm(font);
    // 幹 (feeder), 線 (wire), 系 (system): the first characters of the column captions.
    return fm.inFont(QChar(0x5E79)) && fm.inFont(QChar(0x7DDA)) && fm.inFont(QChar(0x7CFB));
}

}  // namespace wirelark
