#include "TrimPanel.h"

#include "LQCutProgressView.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "ShellTestEnvironment.h"
#include "TrimHost.h"
#include "ViewFrame.h"
#include "WindowShots.h"

#include <QComboBox>
#include <QPointer>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A window stand-in: a 60 s preview whose calls are recorded.
class RecordingHost : public TrimHost {
public:
    double duration = 60;
    double current = 0;
    bool playing = false;
    QStringList calls;
    QStringList alerts;
    std::unique_ptr<LQCutProgressView> bar = std::make_unique<LQCutProgressView>(ViewRect{0, 0, 400, 30});

    double trimDuration() const override { return duration; }
    double trimCurrentTime() const override { return current; }
    void trimSeek(double seconds) override { calls << QStringLiteral("seek %1").arg(seconds); }
    bool trimIsPlaying() const override { return playing; }
    void trimPlay() override { calls << "play"; }
    void trimPause() override { calls << "pause"; }
    void trimHoldPlayer() override { calls << "hold"; }
    void trimPlayPause() override { calls << "playPause"; }
    LQCutProgressView* trimBar() const override { return bar.get(); }
    void trimAlert(const QString& key) override { alerts << key; }
};

struct PanelBench {
    ShellTestEnvironment environment;
    RecordingHost host;
    QWidget left;
    TrimPanel panel{host};

    PanelBench() {
        ViewFrame::setFrame(&left, ViewRect{0, 0, 240, 520});
        panel.initTrimView(&left);
        host.bar->setDelegate(&panel);
        panel.enableEdit(true);
        panel.setCutTimeRange(10e6, 20e6);
        host.bar->setLowerValueUpperValue(10.0f / 60, 20.0f / 60);
    }
    QStringList startTexts() const { return texts(panel.startFields()); }
    QStringList stopTexts() const { return texts(panel.stopFields()); }
    static QStringList texts(const std::array<LQTextField*, 4>& fields) {
        QStringList out;
        for (LQTextField* field : fields)
            out << field->stringValue();
        return out;
    }
    static void type(const std::array<LQTextField*, 4>& fields, const QStringList& values) {
        for (int i = 0; i < 4; ++i)
            fields[size_t(i)]->setStringValue(values[i]);
    }
};

} // namespace

TEST(TrimPanel, IsBuiltHiddenWithItsControlsOffUntilAFileIsLoaded) {
    ShellTestEnvironment environment;
    RecordingHost host;
    QWidget left;
    ViewFrame::setFrame(&left, ViewRect{0, 0, 240, 520});
    TrimPanel panel(host);
    panel.initTrimView(&left);
    EXPECT_TRUE(panel.trimView()->isHidden());
    const ViewRect frame = ViewFrame::frame(panel.trimView());
    EXPECT_EQ(frame.x, 5);
    EXPECT_EQ(frame.width, 230);
    EXPECT_EQ(frame.height, 510);
    for (MOQButton* b : {panel.setStartTrimBtn(), panel.setStopTrimBtn(), panel.playTrimBtn(), panel.resetTrimBtn()})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(panel.preferenceBtn()->count(), 2);
    EXPECT_EQ(panel.preferenceBtn()->itemText(0), QStringLiteral("Keep the selected section"));
    EXPECT_EQ(panel.resetTrimBtn()->contentTitle(), QStringLiteral("Reset"));
    EXPECT_EQ(ViewFrame::frame(panel.resetTrimBtn()).x, 230 - 70);
    EXPECT_EQ(ViewFrame::frame(panel.resetTrimBtn()).y, 510 - 271);
    for (LQTextField* f : panel.startFields())
        EXPECT_EQ(f->stringValue(), QStringLiteral("00"));

    panel.enableEdit(true);
    panel.trimView()->show();
    left.show();
    WindowShots::save(&left, QStringLiteral("editor-trim-panel"));
}

