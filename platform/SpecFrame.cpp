#include "SpecFrame.h"

#include "SpecFrameKeeper.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace {

QRect roundedRect(const QRectF& r) {
    return QRect(int(std::lround(r.x())), int(std::lround(r.y())), int(std::lround(r.width())),
                 int(std::lround(r.height())));
}

// The space a window's frame is measured in: the primary screen, y up from its bottom edge.
QRect screenSpace() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
}

} // namespace

QRectF SpecFrame::toQt(const SpecRect& rect, double spaceHeight) {
    return QRectF(rect.x, spaceHeight - rect.y - rect.height, rect.width, rect.height);
}

SpecRect SpecFrame::fromQt(const QRectF& rect, double spaceHeight) {
    return SpecRect{rect.x(), spaceHeight - rect.y() - rect.height(), rect.width(), rect.height()};
}

void SpecFrame::setFrame(QWidget* widget, const SpecRect& frame) {
    if (widget == nullptr)
        return;
    if (widget->isWindow() || widget->parentWidget() == nullptr) {
        const QRect space = screenSpace();
        widget->setGeometry(roundedRect(toQt(frame, space.height()).translated(space.topLeft())));
        return;
    }
    SpecFrameKeeper::ensure(widget->parentWidget())->place(widget, frame);
}

SpecRect SpecFrame::frame(const QWidget* widget) {
    if (widget == nullptr)
        return {};
    if (widget->isWindow() || widget->parentWidget() == nullptr) {
        const QRect space = screenSpace();
        return fromQt(QRectF(widget->geometry().translated(-space.topLeft())), space.height());
    }
    SpecRect remembered;
    if (SpecFrameKeeper* keeper = SpecFrameKeeper::of(widget->parentWidget());
        keeper != nullptr && keeper->rememberedFrame(widget, &remembered))
        return remembered;
    return fromQt(QRectF(widget->geometry()), widget->parentWidget()->height());
}

SpecRect SpecFrame::bounds(const QWidget* widget) {
    if (widget == nullptr)
        return {};
    return SpecRect{0, 0, double(widget->width()), double(widget->height())};
}

void SpecFrame::setFrameSize(QWidget* widget, const SpecSize& size) {
    const SpecRect current = frame(widget);
    setFrame(widget, SpecRect{current.x, current.y, size.width, size.height});
}

void SpecFrame::setFrameOrigin(QWidget* widget, const SpecPoint& origin) {
    const SpecRect current = frame(widget);
    setFrame(widget, SpecRect{origin.x, origin.y, current.width, current.height});
}

SpecPoint SpecFrame::pointFromQt(const QWidget* widget, const QPointF& point) {
    return SpecPoint{point.x(), double(widget->height()) - point.y()};
}

QPointF SpecFrame::pointToQt(const QWidget* widget, const SpecPoint& point) {
    return QPointF(point.x, double(widget->height()) - point.y);
}

SpecRect SpecFrame::rectFromQt(const QWidget* widget, const QRectF& rect) {
    return fromQt(rect, widget->height());
}

QRectF SpecFrame::rectToQt(const QWidget* widget, const SpecRect& rect) {
    return toQt(rect, widget->height());
}

void SpecFrame::centerWindow(QWidget* window) {
    if (window == nullptr)
        return;
    QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect geometry = window->geometry();
    geometry.moveCenter(screen->availableGeometry().center());
    window->setGeometry(geometry);
}
