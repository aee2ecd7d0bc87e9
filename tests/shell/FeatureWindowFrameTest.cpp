#include "FakeMediaJob.h"
#include "FrameTestWindow.h"
#include "ShellTestEnvironment.h"

#include "Alert.h"
#include "Dispatch.h"
#include "InputFilePanel.h"
#include "MOQOpenAlert.h"
#include "Modal.h"
#include "NotificationCenter.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"
#include "WindowKeys.h"
#include "Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList itemTitles(const QComboBox* popUp) {
    QStringList titles;
    for (int i = 0; i < popUp->count(); ++i)
        titles << popUp->itemText(i);
    return titles;
}

void choose(OutputFolderPopUp* popUp, int index) {
    popUp->setCurrentIndex(index);
    emit popUp->activated(index);
}

JobStep fakeStep(const QString& folder) {
    JobStep step;
    step.inputPath = QStringLiteral("/in/a.mp4");
    step.output.folder = folder;
    step.output.baseName = QStringLiteral("a");
    step.output.extension = QStringLiteral("mp4");
    return step;
}

} // namespace

TEST(FeatureWindowFrame, StartsInTheDefaultFolderAndCreatesIt) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window();
    OutputFolderPopUp* popUp = controller.outputPopUp();
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(itemTitles(popUp), (QStringList{"Movies", "Documents", "Desktop", "Clipwright", "Other..."}));
    EXPECT_EQ(controller.outputPathTitles(), itemTitles(popUp));
    EXPECT_EQ(popUp->currentIndex(), 3);
    EXPECT_EQ(controller.outputPath(), env.root + "/Documents/Clipwright");
    EXPECT_TRUE(QFileInfo(controller.outputPath()).isDir());
}

TEST(FeatureWindowFrame, ChoosesAnotherFolderOrKeepsTheOldOneWhenThePanelIsCancelled) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window();
    OutputFolderPopUp* popUp = controller.outputPopUp();
    const QString before = controller.outputPath();

    OpenPanelOptions seen;
    OpenPanel::setProvider([&](const OpenPanelOptions& options, QWidget*) {
        seen = options;
        return QStringList();
    });
    choose(popUp, 4);
    EXPECT_EQ(controller.outputPath(), before);
    EXPECT_EQ(popUp->currentIndex(), 3) << "a cancelled chooser shows the folder still in use";
    EXPECT_EQ(popUp->currentText(), "Clipwright");
    EXPECT_EQ(seen.directory, before) << "the chooser opens in the folder in use";
    EXPECT_EQ(seen.message, "Choose the output folder");
    EXPECT_EQ(seen.prompt, "OK");
    EXPECT_TRUE(seen.canChooseDirectories);
    EXPECT_TRUE(seen.canCreateDirectories);
    EXPECT_FALSE(seen.allowsMultipleSelection);

    const QString chosen = env.root + "/Renders";
    QDir().mkpath(chosen);
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) { return QStringList{chosen}; });
    choose(popUp, 4);
    EXPECT_EQ(controller.outputPath(), chosen);
    EXPECT_EQ(popUp->count(), 6);
    EXPECT_EQ(popUp->itemText(5), "Renders");
    EXPECT_EQ(popUp->currentIndex(), 5);

    choose(popUp, 5);
    EXPECT_EQ(controller.outputPath(), chosen) << "choosing the added folder again keeps it";
    EXPECT_EQ(popUp->currentText(), "Renders");

    OpenPanel::setProvider([&](const OpenPanelOptions& options, QWidget*) {
        seen = options;
        return QStringList();
    });
    choose(popUp, 4);
    EXPECT_EQ(controller.outputPath(), chosen);
    EXPECT_EQ(popUp->currentText(), "Renders") << "a cancelled chooser shows the chosen folder again";
    EXPECT_EQ(seen.directory, chosen);

    // A file picked in the panel stands for its folder.
    QFile file(chosen + "/note.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) { return QStringList{chosen + "/note.txt"}; });
    choose(popUp, 4);
    EXPECT_EQ(controller.outputPath(), chosen);
}

