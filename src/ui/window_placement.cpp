#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace wirelark {

void placeOver(QWidget& window, const QWidget* anchor) {
    const QWidget* owner = anchor != nullptr ? anchor->window() : nullptr;
    if (owner == &window)
        owner = nullptr;
    QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(0, 0), window.frameGeometry().size().expandedTo(window.size()));
    frame.moveCenter(owner != nullptr && owner->isVisible() ? owner->frameGeometry().center()
                                                            : available.center());
    if (frame.right() > available.right())
        frame.moveRight(available.right());
    if (frame.bottom() > available.bottom())
        frame.moveBottom(available.bottom());
    if (frame.left() < available.left())
        frame.moveLeft(available.left());
    if (frame.top() < available.top())
        frame.moveTop(available.top());
    window.move(frame.topLeft());

    // A window without a parent is kept above its opener by the window manager when the opener
    // is its transient parent.
    if (owner != nullptr && owner->isVisible() && window.parentWidget() == nullptr) {
        window.winId();
        if (QWindow* handle = window.windowHandle())
            handle->setTransientParent(owner->windowHandle());
    }
}

}  // namespace wirelark
