#include "ImageLayerView.h"
#include "LQButton.h"
#include "LQButtonDelegate.h"
#include "LQCropTmpView.h"
#include "LQCustomButton.h"
#include "LQCustomButtonDelegate.h"
#include "LQRadioButton.h"
#include "LQRadioButtonDelegate.h"
#include "LQSwitchButton.h"
#include "LQSwitchButtonDelegate.h"
#include "LQTitleButton.h"
#include "LabelField.h"
#include "MOQImageView.h"
#include "MOQScrollView.h"
#include "MOQView.h"
#include "MergeButton.h"
#include "WidgetHost.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPushButton>
#include <QRadioButton>

namespace {

QImage solid(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

TEST(MOQImageView, ImageHangsFromTheTopEdgeAndPressShowsTheDownImage) {
    WidgetHost host;
    auto* view = new MOQImageView(ViewRect{0, 0, 40, 20}, host.window());
    view->setBackGroundColor(Qt::white);
    view->setNormalImage(solid(60, 10, Qt::red));
    view->show();
    QImage shot = view->grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 2), QColor(Qt::red)) << "top rows carry the image";
    EXPECT_EQ(shot.pixelColor(20, 17), QColor(Qt::white)) << "the image is not centred vertically";
    EXPECT_EQ(shot.pixelColor(0, 2), QColor(Qt::red)) << "a wider image is cropped on both sides";

    WidgetHost::press(view, 20, 10);
    shot = view->grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 2), QColor(Qt::red)) << "without a down image a press changes nothing";
    WidgetHost::release(view, 20, 10);
    view->setDownImage(solid(10, 10, Qt::blue));
    WidgetHost::press(view, 20, 10);
    EXPECT_TRUE(view->isPressed());
    shot = view->grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 2), QColor(Qt::blue));
    WidgetHost::release(view, 20, 10);
    EXPECT_FALSE(view->isPressed());
}

TEST(MOQImageView, DragMovesSidewaysWithinTheParent) {
    WidgetHost host;
    auto* parent = new QWidget(host.window());
    ViewFrame::setFrame(parent, ViewRect{0, 0, 300, 100});
    parent->show();
    auto* marker = new MOQImageView(ViewRect{100, 40, 20, 20}, parent);
    marker->show();
    int calls = 0;
    WidgetHost::press(marker, 10, 10);
    WidgetHost::drag(marker, 50, 10);
    EXPECT_EQ(ViewFrame::frame(marker).x, 100) << "without a closure the view does not move";
    marker->setMouseDraggedBlock([&calls](MOQImageView*) { ++calls; });
    WidgetHost::drag(marker, 50, 10);
    EXPECT_DOUBLE_EQ(ViewFrame::frame(marker).x, 150) << "the left edge jumps to the pointer";
    EXPECT_EQ(ViewFrame::frame(marker).y, 40);
    WidgetHost::drag(marker, -500, 10);
    EXPECT_EQ(ViewFrame::frame(marker).x, 0);
    WidgetHost::drag(marker, 1000, 10);
    EXPECT_EQ(ViewFrame::frame(marker).x, 280);
    WidgetHost::release(marker, 1000, 10);
    EXPECT_EQ(calls, 3);
    marker->setEnabled(false);
    WidgetHost::press(marker, 10, 10);
    WidgetHost::drag(marker, -100, 10);
    EXPECT_EQ(ViewFrame::frame(marker).x, 280) << "a disabled view does not move";
}

TEST(MOQImageView, NilBorderColourKeepsTheLayerColour) {
    MOQImageView view(ViewRect{0, 0, 20, 20}, nullptr);
    view.setBordColor(Qt::red);
    view.setBorderWidth(2);
    view.grab();
    view.setBordColor(QColor());
    view.grab();
    EXPECT_EQ(view.layer().borderColor, QColor(Qt::red));
    EXPECT_EQ(view.layer().borderWidth, 2);
}

