#include "MOQOpenAlert.h"
#include "ShellTestEnvironment.h"

#include "Dispatch.h"
#include "Modal.h"

#include <QTimer>
#include <gtest/gtest.h>

TEST(MOQOpenAlert, FallsBackToTheDefaultTextsAndShowsTheIcon) {
    ShellTestEnvironment env;
    struct Case {
        QString windowTitle;
        QString infomation;
        QString shownTitle;
        QString shownMessage;
    };
    const QList<Case> cases = {
        {"", "", "Clipwright", "The task has finished."},
        {"Joiner", "Joinnerfinishedstring", "Joiner", "The clips have been joined."},
        {"Crop", "NoSuchKey", "Crop", "NoSuchKey"},
    };
    for (const Case& c : cases) {
        MOQOpenAlert alert;
        alert.setWindowTitle(c.windowTitle);
        alert.setInfomation(c.infomation);
        QWidget* window = alert.window();
        EXPECT_EQ(window->windowTitle(), c.shownTitle);
        EXPECT_EQ(alert.titleLabel()->text(), c.shownMessage);
        EXPECT_EQ(alert.openBtn()->text(), "Show the output folder");
        EXPECT_EQ(alert.okBtn()->contentTitle(), "OK");
        EXPECT_FALSE(alert.appIconView()->pixmap().isNull());
        EXPECT_EQ(window->size(), QSize(338, 114));
    }
}

TEST(MOQOpenAlert, OkAlwaysClosesTheAlertAndEndsItsModalRun) {
    Modal::resetProvider();
    for (const bool withBlock : {false, true}) {
        MOQOpenAlert alert;
        QList<bool> answers;
        if (withBlock)
            alert.setSelectedOkBlock([&](bool open) { answers << open; });
        QWidget* window = alert.window();
        QTimer::singleShot(50, [&] {
            alert.openBtn()->setChecked(true);
            alert.okAction();
        });
        Modal::runModalForWindow(window);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(answers, withBlock ? QList<bool>{true} : QList<bool>{});
        EXPECT_EQ(Modal::depth(), 0);
    }
}

TEST(MOQOpenAlert, ItsCloseControlEndsTheModalRunWithoutRevealing) {
    Modal::resetProvider();
    MOQOpenAlert alert;
    QList<bool> answers;
    alert.setSelectedOkBlock([&](bool open) { answers << open; });
    QWidget* window = alert.window();
    QTimer::singleShot(50, [&] { window->close(); });
    Modal::runModalForWindow(window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(answers.isEmpty());
    EXPECT_EQ(Modal::depth(), 0);
}
