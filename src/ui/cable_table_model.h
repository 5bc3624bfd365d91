#pragma once
// The impedance grid of the cable selection as Qt sees it: the size rows of the shown group
// (grid rows 2 onward), the two header rows as a two-line header, and the marks of the sizes
// that would do for the calling row in an extra column "電圧降下". Read-only: the selection is
// the only store, and the window tells the model when it has changed.

#include <QAbstractTableModel>

#include "cable_marking.h"
#include "cable_selection.h"

namespace wirelark {

class CableTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The column of the drops, after the five of the catalogue.
    static constexpr int kDropColumn = kImpedanceColumns;
    // True on a size that cannot carry the design current (drawn grey).
    static constexpr int BelowCurrentRole = Qt::UserRole + 1;
    // True on the drop of a size that exceeds the allowable drop (drawn red).
    static constexpr int DropTooLargeRole = Qt::UserRole + 2;
    // True on the proposed size ("推奨").
    static constexpr int RecommendedRole = Qt::UserRole + 3;

    CableTableModel(const CableSelection& selection, const SizeMarks& marks,
                    const CableRequest& request, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The grid row of a model row, and back (-1 when the grid row is not shown).
    static int gridRow(int modelRow) { return modelRow + kImpedanceHeaderRows; }
    int modelRow(int gridRow) const;

    // After the selection or the marks changed. The rows are announced anew only when their
    // number changed; otherwise the cells are redrawn, so that a click followed by a
    // double-click stays on the same row.
    void selectionChanged();

  private:
    const SizeMark* markOf(int modelRow) const;

    const CableSelection& m_selection;
    const SizeMarks& m_marks;
    const CableRequest& m_request;
    int m_rowCount = 0;
};

}  // namespace wirelark