TEST(FeatureWindowFrame, StandardFoldersShowTheirOwnNameWhenTheTitleDiffers) {
    ShellTestEnvironment env;
    struct Case {
        QString language;
        int item;
        QString folder;
        QStringList titles;
        int selected;
    };
    const QList<Case> cases = {
        {"en", 0, "Movies", {"Movies", "Documents", "Desktop", "Clipwright", "Other..."}, 0},
        {"en", 2, "Desktop", {"Movies", "Documents", "Desktop", "Clipwright", "Other..."}, 2},
        {"zh-Hans", 0, "Movies", {"影片", "文档", "桌面", "Clipwright", "其他...", "Movies"}, 5},
        {"zh-Hans", 1, "Documents", {"影片", "文档", "桌面", "Clipwright", "其他...", "Documents"}, 5},
    };
    for (const Case& c : cases) {
        ResourceBundle::setLanguage(c.language);
        FakeJobFactory factory;
        FrameTestWindow controller(factory);
        controller.window();
        choose(controller.outputPopUp(), c.item);
        EXPECT_EQ(controller.outputPath(), env.root + "/" + c.folder);
        EXPECT_EQ(itemTitles(controller.outputPopUp()), c.titles);
        EXPECT_EQ(controller.outputPopUp()->currentIndex(), c.selected);
        if (c.selected == 5) {
            choose(controller.outputPopUp(), 5);
            EXPECT_EQ(controller.outputPath(), env.root + "/" + c.folder) << "the added item keeps the folder";
        }
    }
}

TEST(FeatureWindowFrame, OpenPanelOffersTheMediaTypesAndOtherFiles) {
    ShellTestEnvironment env;
    OpenPanelOptions seen;
    OpenPanel::setProvider([&](const OpenPanelOptions& options, QWidget*) {
        seen = options;
        return QStringList{"/tmp/a.mp4", "/tmp/b.webm"};
    });
    EXPECT_EQ(InputFilePanel::run(nullptr), (QStringList{"/tmp/a.mp4", "/tmp/b.webm"}));
    EXPECT_EQ(seen.allowedFileTypes.first(), "mov");
    EXPECT_EQ(seen.allowedFileTypes.at(39), "ac3") << "the forty types first";
    EXPECT_TRUE(seen.allowedFileTypes.contains("webm"));
    EXPECT_EQ(seen.allowedFileTypes.removeDuplicates(), 0);
    EXPECT_TRUE(seen.allowsMultipleSelection);
    EXPECT_TRUE(seen.allowsOtherFileTypes);
    EXPECT_TRUE(seen.canChooseFiles);
    EXPECT_FALSE(seen.canChooseDirectories);
    EXPECT_FALSE(seen.canCreateDirectories);
    EXPECT_TRUE(seen.message.isEmpty());
}

TEST(FeatureWindowFrame, AWindowThatOpensOneFileNamesTheOthersChosen) {
    ShellTestEnvironment env;
    QList<AlertRequest> alerts;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        alerts << request;
        return 0;
    });
    QStringList answer{"/clips/a.mp4", "/clips/b.webm", "/clips/c.mkv"};
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) { return answer; });
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window()->setWindowTitle("Splitter");
    EXPECT_EQ(controller.chooseSourceFile(), "/clips/a.mp4");
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first().messageText, "Splitter");
    EXPECT_TRUE(alerts.first().informativeText.contains("a.mp4")) << alerts.first().informativeText.toStdString();
    EXPECT_TRUE(alerts.first().informativeText.endsWith("b.webm\nc.mkv"))
        << alerts.first().informativeText.toStdString();

    answer = {"/clips/a.mp4"};
    EXPECT_EQ(controller.chooseSourceFile(), "/clips/a.mp4");
    answer = {};
    EXPECT_EQ(controller.chooseSourceFile(), QString());
    EXPECT_EQ(alerts.size(), 1) << "one file or none: nothing to say";
}

