#include "sheet_cell_delegate.h"

#include <QPainter>

#include "japanese_fonts.h"
#include "kansen_layout.h"
#include "number_text.h"
#include "sheet.h"
#include "sheet_table_model.h"

namespace wirelark {

SheetCellDelegate::SheetCellDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      m_font(sheetFont(layout::columnPointSize(col::number))),
      m_glyphFont(sheetFont(layout::columnPointSize(col::glyph))),
      m_smallFont(sheetFont(layout::columnPointSize(col::loadName))) {}

const QFont& SheetCellDelegate::fontFor(int column) const {
    const qreal size = layout::columnPointSize(column);
    if (size == m_glyphFont.pointSizeF())
        return m_glyphFont;
    if (size == m_smallFont.pointSizeF())
        return m_smallFont;
    return m_font;
}

QString SheetCellDelegate::drawnText(int column, const QString& text) {
    if (column != col::length)
        return text;
    // A length that is not a number is drawn as nothing, like 0: the recalculation names the
    // cell when it meets it.
    const auto value = readNumber(text.toStdString());
    return QString::fromStdString(formatCellPattern(value.ok() ? *value : 0.0));
}

void SheetCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const int column = index.column();
    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(
        rect, (option.state & QStyle::State_Selected) ? kSelectionColor : QColor(Qt::white));

    const bool red = column == col::glyph || index.data(SheetTableModel::RedRole).toBool();
    painter->setFont(fontFor(column));
    painter->setPen(red ? kRedColor : kTextColor);
    const QRect textRect = rect.adjusted(kTextIndent, 0, 0, 0);
    painter->drawText(
        textRect,
        static_cast<int>(layout::columnAlignment(column) | Qt::AlignVCenter) | Qt::TextSingleLine,
        drawnText(column, index.data().toString()));

    // The printed sheet holds 18 rows a page; the line shows where each page begins.
    if (index.row() % kRowsPerPage == 0)
        painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), kPageLineWidth),
                          kPageLineColor);
    painter->restore();
}

}  // namespace wirelark
