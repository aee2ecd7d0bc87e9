// Frame-accurate cuts of jobs that change nothing but the range (copy between key frames, encode the edges)
// against encoding the whole range with the engine and against the least work the ffmpeg program needs for the
// same frame-accurate cut, one step after another: encode the head up to the first key frame in the range (with
// the engine's edge encoder settings), copy from there to the last key frame before the end, encode the tail.
// The ffmpeg program's key-frame copy cut (`-ss -to -c copy`, not frame-accurate) is timed for reference and its
// packets checked against ours. On long 1080p30 clips with a key frame every 10 s; and a cut from key frame to
// key frame (a pure copy for both) against the ffmpeg program's.
//
//   bench_smartcut [folder] [minutes]     H.264 and HEVC clips of `minutes` (10) kept in the folder; the cuts are
//                                          2 minutes from the middle, one starting and ending between key frames,
//                                          one on key frames
//   bench_smartcut --cut IN OUT START_US STOP_US [CODEC]    one engine cut (a child process, printing the time of
//                                          the cut itself); naming the codec ("H264", "HEVC") makes the job encode
//                                          the range
//
// Every output is checked against the ffmpeg program's: the engine's cut must hold exactly the range's pictures
// (count, duration, profile), and the packets both copied must be the same bytes in the same order (all of the
// range's for the cut on key frames, sound included). A difference ends the bench with an error.
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "libMediaCore.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
constexpr int kRuns = 3;
constexpr double kFps = 30;

// `codec` empty: the job keeps the source's codecs; otherwise the codec it names (the range is then encoded).
int cutOnce(const char* in, const char* out, long long startUs, long long stopUs, const std::string& codec) {
    const auto begin = Clock::now();
    CONVERT_HANDLE h = apiMediaConvertCreate();
    bool ok = apiMediaConvertSetInputMedia(h, in) > 0 && apiMediaConvertSetCutTime(h, startUs, stopUs) > 0 &&
              apiMediaConvertSetOutputPath(h, out) > 0 &&
              (codec.empty() || apiMediaConvertSetVcodec(h, codec.c_str()) > 0);
    int rc = ok ? apiMediaConvertStart(h) : -1;
    apiMediaConvertClose(h);
    BenchProcess::printInProcess(std::chrono::duration<double>(Clock::now() - begin).count());
    return rc > 0 ? 0 : 1;
}

std::string quote(const std::string& text) {
    return "'" + text + "'";
}

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, got);
        pclose(pipe);
    }
    return text;
}

// The checksums of the video packets that are not key frames, in decoding order. (Where the engine's cut encodes
// pictures, its copied key frames carry the source's parameter sets in front of their pictures.)
std::vector<std::string> nonKeyPacketHashes(const std::string& path) {
    std::vector<std::string> hashes;
    std::istringstream lines(
        output("ffmpeg -nostdin -v error -i " + quote(path) + " -map 0:v:0 -c copy -f framemd5 - 2>/dev/null"));
    std::istringstream flags(
        output("ffprobe -v error -select_streams v:0 -show_entries packet=flags -of csv=p=0 " + quote(path)));
    std::string flag;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (!std::getline(flags, flag))
            break;
        if (flag.empty() || flag[0] != 'K')
            hashes.push_back(line.substr(line.rfind(',') + 1));
    }
    return hashes;
}

struct PacketSum {
    double seconds = 0; // presentation time
    std::string hash;
};

