#pragma once

#include "Alert.h"
#include "EditVideoWindowController.h"
#include "MOQButton.h"
#include "OpenPanel.h"
#include "ShellTestEnvironment.h"
#include "WindowShots.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A shown editor on one tool with the open panel answering `nextFile`, and every alert's text recorded.
struct EditorWindow {
    explicit EditorWindow(qint64 tool, MediaJobFactory* factory = nullptr) {
        OpenPanel::setProvider([this](const OpenPanelOptions&, QWidget*) {
            return nextFile.empty() ? QStringList{} : QStringList{QString::fromStdString(nextFile)};
        });
        Alert::setProvider([this](const AlertRequest& request, QWidget*) {
            alerts << request.informativeText;
            return 0;
        });
        controller = factory ? std::make_unique<EditVideoWindowController>(*factory)
                             : std::make_unique<EditVideoWindowController>();
        controller->setToolItemType(tool);
        window = controller->window();
        window->setWindowTitle(QStringLiteral("Editor"));
        // The size it opens at on a screen with room for it (the offscreen screen is smaller).
        window->resize(1000, 780);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    ~EditorWindow() {
        controller->close();
        controller.reset();
        OpenPanel::resetProvider();
        Alert::resetProvider();
    }

    void click(QWidget* widget) {
        ASSERT_TRUE(widget->isVisible());
        ASSERT_TRUE(widget->isEnabled());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // Adds a file through the Add button and the open panel, and waits for the probe to be applied.
    void add(const std::string& path) {
        nextFile = path;
        const int alertsBefore = int(alerts.size());
        const auto before = controller->fileData();
        click(controller->addfileButton());
        ASSERT_TRUE(WindowShots::waitUntil(
            [&] {
                return !controller->isProbing() &&
                       (controller->fileData() != before || int(alerts.size()) > alertsBefore);
            },
            15000));
        QCoreApplication::processEvents();
    }

    // Start runs one job on the window's file into its output folder (on a fake engine, for how Start and the
    // window behave while it works).
    void exportOneJobNamed(const QString& name) {
        EditVideoWindowController* c = controller.get();
        c->buildExportSteps = [c, name] {
            JobStep step;
            step.inputPath = c->filePath();
            step.output = {JobStep::Output::Naming::Unique, c->outputPath(), name, "mp4", {}};
            return std::vector<JobStep>{step};
        };
    }

    ShellTestEnvironment env;
    std::unique_ptr<EditVideoWindowController> controller;
    QWidget* window = nullptr;
    std::string nextFile;
    QStringList alerts;
};