TEST(FeatureWindowFrame, PlainAlertCarriesTheWindowTitleAndTheText) {
    ShellTestEnvironment env;
    QList<AlertRequest> alerts;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        alerts << request;
        return 0;
    });
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window()->setWindowTitle("Splitter");
    controller.start()->setContentTitle("Cancel");
    controller.showSimpleAlert("error:-5", 2);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].style, AlertRequest::Style::Warning);
    EXPECT_EQ(alerts[0].messageText, "Splitter");
    EXPECT_EQ(alerts[0].informativeText, "error:-5");
    EXPECT_EQ(alerts[0].buttons, QStringList{"OK"});
    EXPECT_EQ(controller.start()->contentTitle(), "Start");
}

TEST(FeatureWindowFrame, ResultAlertSitsOverTheWindowAndRevealsTheFolderOnlyWhenAsked) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    QWidget* window = controller.window();
    window->setWindowTitle("Crop");
    ViewFrame::setFrame(window, ViewRect{200, 300, 600, 400});

    QStringList revealed;
    Workspace::setRevealHandler([&](const QString& path) {
        revealed << path;
        return true;
    });
    for (const bool check : {false, true}) {
        int runs = 0;
        Modal::setProvider(
            [&](QWidget* alertWindow) {
                ++runs;
                EXPECT_EQ(alertWindow->windowTitle(), "Crop");
                const ViewRect frame = ViewFrame::frame(alertWindow);
                EXPECT_EQ(frame.width, 338);
                EXPECT_EQ(frame.height, 114);
                EXPECT_DOUBLE_EQ(frame.x, 200 + (600 - 338) / 2.0);
                EXPECT_DOUBLE_EQ(frame.y, 300 + (400 - 114) / 2.0);
                auto* label = alertWindow->findChildren<QLabel*>().at(1);
                EXPECT_EQ(label->text(), "The video has been saved.");
                auto* box = alertWindow->findChild<QCheckBox*>();
                EXPECT_EQ(box->text(), "Show the output folder");
                box->setChecked(check);
                auto* ok = alertWindow->findChild<MOQButton*>();
                EXPECT_EQ(ok->contentTitle(), "OK");
                ok->mouseDownAction()(ok);
                EXPECT_FALSE(alertWindow->isVisible());
                return Modal::kModalResponseStop;
            },
            [](int) {});
        controller.showSimpleAlert("OpenfileTitle", 1);
        EXPECT_EQ(runs, 1);
    }
    EXPECT_EQ(revealed, QStringList{controller.outputPath()});
}

TEST(FeatureWindowFrame, ASuccessfulRunTurnsEditingBackAndShowsTheResultAlert) {
    ShellTestEnvironment env;
    int resultAlerts = 0;
    int plainAlerts = 0;
    Modal::setProvider(
        [&](QWidget*) {
            ++resultAlerts;
            return Modal::kModalResponseStop;
        },
        [](int) {});
    Alert::setProvider([&](const AlertRequest&, QWidget*) { return ++plainAlerts, 0; });
    FakeJobFactory factory;
    factory.script.workMs = 450;
    FrameTestWindow controller(factory);
    controller.window();

    QList<bool> finished;
    ASSERT_TRUE(controller.startRun({fakeStep(controller.outputPath())}, [&](bool ok) { finished << ok; }));
    EXPECT_EQ(controller.start()->contentTitle(), "Cancel");
    EXPECT_EQ(controller.editStates, QList<bool>{false});
    ASSERT_TRUE(Dispatch::runUntil([&] { return !finished.isEmpty(); }, 5000));
    EXPECT_EQ(finished, QList<bool>{true});
    EXPECT_EQ(controller.editStates, (QList<bool>{false, true}));
    EXPECT_EQ(controller.start()->contentTitle(), "Start");
    EXPECT_EQ(resultAlerts, 1);
    EXPECT_EQ(plainAlerts, 0);
    EXPECT_FALSE(controller.progress.isEmpty());
}

