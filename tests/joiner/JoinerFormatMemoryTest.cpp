// The joiner's output format across closing and reopening: the profile the format bar shows is the one a join
// writes, and a format's default never makes the picture larger than the source's. Real joins, checked with
// ffprobe.
#include "JoinnerWindowController.h"

#include "ClipWindowDriver.h"
#include "JoinClips.h"
#include "WindowShots.h"
#include "support/Ffprobe.h"

#include "LQCustomButton.h"
#include "Modal.h"
#include "OutputFormatBrowser.h"
#include "UserDefaults.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Window = ClipWindowDriver<JoinnerWindowController>;

// The user-defaults store of one test: what a restart of the application finds again.
class StoreForTheTest {
public:
    StoreForTheTest() { UserDefaults::standardUserDefaults().useFile(_dir.filePath("defaults.ini")); }
    ~StoreForTheTest() { UserDefaults::standardUserDefaults().useStandardStore(); }

private:
    QTemporaryDir _dir;
};

void choose(OutputFormatBrowser& browser, const QString& category, const QString& profile) {
    const qsizetype categoryIndex = browser.functionList().indexOf(category);
    ASSERT_GE(categoryIndex, 0) << category.toStdString();
    browser.actionMouseUpForCustomButtonBlock(browser.function_Items().at(categoryIndex));
    const qsizetype item = browser.functionItemChilds().indexOf(profile);
    ASSERT_GE(item, 0) << profile.toStdString();
    MOQButton* button = browser.functionItemBtn_Childs().at(item);
    button->mouseDownAction()(button);
}

// Joins the window's clips into a fresh folder; the one file written.
QString join(Window& w) {
    JoinnerWindowController& c = w.controller;
    c.setOutputPath(QString::fromStdString(MediaFixtures::freshDir("joiner-format-memory")));
    w.click(c.startJoinnerBtn());
    EXPECT_TRUE(WindowShots::waitUntil(
        [&] { return w.idle() && !QDir(c.outputPath()).entryList(QDir::Files).isEmpty(); }, 120000));
    const QStringList written = QDir(c.outputPath()).entryList(QDir::Files);
    EXPECT_EQ(written.size(), 1);
    return written.isEmpty() ? QString() : c.outputPath() + "/" + written.first();
}

} // namespace

TEST(JoinerFormatMemory, WhatTheReopenedWindowShowsIsWhatItWrites) {
    struct Case {
        QString category;
        QString profile;
        QString suffix;
        std::string codec;
        int width; // of the join of a 320x240 clip
        int height;
    };
    const QString clip = QString::fromStdString(colourClip("red", 320, 240, 1));
    for (const Case& c :
         {Case{"Video", "mov(H264)", "mov", "h264", 320, 240}, Case{"Web", "Web(480p)", "mp4", "h264", 854, 480},
          Case{"Web", "WebM(720p VP9)", "webm", "vp9", 1280, 720}}) {
        SCOPED_TRACE(c.profile.toStdString());
        StoreForTheTest store;
        {
            Window w;
            choose(*w.controller.formatBrowser(), c.category, c.profile);
        }
        // Reopened and closed again without a choice, the window keeps what was chosen.
        {
            Window w;
            ASSERT_EQ(w.controller.outputSelection().extNameSelectTitle(), c.suffix);
        }
        Window w({clip});
        OutputFormatBrowser& browser = *w.controller.formatBrowser();
        EXPECT_EQ(browser.functionItemTitle(), c.category);
        EXPECT_EQ(browser.showFunctionBtn()->contentTitle(), "Target Format: " + c.profile);
        EXPECT_TRUE(browser.function_Items().at(browser.functionList().indexOf(c.category))->selected());
        w.add(1);
        const QString output = join(w);
        ASSERT_FALSE(output.isEmpty());
        EXPECT_EQ(QFileInfo(output).suffix(), c.suffix);
        const FfprobeResult probe = ffprobe(output.toStdString());
        ASSERT_NE(probe.firstVideo(), nullptr);
        EXPECT_EQ(probe.firstVideo()->codecName, c.codec);
        EXPECT_EQ(probe.firstVideo()->width, c.width);
        EXPECT_EQ(probe.firstVideo()->height, c.height);
    }
}

TEST(JoinerFormatMemory, AContainerProfileKeepsTheSourcesSizeAndNeverEnlargesIt) {
    StoreForTheTest store;
    Window w({QString::fromStdString(colourClip("blue", 1280, 720, 1))});
    OutputFormatBrowser& browser = *w.controller.formatBrowser();
    choose(browser, "Video", "mp4(H264)");
    // The settings dialog's Default as well: the profile names no size, so none is chosen.
    QString sizeShown;
    Modal::setProvider(
        [&](QWidget* dialog) {
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                if (button->text() == "Default")
                    button->click();
            for (QComboBox* popUp : dialog->findChildren<QComboBox*>())
                if (popUp->findText("1920x1080") >= 0)
                    sizeShown = popUp->currentText();
            return Modal::kModalResponseStop;
        },
        [](int) {});
    const qsizetype item = browser.functionItemChilds().indexOf("mp4(H264)");
    emit OutputFormatBrowser::settingsButtonOf(browser.functionItemBtn_Childs().at(item))->clicked();
    EXPECT_EQ(sizeShown, "Keep Original");
    w.add(1);
    const QString output = join(w);
    ASSERT_FALSE(output.isEmpty());
    const FfprobeResult probe = ffprobe(output.toStdString());
    ASSERT_NE(probe.firstVideo(), nullptr);
    EXPECT_EQ(probe.firstVideo()->codecName, "h264");
    EXPECT_EQ(probe.firstVideo()->width, 1280);
    EXPECT_EQ(probe.firstVideo()->height, 720);
}
