// Inputs and outputs are files and only files: names that FFmpeg would read as URLs, and playlists that would
// pull other files in, are not followed.

#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using enginetest::convert;
using enginetest::filesIn;
using enginetest::Job;

namespace {

// Runs `body` with `dir` as the working folder, so relative names resolve there.
template <typename Body> void inFolder(const std::string& dir, Body body) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    body();
    fs::current_path(before);
}

} // namespace

// A file named "pipe:0.mp4" given by a relative name is that file, not standard input; an output named
// "pipe:1.mp4" is a file of that name, not standard output.
TEST(FileOnly, NamesThatLookLikeUrlsAreFiles) {
    const std::string dir = MediaFixtures::freshDir("fileonly-url");
    fs::copy_file(MediaFixtures::mp4(), dir + "/pipe:0.mp4");
    inFolder(dir, [] {
        Job job;
        EXPECT_GT(apiMediaConvertSetInputMedia(job.h, "pipe:0.mp4"), 0);
        EXPECT_NEAR(static_cast<double>(apiMediaConvertGetDuration(job.h)), 2e6, 1e5);
        EXPECT_GT(apiMediaConvertSetOutputPath(job.h, "pipe:1.mp4"), 0);
        EXPECT_GT(apiMediaConvertStart(job.h), 0);
    });
    EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"pipe:0.mp4", "pipe:1.mp4"}));
    const FfprobeResult probe = ffprobe(dir + "/pipe:1.mp4");
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 2.0, 0.1);
}

// A playlist (concat list, HLS) saved under a media name is not opened: it would read other files of its folder.
TEST(FileOnly, PlaylistsNamedAsMediaAreRefused) {
    const std::string dir = MediaFixtures::freshDir("fileonly-playlist");
    fs::copy_file(MediaFixtures::mp4(), dir + "/other.mp4");
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"concat.mp4", "ffconcat version 1.0\nfile other.mp4\nfile other.mp4\n"},
        {"hls.mp4", "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:2\n#EXT-X-MEDIA-SEQUENCE:0\n"
                    "#EXTINF:2.0,\nother.mp4\n#EXT-X-ENDLIST\n"},
    };
    for (const auto& c : cases) {
        const std::string path = dir + "/" + c.name;
        std::ofstream(path) << c.text;
        Job job;
        EXPECT_LE(apiMediaConvertSetInputMedia(job.h, path.c_str()), 0) << c.name;
        MEDIA_HANDLE media = MediaOpen(path.c_str());
        EXPECT_EQ(media, nullptr) << c.name;
        if (media)
            MediaClose(media);
        JOIN_HANDLE join = apiMediaJoinCreate();
        EXPECT_EQ(apiMediaJoinAddMediaClip(join, path.c_str(), 0, 0), nullptr) << c.name;
        apiMediaJoinClose(join);
    }
}
