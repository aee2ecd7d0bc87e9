// Jobs whose source fails under them: a read error halfway through, a file cut short while it is read, a write
// that meets a full disk. Each job runs in a process of its own (engine_job_runner) with a read-fault shim loaded
// or a file size limit set, and must fail with an error and leave nothing behind, never report half a file as done.

#include "EngineTestSupport.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using enginetest::filesIn;

namespace {

// 20 s, 320x240, 25 fps, a key frame every second, H.264 + AAC.
std::string twentySeconds() {
    return MediaFixtures::make("fault_320x240_20s_faststart.mp4",
                               "-f lavfi -i testsrc2=size=320x240:rate=25:duration=20 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 "
                               "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -keyint_min 25 "
                               "-sc_threshold 0 -c:a aac -shortest -movflags +faststart");
}

// Another shape, so a join with it encodes.
std::string otherShape() {
    return MediaFixtures::make("fault_640x360_2s.mp4", "-f lavfi -i testsrc2=size=640x360:rate=30:duration=2 "
                                                       "-f lavfi -i sine=frequency=330:sample_rate=48000:duration=2 "
                                                       "-ac 1 -c:v libx264 -preset ultrafast -pix_fmt yuv420p "
                                                       "-c:a aac -shortest");
}

struct RunResult {
    bool ran = false; // the runner reached Start
    int start = 0;    // Start's result
    std::string log;  // what the engine wrote to stderr
};

// Runs engine_job_runner with `environment` ("NAME=value ...") in front of it.
RunResult runJob(const std::string& environment, const std::vector<std::string>& arguments) {
    // The shim comes before the sanitizer runtime in a sanitizer build; that is all it needs.
    std::string command = "env ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0 " + environment + " " +
                          MediaFixtures::quote(ENGINE_JOB_RUNNER);
    for (const std::string& argument : arguments)
        command += " " + MediaFixtures::quote(argument);
    int status = -1;
    const std::string logFile = MediaFixtures::freshDir("fault-log") + "/stderr.txt";
    const std::string out = captureOutput(command + " 2>" + MediaFixtures::quote(logFile), &status);
    RunResult result;
    result.log = captureOutput("cat " + MediaFixtures::quote(logFile));
    result.ran = status == 0 && !out.empty();
    result.start = std::atoi(out.c_str());
    return result;
}

std::string faultEnvironment(const std::string& file, const char* mode) {
    const auto offset = fs::file_size(file) / 2;
    return "LD_PRELOAD=" + MediaFixtures::quote(READ_FAULT_SHIM) +
           " CLIPWRIGHT_FAULT_FILE=" + MediaFixtures::quote(fs::canonical(file).string()) +
           " CLIPWRIGHT_FAULT_OFFSET=" + std::to_string(offset) + " CLIPWRIGHT_FAULT_MODE=" + mode;
}

struct JobCase {
    const char* name;
    std::vector<std::string> (*arguments)(const std::string& source, const std::string& output);
};

const JobCase kJobs[] = {
    {"convert",
     [](const std::string& s, const std::string& o) {
         return std::vector<std::string>{"convert", s, o};
     }},
    {"frame-accurate cut",
     [](const std::string& s, const std::string& o) {
         return std::vector<std::string>{"convert", s, o, "1480000", "18520000"};
     }},
    {"copy cut",
     [](const std::string& s, const std::string& o) {
         return std::vector<std::string>{"convert", s, o, "1000000", "19000000", "copy"};
     }},
    {"join",
     [](const std::string& s, const std::string& o) {
         return std::vector<std::string>{"join", o, s, otherShape()};
     }},
};

} // namespace

// Reads of the source that fail halfway (EIO), or a source another program cuts short while it is read: every
// kind of job fails with an error code and leaves no file.
TEST(SourceFault, ReadFailureHalfwayFailsTheJob) {
    const std::string source = twentySeconds();
    otherShape();
    // The same jobs without a fault succeed: the fault alone makes them fail.
    const std::string good = MediaFixtures::freshDir("fault-none");
    for (const JobCase& job : kJobs) {
        const std::string out = good + "/" + std::string(job.name) + ".mp4";
        const RunResult result = runJob("", job.arguments(source, out));
        ASSERT_TRUE(result.ran) << job.name;
        EXPECT_GE(result.start, 0) << job.name;
        EXPECT_GT(ffprobe(out).duration, 15.0) << job.name;
    }
    for (const char* mode : {"eio", "shrink"}) {
        for (const JobCase& job : kJobs) {
            const std::string dir = MediaFixtures::freshDir("fault-read");
            // A copy of its own: the shrinking kind cuts it.
            const std::string input = dir + "/source.mp4";
            fs::copy_file(source, input);
            const std::string outDir = dir + "/out";
            fs::create_directory(outDir);
            const RunResult result =
                runJob(faultEnvironment(input, mode), job.arguments(input, outDir + "/result.mp4"));
            ASSERT_TRUE(result.ran) << mode << " " << job.name;
            EXPECT_LT(result.start, 0) << mode << " " << job.name;
            EXPECT_TRUE(filesIn(outDir).empty()) << mode << " " << job.name;
        }
    }
}

// A frame-accurate cut whose copy meets a full disk fails at once; it does not encode the whole range instead.
TEST(SourceFault, FullDiskFailsACutAtOnce) {
    const std::string source = twentySeconds();
    const std::string dir = MediaFixtures::freshDir("fault-full");
    // Room for about a third of the copy.
    const std::string limit = std::to_string(fs::file_size(source) / 3);
    const RunResult result =
        runJob("CLIPWRIGHT_FILE_SIZE_LIMIT=" + limit, {"convert", source, dir + "/cut.mp4", "1480000", "18520000"});
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.start, -EFBIG);
    EXPECT_TRUE(filesIn(dir).empty());
    // Encoding the range would meet the same limit later, after all its work.
    EXPECT_EQ(result.log.find("cut encoded"), std::string::npos) << result.log;
}
