// Frame-accurate cuts of jobs that change nothing but the range (copy between key frames, encode the edges)
// against encoding the whole range with the engine and against the ffmpeg program's key-frame copy cut
// (`-ss -to -c copy`, which is not frame-accurate), on long 1080p30 clips with a key frame every 10 s.
//
//   bench_smartcut [folder] [minutes]     H.264 and HEVC clips of `minutes` (10) kept in the folder; the cut is
//                                          2 minutes from the middle, starting and ending between key frames
//   bench_smartcut --cut IN OUT START_US STOP_US [CODEC]    one engine cut (a child process); naming the codec
//                                          ("H264", "HEVC") makes the job encode the range
//
// Every output is checked against the ffmpeg program's: the engine's cut must hold exactly the range's pictures
// (count, duration, profile), and the packets both copied (between the key frames inside the range) must be the
// same bytes in the same order. A difference ends the bench with an error.
#include "BenchProcess.h"

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
    CONVERT_HANDLE h = apiMediaConvertCreate();
    bool ok = apiMediaConvertSetInputMedia(h, in) > 0 && apiMediaConvertSetCutTime(h, startUs, stopUs) > 0 &&
              apiMediaConvertSetOutputPath(h, out) > 0 &&
              (codec.empty() || apiMediaConvertSetVcodec(h, codec.c_str()) > 0);
    int rc = ok ? apiMediaConvertStart(h) : -1;
    apiMediaConvertClose(h);
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

std::string probeEntry(const std::string& path, const std::string& entries) {
    std::string text = output("ffprobe -v error -select_streams v:0 -count_frames -show_entries " + entries +
                              " -of csv=p=0 " + quote(path));
    while (!text.empty() && (text.back() == '\n' || text.back() == ','))
        text.pop_back();
    return text;
}

bool fail(const std::string& what) {
    std::fprintf(stderr, "MISMATCH: %s\n", what.c_str());
    return false;
}

// The engine's frame-accurate cut against the ffmpeg program's key-frame copy of the same range. `copies`: the
// engine's cut copied between the key frames, as the ffmpeg program did.
bool checkAgainstFfmpeg(const std::string& source, const std::string& ours, const std::string& theirs, double seconds,
                        bool copies) {
    const std::string sourceProfile = probeEntry(source, "stream=profile");
    const std::string oursProfile = probeEntry(ours, "stream=profile");
    const long frames = std::atol(probeEntry(ours, "stream=nb_read_frames").c_str());
    const long expected = std::lround(std::ceil(seconds * kFps - 1e-6));
    if (frames != expected)
        return fail("the engine's cut has " + std::to_string(frames) + " pictures, the range " +
                    std::to_string(expected));
    if (oursProfile != sourceProfile)
        return fail("profile " + oursProfile + " where the source's is " + sourceProfile);
    if (!output("ffmpeg -nostdin -v error -i " + quote(ours) + " -f null - 2>&1").empty())
        return fail("the engine's cut does not decode cleanly");
    if (!copies) {
        std::printf("  checked: %ld pictures (the range's), profile %s\n", frames, oursProfile.c_str());
        return true;
    }
    // What both copied: the ffmpeg program's packets after its first group of pictures (which holds the pictures
    // before the range's start) and before its last one, in ours in the same order.
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
    std::printf("  checked: %ld pictures (the range's), profile %s, %zu copied packets byte for byte the ffmpeg "
                "program's\n",
                frames, oursProfile.c_str(), shared.size());
    return true;
}

bool benchCodec(const std::string& self, const fs::path& folder, const std::string& name, const std::string& codec,
                const std::string& engineCodec, int minutes) {
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
    // Two minutes from the middle, between key frames at both ends.
    const double start = seconds / 2.0 - 60 + 3.5;
    const double stop = start + 120;
    const long long startUs = std::llround(start * 1e6);
    const long long stopUs = std::llround(stop * 1e6);
    std::vector<double> smart, inProcess, copy;
    const std::string ours = (folder / ("smart_" + name + ".mp4")).string();
    const std::string theirs = (folder / ("ffmpeg_copy_" + name + ".mp4")).string();
    for (int run = 0; run < kRuns; ++run) {
        fs::remove(ours);
        fs::remove(theirs);
        BenchProcess::Result engine =
            BenchProcess::run({self, "--cut", clip, ours, std::to_string(startUs), std::to_string(stopUs)});
        BenchProcess::Result ffmpeg =
            BenchProcess::run({"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-ss", std::to_string(start), "-to",
                               std::to_string(stop), "-i", clip, "-c", "copy", theirs});
        if (engine.status != 0 || ffmpeg.status != 0) {
            std::fprintf(stderr, "a cut failed (engine %d, ffmpeg %d)\n", engine.status, ffmpeg.status);
            return false;
        }
        smart.push_back(engine.seconds);
        copy.push_back(ffmpeg.seconds);
        fs::remove(ours);
        auto begin = Clock::now();
        if (cutOnce(clip.c_str(), ours.c_str(), startUs, stopUs, "") != 0)
            return false;
        inProcess.push_back(std::chrono::duration<double>(Clock::now() - begin).count());
    }
    const std::string encoded = (folder / ("encoded_" + name + ".mp4")).string();
    fs::remove(encoded);
    BenchProcess::Result encode =
        BenchProcess::run({self, "--cut", clip, encoded, std::to_string(startUs), std::to_string(stopUs), engineCodec});
    if (encode.status != 0) {
        std::fprintf(stderr, "the encoded cut failed\n");
        return false;
    }
    const double smartSeconds = BenchProcess::median(smart);
    const double copySeconds = BenchProcess::median(copy);
    std::printf("%s, %d min 1920x1080 30 fps, key frame every 10 s, cut %.1f..%.1f s (median of %d):\n", name.c_str(),
                minutes, start, stop, kRuns);
    std::printf("  engine copy-and-encode cut %.2f s (in process %.2f s), engine encoding the range %.2f s, ffmpeg "
                "key-frame copy %.2f s\n",
                smartSeconds, BenchProcess::median(inProcess), encode.seconds, copySeconds);
    std::printf("  %.1fx faster than encoding (target >= 20), %.2fx the ffmpeg program's copy (target <= 1.5)\n",
                encode.seconds / smartSeconds, smartSeconds / copySeconds);
    return checkAgainstFfmpeg(clip, ours, theirs, stop - start, true) &&
           checkAgainstFfmpeg(clip, encoded, theirs, stop - start, false);
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
                         "H264", minutes);
    ok = benchCodec(self, folder, "hevc",
                    "-c:v libx265 -preset ultrafast -b:v 4M -x265-params "
                    "keyint=300:min-keyint=300:scenecut=0:log-level=error -pix_fmt yuv420p",
                    "HEVC", minutes) &&
         ok;
    return ok ? 0 : 1;
}
