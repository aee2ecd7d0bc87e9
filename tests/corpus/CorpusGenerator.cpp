#include "CorpusGenerator.h"

#include "mediacore/FaultTestSupport.h"

#include "support/MediaFixtures.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Writes `bytes` under `name` in the corpus folder (once; under a temporary name, then renamed). The corpus's test
// programs run side by side and each makes the whole corpus: the temporary name is this process's own, since two
// writers of one shared name truncate each other's file and the second rename finds nothing to rename.
std::string store(const fs::path& folder, const std::string& name, const std::string& bytes) {
    const fs::path target = folder / name;
    if (!fs::exists(target)) {
        const fs::path part = folder / ("." + name + "." + std::to_string(getpid()) + ".part");
        std::ofstream(part, std::ios::binary) << bytes;
        fs::rename(part, target);
    }
    return target.string();
}

struct Base {
    const char* name;
    const char* args;
};

// Small, short clips in the containers and codecs people bring. Matroska files are written bit-exact: otherwise
// each carries its writing date and a random segment id in its header, and the header flips below would damage
// different bytes on each machine.
const Base kBases[] = {
    {"base_h264_aac.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                          "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 10 -c:a aac -shortest"},
    {"base_vp8_vorbis.webm", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                             "-c:v libvpx -b:v 200k -c:a libvorbis -shortest -fflags +bitexact"},
    {"base_mpeg2_mp2.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                          "-c:v mpeg2video -c:a mp2 -shortest"},
    {"base_mpeg4_mp3.avi", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                           "-c:v mpeg4 -c:a libmp3lame -shortest"},
    {"base_hevc_aac.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                          "-c:v libx265 -x265-params log-level=none -preset ultrafast -pix_fmt yuv420p -c:a aac "
                          "-shortest"},
};

// Odd but valid files.
const Base kOdd[] = {
    {"odd_size_99x67.mp4", "-f lavfi -i testsrc2=size=99x67:rate=25:duration=1 -c:v libx264 -preset ultrafast "
                           "-pix_fmt yuv420p"},
    {"odd_yuv444.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 -c:v libx264 -preset ultrafast "
                       "-pix_fmt yuv444p -fflags +bitexact"},
    {"odd_10bit.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 -c:v libx264 -preset ultrafast "
                      "-pix_fmt yuv420p10le -fflags +bitexact"},
    {"odd_gray.avi", "-f lavfi -i testsrc2=size=64x48:rate=10:duration=1 -c:v rawvideo -pix_fmt gray"},
    {"odd_one_frame.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=0.04 -c:v libx264 -preset ultrafast "
                          "-pix_fmt yuv420p"},
    {"odd_audio_only.mka", "-f lavfi -i sine=duration=1 -c:a flac -fflags +bitexact"},
    {"odd_mono_8k.wav", "-f lavfi -i sine=sample_rate=8000:duration=1 -ac 1"},
    {"odd_video_gap.mkv",
     "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 -vf \"setpts='if(gte(T,0.5),PTS+30/TB,PTS)'\" "
     "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -fflags +bitexact"},
    {"odd_vfr_low_rate.mp4", "-f lavfi -i testsrc2=size=160x120:rate=2:duration=2 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p"},
    {"odd_slideshow_0.2fps.mp4", "-f lavfi -i testsrc2=size=160x120:rate=0.2:duration=10 -c:v libx264 "
                                 "-preset ultrafast -pix_fmt yuv420p"},
    {"odd_one_timestamp_ahead.mkv",
     "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -c:v libx264 -preset ultrafast -bf 0 "
     "-pix_fmt yuv420p -bsf:v 'setts=pts=if(eq(N\\,20)\\,PTS+16000\\,PTS)'"},
    {"odd_starts_at_10h.mkv", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -f lavfi -i sine=duration=1.5 "
                              "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a libopus -output_ts_offset 36000"},
    {"odd_raw.h264", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -c:v libx264 -preset ultrafast "
                     "-pix_fmt yuv420p"},
    {"odd_raw.hevc", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1.5 -c:v libx265 "
                     "-x265-params log-level=none -preset ultrafast -pix_fmt yuv420p"},
};

} // namespace

std::vector<CorpusFile> CorpusGenerator::all(const std::string& only) {
    const fs::path folder = fs::path(MediaFixtures::dir()) / "corpus-v1";
    fs::create_directories(folder);
    const auto wanted = [&only](const std::string& name) {
        return only.empty() || name.find(only) != std::string::npos;
    };
    std::vector<CorpusFile> corpus;
    std::mt19937 random(20261210); // the same corpus on every run
    constexpr int kHeaderFlips = 4, kBodyFlips = 24;
    for (const Base& base : kBases) {
        const std::string stem = fs::path(base.name).stem().string(); // derived files are named after the base
        // The first base is every join's intact partner, so it is always made.
        if (!wanted(stem) && &base != &kBases[0]) {
            // Each flip draws twice; a base left out draws as if it were made, so every file keeps its bytes.
            random.discard(2 * 3 * (kHeaderFlips + kBodyFlips));
            continue;
        }
        const std::string path = MediaFixtures::make(std::string("corpus1_") + base.name, base.args);
        if (path.empty())
            continue;
        corpus.push_back({path, "intact"});
        const std::string bytes = readAll(path);
        const std::string extension = fs::path(base.name).extension().string();
        const bool derived = wanted(stem);
        // Truncations: inside the header, just after it, in the middle and just before the end.
        for (double fraction : {0.002, 0.02, 0.1, 0.35, 0.6, 0.95, 0.999}) {
            if (!derived)
                break;
            const size_t size = std::max<size_t>(1, static_cast<size_t>(bytes.size() * fraction));
            const std::string name = stem + "_cut" + std::to_string(size) + extension;
            corpus.push_back({store(folder, name, bytes.substr(0, size)), "truncated at " + std::to_string(size)});
        }
        // Flipped bytes: a few in the first kilobyte (headers, index) and a few spread through the body.
        for (int variant = 0; variant < 6; ++variant) {
            std::string damaged = bytes;
            const bool header = variant < 3;
            const size_t span = header ? std::min<size_t>(1024, damaged.size()) : damaged.size();
            for (int flip = 0; flip < (header ? kHeaderFlips : kBodyFlips); ++flip) {
                const size_t at = random() % span;
                damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
            }
            const std::string name =
                stem + (header ? "_headerflip" : "_bodyflip") + std::to_string(variant) + extension;
            if (derived)
                corpus.push_back(
                    {store(folder, name, damaged), header ? "header bytes flipped" : "body bytes flipped"});
        }
    }
    for (const Base& odd : kOdd) {
        if (!wanted(odd.name))
            continue;
        const std::string path = MediaFixtures::make(std::string("corpus1_") + odd.name, odd.args);
        if (!path.empty())
            corpus.push_back({path, "odd"});
    }
    // Not media at all, and media under awkward names.
    const auto add = [&](const std::string& name, const std::string& bytes, const char* kind) {
        if (wanted(name))
            corpus.push_back({store(folder, name, bytes), kind});
    };
    add("random_bytes.mp4", std::string(4096, '\x5a'), "random bytes");
    add("empty.mkv", std::string(), "empty");
    add("text.avi", "this is not a video\n", "text");
    const std::string intact = readAll(MediaFixtures::make(std::string("corpus1_") + kBases[0].name, kBases[0].args));
    add("n\xc3\xa4me with 'quotes', [brackets] & %percent%.mp4", intact, "odd name");
    add("-starts-with-dash.mp4", intact, "odd name");
    add("pipe:0.mp4", intact, "name read as a URL");
    // Timing nobody's recorder writes: every timestamp of a transport stream random, a frame length of 1 ns.
    if (wanted("odd_random_timestamps.ts")) {
        std::string transport = readAll(MediaFixtures::make(std::string("corpus1_") + kBases[2].name, kBases[2].args));
        faulttest::randomisePesTimestamps(transport, 20261211);
        add("odd_random_timestamps.ts", transport, "random timestamps");
    }
    if (wanted("odd_frame_length_1ns.mkv")) {
        std::string matroska = readAll(MediaFixtures::make(std::string("corpus1_") + kOdd[1].name, kOdd[1].args));
        if (const size_t at = matroska.find("\x23\xE3\x83\x84"); at != std::string::npos)
            matroska.replace(at + 4, 4, std::string("\0\0\0\1", 4));
        add("odd_frame_length_1ns.mkv", matroska, "frame length of 1 ns");
    }
    // Playlists under media names: they name other files of the folder, which must not be pulled in.
    const std::string neighbour = fs::path(corpus.front().path).filename().string();
    add("playlist_concat.mp4", "ffconcat version 1.0\nfile " + neighbour + "\n", "concat list");
    add("playlist_hls.mp4", "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:1.5,\n" + neighbour + "\n#EXT-X-ENDLIST\n",
        "HLS playlist");
    return corpus;
}
