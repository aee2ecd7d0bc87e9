#pragma once

#include <string>

namespace mediacore {

// The engine's one place for diagnostics: a failing operation writes one line to stderr with FFmpeg's reason.
// FFmpeg's own chatter is limited to fatal errors (CLIPWRIGHT_FFMPEG_LOGLEVEL, an av_log level number, overrides).
class EngineLog {
public:
    // Called by every entry point before FFmpeg is used; sets FFmpeg's log level once per process.
    static void initialise();

    // "mediacore: <operation> failed: <FFmpeg's text for error> [<detail>]" ("<operation> stopped" for a stop,
    // AVERROR_EXIT); returns error, so a caller can `return EngineLog::failure(...)`.
    static int failure(const char* operation, int error, const std::string& detail = std::string());

    // "mediacore: <text>": what a job chose where it had a choice (which path a cut took, why a copy was encoded).
    static void note(const std::string& text);

    // FFmpeg's text for an error code.
    static std::string reason(int error);
};

} // namespace mediacore
