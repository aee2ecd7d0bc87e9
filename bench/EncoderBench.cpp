// Every encoder a profile or a job that keeps the source's codecs can pick, the engine beside the ffmpeg program on
// the same input and the same settings (codec, bit rate, the engine's speed options), each in its own process.
//
//   bench_encoders [folder] [runs]      a 30 s 320x240 H.264 + AAC clip (kept in the folder); median of `runs` (3)
//   bench_encoders --encode IN OUT VIDEO AUDIO KBPS SECONDS    one engine encode (a child process): VIDEO or AUDIO
//                                       is the codec name ("-" for none: that stream is left out), KBPS its bit rate,
//                                       SECONDS how much of the clip (0: all of it)
//
// Cinepak takes the first 5 s only: its encoder is a hundred times slower than the others.
//
// Video rows leave the sound out, sound rows write a sound-only file. Every pair of outputs is checked to have the
// same streams, codecs, sizes, rates and picture counts (OutputCheck::sameShape); a difference ends the bench
// with an error.
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "libMediaCore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
int encodeOnce(const char* in, const char* out, const std::string& video, const std::string& audio, int kbps,
               int seconds) {
    const auto begin = Clock::now();
    CONVERT_HANDLE h = apiMediaConvertCreate();
    bool ok = apiMediaConvertSetInputMedia(h, in) > 0 && apiMediaConvertSetOutputPath(h, out) > 0;
    if (video != "-")
        ok = ok && apiMediaConvertSetVcodec(h, video.c_str()) > 0 && apiMediaConvertSetVideoBitrate(h, kbps) > 0 &&
             apiMediaConvertDisableMainAudio(h) > 0;
    else
        ok = ok && apiMediaConvertSetAcodec(h, audio.c_str()) > 0 && apiMediaConvertSetAudioBitrate(h, kbps) > 0;
    if (seconds > 0)
        ok = ok && apiMediaConvertSetCutTime(h, 0, seconds * 1'000'000LL) > 0;
    const int rc = ok ? apiMediaConvertStart(h) : -1;
    apiMediaConvertClose(h);
    BenchProcess::printInProcess(std::chrono::duration<double>(Clock::now() - begin).count());
    return rc > 0 ? 0 : 1;
}

struct Row {
    const char* label;
    const char* video; // engine codec name, "-" for a sound row
    const char* audio;
    int kbps;
    const char* extension;
    std::vector<std::string> ffmpeg;
    int seconds = 0; // of the clip; 0: all of it // the same encoder and options for the ffmpeg program
};

struct Timing {
    double wall = 0;
    double inProcess = 0;
};
} // namespace

