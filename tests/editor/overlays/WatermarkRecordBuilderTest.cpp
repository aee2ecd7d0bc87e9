#include "WatermarkRecordBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::shared_ptr<WaterParam> fileWatermark(const QString& path, bool isVideo, const ViewRect& fractions) {
    auto w = std::make_shared<WaterParam>();
    w->setWaterType(WaterParam::File);
    w->setWaterImagePath(path);
    w->setIsVideo(isVideo);
    w->setSelected(true);
    w->setWaterPercentClipRect(fractions);
    return w;
}

std::shared_ptr<WaterParam> textWatermark(const QString& text, const ViewRect& fractions) {
    auto w = std::make_shared<WaterParam>();
    w->setWaterType(WaterParam::Text);
    w->setWaterText(text);
    w->setSelected(true);
    w->setWaterPercentClipRect(fractions);
    return w;
}

// Records what a walk hands over, in order.
struct RecordingSink : WatermarkSink {
    std::vector<std::string> calls;
    std::vector<IMAGE_WATERMARK_PARAM> images;
    std::vector<VIDEO_WATERMARK_PARAM> videos;
    std::vector<TEXT_WATERMARK_PARAM> texts;
    int addImage(const IMAGE_WATERMARK_PARAM& r) override {
        calls.push_back("image");
        images.push_back(r);
        return 1;
    }
    int addVideo(const VIDEO_WATERMARK_PARAM& r) override {
        calls.push_back("video");
        videos.push_back(r);
        return 1;
    }
    int addText(const TEXT_WATERMARK_PARAM& r) override {
        calls.push_back("text:" + std::string(r.text));
        texts.push_back(r);
        return 1;
    }
};

void expectRect(const RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

const WatermarkGeometry kFullHd{1920, 1080, 640};

} // namespace

