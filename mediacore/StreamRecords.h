#pragma once

#include "libMediaCore.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <cstdint>
#include <vector>

struct AVStream;

namespace mediacore {

class Demuxer;

// Fills the C records that describe a file's streams (AUDIO_STREAM_INFO, VIDEO_STREAM_INFO).
class StreamRecords {
public:
    // Bit rates in bit/s for every stream of the file, by stream index. Streams whose container gives no bit
    // rate (Matroska, WebM, Ogg) get an estimate: the file's bit rate, less the known streams', shared by the
    // bytes each unknown stream has in the first seconds of the file. Reads packets, then seeks back to 0.
    static std::vector<int64_t> bitRates(Demuxer& demuxer);

    static void fillAudio(const Demuxer& demuxer, int streamIndex, int64_t bitRate, AUDIO_STREAM_INFO& record);
    static void fillVideo(const Demuxer& demuxer, int streamIndex, int64_t bitRate, VIDEO_STREAM_INFO& record);

    // The clockwise rotation (0, 90, 180, 270) a stream's display matrix asks for. A matrix that turns by an angle
    // other than a quarter turn is not followed (0).
    static int rotation(const AVStream* stream);
    // Whether the display matrix also mirrors the picture left to right (after the rotation).
    static bool mirrored(const AVStream* stream);
    // One frame at the stream's believable rate (frameRate()), in µs; 0 when it states none.
    static int64_t frameLengthUs(const AVStream* stream);
    // The stream's frame rate as far as it is believable (0/1 when unknown): the declared average, unless it is
    // far above what the timestamps show or above any real source's.
    static AVRational frameRate(const AVStream* stream);
    static constexpr double kMostFramesASecond = 1000;
};

} // namespace mediacore
