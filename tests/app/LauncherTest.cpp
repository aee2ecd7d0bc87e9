#include "AboutUsWindowController.h"
#include "AppDelegate.h"
#include "EditVideoWindowController.h"
#include "FeatureWindowController.h"
#include "MainInterface.h"
#include "ShellTestEnvironment.h"
#include "ViewController.h"

#include "Alert.h"
#include "Dispatch.h"
#include "Modal.h"
#include "Notification.h"
#include "NotificationCenter.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"
#include "Workspace.h"
#include "support/MediaFixtures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QList<bool> enabledStates(const ViewController* launcher) {
    QList<bool> states;
    for (MOQButton* button : launcher->allButtons())
        states << button->isEnabled();
    return states;
}

const QList<bool> kAllEnabled(14, true);
const QList<bool> kAllDisabled(14, false);

// The feature windows that are open, by their controllers.
QList<FeatureWindowController*> openToolWindows() {
    QList<FeatureWindowController*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            if (FeatureWindowController* controller = FeatureWindowController::forWindow(widget))
                open << controller;
    }
    return open;
}

void press(MOQButton* button) {
    button->mouseDownAction()(button);
}

void settle() {
    Dispatch::runUntil([] { return false; }, 30);
}

QString captionOf(MOQButton* button) {
    const auto fields = button->findChildren<LabelField*>();
    return fields.size() == 1 ? fields.first()->text() : QString();
}

} // namespace

TEST(Launcher, LoadsStyledWithItsFourteenButtons) {
    ShellTestEnvironment env;
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    QMainWindow* window = interface.window();
    EXPECT_EQ(window->windowTitle(), "Clipwright");
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(33, 176, 235));
    EXPECT_EQ(launcher->allButtons().size(), 14);
    EXPECT_EQ(enabledStates(launcher), kAllEnabled);
    EXPECT_EQ(launcher->descLabel1()->text(),
              "Clipwright - crop, cut, join and more. Point at a tool to see what it does.");
    EXPECT_EQ(launcher->backImageView()->backGroundColor(), QColor(245, 245, 245));

    const QStringList captions = {"Crop",      "Effect",       "Subtitle", "Watermark", "Join", "Easy Cut",
                                  "Batch Cut", "Advanced Cut", "Rotate",   "Music",     "Split"};
    const QList<MOQButton*> tools = launcher->toolButtons();
    ASSERT_EQ(tools.size(), 11);
    for (int i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(captionOf(tools[i]), captions[i]);
        EXPECT_FALSE(tools[i]->normalImage().isNull()) << i;
        EXPECT_FALSE(tools[i]->onImage().isNull()) << i;
        EXPECT_FALSE(tools[i]->downImage().isNull()) << i;
        EXPECT_FALSE(tools[i]->disAbleImage().isNull()) << i;
    }
    EXPECT_EQ(launcher->aboutButton()->contentTitle(), "About");
    EXPECT_EQ(launcher->aboutButton()->contentColor(), QColor(33, 176, 235));
    EXPECT_FALSE(launcher->aboutButton()->normalImage().isNull());
    EXPECT_EQ(launcher->homepageButton()->contentTitle(), "Homepage");
    EXPECT_EQ(launcher->lanuageButton()->contentTitle(), "Language");
    EXPECT_EQ(launcher->lanuageButton()->contentColor(), QColor(Qt::white));
    EXPECT_EQ(launcher->lanuageButton()->contentImagePosition(), 2);

    interface.delegate()->applicationDidFinishLaunching();
    EXPECT_EQ(window->windowTitle(), "Clipwright");
}

