#pragma once
// Draws one cell of the feeder sheet the way the printed form looks: Mincho in navy, the tree
// glyphs large and red, lengths as "#,###.##", failing cells red, and a grey line above the
// first row of every printed page. Drawing only reads: the checks ran before.

#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>

namespace wirelark {

class SheetCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static inline const QColor kTextColor = QColor(0, 0, 128);  // navy
    static inline const QColor kRedColor = QColor(255, 0, 0);
    static inline const QColor kPageLineColor = QColor(128, 128, 128);
    static inline const QColor kSelectionColor = QColor(204, 232, 255);
    static constexpr int kPageLineWidth = 3;
    static constexpr int kTextIndent = 3;

    explicit SheetCellDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The text as the grid shows it: lengths in the "#,###.##" pattern, anything else as held.
    static QString drawnText(int column, const QString& text);
    const QFont& fontFor(int column) const;

  private:
    QFont m_font;       // 10 pt
    QFont m_glyphFont;  // 18 pt, column 5
    QFont m_smallFont;  // 9 pt, columns 7 and 12
};

}  // namespace wirelark
