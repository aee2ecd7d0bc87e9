#include "EffectEditor.h"
#include "EffectPanel.h"
#include "EffectTableCellView.h"
#include "EffectsTestSupport.h"
#include "LQMoviePlayer.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "PlayerTestSupport.h"
#include "ShellTestEnvironment.h"

#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A list of three effects whose ids are not in row order.
const QList<EffectListEntry> kList = {{"Seven", 7}, {"Three", 3}, {"Five", 5}};

struct EffectFixture : ::testing::Test {
    ShellTestEnvironment environment;
    EffectsStandIn host;
    EffectEditor editor{host};

    void SetUp() override {
        editor.setEffectTypes(kList);
        editor.initEffectView(host.left);
        editor.effectView()->show();
        editor.enableEdit(true);
        host.window->show();
        ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    }
    EffectPanel& panel() { return *editor.effectView(); }
    const mediacore::ConvertSettings& shown() { return host.player->edits().settings(); }
    // A click on a row's title (not its check box).
    void clickRow(int row) {
        QTest::mouseClick(editor.effectTableCells()[row], Qt::LeftButton, {}, QPoint(200, 15));
    }
};

} // namespace

TEST_F(EffectFixture, SlidersShowTheirValuesAndReachThePreview) {
    EXPECT_EQ(panel()._volueValueLabel->stringValue(), "100");
    panel()._volueSlider->setValue(999); // 0.999
    EXPECT_EQ(panel()._volueValueLabel->stringValue(), "99");
    EXPECT_DOUBLE_EQ(editor.settings().volume, 0.999);
    panel()._volueSlider->setValue(1500);
    EXPECT_EQ(panel()._volueValueLabel->stringValue(), "150");

    panel()._brightnessSlider->setValue(80);
    panel()._contrastSlider->setValue(-20);
    panel()._saturationSlider->setValue(35);
    EXPECT_EQ(panel()._brightnessValueLabel->stringValue(), "80");
    EXPECT_EQ(panel()._contrastValueLabel->stringValue(), "-20");
    EXPECT_EQ(panel()._saturationValueLabe->stringValue(), "35");
    EXPECT_EQ(shown().brightness, 80);
    EXPECT_EQ(shown().contrast, -20);
    EXPECT_EQ(shown().saturation, 35);
    // The paused preview was refreshed: the picture shown is brighter than the clip's own.
    ASSERT_TRUE(PlayerTestSupport::waitUntilShown(*host.player));
    const auto brighter = PlayerTestSupport::snapshot(*host.player, 32, 24);
    const auto plain = PlayerTestSupport::engineSnapshot(host.source, 0, 32, 24);
    ASSERT_FALSE(brighter.empty());
    ASSERT_FALSE(plain.empty());
    EXPECT_GT(brighter[1], plain[1] + 30); // green of the first pixel
}

TEST_F(EffectFixture, ChoosingEffectsKeepsTheirIdsAscendingInThePreview) {
    clickRow(0);                                                           // 7
    QTest::mouseClick(editor.effectTableCells()[1]->checkView(), Qt::LeftButton); // 3
    clickRow(2);                                                           // 5
    EXPECT_EQ(editor.settings().effectIds, (std::vector<int>{3, 5, 7}));
    EXPECT_EQ(shown().effects, (std::vector<int>{3, 5, 7}));
    for (auto* row : editor.effectTableCells())
        EXPECT_TRUE(row->selected());
    clickRow(2); // 5 again: taken back
    EXPECT_EQ(shown().effects, (std::vector<int>{3, 7}));
    EXPECT_FALSE(editor.effectTableCells()[2]->selected());
    EXPECT_EQ(editor.effectTableCells()[2]->titleLabel()->stringValue(), "Five");
}

TEST_F(EffectFixture, ResetAndANewFileBringEverythingBack) {
    panel()._volueSlider->setValue(400);
    panel()._brightnessSlider->setValue(-100);
    clickRow(1);
    QTest::mouseClick(panel()._effectReset, Qt::LeftButton);
    EXPECT_EQ(editor.settings(), EffectSettings{});
    EXPECT_EQ(panel()._volueSlider->value(), EffectPanel::kVolumeSteps);
    EXPECT_EQ(panel()._volueValueLabel->stringValue(), "100");
    EXPECT_EQ(panel()._brightnessValueLabel->stringValue(), "0");
    EXPECT_FALSE(editor.effectTableCells()[1]->selected());
    EXPECT_EQ(shown().brightness, 0);
    EXPECT_TRUE(shown().effects.empty());

    panel()._saturationSlider->setValue(50);
    clickRow(0);
    editor.resetForNewFile();
    EXPECT_EQ(editor.settings(), EffectSettings{});
    EXPECT_EQ(panel()._saturationSlider->value(), 0);
    EXPECT_FALSE(editor.effectTableCells()[0]->selected());
    EXPECT_TRUE(shown().effects.empty());
    EXPECT_EQ(shown().saturation, 0);
}

TEST_F(EffectFixture, DisabledRowsAndSlidersDoNothing) {
    editor.enableEdit(false);
    EXPECT_FALSE(panel()._volueSlider->isEnabled());
    EXPECT_FALSE(panel()._effectReset->isEnabled());
    clickRow(0);
    EXPECT_TRUE(editor.settings().effectIds.empty());
    EXPECT_TRUE(shown().effects.empty());
}

TEST(EffectEditorWithoutFile, RowsDoNothingAndSlidersStillWork) {
    ShellTestEnvironment environment;
    EffectsStandIn host(false);
    EffectEditor editor(host);
    editor.setEffectTypes(kList);
    editor.initEffectView(host.left);
    editor.enableEdit(true);
    editor.chooseEffect(0);
    editor.chooseEffect(-4);
    EXPECT_TRUE(editor.settings().effectIds.empty());
    EXPECT_FALSE(editor.effectTableCells()[0]->selected());
    editor.effectView()->_brightnessSlider->setValue(12);
    EXPECT_EQ(editor.settings().brightness, 12);

    // An empty list: no rows, the sliders work.
    EffectEditor empty(host);
    empty.setEffectTypes({});
    empty.initEffectView(host.left);
    EXPECT_TRUE(empty.effectTableCells().isEmpty());
    empty.effectView()->_volueSlider->setValue(500);
    EXPECT_EQ(empty.effectView()->_volueValueLabel->stringValue(), "50");
}