TEST(Launcher, EachToolOpensItsWindowAndDisablesAllButtonsUntilItCloses) {
    ShellTestEnvironment env;
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    struct Case {
        MOQButton* button;
        QString title;
        const char* className;
        qint64 mode; // editor only
    };
    const QList<Case> cases = {
        {launcher->cropButton(), "Crop", "EditVideoWindowController", 4},
        {launcher->effectButton(), "Effect", "EditVideoWindowController", 8},
        {launcher->subtitleButton(), "Subtitle", "EditVideoWindowController", 32},
        {launcher->watermarkButton(), "Watermark", "EditVideoWindowController", 16},
        {launcher->joinnerButton(), "Joiner", "JoinnerWindowController", 0},
        {launcher->easyCutterButton(), "Easy Cutter", "EasyCutterWindowcontroller", 0},
        {launcher->batchCutterButton(), "Batch Cutter", "BatchCutterWindowController", 0},
        {launcher->advancedCutterButton(), "Advanced Cutter", "EditVideoWindowController", 1},
        {launcher->rotateButton(), "Rotate", "EditVideoWindowController", 2},
        {launcher->addorremovemusicButton(), "Add or Remove Music", "EditVideoWindowController", 64},
        {launcher->splitButton(), "Splitter", "SplitWindowController", 0},
    };
    for (const Case& c : cases) {
        press(c.button);
        EXPECT_TRUE(openToolWindows().isEmpty()) << "the press only schedules the opening";
        ASSERT_TRUE(Dispatch::runUntil([] { return !openToolWindows().isEmpty(); }, 2000)) << c.className;
        const QList<FeatureWindowController*> open = openToolWindows();
        ASSERT_EQ(open.size(), 1);
        FeatureWindowController* controller = open.first();
        EXPECT_STREQ(controller->metaObject()->className(), c.className);
        EXPECT_EQ(controller->window()->windowTitle(), c.title);
        if (auto* editor = qobject_cast<EditVideoWindowController*>(controller)) {
            EXPECT_EQ(editor->toolItemType(), c.mode) << c.title.toStdString();
        }
        EXPECT_EQ(controller->outputPath(), env.root + "/Documents/Clipwright");
        EXPECT_EQ(enabledStates(launcher), kAllDisabled) << c.title.toStdString();

        QPointer<FeatureWindowController> released(controller);
        controller->close();
        EXPECT_EQ(enabledStates(launcher), kAllEnabled) << c.title.toStdString();
        ASSERT_TRUE(Dispatch::runUntil([&] { return released.isNull(); }, 2000)) << "released after closing";
    }
}

TEST(Launcher, AToolWindowGoneWithoutItsNotificationStillEnablesTheLauncher) {
    ShellTestEnvironment env;
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    launcher->splitAction(nullptr);
    ASSERT_EQ(openToolWindows().size(), 1);
    EXPECT_EQ(enabledStates(launcher), kAllDisabled);
    delete openToolWindows().first();
    EXPECT_EQ(enabledStates(launcher), kAllEnabled);

    // A tool released late, after the next one opened, leaves the launcher disabled for the next one.
    launcher->joinnerAction(nullptr);
    QPointer<FeatureWindowController> first = openToolWindows().first();
    first->close(); // released on the next turn of the event loop
    launcher->easy_cutterAction(nullptr);
    EXPECT_EQ(enabledStates(launcher), kAllDisabled);
    ASSERT_TRUE(Dispatch::runUntil([&] { return first.isNull(); }, 2000));
    EXPECT_EQ(enabledStates(launcher), kAllDisabled);
    openToolWindows().first()->close();
    EXPECT_EQ(enabledStates(launcher), kAllEnabled);
    settle();
}

TEST(Launcher, HoverTextFollowsThePointerAndComesBackExactly) {
    ShellTestEnvironment env;
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    const QString start = launcher->descLabel1()->text();
    const QList<QPair<MOQButton*, QString>> cases = {
        {launcher->cropButton(), "Crop: cut away the edges of the picture."},
        {launcher->splitButton(), "Splitter: split a video by time, by size, into equal parts or at chosen points."},
    };
    for (const auto& c : cases) {
        c.first->mouseEntered()(c.first);
        settle();
        EXPECT_EQ(launcher->descLabel1()->text(), c.second);
        c.first->mouseExited()(c.first);
        settle();
        EXPECT_EQ(launcher->descLabel1()->text(), start);
    }
}

