#include "MOQButton.h"
#include "MOQPosition.h"
#include "WidgetHost.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>

#include <vector>

namespace {

QImage solid(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

struct Recorder {
    std::vector<std::string> events;
    void attach(MOQButton* b) {
        b->setMouseEntered([this](MOQButton*) { events.push_back("entered"); });
        b->setMouseExited([this](MOQButton*) { events.push_back("exited"); });
        b->setMouseDownAction([this](MOQButton*) { events.push_back("click"); });
    }
};

TEST(MOQButton, ClickReportsOnReleaseWithHoverLooks) {
    WidgetHost host;
    auto* b = new MOQButton(ViewRect{10, 10, 80, 30}, host.window());
    b->show();
    Recorder r;
    r.attach(b);
    WidgetHost::hover(b, 40, 15);
    EXPECT_TRUE(b->isPointerOver());
    EXPECT_EQ(b->currentLook(), ButtonLook::On);
    WidgetHost::press(b, 40, 15);
    EXPECT_EQ(b->currentLook(), ButtonLook::Down);
    EXPECT_EQ(r.events, (std::vector<std::string>{"entered"})) << "nothing is reported on the press";
    WidgetHost::release(b, 40, 15);
    EXPECT_EQ(b->currentLook(), ButtonLook::On);
    host.moveAway();
    EXPECT_EQ(b->currentLook(), ButtonLook::Normal);
    EXPECT_EQ(r.events, (std::vector<std::string>{"entered", "click", "exited"}));
}

TEST(MOQButton, ASelectedButtonKeepsItsLookUnderThePointer) {
    // A play button: selected means playing and shows the pause picture, also right after the click on it.
    WidgetHost host;
    auto* b = new MOQButton(ViewRect{10, 10, 32, 32}, host.window());
    QImage play(32, 32, QImage::Format_ARGB32);
    play.fill(Qt::green);
    QImage pause(32, 32, QImage::Format_ARGB32);
    pause.fill(Qt::red);
    b->setNormalImage(play);
    b->setOnImage(play);
    b->setSelectedImage(pause);
    b->setMouseDownAction([](MOQButton* button) { button->setSelected(!button->selected()); });
    b->show();
    WidgetHost::hover(b, 16, 16);
    WidgetHost::press(b, 16, 16);
    WidgetHost::release(b, 16, 16);
    ASSERT_TRUE(b->selected());
    EXPECT_EQ(b->currentLook(), ButtonLook::Selected);
    EXPECT_EQ(b->grab().toImage().pixelColor(16, 16), QColor(Qt::red)) << "pause shows under the pointer";
    WidgetHost::press(b, 16, 16);
    WidgetHost::release(b, 16, 16);
    EXPECT_FALSE(b->selected());
    EXPECT_EQ(b->currentLook(), ButtonLook::On);
}

TEST(MOQButton, DraggingOffTheButtonDisarmsTheClick) {
    WidgetHost host;
    auto* b = new MOQButton(ViewRect{10, 10, 80, 30}, host.window());
    b->show();
    Recorder r;
    r.attach(b);
    WidgetHost::press(b, 40, 15);
    WidgetHost::drag(b, 200, 15);
    EXPECT_FALSE(b->isPointerOver());
    WidgetHost::release(b, 200, 15);
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "click"), 0);

    // Coming back before the release re-arms it, whatever the release position.
    r.events.clear();
    WidgetHost::press(b, 40, 15);
    WidgetHost::drag(b, 200, 15);
    WidgetHost::drag(b, 40, 15);
    WidgetHost::release(b, 40, 15);
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "click"), 1);
}

TEST(MOQButton, DisabledButtonCallsNothingButTracksThePointer) {
    WidgetHost host;
    auto* b = new MOQButton(ViewRect{10, 10, 80, 30}, host.window());
    b->show();
    Recorder r;
    r.attach(b);
    b->setEnabled(false);
    WidgetHost::hover(b, 40, 15);
    EXPECT_TRUE(b->isPointerOver());
    EXPECT_EQ(b->currentLook(), ButtonLook::Disabled);
    WidgetHost::click(b, 40, 15);
    host.moveAway();
    EXPECT_FALSE(b->isPointerOver());
    EXPECT_TRUE(r.events.empty());
}

TEST(MOQButton, HitAreaFollowsTheLiveBounds) {
    WidgetHost host;
    auto* b = new MOQButton(ViewRect{10, 10, 20, 20}, host.window());
    b->show();
    Recorder r;
    r.attach(b);
    ViewFrame::setFrame(b, ViewRect{10, 10, 200, 20});
    WidgetHost::click(b, 180, 10);
    EXPECT_EQ(std::count(r.events.begin(), r.events.end(), "click"), 1);
}

