#pragma once

#include "JoinSettings.h"

#include <atomic>
#include <string>

struct AVOutputFormat;

namespace mediacore {

// The re-encoding join (placeholder until the decoding pipeline is in).
class EncodingJoin {
public:
    EncodingJoin(const JoinSettings& settings, const std::atomic<bool>& stop, std::atomic<double>& progress)
        : _settings(settings), _stop(stop), _progress(progress) {}
    int run(const std::string& path, const AVOutputFormat* format);

private:
    const JoinSettings& _settings;
    const std::atomic<bool>& _stop;
    std::atomic<double>& _progress;
};

} // namespace mediacore