TEST(TrimPanel, MarkInPastTheEndResetsTheEndAndMarkOutBeforeTheStartIsTaken) {
    PanelBench b;
    b.host.current = 30;
    b.panel.setStartTrimBtnTouchUp();
    EXPECT_EQ(b.startTexts(), QStringList({"00", "00", "30", "00"}));
    EXPECT_EQ(b.stopTexts(), QStringList({"00", "01", "00", "00"})) << "the end shows the whole length";
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 60e6);
    EXPECT_FLOAT_EQ(b.host.bar->lowerValue(), 0.5f);
    EXPECT_FLOAT_EQ(b.host.bar->upperValue(), 1.0f);
    EXPECT_FLOAT_EQ(b.host.bar->progress(), 0.5f);
    EXPECT_TRUE(b.host.calls.isEmpty()) << "mark-in does not move the player";

    b.host.current = 12;
    b.panel.setStopTrimBtnTouchUp();
    EXPECT_EQ(b.stopTexts(), QStringList({"00", "00", "12", "00"}));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 12e6);

    // Start then refuses to export this range: the copy keeps the end before the start.
    EditExportSettings settings;
    b.panel.takeTrim(settings);
    EXPECT_EQ(settings.cutStartUs, 30000000);
    EXPECT_EQ(settings.cutStopUs, 12000000);

    b.panel.resetTrimBtnTouchUp();
    EXPECT_EQ(b.startTexts(), QStringList({"00", "00", "00", "00"}));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_start(), 0);
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 60e6);
    EXPECT_FLOAT_EQ(b.host.bar->lowerValue(), 0.0f);
}

TEST(TrimPanel, TypedTimesAreCheckedAndMoveTheirHandle) {
    PanelBench b;
    PanelBench::type(b.panel.startFields(), {"00", "00", "25", "00"});
    EXPECT_FALSE(b.panel.controlTextShouldEndEditing(b.panel.startFields()[2]));
    EXPECT_EQ(b.host.alerts, QStringList{"TrimStartNotBeforeEndMessage"});
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_start(), 10e6) << "a refused value is not taken";

    PanelBench::type(b.panel.startFields(), {"00", "00", "15", "00"});
    EXPECT_TRUE(b.panel.controlTextShouldEndEditing(b.panel.startFields()[2]));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_start(), 15e6);
    EXPECT_FLOAT_EQ(b.host.bar->lowerValue(), 0.25f);

    PanelBench::type(b.panel.stopFields(), {"00", "00", "15", "00"});
    EXPECT_FALSE(b.panel.controlTextShouldEndEditing(b.panel.stopFields()[0]));
    EXPECT_EQ(b.host.alerts.last(), QStringLiteral("TrimEndNotAfterStartMessage"));
    PanelBench::type(b.panel.stopFields(), {"00", "00", "45", "00"});
    EXPECT_TRUE(b.panel.controlTextShouldEndEditing(b.panel.stopFields()[0]));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 45e6);
    EXPECT_FLOAT_EQ(b.host.bar->upperValue(), 0.75f);
    EXPECT_TRUE(b.host.calls.isEmpty()) << "typing moves neither the player nor the playhead";
}

TEST(TrimPanel, AClickedFieldTakesItsStepperWhichWritesOnlyWhileTheRangeIsValid) {
    PanelBench b;
    LQTextField* hundredths = b.panel.stopFields()[3];
    hundredths->setStringValue(QStringLiteral("40"));
    b.panel.actionMouseDownForTextFieldBlock(hundredths);
    EXPECT_EQ(b.panel.edittingField(), hundredths);
    EXPECT_EQ(b.panel.stopStepper()->maximum(), 99);
    EXPECT_EQ(b.panel.stopStepper()->value(), 40);
    b.panel.stopStepper()->stepUp();
    EXPECT_EQ(hundredths->stringValue(), QStringLiteral("41"));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 20.41e6);

    LQTextField* seconds = b.panel.startFields()[2];
    b.panel.actionMouseDownForTextFieldBlock(seconds);
    EXPECT_EQ(b.panel.startStepper()->maximum(), 59);
    EXPECT_EQ(b.panel.startStepper()->value(), 10);
    // An end before the start: the stepper's value goes nowhere, the fields are only read again.
    PanelBench::type(b.panel.stopFields(), {"00", "00", "05", "00"});
    b.panel.startStepper()->stepUp();
    EXPECT_EQ(seconds->stringValue(), QStringLiteral("10"));
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 5e6);
}

