#pragma once

#include "Decoder.h"
#include "Demuxer.h"
#include "libMediaCore.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mediacore {

// One opened media file for probing and still frames (MediaOpen .. MediaClose). Each MediaFile reads the file
// through its own demuxer, so several may be open on one file, also while jobs run on it.
class MediaFile {
public:
    int open(const std::string& path);

    // The first audio and the first video stream (a cover picture is not a video stream); 0 or a negative error.
    int info(AUDIO_STREAM_INFO* audio, VIDEO_STREAM_INFO* video);
    int64_t durationUs() const;

    // The frame shown at timeUs, upright, scaled to width x height: BGRA premultiplied, rows top first, no
    // padding. Past the end it is the last frame. 0 or a negative error.
    int snapshot(int64_t timeUs, int width, int height, uint8_t* pixels);

private:
    const std::vector<int64_t>& bitRates();
    int decodeFrameAt(int streamIndex, int64_t timeUs, FramePtr& shown);

    mutable std::mutex _mutex; // one caller at a time per handle
    Demuxer _demuxer;
    Decoder _videoDecoder;
    std::optional<std::vector<int64_t>> _bitRates;
};

} // namespace mediacore
