#include "CutItemView.h"
#include "ViewFrame.h"
#include "support/PaintCounter.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A white picture for the tile at rest, a blue one for the selected tile.
void giveBackgrounds(CutItemView* tile) {
    QImage normal(8, 8, QImage::Format_ARGB32);
    normal.fill(Qt::white);
    QImage chosen(8, 8, QImage::Format_ARGB32);
    chosen.fill(Qt::blue);
    tile->setNbackGroundImage(normal);
    tile->setSbackGroundImage(chosen);
}

} // namespace

TEST(CutItemView, ShowsItsSegmentAndReportsHoverOnlyWhileEnabled) {
    QWidget host;
    host.resize(300, 300);
    auto* tile = new CutItemView(ViewRect{20, 20, 140, 120}, &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(ViewFrame::frame(tile->backView()), (ViewRect{0, 0, 140, 100}));
    EXPECT_EQ(ViewFrame::frame(tile->iconView()), (ViewRect{10, 10, 120, 67.5}));
    EXPECT_EQ(ViewFrame::frame(tile->titleField()), (ViewRect{0, 83, 140, 12}));

    struct Case {
        float start;
        float end;
        QString title;
    };
    for (const Case& c : {Case{0, 10, "00:00:00.00-00:00:10.00"}, Case{5.25f, 70.5f, "00:00:05.25-00:01:10.50"}}) {
        auto item = std::make_shared<CutItem>();
        item->setStartTime(c.start);
        item->setEndTime(c.end);
        tile->setItem(item);
        EXPECT_EQ(tile->title(), c.title);
        EXPECT_TRUE(tile->iconView()->pixmap().isNull()) << "a segment without a picture clears the icon";
    }

    // Selected without a selected fill colour: only the selected picture changes.
    giveBackgrounds(tile);
    tile->setSelected(true);
    EXPECT_EQ(tile->backView()->pixmap().toImage().pixelColor(0, 0), QColor(Qt::blue));
    tile->setSelected(false);
    EXPECT_EQ(tile->backView()->pixmap().toImage().pixelColor(0, 0), QColor(Qt::white));

    int entered = 0;
    int exited = 0;
    tile->setMouseEntered([&](CutItemView* t, ViewPoint) {
        EXPECT_EQ(t, tile);
        ++entered;
    });
    tile->setMouseExited([&](CutItemView*, ViewPoint) { ++exited; });
    QTest::mouseMove(tile, tile->rect().center());
    QTest::mouseMove(&host, QPoint(290, 290));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(exited, 1);
    tile->setEnabled(false);
    QTest::mouseMove(tile, tile->rect().center());
    QTest::mouseMove(&host, QPoint(290, 290));
    EXPECT_EQ(entered, 1) << "a disabled tile reports no hover";
    EXPECT_EQ(exited, 1);

    int clicks = 0;
    tile->setEnabled(true);
    tile->setAction([&](CutItemView*) { ++clicks; });
    QTest::mouseClick(tile, Qt::LeftButton, {}, tile->rect().center());
    EXPECT_EQ(clicks, 1);
}

TEST(CutItemView, AnIdleTileDoesNotRepaint) {
    QWidget host;
    host.resize(300, 300);
    auto* tile = new CutItemView(ViewRect{20, 20, 140, 120}, &host);
    giveBackgrounds(tile);
    auto item = std::make_shared<CutItem>();
    item->setEndTime(2);
    tile->setItem(item);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(tile->backView()->pixmap().toImage().pixelColor(0, 0), QColor(Qt::white)) << "the picture shows";
    PaintCounter counter;
    counter.watch(&host);
    counter.settle();
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0) << "an idle tile paints nothing";

    // A selection still shows at once, with a bounded number of paints, and then the tile rests again.
    tile->setSelected(true);
    QTest::qWait(100);
    EXPECT_GT(counter.paints, 0);
    EXPECT_LT(counter.paints, 10);
    EXPECT_EQ(tile->backView()->pixmap().toImage().pixelColor(0, 0), QColor(Qt::blue));
    counter.settle();
    QTest::qWait(300);
    EXPECT_EQ(counter.paints, 0);
}
