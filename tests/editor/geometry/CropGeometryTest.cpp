#include "CropGeometry.h"

#include <gtest/gtest.h>

namespace {

void expectRect(const ViewRect& r, const ViewRect& e, const char* what = "") {
    EXPECT_NEAR(r.x, e.x, 1e-3) << what;
    EXPECT_NEAR(r.y, e.y, 1e-3) << what;
    EXPECT_NEAR(r.width, e.width, 1e-3) << what;
    EXPECT_NEAR(r.height, e.height, 1e-3) << what;
}

void expectMargins(const RECT& m, int left, int top, int right, int bottom, const char* what = "") {
    EXPECT_EQ(m.left, left) << what;
    EXPECT_EQ(m.top, top) << what;
    EXPECT_EQ(m.right, right) << what;
    EXPECT_EQ(m.bottom, bottom) << what;
}

const ViewSize kPicture{1920, 1080};
const ViewSize kOverlay{640, 360};

} // namespace

TEST(CropGeometry, BoxToRectangleMarginsAndFields) {
    struct Case {
        ViewRect box;
        ViewRect rect;
        RECT margins;
        const char *width, *height, *left, *top;
        const char* what;
    } cases[] = {
        {{64, 36, 320, 180}, {192, 108, 960, 540}, {192, 432, 768, 108}, "960", "540", "192", "432", "a quarter"},
        {{65, 37, 320, 180},
         {195, 111, 960, 540},
         {194, 428, 766, 112},
         "960",
         "540",
         "194",
         "428",
         "odd pixels: left and top down to even, the size kept; the fields say what is written"},
        {{0.5, 100, 317.33333, 182.33333},
         {1.5, 300, 952, 547},
         {0, 232, 968, 300},
         "952",
         "548",
         "0",
         "232",
         "952 x 547 is written as 952 x 548, and the fields say so"},
        {{0, 0, 640, 360}, {0, 0, 1920, 1080}, {0, 0, 0, 0}, "1920", "1080", "0", "0", "the whole overlay"},
        {{320, 0, 320, 360}, {960, 0, 960, 1080}, {960, 0, 0, 0}, "960", "1080", "960", "0", "the right half"},
    };
    for (const Case& c : cases) {
        const ViewRect rect = CropGeometry::clipRectFromBox(c.box, kOverlay, kPicture);
        expectRect(rect, c.rect, c.what);
        const RECT m = CropGeometry::evenMargins(rect, kPicture);
        expectMargins(m, c.margins.left, c.margins.top, c.margins.right, c.margins.bottom, c.what);
        const CropGeometry::Fields f = CropGeometry::fields(m, kPicture);
        // What the fields say is the size and place the margins write.
        EXPECT_EQ(f.width.toInt(), 1920 - m.left - m.right) << c.what;
        EXPECT_EQ(f.height.toInt(), 1080 - m.top - m.bottom) << c.what;
        EXPECT_EQ(f.width.toInt() % 2, 0) << c.what;
        EXPECT_EQ(f.height.toInt() % 2, 0) << c.what;
        EXPECT_EQ(f.width, c.width) << c.what;
        EXPECT_EQ(f.height, c.height) << c.what;
        EXPECT_EQ(f.left, c.left) << c.what;
        EXPECT_EQ(f.top, c.top) << c.what;
    }
}

TEST(CropGeometry, MarginsAreNeverNegativeOddOrLargerThanThePicture) {
    const ViewSize picture{320, 240};
    struct Case {
        ViewRect rect;
        RECT margins;
        const char* what;
    } cases[] = {
        {{-5, -3, 100, 50}, {0, 192, 224, 0}, "a rectangle starting before the picture"},
        {{201, 0, 300, 240}, {200, 0, 0, 0}, "a rectangle ending past the picture"},
        {{500, 400, 60, 60}, {318, 0, 0, 238}, "a rectangle wholly outside keeps 2 x 2 pixels"},
        {{33, 47, 151, 101}, {32, 92, 136, 46}, "odd margins go down to even, odd sizes to the nearest even"},
        {{2, 10, 200, 99.4}, {2, 130, 118, 10}, "a size just under an odd number"},
        {{0, 0, 320, 240}, {0, 0, 0, 0}, "the whole picture"},
    };
    for (const Case& c : cases) {
        const RECT m = CropGeometry::evenMargins(c.rect, picture);
        expectMargins(m, c.margins.left, c.margins.top, c.margins.right, c.margins.bottom, c.what);
        for (int v : {m.left, m.top, m.right, m.bottom}) {
            EXPECT_GE(v, 0) << c.what;
            EXPECT_EQ(v % 2, 0) << c.what;
        }
        EXPECT_GE(320 - m.left - m.right, 2) << c.what;
        EXPECT_GE(240 - m.top - m.bottom, 2) << c.what;
    }
}

