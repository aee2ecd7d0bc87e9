#include "EffectsTestSupport.h"
#include "LQMoviePlayer.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "OpenPanel.h"
#include "PlayerTestSupport.h"
#include "ShellTestEnvironment.h"
#include "SubtitleEditor.h"
#include "SubtitlePanel.h"
#include "SubtitleParam.h"

#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct SubtitleFixture : ::testing::Test {
    ShellTestEnvironment environment;
    EffectsStandIn host;
    SubtitleEditor editor{host};
    QStringList fonts{"/fonts/Courier.ttf", "/fonts/Arial.ttf", "/fonts/Songti.ttc"};
    QStringList chosen; // what the open panel answers

    void SetUp() override {
        editor.fontFiles = [this] { return fonts; };
        OpenPanel::setProvider([this](const OpenPanelOptions&, QWidget*) { return chosen; });
        editor.initSubtitleView(host.left);
        editor.captionView()->show();
        editor.resetForNewFile();
        editor.enableEdit(true);
        host.window->show();
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    }
    SubtitlePanel& panel() { return *editor.captionView(); }
    QComboBox& popUp() { return *panel().subtitle_popUpBtn; }
    const SUBTITLE_PARAM& shown() { return host.player->edits().subtitleRecord(); }
    // Chooses an item of the subtitle pop-up as a person would.
    void choose(int index) {
        popUp().setCurrentIndex(index);
        emit popUp().activated(index);
    }
    void load(const std::string& path) {
        chosen = {QString::fromStdString(path)};
        choose(popUp().count() - 1);
    }
    QStringList items() {
        QStringList titles;
        for (int i = 0; i < popUp().count(); ++i)
            titles.append(popUp().itemText(i));
        return titles;
    }
};

} // namespace

TEST_F(SubtitleFixture, LoadingASubRipFileShowsItWithTheDefaultFont) {
    EXPECT_EQ(items(), QStringList({"No subtitle", "Load subtitle file..."}));
    EXPECT_FALSE(panel().subtitleFont_popUpBtn->isEnabled());
    EXPECT_EQ(panel().subtitleFont_popUpBtn->itemText(0), "Set font");

    load(EffectClips::srt());
    EXPECT_EQ(items(), QStringList({"No subtitle", "fx_whole.srt", "Load subtitle file..."}));
    EXPECT_EQ(popUp().currentIndex(), 1);
    EXPECT_EQ(editor.subtitleParam().subtitlePath(), QString::fromStdString(EffectClips::srt()));
    EXPECT_EQ(editor.subtitleParam().fontPath(), "/fonts/Songti.ttc");
    EXPECT_EQ(panel().subtitleFont_popUpBtn->currentIndex(), 2);
    EXPECT_EQ(panel().subtitleFont_popUpBtn->count(), 3);
    EXPECT_EQ(editor.subtitleParam().positon(), -1);
    EXPECT_DOUBLE_EQ(panel().sliderValue(), 1.0);
    EXPECT_TRUE(panel().captionAlphorBtn->selected());
    for (QWidget* w : {static_cast<QWidget*>(panel()._colorWell), static_cast<QWidget*>(panel().subtitleFont_popUpBtn),
                       static_cast<QWidget*>(&popUp()), static_cast<QWidget*>(panel().subtitleAlphSlider)})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_STREQ(shown().path, EffectClips::srt().c_str());
    EXPECT_STREQ(shown().szFontFile, "/fonts/Songti.ttc");
    EXPECT_EQ(shown().fontclr, 0xFFFFFF00u);
    EXPECT_EQ(shown().shadowclr, 0u);

    // The font pop-up.
    emit panel().subtitleFont_popUpBtn->activated(0);
    EXPECT_EQ(editor.subtitleParam().fontPath(), "/fonts/Courier.ttf");
    EXPECT_EQ(editor.subtitleParam().fontSelectIndex(), 0);
    EXPECT_STREQ(shown().szFontFile, "/fonts/Courier.ttf");
}

