#include "kansen_layout.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <string_view>

#include "checks.h"

namespace wirelark::layout {

int verdictColumnWidth(int gridWidth, int minVerdictWidth) {
    return std::max(minVerdictWidth, gridWidth - kFixedColumnsWidth);
}

int longestVerdictWidth(const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (std::string_view v : verdict::all)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(
                                      v.data(), static_cast<qsizetype>(v.size()))));
    // The cell's text stands 3 px in; a few pixels more keep the last character off the line.
    return widest + 3 + 6;
}

bool isShownColumn(int column) {
    return (column >= 0 && column < static_cast<int>(kColumnWidths.size())) ||
           column == col::verdict;
}

int columnWidth(int column, int gridWidth, int minVerdictWidth) {
    if (column == col::verdict)
        return verdictColumnWidth(gridWidth, minVerdictWidth);
    if (column >= 0 && column < static_cast<int>(kColumnWidths.size()))
        return kColumnWidths[static_cast<std::size_t>(column)];
    return 0;
}

Qt::Alignment columnAlignment(int column) {
    switch (column) {
        case col::number:
        case col::voltage:
        case col::breaker:
        case col::loadName:
        case col::mainBreaker:
        case col::designCurrent:
        case col::powerFactor:
        case col::allowableCurrent:
        case col::impedance:
        case col::feederNumber:
            return Qt::AlignHCenter;
        case col::length:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

qreal columnPointSize(int column) {
    switch (column) {
        case col::glyph:
            return 18;  // the tree glyphs must join up into lines from row to row
        case col::loadName:
        case col::method:
            return 9;  // the longest texts of the sheet
        default:
            return 10;
    }
}

QStringList columnCaption(int column) {
    switch (column) {
        case 0:
            return {QStringLiteral("No.")};
        case 1:
            return {QStringLiteral("幹線番号"), QStringLiteral("又は名称")};
        case 2:
            return {QStringLiteral("電気方式")};
        case 3:
            return {QStringLiteral("電圧"), QStringLiteral("[V]")};
        case 4:
            return {QStringLiteral("幹線保護用"), QStringLiteral("遮断器定格電流"),
                    QStringLiteral("[A]")};
        case 5:
            return {QStringLiteral("系統")};
        case 6:
            return {QStringLiteral("こう長"), QStringLiteral("l [m]")};
        case 7:
            return {QStringLiteral("負荷名称")};
        case 8:
            return {QStringLiteral("主幹器具"), QStringLiteral("定格電流"), QStringLiteral("[A]")};
        case 9:
            return {QStringLiteral("設計負荷"), QStringLiteral("電流"), QStringLiteral("[A]")};
        case 10:
            return {QStringLiteral("負荷の"), QStringLiteral("力率"), QStringLiteral("[cosθ]")};
        case 11:
            return {QStringLiteral("種別及び"), QStringLiteral("断面積"), QStringLiteral("[m㎡]")};
        case 12:
            return {QStringLiteral("配線方式")};
        case 13:
            return {QStringLiteral("許容電流"), QStringLiteral("[A]")};
        case 14:
            return {QStringLiteral("電線1kmあたりの"), QStringLiteral("ｲﾝﾋﾟｰﾀﾞﾝｽ"),
                    QStringLiteral("z[Ω/km]")};
        case 15:
            return {QStringLiteral("単一配線の"), QStringLiteral("電圧降下"),
                    QStringLiteral("[V]")};
        case 16:
            return {QStringLiteral("分岐がある"), QStringLiteral("場合の合計")};
        case 17:
            return {QStringLiteral("許容"), QStringLiteral("電圧降下"), QStringLiteral("[V]")};
        case 18:
            return {QStringLiteral("備考")};
        case 21:
            return {QStringLiteral("判定")};
        default:
            return {};
    }
}

QSize windowSizeForScreen(QSize screen) {
    int width = kDesignedWidth;
    int height = kDesignedHeight;
    if (screen.height() > 768)
        height = (screen.height() / 4) * 3;
    if (screen.width() >= 1600)
        width = 1584;
    else if (screen.width() == 1360)
        width = 1360;
    else if (screen.width() == 1280)
        width = 1255;
    return {width, height};
}

WindowPlacement placeWindow(QSize screen, QRect available, int minVerdictWidth) {
    WindowPlacement place;
    place.size = windowSizeForScreen(screen);
    const int wholeRow = kFixedColumnsWidth + kGridWidthMargin + minVerdictWidth;
    if (place.size.width() < wholeRow && wholeRow + kFrameAllowance.width() <= available.width())
        place.size.setWidth(wholeRow);
    const QSize framed = place.size + kFrameAllowance;
    if (framed.width() > available.width() || framed.height() > available.height()) {
        place.size = available.size();
        place.position = available.topLeft();
        place.maximised = true;
        return place;
    }
    place.position = available.topLeft() + QPoint((available.width() - framed.width()) / 2,
                                                  (available.height() - framed.height()) / 2);
    return place;
}

}  // namespace wirelark::layout