int main(int argc, char** argv) {
    if (argc == 8 && std::string(argv[1]) == "--encode")
        return encodeOnce(argv[2], argv[3], argv[4], argv[5], std::atoi(argv[6]), std::atoi(argv[7]));
    const std::string self = BenchProcess::self();
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    fs::create_directories(folder);
    const std::string clip = (folder / "clip_320x240_30s.mp4").string();
    if (!BenchProcess::makeOnce(clip, "-f lavfi -i testsrc2=size=320x240:rate=25:duration=30 "
                                      "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=30 -ac 2 "
                                      "-c:v libx264 -preset medium -b:v 1M -pix_fmt yuv420p -c:a aac -b:a 128k "
                                      "-shortest"))
        return 1;

    // The engine's options for each encoder (Encoder::open) and the pixel format it picks (OutputPlan).
    const std::vector<std::string> noSound = {"-an"};
    auto video = [&](std::vector<std::string> options) {
        options.insert(options.begin(), noSound.begin(), noSound.end());
        return options;
    };
    auto sound = [](std::vector<std::string> options) {
        options.insert(options.begin(), "-vn");
        return options;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"H.264", "H264", "-", 800, "mp4", video({"-c:v", "libx264", "-preset", "veryfast", "-b:v", "800k", "-pix_fmt", "yuv420p"})},
        {"HEVC", "HEVC", "-", 800, "mp4", video({"-c:v", "libx265", "-preset", "veryfast", "-x265-params", "log-level=error", "-b:v", "800k", "-pix_fmt", "yuv420p", "-tag:v", "hvc1"})},
        {"MPEG-4", "MPEG4", "-", 800, "avi", video({"-c:v", "mpeg4", "-b:v", "800k", "-pix_fmt", "yuv420p"})},
        {"VP9", "VP9", "-", 800, "webm", video({"-c:v", "libvpx-vp9", "-deadline", "good", "-cpu-used", "5", "-row-mt", "1", "-b:v", "800k", "-pix_fmt", "yuv420p"})},
        {"Cinepak", "cinepak", "-", 800, "avi", video({"-t", "5", "-c:v", "cinepak", "-b:v", "800k", "-pix_fmt", "rgb24"}), 5},
        {"MJPEG", "MJPEG", "-", 800, "avi", video({"-c:v", "mjpeg", "-b:v", "800k", "-pix_fmt", "yuvj420p"})},
        {"AAC", "-", "AAC", 128, "m4a", sound({"-c:a", "aac", "-b:a", "128k"})},
        {"MP3", "-", "MP3", 128, "mp3", sound({"-c:a", "libmp3lame", "-b:a", "128k"})},
        {"Vorbis", "-", "Vorbis", 128, "ogg", sound({"-c:a", "libvorbis", "-b:a", "128k"})},
        {"Opus", "-", "Opus", 128, "opus", sound({"-c:a", "libopus", "-b:a", "128k"})},
        {"AC-3", "-", "AC3", 128, "ac3", sound({"-c:a", "ac3", "-b:a", "128k"})},
        {"MP2", "-", "MP2", 128, "mp2", sound({"-c:a", "mp2", "-b:a", "128k"})},
    };
    // clang-format on

    bool ok = true;
    std::printf("encoders on a 30 s 320x240 25 fps H.264 + AAC 44.1 kHz stereo clip, median of %d runs each, "
                "alternating (wall: the whole process; in process: the work alone)\n",
                runs);
    std::printf("%-8s %10s %10s %7s   %10s %10s %7s  %s\n", "encoder", "engine s", "ffmpeg s", "ratio", "engine in",
                "ffmpeg in", "ratio", "target <= 1.05");
    for (const Row& row : rows) {
        std::vector<double> engineWall, ffmpegWall, engineWork, ffmpegWork;
        const std::string ours = (folder / (std::string("enc_engine.") + row.extension)).string();
        const std::string theirs = (folder / (std::string("enc_ffmpeg.") + row.extension)).string();
        bool failed = false;
        for (int run = 0; run < runs && !failed; ++run) {
            fs::remove(ours);
            fs::remove(theirs);
            const BenchProcess::Result a = BenchProcess::run({self, "--encode", clip, ours, row.video, row.audio,
                                                              std::to_string(row.kbps), std::to_string(row.seconds)},
                                                             true);
            std::vector<std::string> args = {"-i", clip};
            args.insert(args.end(), row.ffmpeg.begin(), row.ffmpeg.end());
            args.push_back(theirs);
            const BenchProcess::Result b = BenchProcess::run(BenchProcess::timedFfmpeg(args), true);
            if (a.status != 0 || b.status != 0) {
                std::fprintf(stderr, "MISMATCH: %s failed (engine %d, ffmpeg %d)\n%s\n%s\n", row.label, a.status,
                             b.status, a.output.c_str(), b.output.c_str());
                failed = true;
                break;
            }
            engineWall.push_back(a.seconds);
            ffmpegWall.push_back(b.seconds);
            engineWork.push_back(BenchProcess::inProcessSeconds(a));
            ffmpegWork.push_back(BenchProcess::inProcessSeconds(b));
        }
        if (failed) {
            ok = false;
            continue;
        }
        const Timing engine{BenchProcess::median(engineWall), BenchProcess::median(engineWork)};
        const Timing ffmpeg{BenchProcess::median(ffmpegWall), BenchProcess::median(ffmpegWork)};
        const double ratio = engine.wall / ffmpeg.wall;
        const double workRatio = engine.inProcess / ffmpeg.inProcess;
        std::printf("%-8s %10.3f %10.3f %7.3f   %10.3f %10.3f %7.3f  %s\n", row.label, engine.wall, ffmpeg.wall, ratio,
                    engine.inProcess, ffmpeg.inProcess, workRatio, ratio <= 1.05 ? "met" : "MISSED");
        std::fflush(stdout);
        ok = OutputCheck::sameShape(row.label, ours, theirs, OutputCheck::Slack(1, 0.1)) && ok;
    }
    if (!ok)
        std::fprintf(stderr, "bench_encoders: an output differs from the ffmpeg program's (see MISMATCH above)\n");
    return ok ? 0 : 1;
}
