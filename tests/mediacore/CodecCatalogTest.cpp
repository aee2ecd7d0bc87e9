#include "CodecCatalog.h"

#include <gtest/gtest.h>

using namespace mediacore;

TEST(CodecCatalog, ResolvesCommonAndEncoderNames) {
    struct Case {
        const char* name;
        AVMediaType type;
        const char* encoder; // nullptr: refused
    };
    const Case cases[] = {
        {"H264", AVMEDIA_TYPE_VIDEO, "libx264"},      {"h.264", AVMEDIA_TYPE_VIDEO, "libx264"},
        {" avc ", AVMEDIA_TYPE_VIDEO, "libx264"},     {"HEVC", AVMEDIA_TYPE_VIDEO, "libx265"},
        {"H265", AVMEDIA_TYPE_VIDEO, "libx265"},      {"MPEG4", AVMEDIA_TYPE_VIDEO, "mpeg4"},
        {"mpeg-4", AVMEDIA_TYPE_VIDEO, "mpeg4"},      {"VP9", AVMEDIA_TYPE_VIDEO, "libvpx-vp9"},
        {"vp8", AVMEDIA_TYPE_VIDEO, "libvpx"},        {"libx264", AVMEDIA_TYPE_VIDEO, "libx264"},
        {"LIBX264", AVMEDIA_TYPE_VIDEO, "libx264"},   {"mpeg2video", AVMEDIA_TYPE_VIDEO, "mpeg2video"},
        {"AAC", AVMEDIA_TYPE_AUDIO, "aac"},           {"mp3", AVMEDIA_TYPE_AUDIO, "libmp3lame"},
        {"OPUS", AVMEDIA_TYPE_AUDIO, "libopus"},      {"FLAC", AVMEDIA_TYPE_AUDIO, "flac"},
        {"PCM", AVMEDIA_TYPE_AUDIO, "pcm_s16le"},     {"pcm_s24le", AVMEDIA_TYPE_AUDIO, "pcm_s24le"},
        {"Vorbis", AVMEDIA_TYPE_AUDIO, "libvorbis"},  {"AC3", AVMEDIA_TYPE_AUDIO, "ac3"},
        {"AAC", AVMEDIA_TYPE_VIDEO, nullptr},         {"H264", AVMEDIA_TYPE_AUDIO, nullptr},
        {"NoSuchCodec", AVMEDIA_TYPE_VIDEO, nullptr}, {"", AVMEDIA_TYPE_AUDIO, nullptr},
    };
    for (const Case& c : cases) {
        CodecCatalog::Choice choice;
        bool ok = CodecCatalog::resolve(c.name, c.type, choice);
        if (!c.encoder) {
            EXPECT_FALSE(ok) << c.name;
            continue;
        }
        ASSERT_TRUE(ok) << c.name;
        ASSERT_NE(choice.encoder, nullptr) << c.name;
        EXPECT_STREQ(choice.encoder->name, c.encoder) << c.name;
        EXPECT_FALSE(choice.copy);
    }
}

TEST(CodecCatalog, CopyKeepsTheStreamInAnyCase) {
    for (const char* name : {"copy", "COPY", " Copy "}) {
        CodecCatalog::Choice choice;
        ASSERT_TRUE(CodecCatalog::resolve(name, AVMEDIA_TYPE_VIDEO, choice)) << name;
        EXPECT_TRUE(choice.copy);
        EXPECT_EQ(choice.encoder, nullptr);
    }
}

TEST(CodecCatalog, ContainersByExtension) {
    struct Case {
        const char* path;
        const char* muxer;
        bool audioOnly;
        AVCodecID rejected; // a codec the container cannot hold, NONE when not tested
    };
    const Case cases[] = {
        {"/x/a.mp4", "mp4", false, AV_CODEC_ID_PCM_S16LE}, {"/x/a.MKV", "matroska", false, AV_CODEC_ID_NONE},
        {"/x/a.mov", "mov", false, AV_CODEC_ID_NONE},      {"/x/a.avi", "avi", false, AV_CODEC_ID_NONE},
        {"/x/a.webm", "webm", false, AV_CODEC_ID_H264},    {"/x/a.mp3", "mp3", true, AV_CODEC_ID_AAC},
        {"/x/a.m4a", "ipod", true, AV_CODEC_ID_NONE},      {"/x/a.wav", "wav", true, AV_CODEC_ID_NONE},
    };
    for (const Case& c : cases) {
        const AVOutputFormat* format = CodecCatalog::containerFor(c.path);
        ASSERT_NE(format, nullptr) << c.path;
        EXPECT_STREQ(format->name, c.muxer) << c.path;
        EXPECT_EQ(CodecCatalog::isAudioOnly(c.path), c.audioOnly) << c.path;
        if (c.rejected != AV_CODEC_ID_NONE) {
            EXPECT_FALSE(CodecCatalog::accepts(format, c.rejected)) << c.path;
        }
    }
    EXPECT_EQ(CodecCatalog::containerFor("/x/a.nosuchext"), nullptr);
    EXPECT_EQ(CodecCatalog::containerFor("/x/noextension"), nullptr);
    EXPECT_TRUE(CodecCatalog::accepts(CodecCatalog::containerFor("a.mp4"), AV_CODEC_ID_H264));
}
