#include "ImageLayerView.h"
#include "LQCutProgressView.h"
#include "LQCutProgressViewDelegate.h"
#include "LQProgressSlider.h"
#include "LQProgressSliderDelegate.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"
#include "WidgetHost.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The names of recorded delegate calls, in order.
template <typename Event> std::vector<std::string> namesOf(const std::vector<Event>& events) {
    std::vector<std::string> out;
    for (const Event& e : events)
        out.push_back(e.name);
    return out;
}

struct SliderEvent {
    std::string name;
    float value;
};

class SliderRecorder : public LQProgressSliderDelegate {
public:
    std::set<Method> missing;
    std::vector<SliderEvent> events;

    bool respondsTo(Method m) const override { return missing.count(m) == 0; }
    void actionMouseUpForProgressSliderBlock(LQProgressSlider*, float v) override { events.push_back({"up", v}); }
    void actionMouseDownForProgressSliderBlock(LQProgressSlider*, float v) override { events.push_back({"down", v}); }
    void actionProgressForProgressSliderBlock(LQProgressSlider*, float v) override {
        events.push_back({"progress", v});
    }
    std::vector<std::string> names() const { return namesOf(events); }
};

// A slider 220 wide and 20 high: the thumb (20 x 20) travels 200 points.
LQProgressSlider* makeSlider(WidgetHost& host) {
    auto* slider = new LQProgressSlider(ViewRect{20, 20, 220, 20}, host.window());
    slider->show();
    return slider;
}

TEST(LQProgressSlider, ClickReportsOldValueThenPointerValue) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    SliderRecorder d;
    slider->setDelegate(&d);
    slider->setProgress(0.25f);
    WidgetHost::click(slider, 110, 10);
    ASSERT_EQ(d.names(), (std::vector<std::string>{"down", "progress", "up"}));
    EXPECT_FLOAT_EQ(d.events[0].value, 0.25f);
    EXPECT_FLOAT_EQ(d.events[1].value, 0.5f);
    EXPECT_FLOAT_EQ(d.events[2].value, 0.5f);
    EXPECT_DOUBLE_EQ(slider->tickMarkView()->frame().x, 100);
}

TEST(LQProgressSlider, DragOffTheEndsReportsZeroAndOne) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    SliderRecorder d;
    slider->setDelegate(&d);
    WidgetHost::press(slider, 110, 10);
    WidgetHost::drag(slider, -80, 10);
    EXPECT_EQ(d.events.back().value, 0.0f);
    WidgetHost::drag(slider, 400, 10);
    EXPECT_EQ(d.events.back().value, 1.0f);
    WidgetHost::release(slider, 400, 10);
    EXPECT_EQ(slider->progress(), 1.0f);
}

TEST(LQProgressSlider, WithoutThePressMethodThePressDoesNotMoveTheThumb) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    SliderRecorder d;
    d.missing = {LQProgressSliderDelegate::Method::MouseDown};
    slider->setDelegate(&d);
    WidgetHost::press(slider, 150, 10);
    EXPECT_TRUE(d.events.empty());
    EXPECT_EQ(slider->progress(), 0.0f);
    WidgetHost::drag(slider, 60, 10);
    WidgetHost::release(slider, 60, 10);
    EXPECT_EQ(d.names(), (std::vector<std::string>{"progress", "up"}));
    EXPECT_FLOAT_EQ(slider->progress(), 0.25f);
}

TEST(LQProgressSlider, DisabledIgnoresThePointerButTakesValuesFromCode) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    SliderRecorder d;
    slider->setDelegate(&d);
    slider->setDisable(true);
    WidgetHost::press(slider, 150, 10);
    WidgetHost::drag(slider, 60, 10);
    WidgetHost::release(slider, 60, 10);
    EXPECT_TRUE(d.events.empty());
    EXPECT_EQ(slider->tickMarkView()->frame().x, 0);
    slider->setProgress(1.5f);
    EXPECT_EQ(slider->progress(), 1.5f);
    EXPECT_DOUBLE_EQ(slider->tickMarkView()->frame().x, 200);
    EXPECT_TRUE(d.events.empty()) << "a value from code reports nothing";
}

TEST(LQProgressSlider, NoDelegateIsFine) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    WidgetHost::press(slider, 150, 10);
    WidgetHost::drag(slider, 60, 10);
    WidgetHost::release(slider, 60, 10);
    EXPECT_FLOAT_EQ(slider->progress(), 0.25f);
}

TEST(LQProgressSlider, WiderFrameKeepsTheFraction) {
    WidgetHost host;
    LQProgressSlider* slider = makeSlider(host);
    slider->setProgress(0.5f);
    slider->setFrame(ViewRect{20, 20, 420, 20});
    EXPECT_DOUBLE_EQ(slider->tickMarkView()->frame().x, 200);
    EXPECT_DOUBLE_EQ(slider->progressTintView()->frame().width, 210);
    EXPECT_DOUBLE_EQ(slider->progressBackView()->frame().width, 420);
}

struct CutEvent {
    std::string name;
    float a = 0, b = 0;
    long long handle = 0;
};

class CutRecorder : public LQCutProgressViewDelegate {
public:
    std::vector<CutEvent> events;
    void actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float v) override { events.push_back({"up", v}); }
    void actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float v) override { events.push_back({"down", v}); }
    void actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float lo, float up, long long h) override {
        events.push_back({"moved", lo, up, h});
    }
    void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float v) override {
        events.push_back({"seek", v});
    }
    std::vector<std::string> names() const { return namesOf(events); }
};