TEST_F(SubtitleFixture, TheDefaultFontIsSongtiElseArialElseTheFirst) {
    struct Case {
        QStringList fonts;
        QString expected;
    };
    for (const Case& c : {Case{{"/f/Arial.ttf", "/f/Songti.ttc"}, "/f/Songti.ttc"},
                          Case{{"/f/Zed.ttf", "/f/Arial.ttf"}, "/f/Arial.ttf"}, Case{{"/f/Zed.ttf"}, "/f/Zed.ttf"}}) {
        fonts = c.fonts;
        editor.resetForNewFile();
        load(EffectClips::srt());
        EXPECT_EQ(editor.subtitleParam().fontPath(), c.expected);
    }
}

TEST_F(SubtitleFixture, AnEmptyFontListFallsBackToTheDefaultFace) {
    fonts.clear();
    load(EffectClips::srt());
    EXPECT_TRUE(editor.subtitleParam().subtitlePath().endsWith("fx_whole.srt"));
    EXPECT_TRUE(QFileInfo(editor.subtitleParam().fontPath()).isFile());
    EXPECT_EQ(panel().subtitleFont_popUpBtn->count(), 1);
    EXPECT_EQ(panel().subtitleFont_popUpBtn->itemText(0), "Set font");
    EXPECT_FALSE(panel().subtitleFont_popUpBtn->isEnabled());
    const QString font = editor.subtitleParam().fontPath();
    emit panel().subtitleFont_popUpBtn->activated(0); // does nothing
    EXPECT_EQ(editor.subtitleParam().fontPath(), font);
}

TEST_F(SubtitleFixture, AFileThatCannotBeReadIsRefusedAndChangesNothing) {
    load(EffectClips::srt());
    const QStringList before = items();
    load(EffectClips::broken());
    EXPECT_EQ(host.alerts, QStringList({"subtitleFileUnreadable"}));
    EXPECT_EQ(items(), before);
    EXPECT_EQ(popUp().currentIndex(), 1);
    EXPECT_EQ(editor.subtitleParam().subtitlePath(), QString::fromStdString(EffectClips::srt()));
    EXPECT_STREQ(shown().path, EffectClips::srt().c_str());

    const std::string other = EffectClips::textFile("fx_other.txt", "1\n00:00:00,000 --> 00:00:01,000\nA\n");
    load(other);
    EXPECT_EQ(host.alerts.last(), "subtitleFileUnknownType");
    EXPECT_EQ(items(), before);
    load("/nonexistent/folder/gone.srt");
    EXPECT_EQ(host.alerts.last(), "subtitleFileUnreadable");
    EXPECT_EQ(editor.subtitleParam().subtitlePath(), QString::fromStdString(EffectClips::srt()));
}

TEST_F(SubtitleFixture, CancellingTheOpenPanelChangesNothing) {
    chosen = {};
    choose(1); // "Load subtitle file..." with two items
    EXPECT_TRUE(editor.subtitleParam().subtitlePath().isEmpty());
    EXPECT_EQ(items().size(), 2);
    EXPECT_TRUE(host.alerts.isEmpty());
}

TEST_F(SubtitleFixture, AScriptKeepsThePopUpUsableAndItsOwnStyle) {
    load(EffectClips::ass());
    EXPECT_EQ(popUp().currentIndex(), 1);
    EXPECT_TRUE(popUp().isEnabled());
    EXPECT_FALSE(panel().subtitleFont_popUpBtn->isEnabled());
    EXPECT_FALSE(panel()._colorWell->isEnabled());
    EXPECT_TRUE(panel().subtitleAlphSlider->isEnabled());
    // The pop-up still works: back to no subtitle, then a SubRip file.
    choose(0);
    EXPECT_EQ(shown().path[0], '\0');
    load(EffectClips::srt());
    EXPECT_EQ(items(), QStringList({"No subtitle", "fx_whole.srt", "Load subtitle file..."}));
    EXPECT_TRUE(panel()._colorWell->isEnabled());
}

