#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// Bump when a fixture's recipe changes, so stale cached files are not reused.
constexpr const char* kFixtureVersion = "v1";
}

std::string MediaFixtures::dir() {
    static const std::string folder = [] {
        const char* env = std::getenv("CLIPWRIGHT_FIXTURE_DIR");
        fs::path path = env ? fs::path(env)
                            : fs::temp_directory_path() /
                                  (std::string("clipwright-fixtures-") + std::to_string(getuid()) + "-" +
                                   kFixtureVersion);
        fs::create_directories(path);
        return path.string();
    }();
    return folder;
}

std::string MediaFixtures::quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

int MediaFixtures::run(const std::string& command) {
    int status = std::system(command.c_str());
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string MediaFixtures::make(const std::string& name, const std::string& ffmpegArgs) {
    fs::path target = fs::path(dir()) / name;
    if (fs::exists(target) && fs::file_size(target) > 0)
        return target.string();
    std::random_device rd;
    fs::path temp = fs::path(dir()) / (".tmp-" + std::to_string(getpid()) + "-" + std::to_string(rd()) + "-" + name);
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + ffmpegArgs + " " +
                          quote(temp.string()) + " 2>&1";
    int status = run(command);
    if (status != 0 || !fs::exists(temp)) {
        ADD_FAILURE() << "fixture generation failed (" << status << "): " << command;
        std::error_code ec;
        fs::remove(temp, ec);
        return "";
    }
    fs::rename(temp, target);
    return target.string();
}

std::string MediaFixtures::mp4() {
    return make("clip_320x240_25fps.mp4",
                "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 "
                "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 "
                "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 128k -shortest");
}

std::string MediaFixtures::mp3WithCover() {
    std::string cover = png();
    return make("audio_with_cover.mp3",
                "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 -i " + quote(cover) +
                    " -map 0:a -map 1:v -c:a libmp3lame -b:a 128k -ac 2 -c:v png -disposition:v attached_pic "
                    "-id3v2_version 3");
}

std::string MediaFixtures::rotated90() {
    std::string plain = mp4();
    return make("clip_rotated90.mp4", "-i " + quote(plain) + " -map 0 -c copy -metadata:s:v:0 rotate=90");
}

std::string MediaFixtures::twoAudioMkv() {
    return make("clip_two_audio.mkv",
                "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 "
                "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 "
                "-f lavfi -i sine=frequency=880:sample_rate=48000:duration=2 "
                "-map 0:v -map 1:a -map 2:a -c:v libx264 -preset ultrafast -pix_fmt yuv420p "
                "-c:a aac -ac:a:0 2 -ac:a:1 1 -metadata:s:a:0 language=eng -metadata:s:a:1 language=fra "
                "-metadata:s:a:1 title=Second");
}

std::string MediaFixtures::noAudio() {
    return make("clip_no_audio.mp4",
                "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -c:v libx264 -preset ultrafast "
                "-pix_fmt yuv420p -g 25");
}

std::string MediaFixtures::png() {
    return make("image_64x48.png", "-f lavfi -i testsrc2=size=64x48:rate=1:duration=1 -frames:v 1");
}

std::string MediaFixtures::srt() {
    fs::path target = fs::path(dir()) / "cues.srt";
    if (fs::exists(target))
        return target.string();
    fs::path temp = fs::path(dir()) / (".tmp-" + std::to_string(getpid()) + "-cues.srt");
    {
        std::ofstream out(temp);
        out << "1\n00:00:00,500 --> 00:00:01,000\nHello subtitle\n\n"
               "2\n00:00:01,200 --> 00:00:01,800\nSecond line\n\n";
    }
    fs::rename(temp, target);
    return target.string();
}

namespace {
// Folders made by freshDir, removed when the test program ends so that runs do not pile up in the temp folder.
// CLIPWRIGHT_KEEP_TEST_DIRS=1 keeps them for a look after a failure.
class MadeFolders {
public:
    void add(const std::string& path) {
        std::lock_guard<std::mutex> lock(_mutex);
        _paths.push_back(path);
    }
    ~MadeFolders() {
        const char* keep = std::getenv("CLIPWRIGHT_KEEP_TEST_DIRS");
        if (keep && *keep && std::string(keep) != "0")
            return;
        for (const std::string& path : _paths) {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    }

private:
    std::mutex _mutex;
    std::vector<std::string> _paths;
};

MadeFolders& madeFolders() {
    static MadeFolders folders;
    return folders;
}
} // namespace

std::string MediaFixtures::freshDir(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::string buffer = pattern;
    char* made = mkdtemp(buffer.data());
    if (!made)
        return std::string();
    madeFolders().add(made);
    return std::string(made);
}