// The packets of one stream ("v:0", "a:0") as stored, in decoding order, with their presentation times.
std::vector<PacketSum> packetSums(const std::string& path, const std::string& stream) {
    std::vector<PacketSum> sums;
    std::istringstream lines(output("ffmpeg -nostdin -v error -i " + quote(path) + " -map 0:" + stream +
                                    " -c copy -f framemd5 - 2>/dev/null"));
    double tick = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("#tb 0:", 0) == 0) {
            const size_t slash = line.find('/');
            tick = slash == std::string::npos ? 0 : std::atof(line.c_str() + 6) / std::atof(line.c_str() + slash + 1);
        }
        if (line.empty() || line[0] == '#')
            continue;
        // stream, dts, pts, duration, size, hash
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, ',');)
            fields.push_back(field);
        if (fields.size() == 6)
            sums.push_back({std::atof(fields[2].c_str()) * tick, fields[5].substr(fields[5].find_first_not_of(' '))});
    }
    return sums;
}

// The checksums of the packets shown in [from, to).
std::vector<std::string> hashesOf(const std::vector<PacketSum>& sums, double from = -1e300, double to = 1e300) {
    std::vector<std::string> hashes;
    for (const PacketSum& sum : sums)
        if (sum.seconds >= from - 1e-6 && sum.seconds < to - 1e-6)
            hashes.push_back(sum.hash);
    return hashes;
}

// One entry of the first video stream; a frame count (nb_read_frames) decodes the whole stream.
std::string probeEntry(const std::string& path, const std::string& entries) {
    const std::string counting = entries.find("nb_read_frames") != std::string::npos ? "-count_frames " : "";
    std::string text = output("ffprobe -v error -select_streams v:0 " + counting + "-show_entries " + entries +
                              " -of csv=p=0 " + quote(path));
    while (!text.empty() && (text.back() == '\n' || text.back() == ','))
        text.pop_back();
    return text;
}

bool fail(const std::string& what) {
    std::fprintf(stderr, "MISMATCH: %s\n", what.c_str());
    return false;
}

// What every engine cut of `seconds` must be: exactly the range's pictures, lasting the range, in the source's
// profile, decoding without an error.
bool checkRange(const std::string& source, const std::string& ours, double seconds, std::string& summary) {
    const std::string sourceProfile = probeEntry(source, "stream=profile");
    const std::string oursProfile = probeEntry(ours, "stream=profile");
    const long frames = std::atol(probeEntry(ours, "stream=nb_read_frames").c_str());
    const double duration = std::atof(probeEntry(ours, "stream=duration").c_str());
    const long expected = std::lround(std::ceil(seconds * kFps - 1e-6));
    if (frames != expected)
        return fail(ours + " has " + std::to_string(frames) + " pictures, the range " + std::to_string(expected));
    if (std::fabs(duration - expected / kFps) > 0.5 / kFps)
        return fail(ours + " lasts " + std::to_string(duration) + " s, the range " + std::to_string(expected / kFps));
    if (oursProfile != sourceProfile)
        return fail(ours + " has profile " + oursProfile + " where the source's is " + sourceProfile);
    if (!output("ffmpeg -nostdin -v error -i " + quote(ours) + " -f null - 2>&1").empty())
        return fail(ours + " does not decode cleanly");
    summary =
        std::to_string(frames) + " pictures (the range's), " + std::to_string(duration) + " s, profile " + oursProfile;
    return true;
}

// The engine's frame-accurate cut against the ffmpeg program's key-frame copy of the same range: what both copied
// (the ffmpeg program's packets after its first group of pictures, which holds the pictures before the range's
// start, and before its last one) is in ours in the same order.
bool checkAgainstCopy(const std::string& source, const std::string& ours, const std::string& theirs, double seconds) {
    std::string summary;
    if (!checkRange(source, ours, seconds, summary))
        return false;
    const std::vector<std::string> mine = nonKeyPacketHashes(ours);
    const std::vector<std::string> copied = nonKeyPacketHashes(theirs);
    const size_t group = static_cast<size_t>(10 * kFps);
    if (copied.size() < 3 * group)
        return fail("the ffmpeg program's copy holds fewer than three groups of pictures");
    // HEVC: the leading pictures of the engine's first copied key frame are left out (they show before it).
    const size_t leading = 16;
    const std::vector<std::string> shared(copied.begin() + group + leading, copied.end() - group);
    if (std::search(mine.begin(), mine.end(), shared.begin(), shared.end()) == mine.end())
        return fail("the " + std::to_string(shared.size()) + " packets both copied differ");
    std::printf("  checked: %s; %zu copied packets byte for byte the ffmpeg program's\n", summary.c_str(),
                shared.size());
    return true;
}

