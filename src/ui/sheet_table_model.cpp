#include "sheet_table_model.h"

#include <QStringList>

namespace wirelark {

SheetTableModel::SheetTableModel(const Sheet& sheet, QObject* parent)
    : QAbstractTableModel(parent), m_sheet(sheet), m_rowCount(sheet.rowCount()) {}

int SheetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int SheetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SheetTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rowCount)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromUtf8(m_sheet.cell(index.row(), index.column()));
        case RedRole:
            return isRed(index.row(), index.column());
        case Qt::ToolTipRole:
            if (index.column() == col::verdict && !isBlank(m_sheet.cell(index.row(), col::verdict)))
                return verdictTooltip(m_sheet, index.row());
            return {};
        default:
            return {};
    }
}

QString SheetTableModel::verdictTooltip(const Sheet& sheet, int row) {
    const std::string_view text = sheet.cell(row, col::verdict);
    if (isBlank(text))
        return {};
    QStringList lines{QString::fromUtf8(text)};
    for (const std::string& line : explainVerdict(sheet, row))
        lines << QString::fromStdString(line);
    return lines.join(QLatin1Char('\n'));
}

void SheetTableModel::sheetChanged() {
    const int now = m_sheet.rowCount();
    if (now > m_rowCount) {
        beginInsertRows(QModelIndex(), m_rowCount, now - 1);
        m_rowCount = now;
        endInsertRows();
    } else if (now < m_rowCount) {
        beginRemoveRows(QModelIndex(), now, m_rowCount - 1);
        m_rowCount = now;
        endRemoveRows();
    }
    if (m_rowCount > 0)
        emit dataChanged(index(0, 0), index(m_rowCount - 1, kColumnCount - 1));
}

}  // namespace wirelark
