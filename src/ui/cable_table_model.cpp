#include "cable_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace wirelark {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

const QColor kBelowCurrentText(150, 150, 150);
const QColor kDropTooLargeText(220, 0, 0);
const QColor kRecommendedBackground(200, 240, 200);
const QString kRecommended = QStringLiteral("推奨");

}  // namespace

CableTableModel::CableTableModel(const CableSelection& selection, const SizeMarks& marks,
                                 const CableRequest& request, QObject* parent)
    : QAbstractTableModel(parent), m_selection(selection), m_marks(marks), m_request(request) {}

int CableTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rowCount;
}

int CableTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kImpedanceColumns + 1;
}

int CableTableModel::modelRow(int row) const {
    const int r = row - kImpedanceHeaderRows;
    return r >= 0 && r < m_rowCount ? r : -1;
}

const SizeMark* CableTableModel::markOf(int modelRow) const {
    const int row = gridRow(modelRow);
    for (const SizeMark& m : m_marks.rows)
        if (m.gridRow == row)
            return &m;
    return nullptr;
}

QVariant CableTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rowCount)
        return {};
    const int column = index.column();
    const SizeMark* mark = m_marks.active ? markOf(index.row()) : nullptr;
    const bool below = mark && mark->belowDesignCurrent;
    const bool tooLarge = mark && mark->dropTooLarge;
    const bool recommended = mark && mark->recommended;

    switch (role) {
        case Qt::DisplayRole:
            if (column < kImpedanceColumns)
                return qs(m_selection.impedanceGrid()[static_cast<std::size_t>(
                    gridRow(index.row()))][static_cast<std::size_t>(column)]);
            if (!mark)
                return QString();
            if (recommended)
                return mark->drop.empty() ? kRecommended
                                          : qs(mark->drop) + QStringLiteral("  ") + kRecommended;
            return qs(mark->drop);
        case Qt::TextAlignmentRole:
            if (column == kDropColumn)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            if (column == kDropColumn && tooLarge)
                return QBrush(kDropTooLargeText);
            if (below)
                return QBrush(kBelowCurrentText);
            return {};
        case Qt::BackgroundRole:
            if (recommended)
                return QBrush(kRecommendedBackground);
            return {};
        case Qt::FontRole:
            if (recommended || (column == kDropColumn && tooLarge)) {
                QFont f;
                f.setBold(true);
                return f;
            }
            return {};
        case Qt::ToolTipRole: {
            if (!mark)
                return {};
            QStringList notes;
            if (mark->allowableCurrent.empty())
                notes << QStringLiteral("許容電流表に該当する行がありません");
            if (below)
                notes << QStringLiteral("許容電流 %1 A が設計電流 %2 A より小さい")
                             .arg(qs(mark->allowableCurrent), qs(m_request.designCurrent));
            if (tooLarge)
                notes << QStringLiteral("電圧降下 %1 V が許容電圧降下 %2 V を超える")
                             .arg(qs(mark->drop), qs(m_request.allowableDrop));
            if (recommended)
                notes << QStringLiteral("設計電流と許容電圧降下を満たす最小のサイズ");
            return notes.isEmpty() ? QVariant() : QVariant(notes.join('\n'));
        }
        case BelowCurrentRole:
            return below;
        case DropTooLargeRole:
            return tooLarge;
        case RecommendedRole:
            return recommended;
        default:
            return {};
    }
}

QVariant CableTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section > kDropColumn)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (section == kDropColumn)
        return QStringLiteral("  電圧降下\n     (V)");
    const auto& grid = m_selection.impedanceGrid();
    const auto c = static_cast<std::size_t>(section);
    return qs(grid[0][c]) + QLatin1Char('\n') + qs(grid[1][c]);
}

void CableTableModel::selectionChanged() {
    int rows = 0;
    const auto& grid = m_selection.impedanceGrid();
    // The sizes of a group stand in one block from the first data row.
    while (rows < kImpedanceGridRows - kImpedanceHeaderRows &&
           !grid[static_cast<std::size_t>(gridRow(rows))][0].empty())
        ++rows;
    if (rows != m_rowCount) {
        beginResetModel();
        m_rowCount = rows;
        endResetModel();
    } else if (rows > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, kDropColumn));
    }
    emit headerDataChanged(Qt::Horizontal, 0, kDropColumn);
}

}  // namespace wirelark