TEST(MOQView, FillsWithRoundedCornersAndBorder) {
    MOQView view(ViewRect{0, 0, 40, 40}, nullptr);
    view.setBackGroundColor(Qt::blue);
    view.setCornerRadius(10);
    view.setBordColor(Qt::red);
    view.setBorderWidth(2);
    const QImage shot = view.grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(20, 0), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(0, 0), QColor(Qt::blue)) << "the corner is cut";
}

TEST(MOQScrollView, KeepsItsFlag) {
    MOQScrollView scroll;
    EXPECT_FALSE(scroll.enable());
    scroll.setEnable(true);
    EXPECT_TRUE(scroll.enable());
}

TEST(LQCropTmpView, FillsOnlyWithAColourAndAtTheNextRedraw) {
    QWidget back;
    back.resize(20, 20);
    back.setAutoFillBackground(true);
    QPalette p = back.palette();
    p.setColor(QPalette::Window, Qt::white);
    back.setPalette(p);
    auto* shade = new LQCropTmpView(&back);
    shade->resize(20, 20);
    EXPECT_EQ(back.grab().toImage().pixelColor(10, 10), QColor(Qt::white));
    shade->setBackgroundColor(QColor(0, 0, 0, 128));
    const QColor half = back.grab().toImage().pixelColor(10, 10);
    EXPECT_NEAR(half.red(), 127, 2) << "half-transparent black over white";
}

class TileRecorder : public LQCustomButtonDelegate {
public:
    int clicks = 0;
    void actionMouseUpForCustomButtonBlock(LQCustomButton*) override { ++clicks; }
};

TEST(LQCustomButton, ClickOnPressWithoutAPressedImageOnReleaseWithOne) {
    WidgetHost host;
    auto* tile = new LQCustomButton(ViewRect{10, 10, 100, 80}, host.window());
    tile->show();
    TileRecorder d;
    tile->setDelegate(&d);
    WidgetHost::press(tile, 50, 40);
    EXPECT_EQ(d.clicks, 1);
    WidgetHost::release(tile, 50, 40);
    EXPECT_EQ(d.clicks, 1) << "no second report on the release";

    const QImage pressed = solid(4, 4, Qt::darkBlue);
    tile->setHightideBackImage(pressed);
    WidgetHost::press(tile, 50, 40);
    EXPECT_EQ(d.clicks, 1);
    EXPECT_EQ(tile->backView()->image(), pressed);
    WidgetHost::release(tile, 50, 40);
    EXPECT_EQ(d.clicks, 2);
    EXPECT_EQ(tile->backView()->image(), pressed) << "kept until the next setSelected";
    tile->setSelected(false);
    EXPECT_TRUE(tile->backView()->image().isNull());
}

TEST(LQCustomButton, LooksAndDefaultColours) {
    WidgetHost host;
    auto* tile = new LQCustomButton(ViewRect{10, 10, 100, 80}, host.window());
    TileRecorder d;
    tile->setDelegate(&d);
    tile->setSelected(false);
    EXPECT_EQ(tile->title(), "  ");
    EXPECT_EQ(tile->normalTitleColor(), QColor::fromRgbF(0.828f, 0.828f, 0.828f));
    EXPECT_FALSE(tile->selectedTitleColor().isValid());
    tile->setSelected(true);
    EXPECT_EQ(tile->selectedTitleColor(), QColor::fromRgbF(0.404f, 0.756f, 1.0f));
    tile->setSelected(false);
    EXPECT_EQ(tile->normalTitleColor(), QColor::fromRgbF(0.828f, 0.828f, 0.828f)) << "defaults stay stored";

    const QImage disabledBack = solid(4, 4, Qt::gray);
    tile->setDisableBackImage(disabledBack);
    tile->setNormalImage(solid(4, 4, Qt::green));
    tile->setSelected(false);
    tile->setEnabled(false);
    EXPECT_FALSE(tile->backView()->image() == disabledBack) << "setEnabled alone changes nothing visible";
    tile->setSelected(false);
    EXPECT_EQ(tile->backView()->image(), disabledBack);
    EXPECT_TRUE(tile->imageView()->image().isNull()) << "no disabled icon: the layer is cleared";
    EXPECT_TRUE(tile->disableTitleColor().isValid());
    tile->show();
    WidgetHost::click(tile, 50, 40);
    EXPECT_EQ(d.clicks, 0);
}