TEST(Launcher, TheDescriptionLineClearsWhenAToolCloses) {
    ShellTestEnvironment env;
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    const QString start = launcher->descLabel1()->text();
    for (MOQButton* button : {launcher->joinnerButton(), launcher->cropButton()}) {
        // Pointed at and pressed: the tool's window opens over the button, which never sees the pointer leave.
        button->mouseEntered()(button);
        press(button);
        ASSERT_TRUE(Dispatch::runUntil([] { return !openToolWindows().isEmpty(); }, 2000));
        EXPECT_NE(launcher->descLabel1()->text(), start);
        QPointer<FeatureWindowController> tool = openToolWindows().first();
        tool->close();
        settle();
        EXPECT_EQ(launcher->descLabel1()->text(), start);
        ASSERT_TRUE(Dispatch::runUntil([&] { return tool.isNull(); }, 2000));
    }
}

TEST(Launcher, LanguageChangesNothingAndHomepageOpensTheAddress) {
    ShellTestEnvironment env;
    QList<QUrl> opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) { return opened << url, true; });
    MainInterface interface;
    ViewController* launcher = interface.viewController();
    const QString text = launcher->descLabel1()->text();
    press(launcher->lanuageButton());
    settle();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(enabledStates(launcher), kAllEnabled);
    EXPECT_EQ(launcher->descLabel1()->text(), text);
    EXPECT_TRUE(openToolWindows().isEmpty());

    press(launcher->homepageButton());
    EXPECT_TRUE(opened.isEmpty()) << "opened on the next turn of the main queue";
    settle();
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://clipwright.example.org")});
}

TEST(Launcher, HelpItemOpensTheSupportPageAndTheDelegateIsShared) {
    ShellTestEnvironment env;
    QList<QUrl> opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) { return opened << url, true; });
    MainInterface interface;
    interface.delegate()->applicationDidFinishLaunching();
    ASSERT_NE(interface.helpItem(), nullptr);
    interface.helpItem()->trigger();
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://clipwright.example.org/support")});
    AppDelegate* shared = AppDelegate::sharedAppDelegate();
    EXPECT_EQ(shared, interface.delegate());
    EXPECT_EQ(AppDelegate::sharedAppDelegate(), shared);
    EXPECT_TRUE(interface.delegate()->applicationShouldTerminateAfterLastWindowClosed());
}

TEST(Launcher, AnEmptyStringsTableShowsTheKeys) {
    ShellTestEnvironment env;
    const QString bundle = QString::fromStdString(MediaFixtures::freshDir("empty-bundle"));
    QDir().mkpath(bundle + "/en.lproj");
    QFile table(bundle + "/en.lproj/Main.strings");
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.close();
    ResourceBundle::setBundlePath(bundle);
    {
        MainInterface interface;
        interface.delegate()->applicationDidFinishLaunching();
        EXPECT_EQ(interface.window()->windowTitle(), "Ixy-de-Rz5.title");
        EXPECT_EQ(interface.viewController()->descLabel1()->text(), "TitleviewController_normalDescLabelString");
        EXPECT_TRUE(interface.viewController()->cropButton()->normalImage().isNull());
        interface.viewController()->rotateAction(nullptr);
        ASSERT_EQ(openToolWindows().size(), 1);
        EXPECT_EQ(openToolWindows().first()->window()->windowTitle(), "Rotate_Title");
        openToolWindows().first()->close();
        EXPECT_EQ(enabledStates(interface.viewController()), kAllEnabled);
        settle();
    }
    ResourceBundle::setBundlePath(QString());
}

