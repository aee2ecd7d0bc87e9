// Conversion and probe speed against the ffmpeg and ffprobe programs, and peak memory of a job.
//
//   bench_convert [folder]       runs everything on a generated 20 s 1280x720 clip (kept in the folder)
//   bench_convert --convert IN OUT VKBPS AKBPS    one conversion with the engine (used as a child process)
//   bench_convert --probe IN          one probe with the engine (used as a child process)
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "libMediaCore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
constexpr int kRuns = 5;
constexpr int kProbeRuns = 30;

// The source's codecs at the bit rates given (a job that sets nothing copies the streams).
int convertOnce(const char* in, const char* out, int videoKbps, int audioKbps) {
    auto start = Clock::now();
    CONVERT_HANDLE h = apiMediaConvertCreate();
    int rc = apiMediaConvertSetInputMedia(h, in) > 0 && apiMediaConvertSetVideoBitrate(h, videoKbps) > 0 &&
                     apiMediaConvertSetAudioBitrate(h, audioKbps) > 0 && apiMediaConvertSetOutputPath(h, out) > 0
                 ? apiMediaConvertStart(h)
                 : -1;
    apiMediaConvertClose(h);
    BenchProcess::printInProcess(std::chrono::duration<double>(Clock::now() - start).count());
    return rc > 0 ? 0 : 1;
}

int probeOnce(const char* in) {
    MEDIA_HANDLE h = MediaOpen(in);
    if (!h)
        return 1;
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    int rc = MediaGetInfo(h, &audio, &video);
    MediaGetDuration(h);
    MediaClose(h);
    return rc < 0 ? 1 : 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--convert")
        return convertOnce(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    if (argc == 3 && std::string(argv[1]) == "--probe")
        return probeOnce(argv[2]);

    const std::string self = BenchProcess::self();
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    fs::create_directories(folder);
    const std::string clip = (folder / "clip_1280x720_20s.mp4").string();
    if (!fs::exists(clip)) {
        std::string make = "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 "
                           "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=20 -c:v libx264 -preset medium "
                           "-b:v 4M -pix_fmt yuv420p -c:a aac -b:a 128k -shortest '" +
                           clip + "'";
        if (std::system(make.c_str()) != 0) {
            std::fprintf(stderr, "cannot make the clip\n");
            return 1;
        }
    }

    // The engine keeps the source's codecs (libx264 "veryfast", AAC), here at the source's bit rates (given, or it
    // would copy), through an fps filter. The ffmpeg program is given the same.
    MEDIA_HANDLE probe = MediaOpen(clip.c_str());
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    MediaGetInfo(probe, &audio, &video);
    MediaClose(probe);
    const int videoKbps = video.bitrate / 1000;
    const int audioKbps = std::clamp(audio.bitrate / 2, 32000, 160000) * 2 / 1000;
    const std::string videoRate = std::to_string(videoKbps * 1000);
    const std::string audioRate = std::to_string(audioKbps * 1000);

    std::vector<double> ours, theirs, oursInside, theirsInside;
    long oursPeak = 0, theirsPeak = 0;
    std::vector<std::string> engineOuts, ffmpegOuts;
    for (int run = 0; run < kRuns; ++run) {
        const std::string engineOut = (folder / ("engine_" + std::to_string(run) + ".mp4")).string();
        const std::string ffmpegOut = (folder / ("ffmpeg_" + std::to_string(run) + ".mp4")).string();
        engineOuts.push_back(engineOut);
        ffmpegOuts.push_back(ffmpegOut);
        fs::remove(engineOut);
        fs::remove(ffmpegOut);
        BenchProcess::Result engine = BenchProcess::run(
            {self, "--convert", clip, engineOut, std::to_string(videoKbps), std::to_string(audioKbps)}, true);
        // clang-format off
        BenchProcess::Result ffmpeg = BenchProcess::run(BenchProcess::timedFfmpeg({
            "-i", clip, "-vf", "fps=25:round=up,format=yuv420p", "-c:v", "libx264", "-preset", "veryfast",
            "-b:v", videoRate, "-c:a", "aac", "-b:a", audioRate, ffmpegOut}), true);
        // clang-format on
        if (engine.status != 0 || ffmpeg.status != 0) {
            std::fprintf(stderr, "a conversion failed (engine %d, ffmpeg %d)\n%s%s", engine.status, ffmpeg.status,
                         engine.output.c_str(), ffmpeg.output.c_str());
            return 1;
        }
        ours.push_back(engine.seconds);
        theirs.push_back(ffmpeg.seconds);
        oursInside.push_back(BenchProcess::inProcessSeconds(engine));
        theirsInside.push_back(BenchProcess::inProcessSeconds(ffmpeg));
        oursPeak = std::max(oursPeak, engine.peakKiB);
        theirsPeak = std::max(theirsPeak, ffmpeg.peakKiB);
        std::printf("run %d: engine %.3f s (%.3f s in process), ffmpeg %.3f s (%.3f s transcoding)\n", run + 1,
                    engine.seconds, oursInside.back(), ffmpeg.seconds, theirsInside.back());
    }
    std::printf("conversion (20 s 1280x720, libx264 veryfast %s bit/s + aac %s bit/s), median of %d:\n"
                "  engine %.3f s, ffmpeg %.3f s, ratio %.3f (target <= 1.05)\n"
                "  in process: engine %.3f s (the job), ffmpeg %.3f s (transcoding), ratio %.3f\n",
                videoRate.c_str(), audioRate.c_str(), kRuns, BenchProcess::median(ours), BenchProcess::median(theirs),
                BenchProcess::median(ours) / BenchProcess::median(theirs), BenchProcess::median(oursInside),
                BenchProcess::median(theirsInside),
                BenchProcess::median(oursInside) / BenchProcess::median(theirsInside));
    std::printf("peak memory: engine %ld KiB, ffmpeg %ld KiB, ratio %.3f (target <= 1.2)\n", oursPeak, theirsPeak,
                static_cast<double>(oursPeak) / theirsPeak);
    // Same codecs, settings and filter: the pictures and the sound must come out the same.
    const bool same = OutputCheck::sameDecoded("conversion", engineOuts, ffmpegOuts);

    std::vector<double> probeChild, ffprobeChild, probeInProcess;
    for (int run = 0; run < kProbeRuns; ++run) {
        probeChild.push_back(BenchProcess::run({self, "--probe", clip}).seconds);
        ffprobeChild.push_back(
            BenchProcess::run({"ffprobe", "-v", "error", "-show_format", "-show_streams", "-o", "/dev/null", clip})
                .seconds);
        auto start = Clock::now();
        probeOnce(clip.c_str());
        probeInProcess.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::printf("probe, median of %d: engine as a process %.1f ms, ffprobe %.1f ms, ratio %.3f (target <= 1.0); "
                "engine in process %.2f ms\n",
                kProbeRuns, BenchProcess::median(probeChild) * 1e3, BenchProcess::median(ffprobeChild) * 1e3,
                BenchProcess::median(probeChild) / BenchProcess::median(ffprobeChild),
                BenchProcess::median(probeInProcess) * 1e3);
    return same ? 0 : 1;
}
