#include "ViewFrame.h"

#include "ViewFrameKeeper.h"

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

QRectF ViewFrame::toQt(const ViewRect& rect, double spaceHeight) {
    return QRectF(rect.x, spaceHeight - rect.y - rect.height, rect.width, rect.height);
}

ViewRect ViewFrame::fromQt(const QRectF& rect, double spaceHeight) {
    return ViewRect{rect.x(), spaceHeight - rect.y() - rect.height(), rect.width(), rect.height()};
}

void ViewFrame::setFrame(QWidget* widget, const ViewRect& frame) {
    if (widget == nullptr)
        return;
    if (widget->isWindow() || widget->parentWidget() == nullptr) {
        const QRect space = screenSpace();
        widget->setGeometry(roundedRect(toQt(frame, space.height()).translated(space.topLeft())));
        return;
    }
    ViewFrameKeeper::ensure(widget->parentWidget())->place(widget, frame);
}

ViewRect ViewFrame::frame(const QWidget* widget) {
    if (widget == nullptr)
        return {};
    if (widget->isWindow() || widget->parentWidget() == nullptr) {
        const QRect space = screenSpace();
        return fromQt(QRectF(widget->geometry().translated(-space.topLeft())), space.height());
    }
    ViewRect remembered;
    if (ViewFrameKeeper* keeper = ViewFrameKeeper::of(widget->parentWidget());
        keeper != nullptr && keeper->rememberedFrame(widget, &remembered))
        return remembered;
    return fromQt(QRectF(widget->geometry()), widget->parentWidget()->height());
}

ViewRect ViewFrame::bounds(const QWidget* widget) {
    if (widget == nullptr)
        return {};
    return ViewRect{0, 0, double(widget->width()), double(widget->height())};
}

void ViewFrame::setFrameSize(QWidget* widget, const ViewSize& size) {
    const ViewRect current = frame(widget);
    setFrame(widget, ViewRect{current.x, current.y, size.width, size.height});
}

void ViewFrame::setFrameOrigin(QWidget* widget, const ViewPoint& origin) {
    const ViewRect current = frame(widget);
    setFrame(widget, ViewRect{origin.x, origin.y, current.width, current.height});
}

ViewPoint ViewFrame::pointFromQt(const QWidget* widget, const QPointF& point) {
    return ViewPoint{point.x(), double(widget->height()) - point.y()};
}

QPointF ViewFrame::pointToQt(const QWidget* widget, const ViewPoint& point) {
    return QPointF(point.x, double(widget->height()) - point.y);
}

ViewRect ViewFrame::rectFromQt(const QWidget* widget, const QRectF& rect) {
    return fromQt(rect, widget->height());
}

QRectF ViewFrame::rectToQt(const QWidget* widget, const ViewRect& rect) {
    return toQt(rect, widget->height());
}

void ViewFrame::centerWindow(QWidget* window) {
    if (window == nullptr)
        return;
    QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect geometry = window->geometry();
    geometry.moveCenter(screen->availableGeometry().center());
    window->setGeometry(geometry);
}