TEST(TrimPanel, KeepOrDeleteSetsTheBarAndRestartsThePreviewWhereTheChoiceBegins) {
    PanelBench b;
    b.panel.actionPreferencesBtn(1);
    EXPECT_TRUE(b.host.bar->isFanxuan());
    EXPECT_EQ(b.host.calls, QStringList({"play", "seek 0"}));
    EXPECT_FLOAT_EQ(b.host.bar->progress(), 0.0f);
    EditExportSettings settings;
    b.panel.takeTrim(settings);
    EXPECT_TRUE(settings.trimInverted);
    EXPECT_EQ(settings.cutStartUs, 10000000);
    EXPECT_EQ(settings.cutStopUs, 20000000);

    b.host.calls.clear();
    b.panel.actionPreferencesBtn(0);
    EXPECT_FALSE(b.host.bar->isFanxuan());
    ASSERT_EQ(b.host.calls.size(), 2);
    EXPECT_EQ(b.host.calls[0], QStringLiteral("play"));
    EXPECT_NEAR(b.host.calls[1].mid(5).toDouble(), 10.0, 1e-4);
    EXPECT_FLOAT_EQ(b.host.bar->progress(), b.host.bar->lowerValue());
}

TEST(TrimPanel, TheBarsReportsSeekPauseAndResumeAndAHandleDragShowsItsEnd) {
    PanelBench b;
    b.panel.actionMouseMovedForCutProgressViewBlock(b.host.bar.get(), 0.25f, 0.5f, 2);
    EXPECT_EQ(b.stopTexts(), QStringList({"00", "00", "30", "00"}));
    EXPECT_EQ(b.startTexts(), QStringList({"00", "00", "10", "00"})) << "only the dragged end's fields";
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_start(), 15e6);
    EXPECT_DOUBLE_EQ(b.panel.cutTimeRange_stop(), 30e6);
    EXPECT_EQ(b.host.calls, QStringList{"seek 30"});

    b.host.calls.clear();
    b.host.playing = true;
    b.panel.actionMouseDownForCutProgressViewBlock(b.host.bar.get(), 0.5f);
    b.panel.actionMouseUpForCutProgressViewBlock(b.host.bar.get(), 0.5f);
    EXPECT_EQ(b.host.calls, QStringList({"pause", "hold", "seek 30", "play"}));

    b.host.calls.clear();
    b.host.playing = false;
    b.panel.actionSeekToTimeForCutProgressViewBlock(b.host.bar.get(), 0.75f);
    LQCutProgressView other(ViewRect{0, 0, 100, 20});
    b.panel.actionSeekToTimeForCutProgressViewBlock(&other, 0.1f);
    b.panel.actionMouseMovedForCutProgressViewBlock(&other, 0.1f, 0.2f, 1);
    EXPECT_EQ(b.host.calls, QStringList{"seek 45"}) << "another slider's reports are not the trim bar's";
}

namespace {

// A window that owns its panel the usual way: as a child, destroyed after the window's own parts.
class OwningHost : public QObject, public RecordingHost {
public:
    OwningHost() {
        ViewFrame::setFrame(&left, ViewRect{0, 0, 240, 520});
        panel = new TrimPanel(*this, this);
        panel->initTrimView(&left);
        bar->setDelegate(panel);
    }
    ~OwningHost() override { bar->setDelegate(nullptr); }
    QWidget left;
    TrimPanel* panel = nullptr;
};

} // namespace

TEST(TrimPanel, APanelOwnedByItsHostGoesWithItWithoutCallingIt) {
    ShellTestEnvironment environment;
    auto host = std::make_unique<OwningHost>();
    host->panel->enableEdit(true);
    QPointer<TrimPanel> panel(host->panel);
    host.reset(); // the panel is deleted after the host's own members: it must not call the host then
    EXPECT_TRUE(panel.isNull());
}
