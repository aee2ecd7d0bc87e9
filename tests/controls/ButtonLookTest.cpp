#include "ButtonLook.h"

#include <gtest/gtest.h>

namespace {

using Slot = ButtonLook::Slot;

TEST(ButtonLook, ChoosesTheSlotForEveryState) {
    struct Case {
        bool enabled, over, pressed, selected;
        Slot expected;
    };
    const Case cases[] = {
        {false, false, false, false, ButtonLook::Disabled}, {false, true, true, true, ButtonLook::Disabled},
        {false, true, false, true, ButtonLook::Disabled},   {true, true, true, false, ButtonLook::Down},
        {true, true, true, true, ButtonLook::Down},         {true, true, false, false, ButtonLook::On},
        {true, true, false, true, ButtonLook::Selected},    {true, false, true, true, ButtonLook::Selected},
        {true, false, false, true, ButtonLook::Selected},   {true, false, true, false, ButtonLook::Down},
        {true, false, false, false, ButtonLook::Normal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ButtonLook::choose(c.enabled, c.over, c.pressed, c.selected), c.expected)
            << c.enabled << c.over << c.pressed << c.selected;
}

TEST(ButtonLook, ImageFallsBackToSelectedThenNormal) {
    // Only a normal and a selected image, as the check boxes have.
    const std::array<bool, ButtonLook::SlotCount> checkBox{true, false, false, true, false};
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::On, true, checkBox), ButtonLook::Selected);
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::On, false, checkBox), ButtonLook::Normal);
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::Disabled, true, checkBox), ButtonLook::Selected);
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::Down, false, checkBox), ButtonLook::Normal);

    const std::array<bool, ButtonLook::SlotCount> onlySelected{false, false, false, true, false};
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::Normal, false, onlySelected), std::nullopt);
    const std::array<bool, ButtonLook::SlotCount> none{};
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::Selected, true, none), std::nullopt);
    const std::array<bool, ButtonLook::SlotCount> all{true, true, true, true, true};
    EXPECT_EQ(ButtonLook::imageSlot(ButtonLook::Disabled, true, all), ButtonLook::Disabled);
}

TEST(ButtonLook, PlacesImageAndTitle) {
    struct Case {
        const char* name;
        ButtonLook::Input in;
        ViewPoint title;
        std::optional<ViewPoint> image;
    };
    // W 100, H 30, image 20 x 10, title 40 x 16.
    auto withImage = [](long long position) {
        ButtonLook::Input in;
        in.width = 100;
        in.height = 30;
        in.hasImage = true;
        in.imageWidth = 20;
        in.imageHeight = 10;
        in.titleWidth = 40;
        in.titleHeight = 16;
        in.contentImagePosition = position;
        return in;
    };
    auto titleOnly = [](bool hasPosition, double left, double right) {
        ButtonLook::Input in;
        in.width = 100;
        in.height = 30;
        in.titleWidth = 40;
        in.titleHeight = 16;
        in.hasTitlePosition = hasPosition;
        in.insetLeft = left;
        in.insetRight = right;
        return in;
    };
    ButtonLook::Input imageOnly = withImage(0);
    imageOnly.titleWidth = 0;
    imageOnly.titleHeight = 0;
    const Case cases[] = {
        {"centred group", withImage(0), {40, 7}, ViewPoint{20, 10}},
        {"unknown position centres too", withImage(7), {40, 7}, ViewPoint{20, 10}},
        {"image at the left edge", withImage(1), {20, 7}, ViewPoint{0, 10}},
        {"image at the right edge", withImage(2), {20, 7}, ViewPoint{80, 10}},
        {"image alone is centred", imageOnly, {60, 15}, ViewPoint{40, 10}},
        {"title centred", titleOnly(false, 0, 0), {30, 7}, std::nullopt},
        {"left inset", titleOnly(true, 12, 0), {12, 7}, std::nullopt},
        {"right inset ends 12 from the edge", titleOnly(true, 0, 12), {48, 7}, std::nullopt},
        {"zero insets start at the measured x", titleOnly(true, 0, 0), {0, 7}, std::nullopt},
    };
    for (const Case& c : cases) {
        const ButtonLook::Placement p = ButtonLook::place(c.in);
        EXPECT_EQ(p.title, c.title) << c.name;
        EXPECT_EQ(p.image, c.image) << c.name;
    }
}

} // namespace