TEST(FeatureWindowFrame, AFailingSetterShowsItsCodeOnceAndNoResultAlert) {
    ShellTestEnvironment env;
    QStringList texts;
    int resultAlerts = 0;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) { return texts << request.informativeText, 0; });
    Modal::setProvider([&](QWidget*) { return ++resultAlerts, Modal::kModalResponseStop; }, [](int) {});
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window();
    JobStep step = fakeStep(controller.outputPath());
    step.configure = [](MediaJob&) { return -7; };
    QList<bool> finished;
    ASSERT_TRUE(controller.startRun({step}, [&](bool ok) { finished << ok; }));
    EXPECT_EQ(texts, QStringList{"error:-7"});
    EXPECT_EQ(finished, QList<bool>{false});
    EXPECT_EQ(resultAlerts, 0);
    EXPECT_EQ(factory.made.at(0)->closeCount, 1);
    EXPECT_FALSE(factory.made.at(0)->started);
}

TEST(FeatureWindowFrame, CancelKeepsStartDisabledUntilTheWorkerHasReturned) {
    ShellTestEnvironment env;
    int alerts = 0;
    Alert::setProvider([&](const AlertRequest&, QWidget*) { return ++alerts, 0; });
    Modal::setProvider([&](QWidget*) { return ++alerts, Modal::kModalResponseStop; }, [](int) {});
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    factory.script.lingerAfterStopMs = 300;
    FrameTestWindow controller(factory);
    controller.window();
    ASSERT_TRUE(controller.startRun({fakeStep(controller.outputPath())}));
    ASSERT_TRUE(Dispatch::runUntil([&] { return factory.made.at(0)->started.load(); }, 2000));
    factory.made.at(0)->holdAfterStop = true;

    controller.cancelRun();
    EXPECT_FALSE(controller.isRunning());
    EXPECT_EQ(controller.start()->contentTitle(), "Start");
    EXPECT_FALSE(controller.start()->isEnabled());
    EXPECT_EQ(controller.editStates.last(), true);
    EXPECT_FALSE(controller.startRun({fakeStep(controller.outputPath())})) << "no run before the worker returned";
    Dispatch::runUntil([] { return false; }, 100);
    EXPECT_FALSE(controller.start()->isEnabled()) << "Start waits for the worker";
    factory.made.at(0)->holdAfterStop = false;

    ASSERT_TRUE(Dispatch::runUntil([&] { return controller.start()->isEnabled(); }, 3000));
    EXPECT_TRUE(factory.made.at(0)->returned);
    EXPECT_EQ(alerts, 0) << "a cancel shows nothing";
}

TEST(FeatureWindowFrame, ClosingCancelsTheJobTellsTheLauncherAndOutlivesTheWorker) {
    ShellTestEnvironment env;
    int alerts = 0;
    Alert::setProvider([&](const AlertRequest&, QWidget*) { return ++alerts, 0; });
    Modal::setProvider([&](QWidget*) { return ++alerts, Modal::kModalResponseStop; }, [](int) {});
    int willClose = 0;
    NotificationCenter::defaultCenter().addObserver(&willClose, kWillCloseNotification,
                                                    [&](const Notification&) { ++willClose; });
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    factory.script.lingerAfterStopMs = 300;
    QPointer<FrameTestWindow> controller = new FrameTestWindow(factory);
    controller->setReleasedWhenDone(true);
    controller->showWindow();
    ASSERT_TRUE(controller->startRun({fakeStep(controller->outputPath())}));
    auto job = factory.made.at(0);
    ASSERT_TRUE(Dispatch::runUntil([&] { return job->started.load(); }, 2000));
    job->holdAfterStop = true;

    // Another window's closing is not this window's.
    QWidget other;
    NotificationCenter::defaultCenter().post(kWindowWillCloseNotification, &other);
    EXPECT_EQ(willClose, 0);
    EXPECT_TRUE(controller->isRunning());

    controller->close();
    EXPECT_EQ(willClose, 1);
    EXPECT_EQ(controller->playersStopped, 1);
    EXPECT_FALSE(controller->isRunning());
    Dispatch::runUntil([] { return false; }, 100);
    ASSERT_FALSE(controller.isNull()) << "the controller waits for its worker";
    EXPECT_FALSE(job->returned);
    job->holdAfterStop = false;

    ASSERT_TRUE(Dispatch::runUntil([&] { return controller.isNull(); }, 3000));
    EXPECT_TRUE(job->returned);
    EXPECT_EQ(job->closeCount, 1);
    EXPECT_EQ(alerts, 1) << "the question before closing, and no error or result after the stop";
    NotificationCenter::defaultCenter().removeObserver(&willClose);
}

