#pragma once

// Shared by the engine's test binaries: a conversion handle closed at the end of the scope, a conversion run over
// the C interface, a folder listing and the usual source picture shape.

#include "VideoFrameFormat.h"
#include "libMediaCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace enginetest {

// A conversion handle closed at the end of the scope.
struct Job {
    CONVERT_HANDLE h = apiMediaConvertCreate();
    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
    ~Job() {
        if (h)
            apiMediaConvertClose(h);
    }
};

// Converts `input` into `output` with the setters applied by `setup`; returns Start's result.
template <typename Setup> int convert(const std::string& input, const std::string& output, Setup setup) {
    Job job;
    EXPECT_GT(apiMediaConvertSetInputMedia(job.h, input.c_str()), 0) << input;
    setup(job.h);
    EXPECT_GT(apiMediaConvertSetOutputPath(job.h, output.c_str()), 0) << output;
    return apiMediaConvertStart(job.h);
}

inline int convert(const std::string& input, const std::string& output) {
    return convert(input, output, [](CONVERT_HANDLE) {});
}

// Files in a folder, hidden temporary files included.
inline std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// 320x240 4:2:0 frames at 25 fps on a 1/12800 clock, turned by `rotation` degrees clockwise.
inline mediacore::VideoFrameFormat source320x240(int rotation = 0) {
    mediacore::VideoFrameFormat f;
    f.width = 320;
    f.height = 240;
    f.pixelFormat = AV_PIX_FMT_YUV420P;
    f.timeBase = AVRational{1, 12800};
    f.frameRate = AVRational{25, 1};
    f.rotation = rotation;
    return f;
}

} // namespace enginetest
