#include "WatermarkRendering.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

namespace {

TEXT_WATERMARK_PARAM textRecord(const char* text, int left, int top, int size, uint32_t colour, int transparence) {
    TEXT_WATERMARK_PARAM t{};
    std::strcpy(t.text, text);
    std::strcpy(t.szFontName, "DejaVu Sans");
    t.rect = {left, top, left + 100, top + size};
    t.fontsize = size;
    t.fontclr = colour;
    t.transparence = transparence;
    return t;
}

struct Canvas {
    int width;
    int height;
    std::vector<uint8_t> bytes;
    Canvas(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0) {}
    const uint8_t* pixel(int x, int y) const { return bytes.data() + (static_cast<size_t>(y) * width + x) * 4; }
    int maxAlpha() const {
        int best = 0;
        for (size_t i = 3; i < bytes.size(); i += 4)
            best = std::max<int>(best, bytes[i]);
        return best;
    }
    int touched() const {
        int n = 0;
        for (size_t i = 0; i < bytes.size(); i += 4)
            n += (bytes[i] | bytes[i + 1] | bytes[i + 2] | bytes[i + 3]) != 0;
        return n;
    }
    // Rows (top first) holding a drawn pixel: the first and the last.
    std::pair<int, int> rows() const {
        int first = -1, last = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixel(x, y)[3] != 0) {
                    if (first < 0)
                        first = y;
                    last = y;
                }
        return {first, last};
    }
};

constexpr uint32_t kRed = 0xff000000u;

} // namespace

TEST(WatermarkRendering, RedTextFullyCoveredPixelIsBgra00ff) {
    for (auto draw : {&drawTextCallback, &playerDrawTextCallback}) {
        Canvas c(200, 100);
        draw(c.width, c.height, c.bytes.data(), textRecord("H", 10, 20, 60, kRed, 0));
        int covered = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const uint8_t* p = c.pixel(x, y);
                if (p[3] != 255)
                    continue;
                ++covered;
                EXPECT_EQ(p[0], 0);
                EXPECT_EQ(p[1], 0);
                EXPECT_EQ(p[2], 255);
            }
        EXPECT_GT(covered, 50);
    }
}

TEST(WatermarkRendering, TransparencyScalesAlpha) {
    struct Case {
        int transparence;
        int alpha;
    } cases[] = {{0, 255}, {25, 191}, {50, 128}, {100, 0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.transparence);
        Canvas c(200, 100);
        drawTextCallback(c.width, c.height, c.bytes.data(), textRecord("H", 10, 20, 60, kRed, k.transparence));
        EXPECT_NEAR(c.maxAlpha(), k.alpha, 1);
        if (k.transparence == 100) {
            EXPECT_EQ(c.touched(), 0);
        }
    }
}

TEST(WatermarkRendering, BaselineIsMeasuredFromTheBottomEdge) {
    // left 10, top 20 on a canvas 100 high: the baseline lies 80 rows below the top row.
    Canvas c(200, 100);
    drawTextCallback(c.width, c.height, c.bytes.data(), textRecord("H", 10, 20, 40, kRed, 0));
    const auto [first, last] = c.rows();
    EXPECT_NEAR(last, 79, 1);
    EXPECT_NEAR(first, 80 - 29, 3); // a capital of a 40-pixel DejaVu Sans is about 29 pixels high
    int leftmost = c.width;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (c.pixel(x, y)[3] != 0)
                leftmost = std::min(leftmost, x);
    EXPECT_GE(leftmost, 10);
    EXPECT_LE(leftmost, 16);
}

TEST(WatermarkRendering, TextIsCompositedOverTheCanvas) {
    Canvas c(200, 100);
    for (size_t i = 0; i < c.bytes.size(); i += 4) {
        c.bytes[i] = 200; // blue, opaque
        c.bytes[i + 3] = 255;
    }
    drawTextCallback(c.width, c.height, c.bytes.data(), textRecord("H", 10, 20, 40, kRed, 50));
    EXPECT_EQ(c.pixel(190, 5)[0], 200); // away from the text: untouched
    int mixed = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const uint8_t* p = c.pixel(x, y);
            if (p[2] > 120 && p[0] > 90 && p[0] < 110)
                ++mixed; // half red over the blue
        }
    EXPECT_GT(mixed, 30);
}

TEST(WatermarkRendering, ChineseTextIsShapedWithAFallbackFont) {
    // DejaVu Sans has no Chinese: the characters come from a fallback font, so two different characters give
    // two different pictures (missing-glyph boxes would be alike).
    Canvas water(200, 100), mark(200, 100);
    drawTextCallback(water.width, water.height, water.bytes.data(), textRecord("水", 10, 20, 60, kRed, 0));
    drawTextCallback(mark.width, mark.height, mark.bytes.data(), textRecord("印", 10, 20, 60, kRed, 0));
    EXPECT_GT(water.touched(), 100);
    EXPECT_GT(mark.touched(), 100);
    EXPECT_NE(water.bytes, mark.bytes);
}