// 218 x 30: the track runs from x 9 to 209.
LQCutProgressView* makeRange(WidgetHost& host) {
    auto* view = new LQCutProgressView(ViewRect{10, 50, 218, 30}, host.window());
    view->setFrame(ViewRect{10, 50, 218, 30});
    view->setLowerValueUpperValue(0.25f, 0.75f);
    view->show();
    return view;
}

TEST(LQCutProgressView, ClickOnTheTrackSeeksThenReportsDownAndUp) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    WidgetHost::click(view, 109, 25);
    ASSERT_EQ(d.names(), (std::vector<std::string>{"seek", "down", "up"}));
    for (const CutEvent& e : d.events)
        EXPECT_FLOAT_EQ(e.a, 0.5f);
}

TEST(LQCutProgressView, HandleDragReportsMovementsWithTheHandle) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    const ViewRect right = view->handRightView()->frame();
    WidgetHost::press(view, right.midX(), 5);
    WidgetHost::drag(view, 190, 5);
    WidgetHost::drag(view, 500, 5);
    WidgetHost::release(view, 500, 5);
    ASSERT_EQ(d.names(), (std::vector<std::string>{"down", "moved", "moved", "up"}));
    EXPECT_EQ(d.events[1].handle, 2);
    EXPECT_FLOAT_EQ(d.events[1].b, (185.5f - 9) / 200);
    EXPECT_EQ(d.events[2].b, 1.0f);
    EXPECT_FLOAT_EQ(d.events[3].a, 1.0f) << "the playhead followed the right handle";
    EXPECT_EQ(view->handleType(), 2);
}

TEST(LQCutProgressView, PlayheadDragSeeksEachStepWithinZeroAndOne) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    WidgetHost::press(view, 3, 25);
    WidgetHost::drag(view, 3, 25);
    WidgetHost::drag(view, 600, 25);
    WidgetHost::release(view, 600, 25);
    ASSERT_EQ(d.names(), (std::vector<std::string>{"seek", "down", "seek", "seek", "up"}));
    EXPECT_LT(d.events[0].a, 0.0f) << "a press left of the track seeks below 0";
    EXPECT_EQ(d.events[2].a, 0.0f);
    EXPECT_EQ(d.events[3].a, 1.0f);
}

TEST(LQCutProgressView, DisabledHidesHandlesAndReportsNothing) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    view->setDisable(true);
    EXPECT_TRUE(view->handLeftView()->isHidden());
    EXPECT_TRUE(view->handRightView()->isHidden());
    EXPECT_FALSE(view->tickMarkView()->isHidden());
    WidgetHost::click(view, 100, 25);
    EXPECT_TRUE(d.events.empty());
    view->setProgress(0.5f);
    EXPECT_NEAR(view->tickMarkView()->frame().x, 0.5 * (218 - 8.5), 1e-9);
}

TEST(LQCutProgressView, HiddenPlayheadStillMovesAndReports) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    view->setTickMark(false);
    EXPECT_TRUE(view->tickMarkView()->isHidden());
    WidgetHost::click(view, 59, 25);
    EXPECT_EQ(d.names(), (std::vector<std::string>{"seek", "down", "up"}));
    EXPECT_NEAR(view->tickMarkView()->frame().midX(), 59, 1e-9);
}

TEST(LQCutProgressView, SkinAndLookChooseTheImages) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    view->setType(1);
    const QImage top = ResourceBundle::imageWithfileName("Cut/imgTop.bmp");
    const QImage back = ResourceBundle::imageWithfileName("Cut/imgBack.bmp");
    ASSERT_FALSE(top.isNull());
    EXPECT_EQ(view->progressBackView()->image(), back);
    EXPECT_EQ(view->progressTintView()->image(), top);
    EXPECT_EQ(view->tickMarkView()->frame().width, 12);
    EXPECT_DOUBLE_EQ(view->tickMarkView()->frame().midY(), view->progressBackView()->frame().midY());
    view->setIsFanxuan(true);
    EXPECT_EQ(view->progressBackView()->image(), top);
    EXPECT_EQ(view->progressTintView()->image(), back);
    EXPECT_EQ(view->handLeftView()->image(), ResourceBundle::imageWithfileName("Resources/edit_trimright_normal.png"));
}

TEST(LQCutProgressView, ValuesFromCodeReportNothing) {
    WidgetHost host;
    LQCutProgressView* view = makeRange(host);
    CutRecorder d;
    view->setDelegate(&d);
    view->setLowerValueUpperValue(0.1f, 0.2f);
    view->setLowerValue(0.15f);
    view->setUpperValue(0.9f);
    view->setProgress(0.3f);
    view->setIsFanxuan(true);
    view->setType(2);
    EXPECT_TRUE(d.events.empty());
}

TEST(NSProgressView, TintFollowsTheFractionWithoutClamping) {
    WidgetHost host;
    auto* bar = new NSProgressView(ViewRect{0, 0, 200, 10}, host.window());
    struct Case {
        float p;
        double width;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 200}, Case{0.25f, 50}, Case{1.5f, 300}}) {
        bar->setProgress(c.p);
        EXPECT_DOUBLE_EQ(bar->progressTintView()->frame().width, c.width) << c.p;
        EXPECT_EQ(bar->progress(), c.p);
    }
    bar->setProgress(0.5f);
    bar->setFrame(ViewRect{0, 0, 400, 20});
    EXPECT_DOUBLE_EQ(bar->progressTintView()->frame().width, 200);
    EXPECT_DOUBLE_EQ(bar->progressTintView()->frame().height, 10) << "the tint keeps its height";
    EXPECT_DOUBLE_EQ(bar->progressBackView()->frame().height, 20);
}

} // namespace
