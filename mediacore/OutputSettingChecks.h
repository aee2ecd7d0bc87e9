#pragma once

#include <string>

namespace mediacore {

// The checks a job's output setters make (conversion and join jobs take the same values): each returns 0, or a
// negative AVERROR after logging one line under `operation`.
class OutputSettingChecks {
public:
    // Even sizes up to 16384: encoders of 4:2:0 pictures need them, and an odd size is refused rather than changed.
    static int frameSize(const char* operation, int width, int height);
    static int frameRate(const char* operation, double fps);                     // 0 = keep
    static int bitRate(const char* operation, int kbps);                         // 0 = keep
    static int audioFormat(const char* operation, int channels, int sampleRate); // 0 = keep
    // "copy", a common codec name or an FFmpeg encoder name of the right kind (AVERROR_ENCODER_NOT_FOUND).
    static int videoCodec(const char* operation, const std::string& name);
    static int audioCodec(const char* operation, const std::string& name);
    // A known container for the extension, a writable folder and no file of that name yet.
    static int outputPath(const char* operation, const std::string& path);
};

} // namespace mediacore