TEST(WatermarkRecordBuilder, RectanglesOnAFullHdPicture) {
    struct Case {
        ViewRect fractions;
        RECT image;
        RECT text;
    } cases[] = {
        {{0, 0, 1, 1}, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
        {{0.5, 0, 0.5, 0.5}, {960, 540, 1920, 1080}, {960, 0, 1920, 540}},
        {{0.25, 0.5, 0.25, 0.25}, {480, 270, 960, 540}, {480, 540, 960, 810}},
    };
    for (const Case& c : cases) {
        const RECT image = WatermarkRecordBuilder::imageRect(c.fractions, 1920, 1080);
        expectRect(image, c.image.left, c.image.top, c.image.right, c.image.bottom);
        const RECT text = WatermarkRecordBuilder::textRect(c.fractions, 1920, 1080);
        expectRect(text, c.text.left, c.text.top, c.text.right, c.text.bottom);
    }
}

TEST(WatermarkRecordBuilder, TimesFontSizeAndColour) {
    EXPECT_EQ(WatermarkRecordBuilder::microseconds(10), 10000000);
    EXPECT_EQ(WatermarkRecordBuilder::endTime(10, 5), 15000000);
    EXPECT_EQ(WatermarkRecordBuilder::microseconds(2), 2000000);
    EXPECT_EQ(WatermarkRecordBuilder::microseconds(4.5f), 4500000);
    EXPECT_EQ(WatermarkRecordBuilder::fontSize(1920, 640, 34), 102);

    const ViewRect quarter{0.5, 0, 0.5, 0.5};
    auto image = fileWatermark("/tmp/logo.png", false, quarter);
    auto video = fileWatermark("/tmp/clip.mp4", true, quarter);
    auto text = textWatermark("Hello", quarter);
    for (auto& w : {image, video, text}) {
        w->setStartTime(10);
        w->setDuration(5);
        w->setWaterAlph(37.9);
    }
    video->setFileStartTime(2);
    video->setFileEndTime(4.5f);
    text->setWaterFontColor(QColor(255, 0, 0));

    IMAGE_WATERMARK_PARAM i;
    ASSERT_TRUE(WatermarkRecordBuilder::image(*image, kFullHd, i));
    EXPECT_STREQ(i.path, "/tmp/logo.png");
    expectRect(i.rect, 960, 540, 1920, 1080);
    EXPECT_EQ(i.transparence, 37);
    EXPECT_EQ(i.start_time, 10000000);
    EXPECT_EQ(i.end_time, 15000000);

    VIDEO_WATERMARK_PARAM v;
    ASSERT_TRUE(WatermarkRecordBuilder::video(*video, kFullHd, v));
    EXPECT_EQ(v.start_time, 10000000);
    EXPECT_EQ(v.end_time, 15000000);
    EXPECT_EQ(v.file_start_time, 2000000);
    EXPECT_EQ(v.file_end_time, 4500000);
    EXPECT_EQ(v.transparence, 37);
    EXPECT_EQ(v.reserved0 | v.reserved2 | v.reserved3 | v.reserved4 | v.padding0 | v.padding1, 0);

    TEXT_WATERMARK_PARAM t;
    ASSERT_TRUE(WatermarkRecordBuilder::text(*text, kFullHd, t));
    EXPECT_STREQ(t.text, "Hello");
    EXPECT_STREQ(t.szFontName, "Tahoma");
    EXPECT_STREQ(t.szFontFile, "");
    expectRect(t.rect, 960, 0, 1920, 540);
    EXPECT_EQ(t.fontsize, 102);
    EXPECT_EQ(t.fontclr >> 24, 255u);
    EXPECT_EQ(t.fontclr & 0x00ffffffu, 0u);
    EXPECT_EQ(t.start_time, 10000000);
    EXPECT_EQ(t.end_time, 15000000);
}

TEST(WatermarkRecordBuilder, TextWithoutColourBecomesWhite) {
    auto text = textWatermark("A", {0, 0, 0.1, 0.1});
    text->setWaterFontColor(QColor());
    TEXT_WATERMARK_PARAM t;
    ASSERT_TRUE(WatermarkRecordBuilder::text(*text, kFullHd, t));
    EXPECT_EQ(t.fontclr, 0xffffff00u);
    EXPECT_EQ(text->waterFontColor(), QColor(Qt::white));
}

TEST(WatermarkRecordBuilder, StringsThatDoNotFitAreRefusedWithoutOverflow) {
    const QString fits(259, QLatin1Char('a'));
    const QString tooLong(260, QLatin1Char('a'));
    const QString chinese = QString(87, QChar(0x6c34)); // 261 bytes of UTF-8 in 87 characters
    auto text = textWatermark(fits, {0, 0, 0.1, 0.1});
    EXPECT_TRUE(WatermarkRecordBuilder::overflowKey(*text).isEmpty());
    text->setWaterText(tooLong);
    EXPECT_EQ(WatermarkRecordBuilder::overflowKey(*text), "watermarkTextTooLong");
    text->setWaterText(chinese);
    EXPECT_EQ(WatermarkRecordBuilder::overflowKey(*text), "watermarkTextTooLong");
    TEXT_WATERMARK_PARAM t;
    std::memset(&t, 0x5a, sizeof t);
    QString key;
    EXPECT_FALSE(WatermarkRecordBuilder::text(*text, kFullHd, t, &key));
    EXPECT_EQ(key, "watermarkTextTooLong");
    EXPECT_EQ(t.text[0], 0); // left zeroed

    text->setWaterText("ok");
    text->setWaterFontName(tooLong);
    EXPECT_EQ(WatermarkRecordBuilder::overflowKey(*text), "watermarkFontTooLong");

    auto image = fileWatermark("/" + tooLong, false, {0, 0, 0.1, 0.1});
    EXPECT_EQ(WatermarkRecordBuilder::overflowKey(*image), "watermarkPathTooLong");
    IMAGE_WATERMARK_PARAM i;
    EXPECT_FALSE(WatermarkRecordBuilder::image(*image, kFullHd, i, &key));
    EXPECT_EQ(key, "watermarkPathTooLong");
    auto video = fileWatermark("/" + tooLong, true, {0, 0, 0.1, 0.1});
    VIDEO_WATERMARK_PARAM v;
    EXPECT_FALSE(WatermarkRecordBuilder::video(*video, kFullHd, v, &key));

    // A walk leaves the refused one out and says why; the others are sent.
    RecordingSink sink;
    const WatermarkRecordBuilder::Sent sent =
        WatermarkRecordBuilder::send({image, textWatermark("fine", {0, 0, 0.1, 0.1})}, -1, false, kFullHd, sink);
    EXPECT_EQ(sent.records, 1);
    EXPECT_EQ(sent.refusalKeys, QStringList{"watermarkPathTooLong"});
    EXPECT_EQ(sink.calls, std::vector<std::string>{"text:fine"});
}

TEST(WatermarkRecordBuilder, WalkSendsTickedWatermarksAndLeavesTheEditedOneToTheOverlay) {
    auto image = fileWatermark("/tmp/a.png", false, {0, 0, 0.2, 0.2});
    auto video = fileWatermark("/tmp/b.mp4", true, {0, 0, 0.2, 0.2});
    auto first = textWatermark("one", {0, 0, 0.2, 0.2});
    auto second = textWatermark("two", {0, 0, 0.2, 0.2});
    auto unticked = textWatermark("off", {0, 0, 0.2, 0.2});
    unticked->setSelected(false);
    auto none = std::make_shared<WaterParam>();
    none->setSelected(true);
    const WaterMarkList list{image, video, first, unticked, second, none};

    RecordingSink exportSink;
    WatermarkRecordBuilder::Sent sent = WatermarkRecordBuilder::send(list, 0, false, kFullHd, exportSink);
    EXPECT_EQ(exportSink.calls, (std::vector<std::string>{"image", "video", "text:one", "text:two"}));
    EXPECT_EQ(sent.records, 4);
    EXPECT_FALSE(sent.selectedShown);

    RecordingSink preview;
    sent = WatermarkRecordBuilder::send(list, 2, true, kFullHd, preview);
    EXPECT_EQ(preview.calls, (std::vector<std::string>{"image", "video", "text:two"}));
    EXPECT_TRUE(sent.selectedShown);

    // An unticked selected watermark is shown by neither.
    RecordingSink again;
    sent = WatermarkRecordBuilder::send(list, 3, true, kFullHd, again);
    EXPECT_EQ(again.calls.size(), 4u);
    EXPECT_FALSE(sent.selectedShown);
}
