// The engine over the damaged and odd corpus: no crash, no hang, every success a file the ffmpeg program plays,
// every failure a clear code with nothing left behind.

#include "CorpusGenerator.h"

#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A run longer than this is a hang. The corpus's files are a second or two of a small picture and a run takes
// well under a second alone, but the tests run beside many others (and under the sanitizers): the bound is there to
// end a job that never would, not to time one that is slow.
constexpr auto kRunLimit = std::chrono::seconds(120);

bool folderEmpty(const std::string& dir) {
    return fs::is_empty(dir);
}

void probe(const CorpusFile& file) {
    MEDIA_HANDLE media = MediaOpen(file.path.c_str());
    if (!media)
        return; // refused: that is an answer
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    if (MediaGetInfo(media, &audio, &video) >= 0) {
        const int64_t duration = MediaGetDuration(media);
        EXPECT_GE(duration, 0) << file.path;
        EXPECT_LT(duration, 3600LL * 1'000'000) << file.path << ": a duration it cannot hold";
        std::vector<unsigned char> pixels(160 * 120 * 4);
        for (int64_t at : {int64_t{0}, duration / 2, duration})
            MediaSnapshot(media, at, 160, 120, pixels.data(), 0);
    }
    MediaClose(media);
}

// Runs `start` with `stop` as the watchdog's way out; false when the run had to be stopped.
template <typename Start, typename Stop> bool boundedRun(Start start, Stop stop, int& rc) {
    auto run = std::async(std::launch::async, start);
    if (run.wait_for(kRunLimit) == std::future_status::ready) {
        rc = run.get();
        return true;
    }
    stop();
    rc = run.get();
    return false;
}

void checkOutcome(const CorpusFile& file, const char* what, bool success, const std::string& dir,
                  const std::string& out) {
    if (success) {
        EXPECT_TRUE(fs::exists(out)) << what << " of " << file.path << " (" << file.kind << ")";
        EXPECT_TRUE(ffmpegDecodesCleanly(out)) << what << " of " << file.path << " (" << file.kind << ")";
        fs::remove(out);
    }
    EXPECT_TRUE(folderEmpty(dir)) << what << " of " << file.path << " left files behind";
}

void convert(const CorpusFile& file, const std::string& dir) {
    const std::string out = dir + "/converted.mp4";
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    int rc = 0;
    const bool inTime = boundedRun(
        [&] {
            int set = apiMediaConvertSetInputMedia(job, file.path.c_str());
            if (set <= 0)
                return set;
            if ((set = apiMediaConvertSetOutputPath(job, out.c_str())) <= 0)
                return set;
            // Bit rates make the job decode and encode: a job that changes nothing copies the packets, damage
            // and all, and the decoding road is what this corpus tries.
            if ((set = apiMediaConvertSetVideoBitrate(job, 500)) <= 0 ||
                (set = apiMediaConvertSetAudioBitrate(job, 96)) <= 0)
                return set;
            return apiMediaConvertStart(job);
        },
        [&] { apiMediaConvertStop(job); }, rc);
    apiMediaConvertClose(job);
    EXPECT_TRUE(inTime) << "conversion of " << file.path << " (" << file.kind << ") hung";
    checkOutcome(file, "conversion", inTime && rc > 0, dir, out);
}

void join(const CorpusFile& file, const std::string& intact, const std::string& dir) {
    const std::string out = dir + "/joined.mp4";
    JOIN_HANDLE job = apiMediaJoinCreate();
    ASSERT_NE(job, nullptr);
    int rc = 0;
    bool added = false;
    const bool inTime = boundedRun(
        [&] {
            added = apiMediaJoinAddMediaClip(job, intact.c_str(), 0, 0) != nullptr &&
                    apiMediaJoinAddMediaClip(job, file.path.c_str(), 0, 0) != nullptr;
            apiMediaJoinSetOutputPath(job, out.c_str());
            return apiMediaJoinStart(job);
        },
        [&] { apiMediaJoinStop(job); }, rc);
    apiMediaJoinClose(job);
    EXPECT_TRUE(inTime) << "join of " << file.path << " (" << file.kind << ") hung";
    // A clip refused when it was added makes the join fail, never a join without it reported as success.
    if (!added) {
        EXPECT_LT(rc, 0) << file.path;
    }
    checkOutcome(file, "join", inTime && rc >= 0 && added, dir, out);
}

// Every corpus file whose name holds `prefix`.
void runGroup(const std::string& prefix) {
    const std::vector<CorpusFile> corpus = CorpusGenerator::all(prefix);
    ASSERT_FALSE(corpus.empty());
    const std::string intact = corpus.front().path;
    const std::string dir = MediaFixtures::freshDir("corpus-out");
    int count = 0;
    for (const CorpusFile& file : corpus) {
        if (fs::path(file.path).filename().string().find(prefix) == std::string::npos)
            continue;
        ++count;
        SCOPED_TRACE(file.path);
        probe(file);
        convert(file, dir);
        join(file, intact, dir);
    }
    EXPECT_GT(count, 0) << "no corpus file is named with " << prefix;
}

} // namespace

TEST(Corpus, Mp4WithH264AndAac) {
    runGroup("base_h264_aac");
}

TEST(Corpus, WebmWithVp8AndVorbis) {
    runGroup("base_vp8_vorbis");
}

TEST(Corpus, TransportStreamWithMpeg2AndMp2) {
    runGroup("base_mpeg2_mp2");
}

TEST(Corpus, AviWithMpeg4AndMp3) {
    runGroup("base_mpeg4_mp3");
}

TEST(Corpus, Mp4WithHevcAndAac) {
    runGroup("base_hevc_aac");
}

TEST(Corpus, OddButValidFiles) {
    runGroup("odd_");
}

TEST(Corpus, NotMediaAndOddNames) {
    for (const char* prefix : {"random_", "empty", "text", "n\xc3\xa4me", "-starts", "pipe:", "playlist_"})
        runGroup(prefix);
}

// Playlists under media names name other files of their folder; they are not opened at all.
TEST(Corpus, PlaylistsAreNotOpened) {
    int count = 0;
    for (const CorpusFile& file : CorpusGenerator::all("playlist_")) {
        if (fs::path(file.path).filename().string().rfind("playlist_", 0) != 0)
            continue;
        ++count;
        MEDIA_HANDLE media = MediaOpen(file.path.c_str());
        EXPECT_EQ(media, nullptr) << file.path << " (" << file.kind << ")";
        if (media)
            MediaClose(media);
    }
    EXPECT_EQ(count, 2);
}