TEST(CropGeometry, RectangleBackToTheOverlaysBox) {
    expectRect(CropGeometry::boxFromClipRect({192, 108, 960, 540}, kPicture, kOverlay), {64, 36, 320, 180});
    expectRect(CropGeometry::boxFromClipRect({0, 0, 1920, 1080}, kPicture, kOverlay), {0, 0, 640, 360});
}

TEST(CropGeometry, QuarterTurnsSwapThePicture) {
    struct Case {
        int angle;
        ViewSize size;
    } cases[] = {{0, {1920, 1080}},   {90, {1080, 1920}},   {180, {1920, 1080}}, {270, {1080, 1920}},
                 {-90, {1080, 1920}}, {-270, {1080, 1920}}, {360, {1920, 1080}}};
    for (const Case& c : cases) {
        const ViewSize s = CropGeometry::videoSizeFor(kPicture, c.angle);
        EXPECT_EQ(s.width, c.size.width) << c.angle;
        EXPECT_EQ(s.height, c.size.height) << c.angle;
    }
}

TEST(CropGeometry, RotateButtonsStepByQuarterTurns) {
    struct Case {
        int stored, right, left;
    } cases[] = {{0, 90, 270}, {360, 90, 270}, {90, 180, 0}, {180, 270, 90}, {270, 0, 180}, {45, 45, 45}};
    for (const Case& c : cases) {
        EXPECT_EQ(CropGeometry::rotatedRight(c.stored), c.right) << c.stored;
        EXPECT_EQ(CropGeometry::rotatedLeft(c.stored), c.left) << c.stored;
    }
    int angle = 0;
    for (int i = 0; i < 4; ++i)
        angle = CropGeometry::rotatedRight(angle);
    EXPECT_EQ(angle, 0);
}

TEST(CropGeometry, TypedValuesKeepTheOverlaysBoxInsideThePicture) {
    const ViewRect start{192, 108, 960, 540};
    struct Case {
        char kind; // 's' size, 'l' left, 't' top
        double a, b;
        ViewRect rect, box;
        const char* what;
    } cases[] = {
        {'s', 2400, 540, {192, 108, 2400, 540}, {0, 36, 640, 180}, "a width wider than the picture is stored"},
        {'s', 1800, 540, {192, 108, 1800, 540}, {40, 36, 600, 180}, "a box past the right edge starts earlier"},
        {'s', 480, 270, {192, 108, 480, 270}, {64, 36, 160, 90}, "a smaller size keeps the origin"},
        {'l', -40, 0, {0, 108, 960, 540}, {0, 36, 320, 180}, "a left margin below 0 is 0"},
        {'l', 1500, 0, {960, 108, 960, 540}, {320, 36, 320, 180}, "a left margin past the free width"},
        {'t', 5000, 0, {192, 0, 960, 540}, {64, 0, 320, 180}, "a top margin past the free height: at the bottom"},
        {'t', 0, 0, {192, 540, 960, 540}, {64, 180, 320, 180}, "a top margin of 0: at the top"},
    };
    for (const Case& c : cases) {
        const CropGeometry::Typed t = c.kind == 's'   ? CropGeometry::typedSize(start, kPicture, kOverlay, c.a, c.b)
                                      : c.kind == 'l' ? CropGeometry::typedLeft(start, kPicture, kOverlay, c.a)
                                                      : CropGeometry::typedTop(start, kPicture, kOverlay, c.a);
        expectRect(t.clipRect, c.rect, c.what);
        expectRect(t.box, c.box, c.what);
    }
}

TEST(CropGeometry, VideoRectangleIsTheAspectFitCentredRectangle) {
    expectRect(CropGeometry::videoRectInside({1920, 1080}, {0, 0, 800, 600}), {0, 75, 800, 450});
    expectRect(CropGeometry::videoRectInside({1080, 1920}, {0, 0, 800, 600}), {231.25, 0, 337.5, 600});
    expectRect(CropGeometry::videoRectInside({}, {0, 0, 800, 600}), {0, 0, 800, 600});
}
