#pragma once
// The feeder sheet as Qt sees it: a table over the core's Sheet, one text cell per index.
// The model owns nothing and changes nothing: the document's sheet is the only store, and the
// window tells the model when it has changed. A verdict cell's tooltip gives the whole verdict
// and the numbers behind it.

#include <QAbstractTableModel>

#include "checks.h"
#include "sheet.h"

namespace wirelark {

class SheetTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // True on a cell the checks found failing: its text is drawn red.
    static constexpr int RedRole = Qt::UserRole + 1;

    explicit SheetTableModel(const Sheet& sheet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // After the sheet changed: rows that came or went at the end are announced (so the view
    // keeps its place and its selection), and every cell is drawn anew.
    void sheetChanged();

    // The failing cells found by the last check pass.
    void setCellMarks(CellMarks marks) { m_marks = std::move(marks); }
    bool isRed(int row, int column) const { return m_marks.isRed(row, column); }

    // The tooltip of a verdict cell: its text, then the explanation of the checks.
    static QString verdictTooltip(const Sheet& sheet, int row);

  private:
    const Sheet& m_sheet;
    int m_rowCount;
    CellMarks m_marks;
};

}  // namespace wirelark
