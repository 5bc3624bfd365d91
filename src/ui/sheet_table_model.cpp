#include "sheet_table_model.h"

namespace wirelark {

SheetTableModel::SheetTableModel(Sheet& sheet, QObject* parent)
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
            return QString::fromStdString(m_sheet.cell(index.row(), index.column()));
        case RedRole:
            return isRed(index.row(), index.column());
        default:
            return {};
    }
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