// A cut from key frame to key frame. Where the engine's log says it copied every packet, its video packets are
// exactly the ffmpeg program's that show inside the range (the ffmpeg program also copies those decoded before
// the end that show after it, and before the start). Where the pictures shown just before the end key frame
// depend on it (HEVC's open groups of pictures), the engine encodes those `encodedAfter` pictures and puts the
// parameter sets in front of its key frames: then every other packet must be the ffmpeg program's.
// Its sound packets are a run of the ffmpeg program's either way.
bool checkAlignedCut(const std::string& source, const std::string& ours, const std::string& theirs, double seconds,
                     const std::string& engineLog) {
    std::string summary;
    if (!checkRange(source, ours, seconds, summary))
        return false;
    if (probeEntry(theirs, "stream=profile") != probeEntry(ours, "stream=profile"))
        return fail("the profiles of the key-frame cuts differ");
    const bool pure = engineLog.find("cut by copy: all") != std::string::npos;
    const std::string afterKey = "before them and ";
    const size_t afterAt = engineLog.find(afterKey);
    const long encodedAfter =
        afterAt == std::string::npos ? -1 : std::atol(engineLog.c_str() + afterAt + afterKey.size());
    std::vector<std::string> mine, copied;
    if (pure) {
        mine = hashesOf(packetSums(ours, "v:0"));
        copied = hashesOf(packetSums(theirs, "v:0"), 0, seconds);
    } else {
        if (encodedAfter < 0 || encodedAfter > 16 || engineLog.find("0 pictures encoded before") == std::string::npos)
            return fail("the key-frame cut encoded more than the pictures before its end key frame: " + engineLog);
        // Non-key packets in decoding order (their presentation times from the same listing).
        // The video packets shown in [0, to) in decoding order less the last `encodedAfter` (the engine's
        // encoded pictures; the ffmpeg program's copies of the pictures they stand for), key frames left out.
        auto copiedNonKey = [encodedAfter](const std::string& path, double to) {
            const std::vector<PacketSum> sums = packetSums(path, "v:0");
            std::istringstream flags(
                output("ffprobe -v error -select_streams v:0 -show_entries packet=flags -of csv=p=0 " + quote(path)));
            std::vector<std::pair<std::string, bool>> inRange; // hash, key frame
            std::string flag;
            for (const PacketSum& sum : sums)
                if (std::getline(flags, flag) && sum.seconds >= -1e-6 && sum.seconds < to - 1e-6)
                    inRange.emplace_back(sum.hash, !flag.empty() && flag[0] == 'K');
            inRange.resize(inRange.size() - std::min(inRange.size(), static_cast<size_t>(encodedAfter)));
            std::vector<std::string> hashes;
            for (const auto& [hash, key] : inRange)
                if (!key)
                    hashes.push_back(hash);
            return hashes;
        };
        mine = copiedNonKey(ours, seconds);
        copied = copiedNonKey(theirs, seconds);
        if (mine.empty())
            return fail("the key-frame cut holds no copied packets");
    }
    if (mine != copied)
        return fail("the key-frame cut's " + std::to_string(mine.size()) + " copied video packets are not the " +
                    "ffmpeg program's " + std::to_string(copied.size()));
    const std::vector<std::string> sound = hashesOf(packetSums(ours, "a:0"));
    const std::vector<std::string> theirSound = hashesOf(packetSums(theirs, "a:0"));
    if (sound.empty() ||
        std::search(theirSound.begin(), theirSound.end(), sound.begin(), sound.end()) == theirSound.end())
        return fail("the key-frame cut's " + std::to_string(sound.size()) +
                    " sound packets are not a run of the ffmpeg program's");
    if (pure)
        std::printf("  checked: %s; a pure copy: all %zu video and %zu sound packets byte for byte the ffmpeg "
                    "program's\n",
                    summary.c_str(), mine.size(), sound.size());
    else
        std::printf("  checked: %s; %ld pictures before the end key frame depend on it and were encoded; the other "
                    "%zu non-key video packets and all %zu sound packets byte for byte the ffmpeg program's\n",
                    summary.c_str(), encodedAfter, mine.size(), sound.size());
    return true;
}