TEST(FeatureWindowFrame, PreviewTimerTicksEveryTenthOfASecondUntilRemoved) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    struct TickingWindow : FrameTestWindow {
        using FrameTestWindow::FrameTestWindow;
        int ticks = 0;
        void changePlayerSlider() override { ++ticks; }
    } controller(factory);
    controller.window();
    controller.addTimer();
    controller.addTimer(); // replaces, never doubles
    Dispatch::runUntil([] { return false; }, 450);
    EXPECT_GE(controller.ticks, 3);
    EXPECT_LE(controller.ticks, 5);
    controller.removeTimer();
    const int ticks = controller.ticks;
    Dispatch::runUntil([] { return false; }, 250);
    EXPECT_EQ(controller.ticks, ticks);
    EXPECT_FALSE(controller.hasPreviewTimer());
}

TEST(FeatureWindowFrame, SnapshotsBecomeStillFramesInTheOutputFolder) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window();
    controller.setCoverStyle("bmp");
    // A player that fills the buffer with opaque red (B, G, R, A).
    const auto red = [](int* width, int* height, unsigned char* buffer) {
        for (int i = 0; i < *width * *height; ++i) {
            buffer[i * 4 + 0] = 0;
            buffer[i * 4 + 1] = 0;
            buffer[i * 4 + 2] = 255;
            buffer[i * 4 + 3] = 255;
        }
    };
    const QString path = controller.saveSnapshot(8, 6, red);
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).absolutePath(), controller.outputPath());
    EXPECT_EQ(QFileInfo(path).suffix(), "bmp");
    const QImage written(path);
    EXPECT_EQ(written.size(), QSize(8, 6));
    EXPECT_EQ(written.pixelColor(3, 3), QColor(255, 0, 0));

    const auto grows = [](int* width, int* height, unsigned char*) { *width = 1920, *height = 1080; };
    EXPECT_TRUE(controller.saveSnapshot(8, 6, grows).isEmpty()) << "a size larger than the buffer is refused";
    EXPECT_TRUE(controller.saveSnapshot(0, 6, red).isEmpty());

    // A huge picture is refused with a message instead of ending the application on a failed allocation.
    QStringList said;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        said << request.informativeText;
        return 0;
    });
    bool called = false;
    const auto never = [&](int*, int*, unsigned char*) { called = true; };
    EXPECT_TRUE(controller.saveSnapshot(2000000, 2000000, never).isEmpty());
    EXPECT_FALSE(called);
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said.first().contains("2000000 x 2000000")) << said.first().toStdString();
}

