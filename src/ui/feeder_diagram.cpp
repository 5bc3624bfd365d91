#include "feeder_diagram.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace wirelark {

namespace {

// The trunk runs down every piece at the same distance from the left, so the pieces join
// into one tree.
constexpr int kTrunkX = 56;
constexpr int kMinimumWidth = 150;
constexpr int kHintHeight = 36;
constexpr int kMinimumHeight = 28;
constexpr qreal kLineWidth = 2.0;
constexpr qreal kBarWidth = 8.0;

const QColor kLine(40, 40, 40);
const QColor kBar(240, 140, 0);
const QColor kCaption(70, 70, 70);

}  // namespace

FeederTreePiece::FeederTreePiece(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void FeederTreePiece::setShape(Shape shape) {
    if (shape == m_shape)
        return;
    m_shape = shape;
    updateGeometry();
    update();
}

void FeederTreePiece::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateGeometry();
    update();
}

void FeederTreePiece::setHighlighted(bool on) {
    if (on == m_highlighted)
        return;
    m_highlighted = on;
    update();
}

QSize FeederTreePiece::sizeHint() const {
    const int width = std::max(
        kMinimumWidth, kTrunkX + 12 + QFontMetrics(font()).horizontalAdvance(m_caption) + 8);
    return {width, std::max(kHintHeight, QFontMetrics(font()).height() + 12)};
}

QSize FeederTreePiece::minimumSizeHint() const {
    return {sizeHint().width(), std::max(kMinimumHeight, QFontMetrics(font()).height() + 8)};
}

void FeederTreePiece::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal top = 0;
    const qreal bottom = height();
    const qreal mid = std::round(height() / 2.0);
    const qreal x = kTrunkX;
    const qreal right = width() - 4;

    // The segment this piece stands for, and the parts of the tree that only pass through.
    QPainterPath own;
    QPainterPath through;
    switch (m_shape) {
        case Shape::Feeder:
            own.moveTo(4, mid);
            own.lineTo(x, mid);
            own.lineTo(x, bottom);
            break;
        case Shape::Trunk:
            own.moveTo(x, top);
            own.lineTo(x, bottom);
            break;
        case Shape::Branch:
            through.moveTo(x, top);
            through.lineTo(x, bottom);
            own.moveTo(x, mid);
            own.lineTo(right - 8, mid);
            break;
        case Shape::LastBranch:
            through.moveTo(x, top);
            through.lineTo(x, mid);
            own.moveTo(x - kLineWidth / 2, mid);
            own.lineTo(right - 8, mid);
            break;
        case Shape::TrunkOn:
        case Shape::None:
            break;
    }

    if (m_highlighted) {
        QPen bar(kBar, kBarWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        p.strokePath(own, bar);
    }
    const QPen line(kLine, kLineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.strokePath(through, line);
    p.strokePath(own, line);
    if (m_shape == Shape::TrunkOn) {
        p.setPen(QPen(kLine, kLineWidth, Qt::DashLine, Qt::FlatCap));
        p.drawLine(QPointF(x, top), QPointF(x, bottom - 4));
    }

    p.setPen(Qt::NoPen);
    p.setBrush(kLine);
    switch (m_shape) {
        case Shape::Feeder: {
            // The breaker protecting the feeder, drawn as a box on the line.
            const QRectF breaker(14, mid - 10, 16, 20);
            p.setBrush(Qt::white);
            p.setPen(QPen(kLine, kLineWidth));
            p.drawRect(breaker);
            p.drawLine(QPointF(breaker.left() + 3, breaker.bottom() - 4),
                       QPointF(breaker.right() - 3, breaker.top() + 4));
            break;
        }
        case Shape::Branch:
        case Shape::LastBranch: {
            if (m_shape == Shape::Branch)
                p.drawEllipse(QPointF(x, mid), 4, 4);
            // The branch goes on to the dwelling: the arrow points at its fields.
            const QPolygonF arrow(
                {QPointF(right - 10, mid - 6), QPointF(right, mid), QPointF(right - 10, mid + 6)});
            p.drawPolygon(arrow);
            break;
        }
        case Shape::Trunk:
        case Shape::TrunkOn:
        case Shape::None:
            break;
    }

    if (!m_caption.isEmpty()) {
        p.setPen(kCaption);
        p.setFont(font());
        const QRectF box(x + 12, top, width() - x - 12, bottom - top);
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    }
}

BreakerPicture::BreakerPicture(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BreakerPicture::sizeHint() const {
    return {36, 28};
}

void BreakerPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen line(kLine, kLineWidth);
    p.setPen(line);
    const qreal cx = width() / 2.0;
    // The dwelling's main breaker on its incoming line: a box with its switch.
    p.drawLine(QPointF(2, height() / 2.0), QPointF(cx - 7, height() / 2.0));
    p.drawLine(QPointF(cx + 7, height() / 2.0), QPointF(width() - 2, height() / 2.0));
    const QRectF box(cx - 7, height() / 2.0 - 10, 14, 20);
    p.setBrush(QColor(255, 250, 230));
    p.drawRect(box);
    p.drawLine(QPointF(box.left() + 3, box.bottom() - 4), QPointF(box.right() - 3, box.top() + 4));
}

}  // namespace wirelark