TEST(LabelField, DrawsInItsColourInsideAnyParent) {
    // A label inside a button takes the button's text role as its foreground; its colour holds there too, and in
    // a disabled parent.
    QWidget plain;
    QPushButton button;
    for (QWidget* parent : {&plain, static_cast<QWidget*>(&button)}) {
        for (const bool enabled : {true, false}) {
            parent->setEnabled(enabled);
            auto* label = new LabelField(parent);
            label->setGeometry(0, 0, 60, 20);
            label->setText(QStringLiteral("███"));
            label->setTextColor(Qt::red);
            QImage shot(label->size(), QImage::Format_ARGB32);
            shot.fill(Qt::white);
            label->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
            int red = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    red += shot.pixelColor(x, y) == QColor(Qt::red);
            EXPECT_GT(red, 20) << parent->metaObject()->className() << (enabled ? " enabled" : " disabled");
            delete label;
        }
    }
}

TEST(LQCustomButton, CaptionDrawsWhole) {
    // The caption is laid in a box measured in the font it is drawn in, so none of its ink is cut off.
    const QString text = QStringLiteral("Video");
    for (const int size : {12, 16, 20}) {
        LQCustomButton tile(ViewRect{0, 0, 120, 40}, nullptr);
        tile.setFontsize(size);
        tile.setTitle(text);
        tile.setNormalTitleColor(Qt::white);
        tile.setSelected(false);
        LQTitleButton* caption = tile.titleBtn();
        QImage shot(caption->size(), QImage::Format_ARGB32);
        shot.fill(Qt::black);
        caption->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
        int left = shot.width(), right = -1;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) > 96) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        const double inkWidth = QFontMetricsF(caption->attributedStringTitle()->font).tightBoundingRect(text).width();
        EXPECT_EQ(caption->attributedStringTitle()->font.pixelSize(), size);
        EXPECT_GE(right - left + 1, inkWidth - 2) << size << " px";
    }
}

TEST(LQCustomButton, CellTextPositionsPlaceTheIcon) {
    LQCustomButton tile(ViewRect{0, 0, 100, 40}, nullptr);
    struct Case {
        unsigned long long position;
        ViewRect icon;
    };
    const Case cases[] = {
        {0, {60, 0, 40, 40}}, {1, {0, 0, 40, 40}}, {2, {0, 0, 100, 25}}, {3, {0, 18, 100, 25}}, {4, {0, 0, 100, 40}}};
    for (const Case& c : cases) {
        tile.setCellTextPosition(c.position);
        EXPECT_EQ(tile.imageView()->frame(), c.icon) << c.position;
    }
    tile.setCellTextPosition(5);
    EXPECT_EQ(tile.cellTextPosition(), 5u);
    EXPECT_EQ(tile.imageView()->frame(), (ViewRect{0, 0, 100, 40})) << "5 moves nothing";
}

class ClickCounter : public LQButtonDelegate, public LQRadioButtonDelegate, public LQSwitchButtonDelegate {
public:
    int clicks = 0;
    void actionMouseUpForLQButtonBlock(LQButton*) override { ++clicks; }
    void actionMouseUpForLQRadioButtonBlock(LQRadioButton*) override { ++clicks; }
    void actionMouseUpForSwitchButtonBlock(LQSwitchButton*) override { ++clicks; }
};