TEST(FeatureWindowFrame, EscNeverClosesAToolWindowAndEndsTypingInAField) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller.window()));
    auto* field = new QLineEdit(controller.window());
    field->setText("15.00");
    field->show();
    int finished = 0;
    QString seenAtFinish;
    QObject::connect(field, &QLineEdit::editingFinished, [&] {
        ++finished;
        seenAtFinish = field->text();
    });

    QTest::keyClick(controller.window(), Qt::Key_Escape);
    EXPECT_TRUE(controller.window()->isVisible()) << "Esc with nothing typed";

    field->setFocus();
    ASSERT_TRUE(Dispatch::runUntil([&] { return field->hasFocus(); }, 2000));
    field->selectAll();
    QTest::keyClicks(field, "19.5");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(controller.window()->isVisible()) << "Esc while typing";
    EXPECT_EQ(field->text(), "15.00") << "the field gets back the text it had before typing";
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(seenAtFinish, "15.00");

    // What the window sets while the field has the focus, and what the user committed with Return, stay.
    field->setFocus();
    ASSERT_TRUE(Dispatch::runUntil([&] { return field->hasFocus(); }, 2000));
    field->setText("16.00"); // the window follows the player
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), "16.00");
    field->setFocus();
    ASSERT_TRUE(Dispatch::runUntil([&] { return field->hasFocus(); }, 2000));
    field->selectAll();
    QTest::keyClicks(field, "17.00");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), "17.00");

    ASSERT_TRUE(controller.startRun({fakeStep(controller.outputPath())}));
    QTest::keyClick(controller.window(), Qt::Key_Escape);
    EXPECT_TRUE(controller.window()->isVisible()) << "Esc while a job runs";
    EXPECT_TRUE(controller.isRunning());
    controller.cancelRun();
    ASSERT_TRUE(Dispatch::runUntil([&] { return !controller.jobRunner().isBusy(); }, 5000));
}

TEST(FeatureWindowFrame, ClosingWhileAJobRunsAsksFirstAndStopsTheJobOnYes) {
    ShellTestEnvironment env;
    using Close = std::function<void(FrameTestWindow&)>;
    const QList<QPair<QString, Close>> ways = {
        {"Ctrl+W", [](FrameTestWindow& w) { QTest::keySequence(w.window(), QKeySequence(Qt::CTRL | Qt::Key_W)); }},
        {"close button", [](FrameTestWindow& w) { w.window()->close(); }},
    };
    for (const auto& [name, closeWindow] : ways) {
        SCOPED_TRACE(name.toStdString());
        FakeJobFactory factory;
        factory.script.workMs = 5000;
        QPointer<FrameTestWindow> controller = new FrameTestWindow(factory);
        controller->setReleasedWhenDone(true);
        controller->window()->setWindowTitle("Joiner");
        controller->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
        ASSERT_TRUE(controller->startRun({fakeStep(controller->outputPath())}));
        auto job = factory.made.at(0);
        ASSERT_TRUE(Dispatch::runUntil([&] { return job->started.load(); }, 2000));

        QList<AlertRequest> asked;
        int answer = 1; // the second button: keep the job
        Alert::setProvider([&](const AlertRequest& request, QWidget*) {
            asked << request;
            return answer;
        });
        closeWindow(*controller);
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked.first().messageText, "Joiner");
        EXPECT_TRUE(asked.first().informativeText.contains("Stop the job and close"))
            << asked.first().informativeText.toStdString();
        EXPECT_EQ(asked.first().buttons, (QStringList{"Stop and Close", "Cancel"}));
        EXPECT_TRUE(controller->window()->isVisible()) << "the user kept the job";
        EXPECT_TRUE(controller->isRunning());
        EXPECT_EQ(controller->playersStopped, 0);

        answer = 0;
        closeWindow(*controller);
        EXPECT_EQ(asked.size(), 2);
        EXPECT_EQ(controller->playersStopped, 1);
        EXPECT_FALSE(controller->isRunning()) << "the running job is stopped";
        ASSERT_TRUE(Dispatch::runUntil([&] { return controller.isNull(); }, 3000));
        EXPECT_TRUE(job->returned);
    }
}

TEST(FeatureWindowFrame, ClosingWithoutAJobAsksNothing) {
    ShellTestEnvironment env;
    int asked = 0;
    Alert::setProvider([&](const AlertRequest&, QWidget*) {
        ++asked;
        return 1;
    });
    FakeJobFactory factory;
    QPointer<FrameTestWindow> controller = new FrameTestWindow(factory);
    controller->setReleasedWhenDone(true);
    controller->showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    QTest::keySequence(controller->window(), QKeySequence(Qt::CTRL | Qt::Key_W));
    EXPECT_EQ(asked, 0);
    ASSERT_TRUE(Dispatch::runUntil([&] { return controller.isNull(); }, 3000));
}

