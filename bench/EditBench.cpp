// Speed of a conversion job with picture edits against the ffmpeg program running the same filter graph.
//
//   bench_edits [folder]                    runs the comparison on a 20 s 1280x720 clip (kept in the folder)
//   bench_edits --convert IN OUT SRT PNG    one edited conversion with the engine (used as a child process)
//
// The job: a quarter turn, crop, brightness / contrast / saturation, the sepia effect, a subtitle and an image
// watermark, libx264 "veryfast" at 3 Mbit/s and AAC at 128 kbit/s. The ffmpeg program gets the graph the
// engine's FilterGraphBuilder makes for that job, written out as a filtergraph, with the same codecs, preset and
// rates; the watermark image goes in through a movie source scaled to its box (the engine decodes and scales it
// once itself). Median of 5 runs each, side by side, each in its own process (target: within 5 %).
#include "BenchProcess.h"
#include "OutputCheck.h"

#include "FilterGraphBuilder.h"
#include "libMediaCore.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace mediacore;

namespace {
constexpr int kRuns = 5;
constexpr int kVideoKbps = 3000;
constexpr int kAudioKbps = 128;
const RECT kCrop{20, 40, 20, 40}; // on the turned 720x1280 picture
const RECT kWatermarkBox{40, 60, 240, 160};
constexpr int kEffect = 2; // sepia

void fill(char* field, size_t size, const std::string& text) {
    std::memset(field, 0, size);
    MediaRecordSetText(field, size, text.c_str());
}

SUBTITLE_PARAM subtitleRecord(const std::string& srt) {
    SUBTITLE_PARAM s{};
    fill(s.path, sizeof s.path, srt);
    fill(s.szFontFile, sizeof s.szFontFile, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    s.position = -1;
    s.fontsize = 48;
    s.shadow = 1;
    s.fontclr = s.shadowclr = 0xFFFFFF00u;
    return s;
}

IMAGE_WATERMARK_PARAM watermarkRecord(const std::string& png) {
    IMAGE_WATERMARK_PARAM w{};
    fill(w.path, sizeof w.path, png);
    w.rect = kWatermarkBox;
    w.transparence = 0;
    w.start_time = 0;
    w.end_time = 20'000'000;
    return w;
}

int convertOnce(const char* in, const char* out, const std::string& srt, const std::string& png) {
    auto start = std::chrono::steady_clock::now();
    CONVERT_HANDLE h = apiMediaConvertCreate();
    bool ok = apiMediaConvertSetInputMedia(h, in) > 0 && apiMediaConvertSetVcodec(h, "libx264") > 0 &&
              apiMediaConvertSetAcodec(h, "aac") > 0 && apiMediaConvertSetVideoBitrate(h, kVideoKbps) > 0 &&
              apiMediaConvertSetAudioBitrate(h, kAudioKbps) > 0 &&
              apiMediaConvertSetSubtitle(h, subtitleRecord(srt)) > 0 && apiMediaConvertAddImageEffect(h, kEffect) > 0 &&
              apiMediaConvertAdjustBCS(h, 20, 10, 10) > 0 && apiMediaConvertSetCropSize(h, kCrop) > 0 &&
              apiMediaConvertSetRotateAngle(h, 90) > 0 &&
              apiMediaConvertAddImageWatermask(h, watermarkRecord(png)) > 0 && apiMediaConvertSetOutputPath(h, out) > 0;
    int rc = ok ? apiMediaConvertStart(h) : -1;
    apiMediaConvertClose(h);
    BenchProcess::printInProcess(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return rc > 0 ? 0 : 1;
}

// An option value for the filtergraph text: quoted when it holds characters the graph parser would split at.
std::string value(const std::string& text) {
    if (text.find_first_of(":,;[]='\\ ") == std::string::npos)
        return text;
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The engine's graph for the job as ffmpeg's -filter_complex text: the source is [0:v], the sink [vout], a
// still picture a movie source of the image scaled to its size.
std::string filterComplex(const FilterGraphPlan& plan, const std::string& png) {
    std::map<int, std::vector<std::pair<int, int>>> inputs; // node -> (pad, from node)
    for (const auto& link : plan.links())
        inputs[link.to].push_back({link.toPad, link.from});
    auto label = [&plan](int node) {
        return plan.nodes()[node].filter == "buffer" && !plan.nodes()[node].still ? std::string("[0:v]")
                                                                                  : "[n" + std::to_string(node) + "]";
    };
    std::string text;
    for (size_t i = 0; i < plan.nodes().size(); ++i) {
        const auto& node = plan.nodes()[i];
        if (node.filter == "buffer" && !node.still)
            continue;
        std::string part;
        if (node.still) {
            part = "movie=filename=" + value(png) + ",scale=" + std::to_string(node.still->width) + ":" +
                   std::to_string(node.still->height) + ",format=rgba";
        } else if (node.filter == "buffersink") {
            text += (text.empty() ? "" : ";") + label(inputs[i][0].second) + "null[vout]";
            continue;
        } else {
            auto in = inputs[i];
            std::sort(in.begin(), in.end());
            for (const auto& [pad, from] : in)
                part += label(from);
            part += node.filter;
            for (size_t k = 0; k < node.options.size(); ++k)
                part += (k ? ":" : "=") + node.options[k].first + "=" + value(node.options[k].second);
        }
        text += (text.empty() ? "" : ";") + part + "[n" + std::to_string(i) + "]";
    }
    return text;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--convert")
        return convertOnce(argv[2], argv[3], argv[4], argv[5]);

    const std::string self = BenchProcess::self();
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "clipwright-bench";
    fs::create_directories(folder);
    const std::string clip = (folder / "clip_1280x720_20s.mp4").string();
    const std::string png = (folder / "watermark_200x100.png").string();
    const std::string srt = (folder / "cues_20s.srt").string();
    if (!BenchProcess::makeOnce(clip, "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 -f lavfi -i "
                                      "sine=frequency=440:sample_rate=44100:duration=20 -c:v libx264 -preset medium "
                                      "-b:v 4M -pix_fmt yuv420p -c:a aac -b:a 128k -shortest") ||
        (!fs::exists(png) &&
         std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=200x100 -frames:v 1 '" + png + "'")
                         .c_str()) != 0))
        return 1;
    {
        std::ofstream cues(srt);
        for (int i = 0; i < 10; ++i)
            cues << i + 1 << "\n00:00:" << (i * 2 < 10 ? "0" : "") << i * 2
                 << ",000 --> 00:00:" << (i * 2 < 10 ? "0" : "") << i * 2 << ",900\nSubtitle line number " << i + 1
                 << "\n\n";
    }

    // The graph the engine builds for this job (the settings its setters store).
    ConvertSettings settings;
    settings.rotateAngle = 90;
    settings.cropMargins = kCrop;
    settings.brightness = 20;
    settings.contrast = 10;
    settings.saturation = 10;
    settings.effects = {kEffect};
    settings.subtitle = subtitleRecord(srt);
    settings.imageWatermarks = {watermarkRecord(png)};
    VideoFrameFormat source;
    source.width = 1280;
    source.height = 720;
    source.pixelFormat = AV_PIX_FMT_YUV420P;
    source.timeBase = AVRational{1, 12800};
    source.frameRate = AVRational{25, 1};
    VideoTarget target;
    target.frameRate = AVRational{25, 1};
    target.pixelFormats = {AV_PIX_FMT_YUV420P};
    const std::string graph = filterComplex(FilterGraphBuilder(settings).video(source, target), png);
    std::printf("graph: %s\n", graph.c_str());

    std::vector<double> ours, theirs, oursCpu, theirsCpu, oursInside, theirsInside;
    std::vector<std::string> engineOuts, ffmpegOuts;
    for (int run = 0; run < kRuns; ++run) {
        const std::string engineOut = (folder / ("edits_engine_" + std::to_string(run) + ".mp4")).string();
        const std::string ffmpegOut = (folder / ("edits_ffmpeg_" + std::to_string(run) + ".mp4")).string();
        engineOuts.push_back(engineOut);
        ffmpegOuts.push_back(ffmpegOut);
        fs::remove(engineOut);
        fs::remove(ffmpegOut);
        BenchProcess::Result engine = BenchProcess::run({self, "--convert", clip, engineOut, srt, png}, true);
        // clang-format off
        const std::vector<std::string> command = {
            "-i", clip, "-filter_complex", graph, "-map", "[vout]", "-map", "0:a", "-c:v", "libx264",
            "-preset", "veryfast", "-b:v", std::to_string(kVideoKbps) + "k", "-c:a", "aac",
            "-b:a", std::to_string(kAudioKbps) + "k", ffmpegOut};
        // clang-format on
        BenchProcess::Result ffmpeg = BenchProcess::run(BenchProcess::timedFfmpeg(command), true);
        if (engine.status != 0 || ffmpeg.status != 0) {
            std::fprintf(stderr, "a conversion failed (engine %d, ffmpeg %d)\n%s%s", engine.status, ffmpeg.status,
                         engine.output.c_str(), ffmpeg.output.c_str());
            return 1;
        }
        ours.push_back(engine.seconds);
        theirs.push_back(ffmpeg.seconds);
        oursCpu.push_back(engine.cpuSeconds);
        theirsCpu.push_back(ffmpeg.cpuSeconds);
        oursInside.push_back(BenchProcess::inProcessSeconds(engine));
        theirsInside.push_back(BenchProcess::inProcessSeconds(ffmpeg));
        std::printf("run %d: engine %.3f s (%.3f s in process, cpu %.3f s), ffmpeg %.3f s (%.3f s transcoding, "
                    "cpu %.3f s)\n",
                    run + 1, engine.seconds, oursInside.back(), engine.cpuSeconds, ffmpeg.seconds,
                    theirsInside.back(), ffmpeg.cpuSeconds);
    }
    std::printf("edited conversion (20 s 1280x720: turn, crop, colour, sepia, subtitle, image watermark; libx264 "
                "veryfast %d kbit/s + aac %d kbit/s), median of %d:\n  engine %.3f s, ffmpeg %.3f s, ratio %.3f "
                "(target <= 1.05)\n",
                kVideoKbps, kAudioKbps, kRuns, BenchProcess::median(ours), BenchProcess::median(theirs),
                BenchProcess::median(ours) / BenchProcess::median(theirs));
    std::printf("  in process: engine %.3f s (the job), ffmpeg %.3f s (transcoding), ratio %.3f\n",
                BenchProcess::median(oursInside), BenchProcess::median(theirsInside),
                BenchProcess::median(oursInside) / BenchProcess::median(theirsInside));
    // On a busy machine the wall times wander; the processor time both spent is the steadier comparison.
    std::printf("  processor time: engine %.3f s, ffmpeg %.3f s, ratio %.3f\n", BenchProcess::median(oursCpu),
                BenchProcess::median(theirsCpu), BenchProcess::median(oursCpu) / BenchProcess::median(theirsCpu));
    // The same graph, codecs and settings: the pictures and the sound must come out the same.
    return OutputCheck::sameDecoded("edited conversion", engineOuts, ffmpegOuts) ? 0 : 1;
}
