#include "EffectTableCellView.h"
#include "EffectTableCellViewDelegate.h"
#include "LabelField.h"
#include "WidgetHost.h"
#include "support/PaintCounter.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include <set>
#include <string>
#include <vector>

namespace {

using Method = EffectTableCellViewDelegate::Method;

class RowRecorder : public EffectTableCellViewDelegate {
public:
    std::set<Method> missing;
    std::vector<std::string> events;

    bool respondsTo(Method m) const override { return missing.count(m) == 0; }
    void actionMouseDownForEffectTableCellViewBlock(EffectTableCellView*, long long row) override {
        events.push_back("down " + std::to_string(row));
    }
    void actionSelectedForEffectTableCellViewBlock(EffectTableCellView*, long long row) override {
        events.push_back("check " + std::to_string(row));
    }
    void actionSelectedBlock(EffectTableCellView*, bool state, long long row) override {
        events.push_back(std::string("state ") + (state ? "on " : "off ") + std::to_string(row));
    }
};

EffectTableCellView* makeRow(WidgetHost& host, RowRecorder& d) {
    auto* row = new EffectTableCellView(ViewRect{0, 100, 200, 30}, host.window());
    row->setRow(4);
    row->titleLabel()->setText("Sepia");
    row->setDelegate(&d);
    row->show();
    return row;
}

TEST(EffectTableCellView, ClicksAreReportedAndChangeNothing) {
    WidgetHost host;
    RowRecorder d;
    EffectTableCellView* row = makeRow(host, d);
    QTest::mouseClick(row->checkView(), Qt::LeftButton);
    WidgetHost::click(row, 120, 15);
    EXPECT_EQ(d.events, (std::vector<std::string>{"check 4", "down 4"}));
    EXPECT_FALSE(row->selected()) << "the delegate decides";
    EXPECT_FALSE(row->selectedRow());
}

TEST(EffectTableCellView, WhoHearsTheSetters) {
    struct Case {
        std::set<Method> missing;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        // All three: setSelectedRow reports, selected() does not.
        {{}, {"state on 4"}},
        // Only the state message: selected() reports, setSelectedRow does not.
        {{Method::MouseDown, Method::Selected}, {"state off 4", "state on 4"}},
        // The check-box click without the state message: nothing.
        {{Method::SelectedState}, {}},
    };
    for (const Case& c : cases) {
        WidgetHost host;
        RowRecorder d;
        d.missing = c.missing;
        EffectTableCellView* row = makeRow(host, d);
        row->selected(false);
        row->selected(true);
        row->setSelectedRow(true);
        EXPECT_EQ(d.events, c.heard);
    }
}

TEST(EffectTableCellView, DisabledRowIsGreyAndSilentOnClicksButSettersStillReport) {
    WidgetHost host;
    RowRecorder d;
    EffectTableCellView* row = makeRow(host, d);
    row->setEnable(false);
    EXPECT_EQ(row->titleColor(), QColor(173, 173, 173));
    QTest::mouseClick(row->checkView(), Qt::LeftButton);
    WidgetHost::click(row, 120, 15);
    EXPECT_TRUE(d.events.empty());
    row->setSelectedRow(false);
    EXPECT_EQ(d.events, (std::vector<std::string>{"state off 4"}));
}

TEST(EffectTableCellView, BackgroundAndTitleColours) {
    WidgetHost host;
    RowRecorder d;
    EffectTableCellView* row = makeRow(host, d);
    QImage shot = row->grab().toImage();
    EXPECT_EQ(shot.pixelColor(190, 2), QColor(Qt::white));
    row->setSelectedRow(true);
    shot = row->grab().toImage();
    EXPECT_EQ(shot.pixelColor(190, 2), QColor(33, 176, 235));
    EXPECT_EQ(row->titleColor(), QColor(33, 176, 235));

    row->setRow(EffectTableCellView::NoBackgroundRow);
    host.window()->setStyleSheet("background: rgb(10, 20, 30)");
    shot = host.window()->grab().toImage();
    const QPoint inRow = row->mapTo(host.window(), QPoint(190, 2));
    EXPECT_NE(shot.pixelColor(inRow), QColor(33, 176, 235)) << "row 1000000 draws no background";

    row->setFont(QFont("Sans", 10));
    row->selected(true);
    EXPECT_EQ(row->titleColor(), row->normalColor()) << "a custom font takes the normal colour as highlight";
    EXPECT_EQ(ViewFrame::frame(row->checkView()).x, 0);
}

} // namespace

TEST(EffectTableCellView, AnIdleRowDoesNotRepaint) {
    WidgetHost host;
    RowRecorder d;
    EffectTableCellView* row = makeRow(host, d);
    row->setSelectedRow(true);
    row->selected(true);
    PaintCounter counter;
    counter.watch(row);
    counter.settle();
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0) << "an idle row paints nothing";

    // A plain store still shows at once, with a bounded number of paints.
    row->setSelected(false);
    row->setNormalColor(Qt::red);
    QTest::qWait(100);
    EXPECT_GT(counter.paints, 0);
    EXPECT_LT(counter.paints, 10);
    EXPECT_EQ(row->titleColor(), QColor(33, 176, 235)) << "the highlight colour while the row is highlighted";
    row->setSelectedRow(false);
    EXPECT_EQ(row->titleColor(), QColor(Qt::red));
    counter.settle();
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0);
}
