#include "FrameCompositor.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/pixdesc.h>
}

using mediacore::FrameCompositor;
using mediacore::FramePtr;

namespace {
// A gray picture of one value.
FramePtr flat(int width, int height, uint8_t value) {
    FramePtr frame = FrameCompositor::black(width, height, AV_PIX_FMT_GRAY8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame->data[0][y * frame->linesize[0] + x] = value;
    return frame;
}

int at(const FramePtr& frame, int x, int y, int plane = 0) {
    return frame->data[plane][y * frame->linesize[plane] + x];
}
} // namespace

TEST(FrameCompositor, ComposesEightBitPlanarPicturesOnly) {
    for (AVPixelFormat f : {AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUV444P, AV_PIX_FMT_GRAY8,
                            AV_PIX_FMT_GBRP, AV_PIX_FMT_YUVA420P})
        EXPECT_TRUE(FrameCompositor::composable(f)) << av_get_pix_fmt_name(f);
    for (AVPixelFormat f : {AV_PIX_FMT_NV12, AV_PIX_FMT_RGB24, AV_PIX_FMT_YUV420P10LE, AV_PIX_FMT_PAL8})
        EXPECT_FALSE(FrameCompositor::composable(f)) << av_get_pix_fmt_name(f);
}

TEST(FrameCompositor, BlackAndCentred) {
    FramePtr black = FrameCompositor::black(8, 4, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(at(black, 0, 0), 16);
    EXPECT_EQ(at(black, 0, 0, 1), 128);
    EXPECT_EQ(at(FrameCompositor::black(8, 4, AV_PIX_FMT_YUVJ420P), 0, 0), 0);

    // A 4x2 white picture in an 8x6 box: bars of two columns left and right, two rows above and below.
    FramePtr centred = FrameCompositor::centred(flat(4, 2, 255).get(), 8, 6);
    const int bar = at(FrameCompositor::black(2, 2, AV_PIX_FMT_GRAY8), 0, 0);  // limited-range black, 16
    ASSERT_EQ(centred->width, 8);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(at(centred, x, y), (x >= 2 && x < 6 && y >= 2 && y < 4) ? 255 : bar) << x << "," << y;
}

TEST(FrameCompositor, TransitionsAtTheirMiddle) {
    FramePtr from = flat(8, 4, 0), to = flat(8, 4, 200);
    FramePtr left = FrameCompositor::transition(from.get(), to.get(), 1, 0.5);
    FramePtr up = FrameCompositor::transition(from.get(), to.get(), 2, 0.5);
    FramePtr fade = FrameCompositor::transition(from.get(), to.get(), 3, 0.25);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(at(left, x, y), x < 4 ? 0 : 200);
            EXPECT_EQ(at(up, x, y), y < 2 ? 0 : 200);
            EXPECT_EQ(at(fade, x, y), 50);
        }
    // The ends are the pictures themselves.
    EXPECT_EQ(at(FrameCompositor::transition(from.get(), to.get(), 1, 0.0), 7, 0), 0);
    EXPECT_EQ(at(FrameCompositor::transition(from.get(), to.get(), 1, 1.0), 0, 0), 200);
}

TEST(FrameCompositor, CrossfadeRisesLinearly) {
    float a[4] = {1, 1, 1, 1}, b[4] = {0, 0, 0, 0}, out[4];
    const float* from[] = {a};
    const float* to[] = {b};
    float* outs[] = {out};
    FrameCompositor::crossfade(outs, from, to, 1, 4, 0.125, 0.25);
    EXPECT_FLOAT_EQ(out[0], 0.875f);
    EXPECT_FLOAT_EQ(out[3], 0.125f);
}
