#include "JoinClipReader.h"

#include <gtest/gtest.h>

using mediacore::JoinClipReader;

TEST(JoinClipReader, FitsPicturesInsideTheOutputKeepingTheirShape) {
    struct Case {
        int width, height;
        AVRational aspect;
        int rotation;
        int boxWidth, boxHeight;
        int fittedWidth, fittedHeight;
    };
    const Case cases[] = {
        {320, 240, {1, 1}, 0, 320, 240, 320, 240},  // the same shape
        {640, 360, {1, 1}, 0, 320, 240, 320, 180},  // 16:9 in 4:3: bars above and below
        {320, 240, {1, 1}, 0, 640, 360, 480, 360},  // 4:3 in 16:9: bars left and right
        {320, 240, {1, 1}, 90, 320, 240, 180, 240}, // turned upright first
        {320, 240, {1, 1}, 270, 240, 320, 240, 320},
        {720, 576, {16, 15}, 0, 768, 576, 768, 576}, // non-square pixels shown 768 wide
        {720, 576, {64, 45}, 0, 1024, 576, 1024, 576},
        {1280, 720, {1, 1}, 0, 853, 480, 852, 480}, // within two pixels of the box is the box (made even)
        {100, 2000, {0, 1}, 0, 320, 240, 12, 240},  // an unknown aspect counts as square
    };
    for (const Case& c : cases) {
        auto [w, h] = JoinClipReader::fittedSize(c.width, c.height, c.aspect, c.rotation, c.boxWidth, c.boxHeight);
        EXPECT_EQ(w, c.fittedWidth) << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(h, c.fittedHeight) << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
    }
}
