// Join speed against the ffmpeg program.
//
//   bench_join [folder]                 runs both comparisons on clips generated once in the folder
//   bench_join --copy OUT IN...         one stream-copy join with the engine (used as a child process)
//   bench_join --fade OUT SECONDS IN... one re-encoding join with fades between the clips (child process)
//
// Copy: two 60 s 1280x720 pieces joined with "copy", against the concat demuxer with -c copy (targets: at least
// 50x real time, within 10 % of ffmpeg). Re-encoding: three 10 s 1280x720 clips with two 1 s fades, libx264
// "veryfast" at 4 Mbit/s and AAC at 128 kbit/s, against ffmpeg's xfade/acrossfade graph with the same codecs,
// preset and rates (target: within 5 %).
#include "BenchProcess.h"

#include "libMediaCore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr int kRuns = 5;
constexpr int kVideoKbps = 4000;
constexpr int kAudioKbps = 128;

int joinOnce(const std::string& out, const std::vector<std::string>& clips, double fadeSeconds, bool copy) {
    JOIN_HANDLE h = apiMediaJoinCreate();
    bool ok = apiMediaJoinSetOutputPath(h, out.c_str()) > 0;
    for (size_t i = 0; ok && i < clips.size(); ++i) {
        JOIN_CLIP_HANDLE clip = apiMediaJoinAddMediaClip(h, clips[i].c_str(), 0, 0);
        ok = clip != nullptr;
        if (ok && fadeSeconds > 0 && i + 1 < clips.size())
            ok = apiMediaJoinSetTransition(h, clip, 3, static_cast<int64_t>(fadeSeconds * 1e6)) > 0;
    }
    if (copy) {
        ok = ok && apiMediaJoinSetVideoCodec(h, "copy") > 0 && apiMediaJoinSetAudioCodec(h, "copy") > 0;
    } else {
        ok = ok && apiMediaJoinSetVideoCodec(h, "libx264") > 0 && apiMediaJoinSetAudioCodec(h, "aac") > 0 &&
             apiMediaJoinSetVideoBitrate(h, kVideoKbps) > 0 && apiMediaJoinSetAudioBitrate(h, kAudioKbps) > 0;
    }
    int rc = ok ? apiMediaJoinStart(h) : -1;
    apiMediaJoinClose(h);
    return rc >= 0 ? 0 : 1;
}

struct Comparison {
    std::vector<double> engine, ffmpeg;
    long enginePeak = 0, ffmpegPeak = 0;
};

bool compare(Comparison& c, const std::vector<std::string>& engineArgs, const std::vector<std::string>& ffmpegArgs,
             const std::string& engineOut, const std::string& ffmpegOut, int run) {
    fs::remove(engineOut);
    fs::remove(ffmpegOut);
    BenchProcess::Result engine = BenchProcess::run(engineArgs);
    BenchProcess::Result ffmpeg = BenchProcess::run(ffmpegArgs);
    if (engine.status != 0 || ffmpeg.status != 0) {
        std::fprintf(stderr, "a join failed (engine %d, ffmpeg %d)\n", engine.status, ffmpeg.status);
        return false;
    }
    c.engine.push_back(engine.seconds);
    c.ffmpeg.push_back(ffmpeg.seconds);
    c.enginePeak = std::max(c.enginePeak, engine.peakKiB);
    c.ffmpegPeak = std::max(c.ffmpegPeak, ffmpeg.peakKiB);
    std::printf("  run %d: engine %.3f s, ffmpeg %.3f s\n", run + 1, engine.seconds, ffmpeg.seconds);
    return true;
}

