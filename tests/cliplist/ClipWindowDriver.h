#pragma once

#include "ShellTestEnvironment.h"
#include "WindowShots.h"

#include "Alert.h"
#include "ClipPreviewBar.h"
#include "JoinnerCell.h"
#include "JoinnerTableView.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MediaJob.h"
#include "Modal.h"
#include "OpenPanel.h"
#include "SimpleData.h"

#include "ArrowStepper.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

// A shown joiner or batch cutter driven as a person would: its open panel answers `paths`, every warning's text is
// recorded and every finished dialog counted.
template <typename Controller> struct ClipWindowDriver {
    explicit ClipWindowDriver(QStringList answer = {}) : paths(std::move(answer)) { show(); }
    // With the jobs of `factory` instead of the engine's.
    ClipWindowDriver(QStringList answer, MediaJobFactory& factory) : paths(std::move(answer)), controller(factory) {
        show();
    }
    ~ClipWindowDriver() { controller.close(); }

    void click(QWidget* widget) {
        ASSERT_TRUE(widget->isVisible());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        settle();
    }
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // The add button, the open panel's answer, and the clips probed off the main thread.
    void add(int expectedClips) {
        click(controller.addfileBtn());
        ASSERT_TRUE(WindowShots::waitUntil(
            [&] { return !controller.isAdding() && controller.fileList()->size() == expectedClips; }, 30000));
        settle();
        ASSERT_TRUE(WindowShots::waitUntil([&] { return controller.previewBar()->player() != nullptr; }, 5000));
    }
    void selectRow(int row) {
        click(controller.fileListTableView()->cells().at(row));
        ASSERT_EQ(controller.fileListTableView()->selectedRow(), row);
    }
    void type(LQTextField* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton, {}, field->rect().center());
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        settle();
    }
    // A turn of the mouse wheel over the middle of `widget` (notches down when positive), delivered as the window
    // system does: to the widget under the pointer, then up through the parents that let it pass.
    static void wheel(QWidget* widget, int notches) {
        QWidget* window = widget->window();
        const QPoint inWindow = widget->mapTo(window, widget->rect().center());
        QWidget* under = window->childAt(inWindow);
        if (!under)
            under = window;
        const QPoint local = under->mapFrom(window, inWindow);
        QWheelEvent event(QPointF(local), QPointF(under->mapToGlobal(local)), QPoint(), QPoint(0, -120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(under, &event); // sendEvent would make it a synthetic event, which goes to one widget only
        settle();
    }
    // The visible buttons that show a picture or a single sign instead of words, and say nothing when pointed at.
    QStringList iconButtonsWithoutToolTip() const {
        QStringList missing;
        for (MOQButton* b : window->findChildren<MOQButton*>())
            if (b->isVisible() && b->contentTitle().size() <= 1 && b->toolTip().isEmpty())
                missing << b->objectName() + "@" + QString::number(b->x()) + "," + QString::number(b->y());
        for (ArrowStepper* s : window->findChildren<ArrowStepper*>())
            if (s->isVisible() && s->toolTip().isEmpty())
                missing << "stepper@" + QString::number(s->x());
        return missing;
    }
    std::shared_ptr<SimpleData> clip(int row) const { return controller.fileList()->at(row); }
    std::shared_ptr<SimpleData> selected() const { return clip(int(controller.fileListTableView()->selectedRow())); }
    QStringList names() const {
        QStringList list;
        for (const auto& c : *controller.fileList())
            list << c->name();
        return list;
    }
    bool idle() { return !controller.isRunning() && !controller.jobRunner().isBusy(); }
    // Before a picture of the window: the preview has shown the frame it was asked for.
    void waitForPreview() {
        LQMoviePlayer* player = controller.previewBar()->player();
        WindowShots::waitUntil([&] { return player == nullptr || !player->isSeeking(); }, 3000);
        QTest::qWait(200);
    }

    ShellTestEnvironment env;
    QStringList paths;
    Controller controller;
    QWidget* window = nullptr;
    QStringList alerts;
    int finishedDialogs = 0;

private:
    void show() {
        OpenPanel::setProvider([this](const OpenPanelOptions&, QWidget*) { return paths; });
        Alert::setProvider([this](const AlertRequest& request, QWidget*) {
            alerts << request.informativeText;
            return 0;
        });
        Modal::setProvider(
            [this](QWidget*) {
                ++finishedDialogs;
                return Modal::kModalResponseStop;
            },
            [](int) {});
        window = controller.window();
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }
};