TEST_F(SubtitleFixture, NoSubtitleAndBackRestoresTheLastFileWithoutAPanel) {
    load(EffectClips::srt());
    choose(0);
    EXPECT_TRUE(editor.subtitleParam().subtitlePath().isEmpty());
    EXPECT_EQ(shown().path[0], '\0');
    chosen = {"/should/not/be/asked.srt"};
    choose(1);
    EXPECT_EQ(editor.subtitleParam().subtitlePath(), QString::fromStdString(EffectClips::srt()));
    EXPECT_STREQ(shown().path, EffectClips::srt().c_str());
    EXPECT_TRUE(host.alerts.isEmpty());

    // A second file replaces the entry; never more than three items.
    load(EffectClips::ass());
    EXPECT_EQ(items(), QStringList({"No subtitle", "fx_whole.ass", "Load subtitle file..."}));
    // A rotation takes the subtitle out of the preview; the entry brings it back.
    editor.clearForRotation();
    EXPECT_EQ(shown().path[0], '\0');
    choose(1);
    EXPECT_STREQ(shown().path, EffectClips::ass().c_str());
}

TEST_F(SubtitleFixture, PositionFollowsTheSliderWithinThePicture) {
    load(EffectClips::srt());
    host.videoSize = {400, 300};
    struct Case {
        int steps;
        int position;
    };
    for (const Case& c : {Case{1000, 270}, Case{500, 150}, Case{0, 0}, Case{950, 270}, Case{333, 99}}) {
        panel().subtitleAlphSlider->setValue(c.steps);
        editor.actionsubtitleAlphSlider();
        EXPECT_EQ(editor.subtitleParam().positon(), c.position) << c.steps;
        EXPECT_EQ(shown().position, c.position);
    }
}

TEST_F(SubtitleFixture, ThePositionBoxHasItsPicture) {
    const QImage box = panel().positionBox->normalBackGroundImage();
    ASSERT_FALSE(box.isNull()) << "the box's picture is in the bundle";
    EXPECT_GT(qAlpha(box.pixel(box.width() / 2, box.height() / 2)), 0) << "the box is filled, not blank";
}

TEST_F(SubtitleFixture, TheColourIsStoredAtOnceWithABlackShadow) {
    // Before any subtitle: the colour goes to the player and is kept.
    editor.chooseColor = [](const QColor&) { return std::optional<QColor>(QColor(255, 255, 0)); };
    QTest::mouseClick(panel()._colorWell, Qt::LeftButton);
    EXPECT_EQ(editor.captionColor(), QColor(255, 255, 0));
    EXPECT_EQ(editor.subtitleParam().fontColor(), QColor(255, 255, 0));
    EXPECT_EQ(shown().fontclr, 0xFFFF0000u);
    EXPECT_EQ(shown().shadowclr, 0u);
    // A later load carries it.
    load(EffectClips::srt());
    EXPECT_EQ(shown().fontclr, 0xFFFF0000u);
    EXPECT_EQ(shown().shadowclr, 0u);
    // Cancelling the chooser keeps it.
    editor.chooseColor = [](const QColor&) { return std::optional<QColor>(); };
    QTest::mouseClick(panel()._colorWell, Qt::LeftButton);
    EXPECT_EQ(editor.subtitleParam().fontColor(), QColor(255, 255, 0));
}

TEST_F(SubtitleFixture, ANewFileStartsWithAFreshStyle) {
    editor.changeSubtitleColor(Qt::red);
    load(EffectClips::srt());
    editor.resetForNewFile();
    EXPECT_TRUE(editor.subtitleParam().subtitlePath().isEmpty());
    EXPECT_EQ(editor.subtitleParam().fontColor(), QColor(255, 255, 255));
    EXPECT_FALSE(editor.subtitleParam().fontPathList());
    EXPECT_EQ(items().size(), 2);
    EXPECT_FALSE(panel().captionAlphorBtn->selected());
    EXPECT_FALSE(panel().subtitleAlphSlider->isEnabled());
    editor.enableEdit(true);
    EXPECT_FALSE(panel().subtitleFont_popUpBtn->isEnabled()); // no subtitle chosen
    EXPECT_TRUE(popUp().isEnabled());
}

TEST(SubtitleEditorWithoutFile, ThePopUpDoesNothing) {
    ShellTestEnvironment environment;
    EffectsStandIn host(false);
    SubtitleEditor editor(host);
    bool asked = false;
    OpenPanel::setProvider([&](const OpenPanelOptions&, QWidget*) {
        asked = true;
        return QStringList();
    });
    editor.initSubtitleView(host.left);
    editor.actionSubtitle_popUpBtn(1);
    EXPECT_FALSE(asked);
    EXPECT_FALSE(editor.captionView()->subtitle_popUpBtn->isEnabled());
}