struct Timing {
    double seconds = 0;   // median wall time of the process
    double inProcess = 0; // median of the work's own time, as the process reported it
    std::string log;      // the last run's output
};

// Runs the engine's cut and the ffmpeg program's key-frame copy of [start, stop) kRuns times each, alternating.
bool timeCuts(const std::string& self, const std::string& clip, double start, double stop, const std::string& ours,
              const std::string& theirs, Timing& engine, Timing& ffmpeg) {
    std::vector<double> engineWall, engineWork, ffmpegWall, ffmpegWork;
    std::string engineLog;
    for (int run = 0; run < kRuns; ++run) {
        fs::remove(ours);
        fs::remove(theirs);
        const BenchProcess::Result a =
            BenchProcess::run({self, "--cut", clip, ours, std::to_string(std::llround(start * 1e6)),
                               std::to_string(std::llround(stop * 1e6))},
                              true);
        const BenchProcess::Result b =
            BenchProcess::run(BenchProcess::timedFfmpeg({"-ss", std::to_string(start), "-to", std::to_string(stop),
                                                         "-i", clip, "-c", "copy", theirs}),
                              true);
        if (a.status != 0 || b.status != 0) {
            std::fprintf(stderr, "a cut failed (engine %d, ffmpeg %d)\n%s\n%s\n", a.status, b.status, a.output.c_str(),
                         b.output.c_str());
            return false;
        }
        engineLog = a.output;
        engineWall.push_back(a.seconds);
        engineWork.push_back(BenchProcess::inProcessSeconds(a));
        ffmpegWall.push_back(b.seconds);
        ffmpegWork.push_back(BenchProcess::inProcessSeconds(b));
    }
    engine = {BenchProcess::median(engineWall), BenchProcess::median(engineWork), engineLog};
    ffmpeg = {BenchProcess::median(ffmpegWall), BenchProcess::median(ffmpegWork), ""};
    return true;
}