TEST(MOQButton, CursorsOfTheLink) {
    WidgetHost host;
    auto* link = new MOQButton(ViewRect{10, 10, 80, 30}, host.window());
    link->setUnderLine(true);
    link->setContentTitle("link");
    link->show();
    WidgetHost::hover(link, 40, 15);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    host.moveAway();
    EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor);
    link->setEnabled(false);
    WidgetHost::hover(link, 40, 15);
    EXPECT_EQ(link->cursor().shape(), Qt::ForbiddenCursor);
    host.moveAway();
    EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor) << "leaving any button sets the arrow";
}

TEST(MOQButton, FirstDrawnTitleMakesTheColourWhite) {
    MOQButton b(ViewRect{0, 0, 80, 30}, nullptr);
    b.setContentTitle("");
    b.grab();
    EXPECT_FALSE(b.contentColor().isValid()) << "an empty title draws nothing";
    b.setContentTitle("Go");
    b.grab();
    EXPECT_EQ(b.contentColor(), QColor(Qt::white));
    b.setContentColor(Qt::red);
    b.grab();
    EXPECT_EQ(b.contentColor(), QColor(Qt::red));
}

TEST(MOQButton, CornerRadiusZeroLeavesTheLayerAsItWas) {
    MOQButton b(ViewRect{0, 0, 80, 30}, nullptr);
    b.setCornerRadius(6);
    b.setBordColor(Qt::blue);
    b.setBorderWidth(2);
    b.grab();
    EXPECT_TRUE(b.layer().masksToBounds);
    EXPECT_EQ(b.layer().cornerRadius, 6);
    EXPECT_EQ(b.layer().borderWidth, 2);
    b.setCornerRadius(0);
    b.setBorderWidth(5);
    b.grab();
    EXPECT_EQ(b.layer().cornerRadius, 6);
    EXPECT_EQ(b.layer().borderWidth, 2);
    EXPECT_TRUE(b.layer().masksToBounds);
}

TEST(MOQButton, DrawsTheChosenImageAndBackground) {
    MOQButton b(ViewRect{0, 0, 40, 40}, nullptr);
    b.setBordered(false);
    b.setNormalBackgroundImage(solid(4, 4, Qt::blue));
    b.setBackGroundColor(Qt::green);
    b.setNormalImage(solid(10, 10, Qt::red));
    QImage shot = b.grab().toImage();
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(Qt::red)) << "the image at natural size in the centre";
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::blue)) << "the normal background image";
    b.setSelected(true);
    shot = b.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::green)) << "no selected background image: the fill colour";
    EXPECT_EQ(shot.pixelColor(20, 20), QColor(Qt::red)) << "no selected image: the normal image";
    b.setEnabled(false);
    b.setDisAblebackGroundColor(Qt::yellow);
    shot = b.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::yellow));
}

TEST(MOQButton, APictureLargerThanTheButtonIsScaledDownWhole) {
    // A 32 x 32 picture with a 4-pixel blue rim around red, in a 24 x 24 button: the rim shows on all four sides.
    QImage picture = solid(32, 32, Qt::blue);
    for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x)
            picture.setPixelColor(x, y, Qt::red);
    MOQButton b(ViewRect{0, 0, 24, 24}, nullptr);
    b.setBordered(false);
    b.setNormalImage(picture);
    const QImage shot = b.grab().toImage();
    EXPECT_EQ(shot.pixelColor(12, 12), QColor(Qt::red));
    for (const QPoint edge : {QPoint(1, 12), QPoint(22, 12), QPoint(12, 1), QPoint(12, 22)})
        EXPECT_EQ(shot.pixelColor(edge), QColor(Qt::blue)) << edge.x() << "," << edge.y();
}

TEST(MOQButton, TitleInsetPlacesTheTitle) {
    MOQButton b(ViewRect{0, 0, 120, 30}, nullptr);
    b.setBordered(false);
    b.setBackGroundColor(Qt::white);
    b.setContentColor(Qt::black);
    b.setContentTitle("IIII");
    b.setTitlePosition(std::make_shared<MOQPosition>(0, 12, 0, 0));
    const QImage shot = b.grab().toImage();
    int firstDark = -1;
    for (int x = 0; x < shot.width() && firstDark < 0; ++x)
        for (int y = 0; y < shot.height(); ++y)
            if (shot.pixelColor(x, y).lightness() < 128) {
                firstDark = x;
                break;
            }
    EXPECT_GE(firstDark, 12);
    EXPECT_LE(firstDark, 15);
}

} // namespace