TEST(WatermarkRendering, UnterminatedOrInvalidTextDrawsNothing) {
    Canvas c(200, 100);
    TEXT_WATERMARK_PARAM t = textRecord("H", 10, 20, 40, kRed, 0);
    std::memset(t.text, 'A', sizeof t.text); // no NUL
    drawTextCallback(c.width, c.height, c.bytes.data(), t);
    EXPECT_EQ(c.touched(), 0);
    t = textRecord("\xff\xfe", 10, 20, 40, kRed, 0);
    drawTextCallback(c.width, c.height, c.bytes.data(), t);
    EXPECT_EQ(c.touched(), 0);
    drawTextCallback(c.width, c.height, nullptr, textRecord("H", 10, 20, 40, kRed, 0)); // no canvas: no crash
}

TEST(WatermarkRendering, CallsFromManyThreadsDrawTheSame) {
    Canvas reference(240, 120);
    const TEXT_WATERMARK_PARAM t = textRecord("Clipwright 水印", 5, 30, 24, 0x20c04000u, 10);
    drawTextCallback(reference.width, reference.height, reference.bytes.data(), t);
    std::vector<Canvas> canvases(8, Canvas(240, 120));
    std::vector<std::thread> threads;
    for (Canvas& c : canvases)
        threads.emplace_back([&c, &t] {
            for (int i = 0; i < 20; ++i) {
                std::fill(c.bytes.begin(), c.bytes.end(), 0);
                drawTextCallback(c.width, c.height, c.bytes.data(), t);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const Canvas& c : canvases)
        EXPECT_EQ(c.bytes, reference.bytes);
}

TEST(WatermarkRendering, LoadImageGivesPixelSizesAndExactByteCounts) {
    QTemporaryDir dir;
    QImage red(200, 100, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString at72 = dir.filePath("red72.png");
    red.setDotsPerMeterX(2835);
    red.setDotsPerMeterY(2835);
    ASSERT_TRUE(red.save(at72));
    QImage dense = red;
    dense.setDotsPerMeterX(5669); // 144 dots per inch: still 200 x 100 pixels
    dense.setDotsPerMeterY(5669);
    const QString at144 = dir.filePath("red144.png");
    ASSERT_TRUE(dense.save(at144));
    const QString jpeg = dir.filePath("red.jpg"); // three samples per pixel in the file
    ASSERT_TRUE(red.save(jpeg, "JPG", 100));

    for (const QString& path : {at72, at144, jpeg}) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray name = path.toUtf8();
        int32_t w = -1, h = -1;
        EXPECT_EQ(playerLoadImageCallback(name.constData(), &w, &h, 0, nullptr), 1);
        EXPECT_EQ(w, 200);
        EXPECT_EQ(h, 100);
        std::vector<uint8_t> buffer(80000, 7);
        EXPECT_EQ(playerLoadImageCallback(name.constData(), &w, &h, 80000, buffer.data()), 1);
        EXPECT_NEAR(buffer[0], 0, 2); // B, G, R, A: red
        EXPECT_NEAR(buffer[1], 0, 2);
        EXPECT_NEAR(buffer[2], 255, 2);
        EXPECT_EQ(buffer[3], 255);
        EXPECT_EQ(buffer[79999], 255);
        std::vector<uint8_t> tooSmall(79999, 7);
        w = h = -1;
        EXPECT_EQ(playerLoadImageCallback(name.constData(), &w, &h, 79999, tooSmall.data()), 0);
        EXPECT_EQ(w, -1); // a failed call writes nothing
        EXPECT_TRUE(std::all_of(tooSmall.begin(), tooSmall.end(), [](uint8_t b) { return b == 7; }));
    }
}

TEST(WatermarkRendering, LoadImageRefusesWhatIsNoImage) {
    QTemporaryDir dir;
    const QByteArray missing = dir.filePath("missing.png").toUtf8();
    const QByteArray text = dir.filePath("text.png").toUtf8();
    QFile file(QString::fromUtf8(text));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    int32_t w = -1, h = -1;
    EXPECT_EQ(playerLoadImageCallback(nullptr, &w, &h, 0, nullptr), 0);
    EXPECT_EQ(playerLoadImageCallback(missing.constData(), &w, &h, 0, nullptr), 0);
    EXPECT_EQ(playerLoadImageCallback(text.constData(), &w, &h, 0, nullptr), 0);
    EXPECT_EQ(playerLoadImageCallback("\xff\xfe.png", &w, &h, 0, nullptr), 0);
    EXPECT_EQ(w, -1);
}
