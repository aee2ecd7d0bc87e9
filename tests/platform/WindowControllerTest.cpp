#include "WindowController.h"
#include "NotificationCenter.h"
#include "WindowStyle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CountingController : public WindowController {
public:
    int loads = 0;
    bool allowClose = true;
    QStringList closings; // what closewindow saw

    ~CountingController() override { NotificationCenter::defaultCenter().removeObserver(this); }

protected:
    void windowDidLoad() override {
        ++loads;
        window()->setWindowTitle("loaded"); // re-entrant window() returns the same window
        NotificationCenter::defaultCenter().addObserver(this, kWindowWillCloseNotification,
                                                        [this](const Notification& n) { closewindow(n); });
    }
    bool windowShouldClose() override { return allowClose; }

private:
    void closewindow(const Notification& notification) {
        if (notification.object != window())
            return;
        closings << (window()->isVisible() ? "visible" : "hidden");
        NotificationCenter::defaultCenter().post(kWillCloseNotification);
    }
};

} // namespace

TEST(WindowController, LoadsItsWindowOnFirstRequestOnly) {
    CountingController controller;
    EXPECT_FALSE(controller.isWindowLoaded());
    EXPECT_EQ(controller.loads, 0);
    QWidget* window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(controller.window(), window);
    EXPECT_EQ(controller.loads, 1);
    EXPECT_EQ(window->windowTitle(), "loaded");
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(33, 176, 235));
    EXPECT_TRUE(window->autoFillBackground());
}

TEST(WindowController, ReportsClosingWhileTheWindowStillShowsAndMayVetoIt) {
    CountingController controller;
    CountingController other;
    int launcherNotified = 0;
    NotificationCenter::defaultCenter().addObserver(&launcherNotified, kWillCloseNotification,
                                                    [&](const Notification&) { ++launcherNotified; });
    controller.showWindow();
    other.showWindow();

    controller.allowClose = false;
    EXPECT_FALSE(controller.close());
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_TRUE(controller.closings.isEmpty());

    controller.allowClose = true;
    EXPECT_TRUE(controller.close());
    EXPECT_FALSE(controller.window()->isVisible());
    EXPECT_EQ(controller.closings, QStringList{"visible"});
    EXPECT_TRUE(other.closings.isEmpty()) << "another controller's window closing is not its own";
    EXPECT_EQ(launcherNotified, 1);
    NotificationCenter::defaultCenter().removeObserver(&launcherNotified);
}

TEST(WindowController, ReleasesItselfAfterItsWindowClosedWhenAsked) {
    QPointer<CountingController> controller = new CountingController;
    controller->setReleasedWhenClosed(true);
    controller->showWindow();
    QPointer<QWidget> window = controller->window();
    controller->window()->close();
    ASSERT_FALSE(controller.isNull()) << "released later, not inside the close";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(controller.isNull());
    EXPECT_TRUE(window.isNull());
}

TEST(WindowStyle, GivesTheApplicationsBackground) {
    QWidget window;
    WindowStyle::apply(&window);
    EXPECT_EQ(window.palette().color(QPalette::Window), WindowStyle::backgroundColor());
    EXPECT_EQ(WindowStyle::backgroundColor(), QColor(33, 176, 235));
}
