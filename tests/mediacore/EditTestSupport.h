#pragma once

// Shared by the tests of the picture and sound edits: generated clips with known colours and tones, a job
// runner over the C interface, and pixel and level measurements made with the ffmpeg program.

#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace edits {

// 4 s, 320x240, 25 fps: quadrants red (top left), green (top right), blue (bottom left), white (bottom right);
// a 440 Hz tone.
inline std::string quadrants() {
    return MediaFixtures::make(
        "edits_quadrants.mp4",
        "-f lavfi -i color=red:s=160x120:r=25:d=4 -f lavfi -i color=green:s=160x120:r=25:d=4 "
        "-f lavfi -i color=blue:s=160x120:r=25:d=4 -f lavfi -i color=white:s=160x120:r=25:d=4 "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
        "-filter_complex \"[0][1]hstack[t];[2][3]hstack[b];[t][b]vstack,format=yuv420p[v]\" -map [v] -map 4:a "
        "-ac 2 -c:v libx264 -preset ultrafast -g 25 -c:a aac -b:a 128k");
}

// 4 s, 320x240, 25 fps, mid grey, with a 440 Hz tone.
inline std::string grey() {
    return MediaFixtures::make("edits_grey.mp4",
                               "-f lavfi -i color=0x808080:s=320x240:r=25:d=4 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                               "-ac 2 -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -b:a 128k");
}

// 2 s of a 1 kHz tone, 48 kHz stereo (another rate than the clips', so the mix resamples it).
inline std::string music() {
    return MediaFixtures::make("edits_music_1k.m4a",
                               "-f lavfi -i sine=frequency=1000:sample_rate=48000:duration=2 -ac 2 -c:a aac -b:a 128k");
}

// 3 s, 64x48: yellow for a second, then cyan, then magenta.
inline std::string watermarkVideo() {
    return MediaFixtures::make("edits_watermark_video.mp4",
                               "-f lavfi -i color=yellow:s=64x48:r=25:d=1 -f lavfi -i color=cyan:s=64x48:r=25:d=1 "
                               "-f lavfi -i color=magenta:s=64x48:r=25:d=1 "
                               "-filter_complex \"[0][1][2]concat=n=3:v=1:a=0,format=yuv420p[v]\" -map [v] "
                               "-c:v libx264 -preset ultrafast -g 25");
}

// 40x30 opaque magenta.
inline std::string magentaPng() {
    return MediaFixtures::make("edits_magenta_40x30.png", "-f lavfi -i color=magenta:s=40x30:d=1 -frames:v 1");
}

inline std::string fontFile() {
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

using enginetest::convert;
using enginetest::Job;

// A picture decoded by the ffmpeg program, RGB24.
struct Picture {
    std::vector<unsigned char> rgb;
    int width = 0;
    int height = 0;

    bool empty() const { return rgb.empty(); }

    // Mean red, green, blue over [x0, x1) x [y0, y1), top-left origin.
    std::vector<double> mean(int x0, int y0, int x1, int y1) const {
        double sum[3] = {};
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x, ++n)
                for (int c = 0; c < 3; ++c)
                    sum[c] += rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
        return {sum[0] / n, sum[1] / n, sum[2] / n};
    }

    // Mean absolute difference from another picture of the same size over a region.
    double difference(const Picture& other, int x0, int y0, int x1, int y1) const {
        double sum = 0;
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c, ++n) {
                    size_t i = (static_cast<size_t>(y) * width + x) * 3 + c;
                    sum += std::abs(int(rgb[i]) - int(other.rgb[i]));
                }
        return n ? sum / n : 0;
    }
};

inline Picture frameAt(const std::string& path, double seconds) {
    Picture p;
    p.rgb = ffmpegFrameRgb(path, seconds, &p.width, &p.height);
    return p;
}

// True when each channel of `got` is within `tolerance` of `want` (0..255).
inline bool near(const std::vector<double>& got, std::vector<double> want, double tolerance = 24) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(got[c] - want[c]) > tolerance)
            return false;
    return true;
}

inline std::string text(const std::vector<double>& rgb) {
    return "(" + std::to_string(int(rgb[0])) + ", " + std::to_string(int(rgb[1])) + ", " + std::to_string(int(rgb[2])) +
           ")";
}

// Mean level (dB) of the output's first audio stream within a narrow band around `hz`, over
// [start, start + length) seconds: how loud one of the tones is, whatever else plays.
inline double bandLevel(const std::string& path, double hz, double start, double length) {
    // Three narrow band-pass stages take a tone an octave away down by about 75 dB.
    const std::string band = "bandpass=f=" + std::to_string(hz) + ":width_type=q:w=8";
    std::string out = captureOutput("ffmpeg -nostdin -hide_banner -ss " + std::to_string(start) + " -t " +
                                    std::to_string(length) + " -i " + MediaFixtures::quote(path) + " -map 0:a:0 -af " +
                                    band + "," + band + "," + band + ",volumedetect -f null - 2>&1");
    std::smatch m;
    static const std::regex re("mean_volume: (-?[0-9.]+|-inf) dB");
    if (std::regex_search(out, m, re))
        return m[1] == "-inf" ? -200.0 : std::stod(m[1]);
    return NAN;
}

// A record text field filled with `value` (the test fails when it does not fit).
template <size_t N> void setText(char (&field)[N], const std::string& value) {
    ASSERT_EQ(MediaRecordSetText(field, N, value.c_str()), 1) << value;
}

} // namespace edits