// The ffmpeg program's frame-accurate cut of [start, stop) done with the least work, step by step: the head
// [start, firstKey) and the tail [lastKey, stop) encoded with `encoder`, [firstKey, lastKey) copied. Medians of
// the three steps' sum, kRuns times.
bool timeLeastWork(const std::string& clip, double start, double firstKey, double lastKey, double stop,
                   const std::vector<std::string>& encoder, const fs::path& folder, Timing& steps) {
    std::vector<double> wall, work;
    auto range = [&](double from, double to, const std::vector<std::string>& codec, const std::string& out) {
        std::vector<std::string> args = {"-ss", std::to_string(from), "-to", std::to_string(to), "-i", clip};
        args.insert(args.end(), codec.begin(), codec.end());
        args.push_back(out);
        return BenchProcess::timedFfmpeg(args);
    };
    std::vector<std::string> encodeVideo = {"-an"};
    encodeVideo.insert(encodeVideo.end(), encoder.begin(), encoder.end());
    const std::string head = (folder / "steps_head.mp4").string();
    const std::string middle = (folder / "steps_copy.mp4").string();
    const std::string tail = (folder / "steps_tail.mp4").string();
    for (int run = 0; run < kRuns; ++run) {
        double seconds = 0, inProcess = 0;
        for (const auto& command :
             {range(start, firstKey, encodeVideo, head), range(firstKey, lastKey, {"-c", "copy"}, middle),
              range(lastKey, stop, encodeVideo, tail)}) {
            const BenchProcess::Result step = BenchProcess::run(command, true);
            if (step.status != 0) {
                std::fprintf(stderr, "an ffmpeg step failed\n%s\n", step.output.c_str());
                return false;
            }
            seconds += step.seconds;
            inProcess += BenchProcess::inProcessSeconds(step);
        }
        wall.push_back(seconds);
        work.push_back(inProcess);
    }
    const long headPictures = std::lround((firstKey - start) * kFps);
    const long tailPictures = std::lround((stop - lastKey) * kFps);
    if (OutputCheck::probe(head).streams.empty() || OutputCheck::probe(head).streams[0].packets != headPictures ||
        OutputCheck::probe(tail).streams.empty() || OutputCheck::probe(tail).streams[0].packets != tailPictures)
        return fail("the ffmpeg program's head or tail does not hold " + std::to_string(headPictures) + " and " +
                    std::to_string(tailPictures) + " pictures");
    steps = {BenchProcess::median(wall), BenchProcess::median(work), ""};
    return true;
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

bool benchCodec(const std::string& self, const fs::path& folder, const std::string& name, const std::string& codec,
                const std::string& engineCodec, const std::vector<std::string>& edgeEncoder, int minutes) {
    const std::string clip =
        (folder / ("clip_1920x1080_30fps_" + name + "_" + std::to_string(minutes) + "min.mp4")).string();
    const int seconds = minutes * 60;
    if (!BenchProcess::makeOnce(
            clip, "-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=" + std::to_string(seconds) +
                      " -f lavfi -i sine=frequency=440:sample_rate=48000:duration=" + std::to_string(seconds) + " " +
                      codec + " -c:a aac -b:a 128k -shortest")) {
        std::fprintf(stderr, "cannot make the %s clip\n", name.c_str());
        return false;
    }
    // Two minutes from the middle, between key frames at both ends; and the same on the key frames before.
    const double keyStart = seconds / 2.0 - 60;
    const double start = keyStart + 3.5;
    const double stop = start + 120;
    const std::string ours = (folder / ("smart_" + name + ".mp4")).string();
    const std::string theirs = (folder / ("ffmpeg_copy_" + name + ".mp4")).string();
    const std::string oursAligned = (folder / ("smart_keyframes_" + name + ".mp4")).string();
    const std::string theirsAligned = (folder / ("ffmpeg_copy_keyframes_" + name + ".mp4")).string();
    Timing smart, copy, smartAligned, copyAligned;
    if (!timeCuts(self, clip, start, stop, ours, theirs, smart, copy) ||
        !timeCuts(self, clip, keyStart, keyStart + 120, oursAligned, theirsAligned, smartAligned, copyAligned))
        return false;
    const std::string encoded = (folder / ("encoded_" + name + ".mp4")).string();
    fs::remove(encoded);
    const BenchProcess::Result encode =
        BenchProcess::run({self, "--cut", clip, encoded, std::to_string(std::llround(start * 1e6)),
                           std::to_string(std::llround(stop * 1e6)), engineCodec},
                          true);
    if (encode.status != 0) {
        std::fprintf(stderr, "the encoded cut failed\n%s\n", encode.output.c_str());
        return false;
    }
    // Key frames every 10 s: the first in the range and the last before its end.
    const double firstKey = std::ceil(start / 10) * 10;
    const double lastKey = std::floor(stop / 10) * 10;
    Timing steps;
    if (!timeLeastWork(clip, start, firstKey, lastKey, stop, edgeEncoder, folder, steps))
        return false;
    const double encodeWork = BenchProcess::inProcessSeconds(encode);
    const double faster = encode.seconds / smart.seconds;
    const double slower = smart.seconds / steps.seconds;
    std::printf("%s, %d min 1920x1080 30 fps, key frame every 10 s (medians of %d; in process: the work alone, "
                "without process start-up):\n",
                name.c_str(), minutes, kRuns);
    std::printf("  frame-accurate cut %.1f..%.1f s: engine %.2f s (in process %.2f s), engine encoding the range "
                "%.2f s (%.2f s), ffmpeg key-frame copy %.2f s (%.2f s)\n",
                start, stop, smart.seconds, smart.inProcess, encode.seconds, encodeWork, copy.seconds, copy.inProcess);
    std::printf("  ffmpeg's least work for the same exact cut, step by step (encode %.1f..%.1f, copy to %.1f, encode "
                "to %.1f): %.2f s (in process %.2f s)\n",
                start, firstKey, lastKey, stop, steps.seconds, steps.inProcess);
    std::printf("  %.1fx faster than encoding (in process %.1fx; target >= 20: %s), %.2fx the ffmpeg program's steps "
                "(in process %.2fx; target <= 1.0: %s); %.2fx its key-frame copy, which is not frame-accurate\n",
                faster, encodeWork / smart.inProcess, verdict(faster >= 20), slower, smart.inProcess / steps.inProcess,
                verdict(slower <= 1.0), smart.seconds / copy.seconds);
    const double alignedRatio = smartAligned.seconds / copyAligned.seconds;
    std::printf("  key-frame cut %.1f..%.1f s (a copy for both): engine %.2f s (%.2f s), ffmpeg %.2f s (%.2f s): "
                "%.2fx (in process %.2fx; within 1.5x: %s)\n",
                keyStart, keyStart + 120, smartAligned.seconds, smartAligned.inProcess, copyAligned.seconds,
                copyAligned.inProcess, alignedRatio, smartAligned.inProcess / copyAligned.inProcess,
                verdict(alignedRatio <= 1.5));
    std::fflush(stdout);
    std::string encodedSummary;
    bool checked = checkAgainstCopy(clip, ours, theirs, stop - start);
    if (checked && (checked = checkRange(clip, encoded, stop - start, encodedSummary)))
        std::printf("  checked the encoded range: %s\n", encodedSummary.c_str());
    checked = checked && checkAlignedCut(clip, oursAligned, theirsAligned, 120, smartAligned.log);
    std::fflush(stdout);
    return checked;
}
} // namespace