TEST(LQButton, PressShowsThePressedLookAndEveryClickSelectsAndReports) {
    WidgetHost host;
    auto* button = new LQButton(ViewRect{10, 10, 100, 30}, host.window());
    button->show();
    ClickCounter d;
    button->setDelegate(&d);
    EXPECT_EQ(button->titleLabel()->text(), "title");
    EXPECT_EQ(button->titleLabel()->textColor(), QColor(Qt::white));
    WidgetHost::press(button, 50, 15);
    EXPECT_EQ(button->backgroundView()->image(), button->heightBackImage());
    WidgetHost::release(button, 50, 15);
    EXPECT_EQ(button->backgroundView()->image(), button->backImage());
    EXPECT_TRUE(button->selected());
    EXPECT_EQ(button->titleLabel()->textColor(), QColor(255, 81, 0));
    WidgetHost::click(button, 50, 15);
    EXPECT_EQ(d.clicks, 2);
    button->setEnabled(false);
    WidgetHost::click(button, 50, 15);
    EXPECT_EQ(d.clicks, 2);
}

TEST(LQRadioButton, SelectsItselfAndReportsEveryClick) {
    WidgetHost host;
    auto* radio = new LQRadioButton(ViewRect{10, 10, 120, 30}, host.window());
    radio->show();
    ClickCounter d;
    radio->setDelegate(&d);
    EXPECT_FALSE(radio->iconView()->isChecked());
    EXPECT_EQ(radio->titleLabel()->text(), "title");
    EXPECT_EQ(radio->titleLabel()->textColor(), QColor(Qt::black));
    WidgetHost::click(radio, 80, 15);
    EXPECT_TRUE(radio->selected());
    EXPECT_TRUE(radio->iconView()->isChecked());
    WidgetHost::click(radio, 80, 15);
    EXPECT_EQ(d.clicks, 2) << "a selected radio button reports again";
    QTest::mouseClick(radio->iconView(), Qt::LeftButton);
    EXPECT_EQ(d.clicks, 3) << "a click on the circle itself";
    EXPECT_TRUE(radio->iconView()->isChecked());

    radio->setDisabledColor(Qt::gray);
    radio->setEnabled(false);
    EXPECT_TRUE(radio->iconView()->isChecked()) << "a disabled radio keeps its circle";
    EXPECT_EQ(radio->titleLabel()->textColor(), QColor(Qt::gray));
    WidgetHost::click(radio, 80, 15);
    EXPECT_EQ(d.clicks, 3);
}

TEST(LQSwitchButton, FlipsOnEveryRelease) {
    WidgetHost host;
    auto* toggle = new LQSwitchButton(ViewRect{10, 10, 120, 30}, host.window());
    toggle->show();
    ClickCounter d;
    toggle->setDelegate(&d);
    const QImage off = solid(4, 4, Qt::gray);
    const QImage held = solid(4, 4, Qt::yellow);
    const QImage on = solid(4, 4, Qt::green);
    toggle->setNormalImage(off);
    toggle->setHeightedImage(held);
    toggle->setSelectedImage(on);
    WidgetHost::press(toggle, 15, 15);
    EXPECT_EQ(toggle->imageView()->image(), held);
    WidgetHost::release(toggle, 15, 15);
    EXPECT_TRUE(toggle->selected());
    EXPECT_EQ(toggle->imageView()->image(), on);
    EXPECT_TRUE(toggle->titleLabel()->text().isEmpty()) << "an empty title changes only the image";
    WidgetHost::click(toggle, 15, 15);
    EXPECT_FALSE(toggle->selected());
    EXPECT_EQ(toggle->imageView()->image(), off);
    EXPECT_EQ(d.clicks, 2);
}

TEST(MergeButton, OnlySetselectedMovesTheKnob) {
    MergeButton merge(ViewRect{0, 0, 60, 20}, nullptr);
    merge.setSelected(true);
    EXPECT_EQ(merge.knobView()->frame(), (ViewRect{0, 0, 30, 20}));
    merge.setselected(true);
    EXPECT_EQ(merge.knobView()->frame(), (ViewRect{30, 0, 30, 20}));
    merge.setselected(false);
    EXPECT_EQ(merge.knobView()->frame(), (ViewRect{0, 0, 30, 20}));
}

} // namespace