std::string clip(const fs::path& folder, const std::string& name, const std::string& source, int seconds) {
    std::string path = (folder / name).string();
    std::string args = "-f lavfi -i " + source + "=size=1280x720:rate=25:duration=" + std::to_string(seconds) +
                       " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds) +
                       " -c:v libx264 -preset veryfast -b:v 4M -g 50 -pix_fmt yuv420p -c:a aac -b:a 128k -shortest";
    return BenchProcess::makeOnce(path, args) ? path : std::string();
}
} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "--copy")
        return joinOnce(argv[2], std::vector<std::string>(argv + 3, argv + argc), 0, true);
    if (argc >= 5 && std::string(argv[1]) == "--fade")
        return joinOnce(argv[2], std::vector<std::string>(argv + 4, argv + argc), std::atof(argv[3]), false);

    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    fs::create_directories(folder);
    const std::string self = BenchProcess::self();

    // Copy: two pieces cut from one encode, as the editor's inverted trim writes them (same codec set-up).
    const std::string whole = clip(folder, "join_1280x720_120s.mp4", "testsrc2", 120);
    if (whole.empty())
        return 1;
    const std::string first = (folder / "join_piece1_60s.mp4").string();
    const std::string second = (folder / "join_piece2_60s.mp4").string();
    if (!BenchProcess::makeOnce(first, "-i '" + whole + "' -t 60 -c copy") ||
        !BenchProcess::makeOnce(second, "-ss 60 -i '" + whole + "' -c copy"))
        return 1;
    const std::string list = (folder / "join_list.txt").string();
    std::ofstream(list) << "file '" << first << "'\nfile '" << second << "'\n";
    Comparison copy;
    std::printf("copy join of two 60 s 1280x720 pieces:\n");
    for (int run = 0; run < kRuns; ++run) {
        const std::string a = (folder / "engine_copy.mp4").string(), b = (folder / "ffmpeg_copy.mp4").string();
        if (!compare(copy, {self, "--copy", a, first, second},
                     {"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "concat", "-safe", "0", "-i", list, "-c",
                      "copy", b},
                     a, b, run))
            return 1;
    }
    double copyEngine = BenchProcess::median(copy.engine), copyFfmpeg = BenchProcess::median(copy.ffmpeg);
    std::printf("  median of %d: engine %.3f s (%.0fx real time, target >= 50x), ffmpeg %.3f s, ratio %.3f "
                "(target <= 1.10); peak memory engine %ld KiB, ffmpeg %ld KiB\n",
                kRuns, copyEngine, 120.0 / copyEngine, copyFfmpeg, copyEngine / copyFfmpeg, copy.enginePeak,
                copy.ffmpegPeak);

    // Re-encoding: three clips with two 1 s fades.
    std::vector<std::string> clips = {clip(folder, "join_a_10s.mp4", "testsrc2", 10),
                                      clip(folder, "join_b_10s.mp4", "smptehdbars", 10),
                                      clip(folder, "join_c_10s.mp4", "testsrc", 10)};
    for (const std::string& c : clips)
        if (c.empty())
            return 1;
    const std::string graph = "[0:v][1:v]xfade=transition=fade:duration=1:offset=9[v01];"
                              "[v01][2:v]xfade=transition=fade:duration=1:offset=18[v];"
                              "[0:a][1:a]acrossfade=d=1:c1=tri:c2=tri[a01];[a01][2:a]acrossfade=d=1:c1=tri:c2=tri[a]";
    Comparison fade;
    std::printf("re-encoding join of three 10 s 1280x720 clips with two 1 s fades (libx264 veryfast %d kbit/s, "
                "aac %d kbit/s):\n",
                kVideoKbps, kAudioKbps);
    for (int run = 0; run < kRuns; ++run) {
        const std::string a = (folder / "engine_fade.mp4").string(), b = (folder / "ffmpeg_fade.mp4").string();
        std::vector<std::string> engineArgs = {self, "--fade", a, "1.0"};
        engineArgs.insert(engineArgs.end(), clips.begin(), clips.end());
        if (!compare(fade, engineArgs,
                     {"ffmpeg",
                      "-nostdin",
                      "-loglevel",
                      "error",
                      "-y",
                      "-i",
                      clips[0],
                      "-i",
                      clips[1],
                      "-i",
                      clips[2],
                      "-filter_complex",
                      graph,
                      "-map",
                      "[v]",
                      "-map",
                      "[a]",
                      "-c:v",
                      "libx264",
                      "-preset",
                      "veryfast",
                      "-b:v",
                      std::to_string(kVideoKbps) + "k",
                      "-c:a",
                      "aac",
                      "-b:a",
                      std::to_string(kAudioKbps) + "k",
                      b},
                     a, b, run))
            return 1;
    }
    double fadeEngine = BenchProcess::median(fade.engine), fadeFfmpeg = BenchProcess::median(fade.ffmpeg);
    std::printf("  median of %d: engine %.3f s, ffmpeg %.3f s, ratio %.3f (target <= 1.05); peak memory engine "
                "%ld KiB, ffmpeg %ld KiB\n",
                kRuns, fadeEngine, fadeFfmpeg, fadeEngine / fadeFfmpeg, fade.enginePeak, fade.ffmpegPeak);
    return 0;
}
