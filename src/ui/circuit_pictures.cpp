#include "circuit_pictures.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace wirelark {

namespace {

const QColor kLineColour(20, 40, 110);
const QColor kBreakerFill(255, 255, 255);
const QColor kLoadFill(255, 250, 220);
const QColor kDwellingFill(236, 244, 255);
const QColor kMissingColour(190, 30, 30);
constexpr int kBreakerSize = 14;

QPen linePen(qreal width = 2.0) {
    QPen pen(kLineColour, width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// The breaker of the single-line drawings: a box with its switch drawn across.
void drawBreaker(QPainter& p, QPointF centre) {
    const QRectF box(centre.x() - kBreakerSize / 2.0, centre.y() - kBreakerSize / 2.0, kBreakerSize,
                     kBreakerSize);
    p.setPen(linePen(1.5));
    p.setBrush(kBreakerFill);
    p.drawRect(box);
    p.drawLine(QPointF(box.left() + 3, box.bottom() - 3), QPointF(box.right() - 3, box.top() + 3));
}

void drawHouse(QPainter& p, const QRectF& r) {
    QPainterPath house;
    const qreal roof = r.height() * 0.45;
    house.moveTo(r.left(), r.top() + roof);
    house.lineTo(r.center().x(), r.top());
    house.lineTo(r.right(), r.top() + roof);
    house.lineTo(r.right(), r.bottom());
    house.lineTo(r.left(), r.bottom());
    house.closeSubpath();
    p.setPen(linePen(1.5));
    p.setBrush(kDwellingFill);
    p.drawPath(house);
    const qreal door = r.width() * 0.28;
    p.drawRect(
        QRectF(r.center().x() - door / 2, r.bottom() - r.height() * 0.35, door, r.height() * 0.35));
}

void drawArrowHead(QPainter& p, QPointF tip, QPointF direction) {
    const QPointF back = tip - direction * 8.0;
    const QPointF side(-direction.y() * 4.5, direction.x() * 4.5);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(back + side);
    head.lineTo(back - side);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kLineColour);
    p.drawPath(head);
}

}  // namespace

CircuitPiece::CircuitPiece(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CircuitPiece::setShape(Shape shape) {
    if (shape == m_shape)
        return;
    m_shape = shape;
    update();
}

QSize CircuitPiece::sizeHint() const {
    switch (m_shape) {
        case Shape::NoDevice:
            return {150, 34};
        case Shape::Dwellings:
            return {110, 110};
        case Shape::Dwelling:
            return {56, 56};
        default:
            return {44, 30};
    }
}

void CircuitPiece::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const qreal x = r.center().x();
    const qreal mid = r.center().y();
    switch (m_shape) {
        case Shape::Source:
            p.setPen(linePen());
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            drawBreaker(p, QPointF(x, mid));
            break;
        case Shape::Line:
            p.setPen(linePen());
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            break;
        case Shape::Cable:
            p.setPen(linePen());
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            // Two strokes across the line: a run of cable whose length is entered beside it.
            p.setPen(linePen(1.2));
            for (const qreal dy : {-4.0, 4.0})
                p.drawLine(QPointF(x - 6, mid + dy + 3), QPointF(x + 6, mid + dy - 3));
            break;
        case Shape::Device:
            p.setPen(linePen());
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
            drawBreaker(p, QPointF(x, mid));
            break;
        case Shape::Load: {
            const QRectF load(x - 12, mid + 2, 24, std::min<qreal>(14, r.bottom() - mid - 4));
            p.setPen(linePen());
            p.drawLine(QPointF(x, r.top()), QPointF(x, load.top() - 1));
            drawArrowHead(p, QPointF(x, load.top()), QPointF(0, 1));
            p.setPen(linePen(1.5));
            p.setBrush(kLoadFill);
            p.drawRect(load);
            break;
        }
        case Shape::NoDevice: {
            // The line runs straight into the load; the place of the main device is crossed out.
            const QRectF load(r.right() - 34, mid - 9, 28, 18);
            p.setPen(linePen());
            p.drawLine(QPointF(r.left() + 6, mid), QPointF(load.left() - 1, mid));
            drawArrowHead(p, QPointF(load.left(), mid), QPointF(1, 0));
            p.setPen(linePen(1.5));
            p.setBrush(kLoadFill);
            p.drawRect(load);
            const QPointF device(r.left() + (load.left() - r.left()) * 0.45, mid);
            QPen dashed(kLineColour, 1.2, Qt::DashLine);
            p.setPen(dashed);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(device.x() - 8, mid - 8, 16, 16));
            p.setPen(QPen(kMissingColour, 2.0));
            p.drawLine(device + QPointF(-7, -7), device + QPointF(7, 7));
            p.drawLine(device + QPointF(-7, 7), device + QPointF(7, -7));
            break;
        }
        case Shape::Dwellings: {
            const qreal trunkX = r.left() + 14;
            constexpr int kShown = 4;
            const qreal step = (r.height() - 10) / kShown;
            p.setPen(linePen(3.0));
            p.drawLine(QPointF(trunkX, r.top()),
                       QPointF(trunkX, r.top() + 5 + step * (kShown - 0.5)));
            for (int i = 0; i < kShown; ++i) {
                const qreal y = r.top() + 5 + step * (i + 0.5);
                const qreal houseSize = std::min<qreal>(step - 4, 22);
                const QRectF house(r.right() - houseSize - 6, y - houseSize / 2, houseSize,
                                   houseSize);
                p.setPen(linePen(1.5));
                p.drawLine(QPointF(trunkX, y), QPointF(house.left(), y));
                drawBreaker(p, QPointF((trunkX + house.left()) / 2, y));
                drawHouse(p, house);
            }
            break;
        }
        case Shape::Dwelling: {
            const qreal s = std::min(r.width(), r.height()) - 8;
            drawHouse(p, QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s));
            break;
        }
    }
}

ProtectionRuleDiagram::ProtectionRuleDiagram(QWidget* parent) : QWidget(parent) {}

void ProtectionRuleDiagram::paintEvent(QPaintEvent*) {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (grid == nullptr || grid->rowCount() < 5 || grid->columnCount() < 2)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect source = grid->cellRect(0, 0);
    const qreal trunkX = source.center().x();
    const QRect run = grid->cellRect(2, 1);
    const qreal runLeft = trunkX;
    const qreal runRight = run.right();

    // The thick feeder: from its breaker down past the last branch.
    const qreal lastY = grid->cellRect(4, 1).center().y();
    p.setPen(linePen(3.0));
    p.drawLine(QPointF(trunkX, source.top()), QPointF(trunkX, lastY));
    drawBreaker(p, QPointF(trunkX, source.center().y()));

    // Each branch has its breaker as far along as the rule allows: anywhere for 55 %, within
    // 8 m for 35 %, within 3 m for a thinner branch.
    constexpr std::array<qreal, 3> kBreakerAt = {0.92, 0.6, 0.28};
    for (int i = 0; i < 3; ++i) {
        const qreal y = grid->cellRect(2 + i, 1).center().y();
        const qreal breakerX = runLeft + (runRight - runLeft) * kBreakerAt[static_cast<size_t>(i)];
        p.setPen(linePen(2.0));
        p.drawLine(QPointF(trunkX, y), QPointF(breakerX, y));
        p.setPen(linePen(1.0));
        p.drawLine(QPointF(breakerX, y), QPointF(runRight, y));
        drawArrowHead(p, QPointF(runRight + 1, y), QPointF(1, 0));
        drawBreaker(p, QPointF(breakerX, y));
    }
}

}  // namespace wirelark
