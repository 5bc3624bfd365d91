#pragma once
// The small single-line pictures of the feeder input window: the pieces of a feeder drawn
// beside its fields (the breaker at the source, the cable run, the load's main device, the
// load), the dwellings of a residential feeder, and the fixed diagram of the branch-protection
// rule. They are pictures only: every value stays in the fields beside them.

#include <QWidget>

namespace wirelark {

class CircuitPiece final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Shape shape READ shape WRITE setShape)

  public:
    enum class Shape {
        Source,     // the supply entering the feeder's breaker, the line leaving it downwards
        Line,       // the line running through
        Cable,      // the line of the cable run, marked as a length
        Device,     // the load's main device on the line
        Load,       // the line ending in the load
        NoDevice,   // the line running into the load without a main device (drawn across)
        Dwellings,  // one system of a residential feeder: a trunk with dwellings branching off
        Dwelling,   // one dwelling
    };
    Q_ENUM(Shape)

    explicit CircuitPiece(QWidget* parent = nullptr);

    Shape shape() const { return m_shape; }
    void setShape(Shape shape);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Shape m_shape = Shape::Line;
};

// The rule of the protection of a branch taken off a thicker feeder, drawn as a trunk with its
// breaker (Ib) and allowable current (Iw) and three branches whose breakers stand as far from
// the trunk as the rule lets them. Its captions are child labels in a grid: column 0 is the
// trunk, column 1 the run of the branches (with "Ib" and "Iw" in rows 0 and 1), columns 2 and 3
// the current and the length of the branches of rows 2, 3 and 4.
class ProtectionRuleDiagram final : public QWidget {
    Q_OBJECT

  public:
    explicit ProtectionRuleDiagram(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace wirelark
