#include "libMediaCore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// The header checks every size and offset at compile time; these check the same at run time in one table and
// the field writer's refusal of text that does not fit.
TEST(RecordLayout, SizesMatchTheEngineInterface) {
    EXPECT_EQ(sizeof(AUDIO_STREAM_INFO), 600u);
    EXPECT_EQ(sizeof(VIDEO_STREAM_INFO), 624u);
    EXPECT_EQ(sizeof(RECT), 16u);
    EXPECT_EQ(sizeof(IMAGE_WATERMARK_PARAM), 296u);
    EXPECT_EQ(sizeof(TEXT_WATERMARK_PARAM), 824u);
    EXPECT_EQ(sizeof(VIDEO_WATERMARK_PARAM), 352u);
    EXPECT_EQ(sizeof(SUBTITLE_PARAM), 800u);
    EXPECT_EQ(offsetof(VIDEO_STREAM_INFO, aspect), 160u);
    EXPECT_EQ(offsetof(TEXT_WATERMARK_PARAM, fontclr), 800u);
    EXPECT_EQ(offsetof(VIDEO_WATERMARK_PARAM, transparence), 340u);
    EXPECT_EQ(offsetof(SUBTITLE_PARAM, shadowclr), 796u);
}

TEST(RecordLayout, AZeroedStreamRecordReadsAsAbsent) {
    AUDIO_STREAM_INFO audio;
    std::memset(&audio, 0, sizeof audio);
    EXPECT_EQ(audio.exist, 0);
    EXPECT_STREQ(audio.codec, "");
    EXPECT_STREQ(audio.title, "");
}

TEST(RecordLayout, TextFieldsTakeAtMostTheirSizeLessOneBytes) {
    // The field sits between guard bytes so that a write past it would show.
    struct Guarded {
        char before[8];
        IMAGE_WATERMARK_PARAM record;
        char after[8];
    } guarded;
    std::memset(&guarded, 0x5A, sizeof guarded);
    std::memset(&guarded.record, 0, sizeof guarded.record);

    const std::string fits(259, 'a');
    EXPECT_EQ(MediaRecordSetText(guarded.record.path, sizeof guarded.record.path, fits.c_str()), 1);
    EXPECT_EQ(std::strlen(guarded.record.path), 259u);
    EXPECT_EQ(guarded.record.rect.left, 0) << "the byte after the text is its NUL, nothing more";

    const std::string tooLong(260, 'b');
    EXPECT_EQ(MediaRecordSetText(guarded.record.path, sizeof guarded.record.path, tooLong.c_str()), 0);
    EXPECT_EQ(std::string(guarded.record.path), fits) << "a refused text leaves the field as it was";
    EXPECT_EQ(guarded.record.rect.left, 0);
    for (char c : guarded.before)
        EXPECT_EQ(c, 0x5A);
    for (char c : guarded.after)
        EXPECT_EQ(c, 0x5A);

    // Multi-byte UTF-8 counts in bytes: 129 two-byte characters are 258 bytes and fit; 130 (260 bytes) do not.
    std::string twoByte;
    for (int i = 0; i < 129; ++i)
        twoByte += "\xC3\xA9";
    EXPECT_EQ(MediaRecordSetText(guarded.record.path, sizeof guarded.record.path, twoByte.c_str()), 1);
    twoByte += "\xC3\xA9";
    EXPECT_EQ(MediaRecordSetText(guarded.record.path, sizeof guarded.record.path, twoByte.c_str()), 0);

    EXPECT_EQ(MediaRecordSetText(guarded.record.path, sizeof guarded.record.path, nullptr), 1);
    EXPECT_STREQ(guarded.record.path, "") << "no text is the empty text";
    EXPECT_EQ(MediaRecordSetText(nullptr, 10, "x"), 0);
    EXPECT_EQ(MediaRecordSetText(guarded.record.path, 0, ""), 0);
}

TEST(RecordLayout, TheColourWordOfPureRedLiesInMemoryAsZeroZeroZeroRed) {
    TEXT_WATERMARK_PARAM text;
    std::memset(&text, 0, sizeof text);
    text.fontclr = 0xFF000000u;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&text.fontclr);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 255);
}