TEST(FeatureWindowFrame, QuittingAsksForEachRunningJobAndQuitsOnlyWhenAllStop) {
    ShellTestEnvironment env;
    QWidget launcher;
    launcher.show();
    FakeJobFactory factory;
    factory.script.workMs = 5000;
    QPointer<FrameTestWindow> busy = new FrameTestWindow(factory);
    QPointer<FrameTestWindow> idle = new FrameTestWindow(factory);
    for (FrameTestWindow* w : {busy.data(), idle.data()}) {
        w->setReleasedWhenDone(true);
        w->showWindow();
    }
    ASSERT_TRUE(busy->startRun({fakeStep(busy->outputPath())}));

    int asked = 0;
    int answer = 1;
    Alert::setProvider([&](const AlertRequest&, QWidget*) {
        ++asked;
        return answer;
    });
    EXPECT_FALSE(WindowKeys::quitApplication(&launcher));
    EXPECT_EQ(asked, 1) << "only the window with a running job asks";
    EXPECT_TRUE(launcher.isVisible()) << "the launcher stays while a job is kept";
    ASSERT_FALSE(busy.isNull());
    EXPECT_TRUE(busy->isRunning());

    answer = 0;
    EXPECT_TRUE(WindowKeys::quitApplication(&launcher));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(launcher.isVisible());
    ASSERT_TRUE(Dispatch::runUntil([&] { return busy.isNull() && idle.isNull(); }, 5000));
}

TEST(FeatureWindowFrame, AStillFrameSaysWhereItWentAndCanShowIt) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    FrameTestWindow controller(factory);
    controller.window()->setWindowTitle("Joiner");
    QList<AlertRequest> said;
    int answer = 0;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        said << request;
        return answer;
    });
    QStringList revealed;
    Workspace::setRevealHandler([&](const QString& path) {
        revealed << path;
        return true;
    });
    const auto grey = [](int* width, int* height, unsigned char* buffer) {
        std::fill(buffer, buffer + size_t(*width) * size_t(*height) * 4, 128);
    };
    for (const int choice : {0, 1}) {
        answer = choice;
        const QString path = controller.saveSnapshot(8, 6, grey);
        ASSERT_TRUE(QFileInfo::exists(path));
        ASSERT_EQ(said.size(), choice + 1);
        EXPECT_EQ(said.last().messageText, "Joiner");
        EXPECT_TRUE(said.last().informativeText.contains(path)) << said.last().informativeText.toStdString();
        EXPECT_EQ(said.last().buttons, (QStringList{"OK", "Show in Folder"}));
        EXPECT_EQ(revealed, choice == 1 ? QStringList{path} : QStringList()) << "shown only when asked";
    }

    // A folder that cannot be written: said as well, never as a success.
    QFile blocker(env.root + "/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    controller.setOutputPath(blocker.fileName() + "/inside");
    EXPECT_TRUE(controller.saveSnapshot(8, 6, grey).isEmpty());
    ASSERT_EQ(said.size(), 3);
    EXPECT_TRUE(said.last().informativeText.contains("could not be saved"))
        << said.last().informativeText.toStdString();
}

TEST(FeatureWindowFrame, FixedSizeWindowsShowNoMaximiseButton) {
    ShellTestEnvironment env;
    FakeJobFactory factory;
    struct FixedWindow : FrameTestWindow {
        using FrameTestWindow::FrameTestWindow;
        void windowDidLoad() override {
            FrameTestWindow::windowDidLoad();
            window()->setFixedSize(600, 400);
        }
    };
    FixedWindow fixed(factory);
    EXPECT_FALSE(fixed.window()->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(fixed.window()->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(fixed.window()->windowFlags() & Qt::WindowMinimizeButtonHint);
    FrameTestWindow resizable(factory);
    resizable.window();
    EXPECT_FALSE(resizable.window()->windowFlags() & Qt::CustomizeWindowHint) << "a resizable window keeps its buttons";
}
