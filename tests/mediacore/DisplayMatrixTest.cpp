// Pictures whose display matrix turns or mirrors them: read as the matrix says, and written upright into
// containers that cannot store the matrix, so they never play sideways.

#include "EngineTestSupport.h"
#include "JoinTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using enginetest::convert;

namespace {

// A copy of `source` whose video stream carries a display matrix turned `counterClockwise` degrees and, when
// `mirror`, flipped left to right after the turn (as FFmpeg's own writers combine them).
std::string withDisplayMatrix(const std::string& source, const std::string& name, double counterClockwise,
                              bool mirror) {
    const fs::path target = fs::path(MediaFixtures::dir()) / name;
    if (fs::exists(target))
        return target.string();
    const std::string part = target.string() + ".part.mp4";
    AVFormatContext* in = nullptr;
    EXPECT_EQ(avformat_open_input(&in, source.c_str(), nullptr, nullptr), 0);
    EXPECT_GE(avformat_find_stream_info(in, nullptr), 0);
    AVFormatContext* out = nullptr;
    EXPECT_GE(avformat_alloc_output_context2(&out, nullptr, "mp4", part.c_str()), 0);
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        AVStream* s = avformat_new_stream(out, nullptr);
        avcodec_parameters_copy(s->codecpar, in->streams[i]->codecpar);
        s->codecpar->codec_tag = 0;
        s->time_base = in->streams[i]->time_base;
        if (in->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            auto* matrix =
                reinterpret_cast<int32_t*>(av_stream_new_side_data(s, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
            av_display_rotation_set(matrix, counterClockwise);
            if (mirror)
                av_display_matrix_flip(matrix, 1, 0);
        }
    }
    EXPECT_GE(avio_open(&out->pb, part.c_str(), AVIO_FLAG_WRITE), 0);
    EXPECT_GE(avformat_write_header(out, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(in, packet) >= 0) {
        av_packet_rescale_ts(packet, in->streams[packet->stream_index]->time_base,
                             out->streams[packet->stream_index]->time_base);
        av_interleaved_write_frame(out, packet);
    }
    av_packet_free(&packet);
    av_write_trailer(out);
    avio_closep(&out->pb);
    avformat_free_context(out);
    avformat_close_input(&in);
    fs::rename(part, target);
    return target.string();
}

// The frame at 1 s of `path`, as the ffmpeg program decodes it with the filter `filter` ("" for none).
std::vector<unsigned char> referenceFrame(const std::string& path, const std::string& filter, int& w, int& h) {
    const std::string dir = MediaFixtures::freshDir("matrix-ref");
    const std::string png = dir + "/ref.png";
    // Decoded from the start (-ss after -i): a seek into a transport stream may land after its only key frame.
    MediaFixtures::run("ffmpeg -nostdin -v error -y -noautorotate -i " + MediaFixtures::quote(path) + " -ss 1" +
                       (filter.empty() ? "" : " -vf " + filter) + " -frames:v 1 " + png);
    return ffmpegFrameRgb(png, 0, &w, &h);
}

int videoRotationRecord(const std::string& path) {
    MEDIA_HANDLE media = MediaOpen(path.c_str());
    EXPECT_NE(media, nullptr);
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    EXPECT_GE(MediaGetInfo(media, &audio, &video), 0);
    MediaClose(media);
    return video.angle;
}

} // namespace

// A mirror is not a half turn, and a tilt that is not a quarter turn is not a quarter turn.
TEST(DisplayMatrix, MirrorsAndOddAnglesAreReadAsTheyAre) {
    const std::string plain = MediaFixtures::mp4();
    struct Case {
        const char* name;
        double counterClockwise;
        bool mirror;
        int clockwise;
    } cases[] = {{"matrix_mirror.mp4", 0, true, 0}, {"matrix_45.mp4", 45, false, 0}, {"matrix_90.mp4", 90, false, 90}};
    for (const Case& c : cases)
        EXPECT_EQ(videoRotationRecord(withDisplayMatrix(plain, c.name, c.counterClockwise, c.mirror)), c.clockwise)
            << c.name;
}

// Into containers that cannot store the matrix the pixels are turned (and mirrored) upright; MP4 keeps the matrix.
TEST(DisplayMatrix, ContainersWithoutRotationGetUprightPixels) {
    const std::string plain = MediaFixtures::mp4();
    const std::string turned = MediaFixtures::rotated90(); // 90 degrees counter-clockwise
    const std::string mirrored = withDisplayMatrix(plain, "matrix_mirror.mp4", 0, true);
    const std::string dir = MediaFixtures::freshDir("matrix-upright");
    struct Case {
        std::string source;
        std::string output;
        const char* filter; // what the ffmpeg program does to the plain clip's pixels for the same picture
        int width, height, rotation;
    } cases[] = {{turned, "turned.mkv", "transpose=cclock", 240, 320, 0},
                 {turned, "turned.avi", "transpose=cclock", 240, 320, 0},
                 {turned, "turned.ts", "transpose=cclock", 240, 320, 0},
                 {turned, "turned.webm", "transpose=cclock", 240, 320, 0},
                 {mirrored, "mirrored.mkv", "hflip", 320, 240, 0},
                 {turned, "turned.mp4", "", 320, 240, 90}};
    for (const Case& c : cases) {
        const std::string out = dir + "/" + c.output;
        ASSERT_GT(convert(c.source, out), 0) << c.output;
        const FfprobeResult probe = ffprobe(out);
        ASSERT_TRUE(probe.ok && probe.firstVideo()) << c.output;
        EXPECT_EQ(probe.firstVideo()->width, c.width) << c.output;
        EXPECT_EQ(probe.firstVideo()->height, c.height) << c.output;
        EXPECT_EQ(std::abs(probe.firstVideo()->rotation), c.rotation) << c.output;
        int w = 0, h = 0, rw = 0, rh = 0;
        const auto frame = referenceFrame(out, "", w, h);
        const auto expected = referenceFrame(plain, c.filter, rw, rh);
        // A picture turned the wrong way round differs by far more than the encoders' loss (MPEG-4 in AVI ~9).
        EXPECT_LT(meanAbsoluteDifference(frame, expected), 14.0) << c.output;
    }
}

// A copy join into a container without rotation falls back to an upright encoding join instead of writing the
// clips sideways.
TEST(DisplayMatrix, CopyJoinIntoMatroskaOfTurnedClipsIsUpright) {
    const std::string turned = MediaFixtures::rotated90();
    const std::string dir = MediaFixtures::freshDir("matrix-join");
    const std::string out = dir + "/joined.mkv";
    jointest::Join join;
    ASSERT_NE(apiMediaJoinAddMediaClip(join.h, turned.c_str(), 0, 0), nullptr);
    ASSERT_NE(apiMediaJoinAddMediaClip(join.h, turned.c_str(), 0, 0), nullptr);
    ASSERT_GT(apiMediaJoinSetVideoCodec(join.h, "copy"), 0);
    ASSERT_GT(apiMediaJoinSetAudioCodec(join.h, "copy"), 0);
    ASSERT_GT(apiMediaJoinSetOutputPath(join.h, out.c_str()), 0);
    ASSERT_GE(apiMediaJoinStart(join.h), 0);
    const FfprobeResult probe = ffprobe(out);
    ASSERT_TRUE(probe.ok && probe.firstVideo());
    EXPECT_EQ(probe.firstVideo()->width, 240);
    EXPECT_EQ(probe.firstVideo()->height, 320);
    EXPECT_NEAR(probe.duration, 4.0, 0.15);
}
