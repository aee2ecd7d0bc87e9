#pragma once

#include "ConvertSettings.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <string>
#include <vector>

namespace mediacore {

class Demuxer;

// What a conversion writes: the container and, per output stream, its source stream and either "copy" or the
// encoder with its parameters. Made from the settings and the source by make(), before anything is written.
//
// Defaults (a setting left at zero/empty): the source's codec where the container takes it and we have an
// encoder for it, else the container's usual codec; the source's (upright-edited) frame size, frame rate,
// channels and sample rate where the encoder takes them; about the source's bit rate.
struct OutputPlan {
    struct Video {
        int stream = -1; // source stream index; -1: no video in the output
        bool copy = false;
        const AVCodec* encoder = nullptr;
        int width = 0;
        int height = 0;
        AVRational frameRate{0, 1};
        AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
        int64_t bitRate = 0; // bit/s, 0: the encoder's quality default
        // The container cannot store the source's display rotation: the pixels are turned upright instead.
        bool uprightPixels = false;
    };

    struct Audio {
        int stream = -1;        // source stream index; -1: no main audio in the output
        bool musicOnly = false; // no main audio but music: a track made inside the graph
        bool copy = false;
        const AVCodec* encoder = nullptr;
        int sampleRate = 0;
        int channels = 0;
        AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
        int64_t bitRate = 0;
    };

    const AVOutputFormat* container = nullptr;
    Video video;
    Audio audio;
    // Which way each stream goes and why, for the job's log.
    std::string route;

    // bitRates: bit/s by source stream index (StreamRecords::bitRates). 0 or a negative AVERROR, logged.
    // With `copyUnchanged`, a stream the settings leave as it is (no codec, bit rate or size limit set, no edit of
    // its kind, a codec the container takes) is copied rather than encoded again: always without a range, and with
    // one when every packet of the stream starts a picture or a sound on its own (MJPEG, ProRes, PCM), so the copy
    // is cut as exactly as an encode.
    static int make(const ConvertSettings& settings, const Demuxer& source, const std::vector<int64_t>& bitRates,
                    OutputPlan& plan, bool copyUnchanged = false);

    // Whether the settings change the picture (size, rate, turn, crop, colour, effects, overlays) or the sound.
    static bool hasPictureEdits(const ConvertSettings& settings);
    static bool hasSoundEdits(const ConvertSettings& settings);
};

} // namespace mediacore