TEST(Launcher, AboutBoxRunsModallyOverTheLauncher) {
    ShellTestEnvironment env;
    QList<QUrl> opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) { return opened << url, true; });
    MainInterface interface;
    QMainWindow* window = interface.window();
    ViewFrame::setFrame(window, ViewRect{100, 200, 760, 620});
    int runs = 0;
    Modal::setProvider(
        [&](QWidget* dialog) {
            ++runs;
            EXPECT_EQ(dialog->windowTitle(), "Clipwright");
            const ViewRect frame = ViewFrame::frame(dialog);
            const ViewRect owner = ViewFrame::frame(window);
            EXPECT_EQ(frame.width, 480);
            EXPECT_EQ(frame.height, 270);
            // Window frames are whole pixels here: a centre that falls on a half rounds.
            EXPECT_NEAR(frame.x, owner.x + (owner.width - 480) / 2, 0.5);
            EXPECT_NEAR(frame.y, owner.y + (owner.height - 270) / 2, 0.5);
            const auto labels = dialog->findChildren<LabelField*>();
            QStringList texts;
            for (LabelField* label : labels)
                texts << label->text();
            EXPECT_TRUE(texts.contains("Clipwright"));
            EXPECT_TRUE(texts.contains("Version 1.0"));
            EXPECT_TRUE(texts.contains("Thank you for using Clipwright."));
            return Modal::kModalResponseStop;
        },
        [](int) {});
    EXPECT_EQ(enabledStates(interface.viewController()), kAllEnabled);
    press(interface.viewController()->aboutButton());
    settle();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(enabledStates(interface.viewController()), kAllEnabled);
}

TEST(AboutBox, LinksOpenTheHomepageAndAnEscapedMailAddress) {
    ShellTestEnvironment env;
    QList<QUrl> opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) { return opened << url, true; });
    AboutUsWindowController about;
    about.window();
    EXPECT_EQ(about.middleLeftContentLabel()->contentTitle(), "Homepage");
    EXPECT_TRUE(about.middleLeftContentLabel()->underLine());
    EXPECT_EQ(about.middleLeftContentLabel()->contentColor(), QColor(0, 0, 255));
    EXPECT_EQ(about.okBtn()->contentTitle(), "OK");
    EXPECT_EQ(about.contentBackView()->backGroundColor(), QColor(245, 245, 245));
    EXPECT_EQ(about.topLine()->backGroundColor(), QColor(33, 176, 235));
    press(about.middleLeftContentLabel());
    press(about.middleRightContentLabel());
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("https://clipwright.example.org"));
    EXPECT_EQ(opened[1].toString(QUrl::FullyEncoded), "mailto:support@clipwright.example.org?Subject=%20&body=%20");
    EXPECT_EQ(AboutUsWindowController::mailAddressUrl("a b@x.org"), "mailto:a%20b@x.org?Subject=%20&body=%20");
}

TEST(AboutBox, OkAndTheCloseControlBothEndTheModalRun) {
    Modal::resetProvider();
    for (const bool useOk : {true, false}) {
        AboutUsWindowController about;
        QWidget* dialog = about.window();
        Dispatch::main([&] {
            if (useOk)
                press(about.okBtn());
            else
                dialog->close();
        });
        about.runModal();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Modal::depth(), 0);
    }
}

TEST(Launcher, TheApplicationEndsWithItsLastWindowNotWithTheLauncher) {
    ShellTestEnvironment env;
    MainInterface interface;
    QApplication::setQuitOnLastWindowClosed(interface.delegate()->applicationShouldTerminateAfterLastWindowClosed());
    interface.window()->show();
    interface.viewController()->joinnerAction(nullptr);
    ASSERT_EQ(openToolWindows().size(), 1);

    bool toolClosed = false;
    QTimer::singleShot(0, [&] {
        interface.window()->close();
        QTimer::singleShot(100, [&] {
            // Still running with the tool window open: close it, the last window.
            toolClosed = true;
            openToolWindows().first()->close();
        });
    });
    QTimer::singleShot(5000, [] { QApplication::exit(1); }); // a watchdog
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(toolClosed) << "closing the launcher alone ended the application";
    settle();
}

