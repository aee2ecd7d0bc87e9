#include "EncodingJoin.h"

#include "EngineLog.h"

extern "C" {
#include <libavutil/error.h>
}

namespace mediacore {

int EncodingJoin::run(const std::string&, const AVOutputFormat*) {
    return EngineLog::failure("join", AVERROR(ENOSYS), "re-encoding joins are not available yet");
}

} // namespace mediacore
