#pragma once

#include <string>
#include <vector>

// A file's format and streams as the ffprobe program reads them: the independent reader the tests check our
// outputs against.
struct FfprobeStream {
    int index = -1;
    std::string codecType;   // "video", "audio", "subtitle", ...
    std::string codecName;
    int width = 0;
    int height = 0;
    double frameRate = 0;    // avg_frame_rate
    int sampleRate = 0;
    int channels = 0;
    long long bitRate = 0;   // bit/s, 0 when ffprobe does not say
    double duration = 0;     // seconds, 0 when unknown
    int rotation = 0;        // display-matrix rotation as ffprobe reports it (counter-clockwise positive)
    bool attachedPicture = false;
    long long frameCount = 0;  // nb_frames when the container says
    std::string language;
    std::string title;
};

struct FfprobeResult {
    bool ok = false;
    std::string formatName;
    double duration = 0;     // seconds
    long long size = 0;      // bytes
    long long bitRate = 0;
    std::vector<FfprobeStream> streams;

    const FfprobeStream* firstVideo() const;  // ignores attached pictures
    const FfprobeStream* firstAudio() const;
    int count(const std::string& codecType) const;
};

FfprobeResult ffprobe(const std::string& path);

// Decoded packet timestamps (seconds) of one stream ("v:0", "a:0"), in file order. `entry` picks the
// presentation ("pts_time") or the decoding time ("dts_time").
std::vector<double> ffprobePacketTimes(const std::string& path, const std::string& stream,
                                       const std::string& entry = "pts_time");

// Whether the ffmpeg program decodes every stream of the file without an error message.
bool ffmpegDecodesCleanly(const std::string& path);

// Mean level of an audio stream in dB (ffmpeg's volumedetect), within [start, start + length) seconds.
double ffmpegMeanVolume(const std::string& path, double start = 0, double length = -1);

// The frame at `seconds` as raw RGB24 bytes (width * height * 3), decoded by the ffmpeg program.
std::vector<unsigned char> ffmpegFrameRgb(const std::string& path, double seconds, int* width, int* height);

// Mean absolute difference of two byte buffers of the same size (pictures); a huge value when they differ in size.
double meanAbsoluteDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

// Runs a command and returns its standard output.
std::string captureOutput(const std::string& command, int* status = nullptr);