int main(int argc, char** argv) {
    if ((argc == 6 || argc == 7) && std::string(argv[1]) == "--cut")
        return cutOnce(argv[2], argv[3], std::atoll(argv[4]), std::atoll(argv[5]), argc == 7 ? argv[6] : "");
    const std::string self = BenchProcess::self();
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    const int minutes = argc > 2 ? std::max(3, std::atoi(argv[2])) : 10;
    fs::create_directories(folder);
    bool ok = benchCodec(self, folder, "h264",
                         "-c:v libx264 -preset veryfast -b:v 6M -g 300 -keyint_min 300 -sc_threshold 0 -bf 3 "
                         "-pix_fmt yuv420p",
                         "H264",
                         {"-c:v", "libx264", "-preset", "ultrafast", "-x264-params", "cabac=1:8x8dct=1", "-profile:v",
                          "high", "-b:v", "6M", "-pix_fmt", "yuv420p"},
                         minutes);
    ok = benchCodec(self, folder, "hevc",
                    "-c:v libx265 -preset ultrafast -b:v 4M -x265-params "
                    "keyint=300:min-keyint=300:scenecut=0:log-level=error -pix_fmt yuv420p",
                    "HEVC",
                    {"-c:v", "libx265", "-preset", "superfast", "-x265-params", "log-level=error", "-profile:v", "main",
                     "-b:v", "4M", "-pix_fmt", "yuv420p"},
                    minutes) &&
         ok;
    if (!ok)
        std::fprintf(stderr, "bench_smartcut: the engine's cuts differ from what they must be (see MISMATCH above)\n");
    return ok ? 0 : 1;
}
