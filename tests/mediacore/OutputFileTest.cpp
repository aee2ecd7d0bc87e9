// The output's temporary file: which leftovers a job removes, a folder renamed under a running job, and names as
// long as the file system takes.

#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using enginetest::convert;
using enginetest::filesIn;
using enginetest::Job;

namespace {

// Another process holding `path` open and locked, as a job in another process (or container) would, until the
// object goes away.
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(_release) != 0)
            return;
        _child = ::fork();
        if (_child == 0) {
            ::close(ready[0]);
            ::close(_release[1]);
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &locked, 1);
            char byte;
            (void)!::read(_release[0], &byte, 1); // until the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(_release[0]);
        char locked = 'n';
        _locked = ::read(ready[0], &locked, 1) == 1 && locked == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() {
        ::close(_release[1]);
        if (_child > 0)
            ::waitpid(_child, nullptr, 0);
    }
    bool locked() const { return _locked; }

private:
    pid_t _child = -1;
    int _release[2] = {-1, -1};
    bool _locked = false;
};

// 10 s of 640x360 that takes a moment to encode.
std::string tenSeconds() {
    return MediaFixtures::make("output_640x360_10s.mp4", "-f lavfi -i testsrc2=size=640x360:rate=25:duration=10 "
                                                         "-f lavfi -i sine=frequency=440:duration=10 "
                                                         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p "
                                                         "-c:a aac -shortest");
}

} // namespace

// A job removes the temporary files of ours that nobody holds (a killed writer's); one another process still
// writes (its lock held) stays, and so does every file not named as ours.
TEST(OutputFile, OnlyUnlockedTemporaryFilesOfOursAreRemoved) {
    const std::string dir = MediaFixtures::freshDir("output-stale");
    const std::vector<std::string> stale = {".a.mp4.0123456789abcdef.clipwright-part"};
    const std::string live = ".b.mp4.fedcba9876543210.clipwright-part";
    const std::vector<std::string> others = {".c.mp4.part", "notes.part", ".d.mp4.123-0123456789abcdef.part",
                                             "e.mp4.0123456789abcdef.clipwright-part", "holiday.mp4"};
    for (const auto& name : stale)
        std::ofstream(dir + "/" + name) << "x";
    for (const auto& name : others)
        std::ofstream(dir + "/" + name) << "x";
    std::ofstream(dir + "/" + live) << "x";
    LockHolder writer(dir + "/" + live);
    ASSERT_TRUE(writer.locked());
    ASSERT_GT(convert(MediaFixtures::mp4(), dir + "/out.mp4"), 0);
    std::vector<std::string> expected = others;
    expected.push_back(live);
    expected.push_back("out.mp4");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(dir), expected);
}

// The output folder renamed while a job writes: the output lands in the renamed folder, nothing is left beside it.
TEST(OutputFile, FolderRenamedWhileAJobRuns) {
    const std::string source = tenSeconds();
    const std::string dir = MediaFixtures::freshDir("output-renamed");
    const std::string before = dir + "/before";
    const std::string after = dir + "/after";
    fs::create_directory(before);
    Job job;
    ASSERT_GT(apiMediaConvertSetInputMedia(job.h, source.c_str()), 0);
    ASSERT_GT(apiMediaConvertSetVcodec(job.h, "mpeg4"), 0);
    ASSERT_GT(apiMediaConvertSetOutputPath(job.h, (before + "/out.mp4").c_str()), 0);
    std::atomic<bool> renamed{false};
    std::thread mover([&] {
        while (apiMediaConvertGetProgress(job.h) < 5)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        fs::rename(before, after);
        renamed = true;
    });
    const int rc = apiMediaConvertStart(job.h);
    mover.join();
    ASSERT_TRUE(renamed);
    EXPECT_GT(rc, 0);
    EXPECT_EQ(filesIn(after), std::vector<std::string>{"out.mp4"});
    const FfprobeResult probe = ffprobe(after + "/out.mp4");
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 10.0, 0.2);
}

// Any name the file system takes is taken, however much a temporary name would add to it; a longer one is
// refused when it is set.
TEST(OutputFile, NamesUpToTheFileSystemsLimit) {
    const std::string dir = MediaFixtures::freshDir("output-long");
    std::string chinese;
    for (int i = 0; i < 75; ++i)
        chinese += "\u89c6"; // three bytes each in UTF-8
    const struct {
        std::string name;
        bool taken;
    } cases[] = {
        {std::string(251, 'a') + ".mp4", true},
        {std::string(227, 'b') + ".mkv", true},
        {chinese + ".mp4", true},
        {std::string(252, 'c') + ".mp4", false},
    };
    for (const auto& c : cases) {
        const std::string target = dir + "/" + c.name;
        Job job;
        ASSERT_GT(apiMediaConvertSetInputMedia(job.h, MediaFixtures::mp4().c_str()), 0);
        const int set = apiMediaConvertSetOutputPath(job.h, target.c_str());
        if (!c.taken) {
            EXPECT_LT(set, 0) << c.name.size();
            continue;
        }
        ASSERT_GT(set, 0) << c.name.size();
        EXPECT_GT(apiMediaConvertStart(job.h), 0) << c.name.size();
        EXPECT_TRUE(ffprobe(target).ok) << c.name.size();
    }
    std::vector<std::string> expected;
    for (const auto& c : cases)
        if (c.taken)
            expected.push_back(c.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(dir), expected);
}
