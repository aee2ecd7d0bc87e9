// Join speed against the ffmpeg program.
//
//   bench_join [folder]                 runs both comparisons on clips generated once in the folder
//   bench_join --copy OUT IN...         one stream-copy join with the engine (used as a child process)
//   bench_join --fade OUT SECONDS IN... one re-encoding join with fades between the clips (child process)
//
// Copy: two 60 s 1280x720 pieces joined with "copy", against the concat demuxer with -c copy (targets: at least
// 50x real time, within 10 % of ffmpeg). Re-encoding: three 10 s 1280x720 clips with two 1 s fades, libx264
// "veryfast" at 4 Mbit/s and AAC at 128 kbit/s, against the ffmpeg program doing the same work with the same
// codecs, preset and rates (target: within 5 %): 4:2:0 pictures throughout, only the overlaps blended (the
// incoming clip's first second faded in over the outgoing clip's last), the rest passed through, and the sound
// cross-faded linearly over the overlaps. The outputs are checked against each other: the copies must hold the
// same packets, the re-encoded joins the same streams, profile, pixel format, picture count and duration.
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

namespace {
constexpr int kRuns = 5;
constexpr int kVideoKbps = 4000;
constexpr int kAudioKbps = 128;

int joinOnce(const std::string& out, const std::vector<std::string>& clips, double fadeSeconds, bool copy) {
    auto start = std::chrono::steady_clock::now();
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
    BenchProcess::printInProcess(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return rc >= 0 ? 0 : 1;
}

struct Comparison {
    std::vector<double> engine, ffmpeg, engineInside, ffmpegInside;
    long enginePeak = 0, ffmpegPeak = 0;

    void print(double mediaSeconds, double target) const {
        const double e = BenchProcess::median(engine), f = BenchProcess::median(ffmpeg);
        const double ei = BenchProcess::median(engineInside), fi = BenchProcess::median(ffmpegInside);
        std::printf("  median of %d: engine %.3f s (%.0fx real time), ffmpeg %.3f s, ratio %.3f (target <= %.2f)\n"
                    "  in process: engine %.3f s (the job), ffmpeg %.3f s (transcoding), ratio %.3f\n"
                    "  peak memory: engine %ld KiB, ffmpeg %ld KiB\n",
                    kRuns, e, mediaSeconds / e, f, e / f, target, ei, fi, ei / fi, enginePeak, ffmpegPeak);
    }
};

bool compare(Comparison& c, const std::vector<std::string>& engineArgs, const std::vector<std::string>& ffmpegArgs,
             const std::string& engineOut, const std::string& ffmpegOut, int run) {
    fs::remove(engineOut);
    fs::remove(ffmpegOut);
    BenchProcess::Result engine = BenchProcess::run(engineArgs, true);
    BenchProcess::Result ffmpeg = BenchProcess::run(BenchProcess::timedFfmpeg(ffmpegArgs), true);
    if (engine.status != 0 || ffmpeg.status != 0) {
        std::fprintf(stderr, "a join failed (engine %d, ffmpeg %d)\n%s%s", engine.status, ffmpeg.status,
                     engine.output.c_str(), ffmpeg.output.c_str());
        return false;
    }
    c.engine.push_back(engine.seconds);
    c.ffmpeg.push_back(ffmpeg.seconds);
    c.engineInside.push_back(BenchProcess::inProcessSeconds(engine));
    c.ffmpegInside.push_back(BenchProcess::inProcessSeconds(ffmpeg));
    c.enginePeak = std::max(c.enginePeak, engine.peakKiB);
    c.ffmpegPeak = std::max(c.ffmpegPeak, ffmpeg.peakKiB);
    std::printf("  run %d: engine %.3f s (%.3f s in process), ffmpeg %.3f s (%.3f s transcoding)\n", run + 1,
                engine.seconds, c.engineInside.back(), ffmpeg.seconds, c.ffmpegInside.back());
    return true;
}

// The ffmpeg program's graphs for the engine's fade join of `count` clips of `clipSeconds` each with `fadeSeconds`
// overlaps. Pictures: each clip is split into its untouched middle and its edges; in an overlap the incoming clip's
// head, its alpha fading in, lies over the outgoing clip's tail (all 4:2:0); the pieces are concatenated in order.
// Sound: linear cross-fades over the overlaps. Two graphs rather than one, since one graph holding both makes the
// ffmpeg program read ahead and hold hundreds of decoded pictures.
struct FadeGraphs {
    std::string video, audio;
};

FadeGraphs fadeGraphs(int count, int clipSeconds, int fadeSeconds) {
    const std::string l = std::to_string(clipSeconds), d = std::to_string(fadeSeconds);
    const std::string tailStart = std::to_string(clipSeconds - fadeSeconds);
    auto piece = [](const std::string& from, const std::string& to) {
        return "trim=start=" + from + ":end=" + to + ",setpts=PTS-STARTPTS";
    };
    FadeGraphs graphs;
    std::string pieces, sound = "[0:a]";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const bool first = i == 0, last = i + 1 == count;
        std::string& g = graphs.video;
        g += "[" + n + ":v]split=" + std::to_string(1 + !first + !last) + "[m" + n + "]" +
             (first ? "" : "[h" + n + "]") + (last ? "" : "[t" + n + "]") + ";";
        g += "[m" + n + "]" + piece(first ? "0" : d, last ? l : tailStart) + "[b" + n + "];";
        if (!first)
            g += "[h" + n + "]" + piece("0", d) + ",format=yuva420p,fade=t=in:st=0:d=" + d + ":alpha=1[in" + n + "];";
        if (!last)
            g += "[t" + n + "]" + piece(tailStart, l) + "[out" + n + "];";
        if (!first) {
            const std::string p = std::to_string(i - 1);
            g += "[out" + p + "][in" + n + "]overlay=format=yuv420[x" + p + "];";
            pieces += "[x" + p + "]"; // between the previous clip's middle and this one's
            const std::string mixed = last ? "[a]" : "[a" + n + "]";
            graphs.audio += (graphs.audio.empty() ? "" : ";") + sound + "[" + n + ":a]acrossfade=d=" + d +
                            ":c1=tri:c2=tri" + mixed;
            sound = mixed;
        }
        pieces += "[b" + n + "]";
    }
    graphs.video += pieces + "concat=n=" + std::to_string(2 * count - 1) + ":v=1:a=0[v]";
    return graphs;
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
    Comparison copy;
    std::printf("copy join of two 60 s 1280x720 pieces:\n");
    for (int run = 0; run < kRuns; ++run) {
        const std::string a = (folder / "engine_copy.mp4").string(), b = (folder / "ffmpeg_copy.mp4").string();
        if (!compare(copy, {self, "--copy", a, first, second},
                     BenchProcess::concatCopy({first, second}, (folder / "join_list.txt").string(), b),
                     a, b, run))
            return 1;
    }
    copy.print(120.0, 1.10);
    std::printf("  (target: at least 50x real time)\n");
    // The two place the second piece a little differently (the engine where the first piece's last packet ends,
    // the concat demuxer at the first file's duration): up to a few pictures apart.
    bool same = OutputCheck::samePackets("copy join", (folder / "engine_copy.mp4").string(),
                                         (folder / "ffmpeg_copy.mp4").string(), OutputCheck::Slack(0, 0.15));

    // Re-encoding: three clips with two 1 s fades.
    std::vector<std::string> clips = {clip(folder, "join_a_10s.mp4", "testsrc2", 10),
                                      clip(folder, "join_b_10s.mp4", "smptehdbars", 10),
                                      clip(folder, "join_c_10s.mp4", "testsrc", 10)};
    for (const std::string& c : clips)
        if (c.empty())
            return 1;
    const FadeGraphs graphs = fadeGraphs(3, 10, 1);
    std::printf("the ffmpeg program's graphs: %s\n  %s\n", graphs.video.c_str(), graphs.audio.c_str());
    Comparison fade;
    std::printf("re-encoding join of three 10 s 1280x720 clips with two 1 s fades (libx264 veryfast %d kbit/s, "
                "aac %d kbit/s):\n",
                kVideoKbps, kAudioKbps);
    for (int run = 0; run < kRuns; ++run) {
        const std::string a = (folder / "engine_fade.mp4").string(), b = (folder / "ffmpeg_fade.mp4").string();
        std::vector<std::string> engineArgs = {self, "--fade", a, "1.0"};
        engineArgs.insert(engineArgs.end(), clips.begin(), clips.end());
        if (!compare(fade, engineArgs,
                     // clang-format off
                     {"-i", clips[0], "-i", clips[1], "-i", clips[2], "-filter_complex", graphs.video,
                      "-filter_complex", graphs.audio,
                      "-map", "[v]", "-map", "[a]", "-c:v", "libx264", "-preset", "veryfast",
                      "-b:v", std::to_string(kVideoKbps) + "k", "-c:a", "aac", "-b:a", std::to_string(kAudioKbps) + "k", b},
                     // clang-format on
                     a, b, run))
            return 1;
    }
    fade.print(28.0, 1.05);
    // The same work in another program: the same streams, profile, pixel format, pictures and length.
    same = OutputCheck::sameShape("fade join", (folder / "engine_fade.mp4").string(),
                                  (folder / "ffmpeg_fade.mp4").string()) &&
           same;
    return same ? 0 : 1;
}
