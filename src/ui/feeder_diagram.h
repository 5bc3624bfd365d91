#pragma once
// The pieces of the feeder diagram in the branch input window.
//
// One piece of the residential feeder's tree as the branch input window draws it beside its
// fields: the feeder from its breaker into the top of the trunk, a piece of trunk, a branch
// leaving it for a dwelling (or the last branch, where the trunk ends), the trunk going on to
// the next branch points. The pieces stand one above the other in the window's grid, so each
// is as tall as the fields beside it; the piece of the row being edited carries a coloured
// bar.

#include <QString>
#include <QWidget>

namespace wirelark {

class FeederTreePiece final : public QWidget {
    Q_OBJECT

  public:
    enum class Shape {
        Feeder,      // breaker, then the line into the corner of the trunk
        Trunk,       // the trunk down to a branch point
        Branch,      // the trunk passing a branch point, the branch leaving it to the right
        LastBranch,  // the end of the trunk turning into the last branch
        TrunkOn,     // the trunk going on to further branch points, drawn dashed
        None,        // nothing: the tree ended above
    };

    explicit FeederTreePiece(QWidget* parent = nullptr);

    Shape shape() const { return m_shape; }
    void setShape(Shape shape);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool on);
    // A caption beside the trunk ("分岐点", "分岐間").
    void setCaption(const QString& caption);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Shape m_shape = Shape::Trunk;
    bool m_highlighted = false;
    QString m_caption;
};

// The dwelling's main breaker (主幹器具), shown beside its rating while the dwelling has one.
class BreakerPicture final : public QWidget {
    Q_OBJECT

  public:
    explicit BreakerPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace wirelark
