#pragma once

#include "FfmpegOwners.h"

#include <cstdint>
#include <string>

namespace mediacore {

// Encodes one output stream. push() a frame (nullptr drains at the end), then pull() packets until
// AVERROR(EAGAIN) or AVERROR_EOF. Packets carry the encoder's time base (context()->time_base).
class Encoder {
public:
    struct Video {
        const AVCodec* codec = nullptr;
        int width = 0;
        int height = 0;
        AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
        AVRational timeBase{1, 25};
        AVRational frameRate{25, 1};
        AVRational sampleAspect{1, 1};
        int64_t bitRate = 0; // bit/s; 0 leaves the codec's quality default
        bool globalHeader = false;
        // No reordered (B) frames: every prefix of the packets in writing order shows a gap-free run of frames,
        // which a size limit that ends the file at any packet needs.
        bool inPresentationOrder = false;
        // The encoder's fastest settings, for a few pictures that stand in for the source's between copied ones
        // (speed matters more there than the last bit of quality at the bit rate).
        bool fastest = false;
        // For pictures that continue a source stream: its profile (FFmpeg's name, "" for the encoder's choice),
        // at most this many B-frames in a row (-1: the encoder's choice) and its colour description.
        std::string profile;
        int maxBFrames = -1;
        AVColorRange colorRange = AVCOL_RANGE_UNSPECIFIED;
        AVColorPrimaries colorPrimaries = AVCOL_PRI_UNSPECIFIED;
        AVColorTransferCharacteristic colorTransfer = AVCOL_TRC_UNSPECIFIED;
        AVColorSpace colorSpace = AVCOL_SPC_UNSPECIFIED;
        AVChromaLocation chromaLocation = AVCHROMA_LOC_UNSPECIFIED;
    };

    struct Audio {
        const AVCodec* codec = nullptr;
        int sampleRate = 44100;
        AVSampleFormat sampleFormat = AV_SAMPLE_FMT_FLTP;
        int channels = 2;
        int64_t bitRate = 0;
        bool globalHeader = false;
    };

    int open(const Video& video);
    int open(const Audio& audio);

    // frameTimeBase is the time base of the frame's pts. Audio frames are stamped by counting samples from the
    // first frame's time, so the rounding of a coarse input clock (1/1000 in Matroska) cannot make gaps.
    int push(AVFrame* frame, AVRational frameTimeBase);
    int pull(AVPacket* packet);

    AVCodecContext* context() const { return _context.get(); }
    // Audio: the number of samples every frame but the last must have; 0 when any number will do.
    int frameSize() const;
    // Frames given to the encoder whose packets have not come out yet.
    int64_t framesInFlight() const { return _framesIn - _packetsOut; }

private:
    int finishOpen(CodecContextPtr context, const AVCodec* codec, AVDictionary** options);

    CodecContextPtr _context;
    int64_t _framesIn = 0;
    int64_t _packetsOut = 0;
    int64_t _nextSamplePts = AV_NOPTS_VALUE;
};

} // namespace mediacore