TEST(AboutBox, ReturnAndEscAnswerItAndItIsADialogOfTheLauncher) {
    Modal::resetProvider();
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
        AboutUsWindowController about;
        QWidget* dialog = about.window();
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint) << "a fixed-size window";
        bool answered = true;
        Dispatch::main([&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key(key));
            // Never hang the test: a key that did not answer is a failure, and the box is closed for it.
            QTimer::singleShot(2000, dialog, [&] {
                if (dialog->isVisible()) {
                    answered = false;
                    dialog->close();
                }
            });
        });
        about.runModal();
        EXPECT_TRUE(answered) << key;
        EXPECT_FALSE(dialog->isVisible()) << key;
        EXPECT_EQ(Modal::depth(), 0);
    }

    ShellTestEnvironment env;
    MainInterface interface;
    QWidget* parentSeen = nullptr;
    Qt::WindowType typeSeen = Qt::Widget;
    Modal::setProvider(
        [&](QWidget* dialog) {
            parentSeen = dialog->parentWidget();
            typeSeen = dialog->windowType();
            return Modal::kModalResponseStop;
        },
        [](int) {});
    press(interface.viewController()->aboutButton());
    settle();
    EXPECT_EQ(parentSeen, interface.window());
    EXPECT_EQ(typeSeen, Qt::Dialog);
    EXPECT_FALSE(interface.window()->windowFlags() & Qt::WindowMaximizeButtonHint) << "the launcher's size is fixed";
}

TEST(Launcher, CtrlQClosesEveryToolWindowThenQuits) {
    ShellTestEnvironment env;
    MainInterface interface;
    interface.window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(interface.window()));
    interface.viewController()->rotateAction(nullptr);
    ASSERT_EQ(openToolWindows().size(), 1);
    QWidget* tool = openToolWindows().first()->window();
    QTest::keyClick(tool, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(openToolWindows().isEmpty()) << "the tool window closed through its own path";
    EXPECT_FALSE(interface.window()->isVisible());
    settle();
    EXPECT_EQ(enabledStates(interface.viewController()), kAllEnabled);
}

TEST(Launcher, TabReachesTheButtonsVisiblyAndSpacePressesThem) {
    ShellTestEnvironment env;
    QList<QUrl> opened;
    Workspace::setOpenUrlHandler([&](const QUrl& url) { return opened << url, true; });
    MainInterface interface;
    interface.window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(interface.window()));
    ViewController* launcher = interface.viewController();
    MOQButton* homepage = launcher->homepageButton();
    int tabs = 0;
    while (!homepage->hasFocus() && tabs < 40) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : interface.window(), Qt::Key_Tab);
        ++tabs;
    }
    ASSERT_TRUE(homepage->hasFocus()) << "Tab reaches every button";
    const QImage plain = homepage->grab().toImage();
    homepage->clearFocus();
    const QImage unfocused = homepage->grab().toImage();
    EXPECT_NE(plain, unfocused) << "the focused button shows a focus ring";
    homepage->setFocus(Qt::TabFocusReason);
    QTest::keyClick(homepage, Qt::Key_Space);
    settle();
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://clipwright.example.org")});
}

TEST(Launcher, ALinkThatCannotOpenSaysSoWithTheAddress) {
    ShellTestEnvironment env;
    Workspace::setOpenUrlHandler([](const QUrl&) { return false; });
    QStringList said;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        said << request.messageText + "|" + request.informativeText;
        return 0;
    });
    MainInterface interface;
    press(interface.viewController()->homepageButton());
    settle();
    AboutUsWindowController about;
    about.window();
    press(about.middleRightContentLabel());
    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[0].contains("https://clipwright.example.org")) << said[0].toStdString();
    EXPECT_TRUE(said[0].startsWith("The link cannot be opened"));
    EXPECT_TRUE(said[1].contains("support@clipwright.example.org")) << said[1].toStdString();
    EXPECT_FALSE(said[1].contains("Subject"));
}
