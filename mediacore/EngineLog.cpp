#include "EngineLog.h"

#include "JoinError.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace mediacore {

void EngineLog::initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        int level = AV_LOG_FATAL;
        if (const char* text = std::getenv("CLIPWRIGHT_FFMPEG_LOGLEVEL"))
            level = std::atoi(text);
        av_log_set_level(level);
    });
}

std::string EngineLog::reason(int error) {
    if (const char* join = joinErrorText(error))
        return join;
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

int EngineLog::failure(const char* operation, int error, const std::string& detail) {
    // A stop is the user's choice, not a failure.
    std::string line = std::string("mediacore: ") + operation +
                       (error == AVERROR_EXIT ? std::string(" stopped") : " failed: " + reason(error));
    if (!detail.empty())
        line += " [" + detail + "]";
    line += "\n";
    std::fputs(line.c_str(), stderr);
    return error;
}

void EngineLog::note(const std::string& text) {
    const std::string line = "mediacore: " + text + "\n";
    std::fputs(line.c_str(), stderr);
}

} // namespace mediacore
