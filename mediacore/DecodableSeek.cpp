#include "DecodableSeek.h"

#include "Decoder.h"
#include "Demuxer.h"

extern "C" {
#include <libavutil/error.h>
}

namespace mediacore {

namespace {
// Packets of the video stream read at most to find the first picture after a seek (a long group of pictures
// whose key frame went missing is given up on, and the seek steps back).
constexpr int kPacketLimit = 1500;
constexpr int kAttempts = 8;

// The first picture decoded from where the demuxer stands: 1 when it is a key frame at or before `target`
// (stream ticks), 0 when it is not (or none came), or a negative AVERROR.
int startsInTime(Demuxer& demuxer, int videoStream, int64_t target) {
    Decoder decoder;
    if (int rc = decoder.open(demuxer.stream(videoStream), 1); rc < 0)
        return rc;
    PacketPtr packet = makePacket();
    FramePtr frame = makeFrame();
    bool draining = false;
    for (int read = 0; read < kPacketLimit;) {
        if (!draining) {
            int rc = demuxer.read(packet.get());
            if (rc == AVERROR_EXIT)
                return rc;
            if (rc < 0) {
                draining = true;
                decoder.push(nullptr);
            } else if (packet->stream_index != videoStream) {
                av_packet_unref(packet.get());
                continue;
            } else {
                ++read;
                decoder.push(packet.get());
                av_packet_unref(packet.get());
            }
        }
        int rc = decoder.pull(frame.get());
        if (rc >= 0)
            return frame->key_frame && frame->pts != AV_NOPTS_VALUE && frame->pts <= target ? 1 : 0;
        if (rc != AVERROR(EAGAIN) || draining)
            return 0;
    }
    return 0;
}
} // namespace

int DecodableSeek::seek(Demuxer& demuxer, int videoStream, int64_t timeUs, int64_t* landedUs) {
    int64_t landed = -1;
    if (!landedUs)
        landedUs = &landed;
    *landedUs = -1;
    if (timeUs <= 0)
        return demuxer.rewind();
    if (videoStream < 0) {
        if (demuxer.seek(timeUs) < 0)
            return demuxer.rewind();
        *landedUs = timeUs;
        return 0;
    }
    const int64_t target = demuxer.toTicks(videoStream, timeUs);
    int64_t back = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int64_t seekUs = timeUs - back;
        if (seekUs <= 0 || demuxer.seek(seekUs) < 0)
            break;
        int rc = startsInTime(demuxer, videoStream, target);
        if (rc < 0)
            return rc;
        if (rc == 1) {
            *landedUs = seekUs;
            return demuxer.seek(seekUs);
        }
        back = back == 0 ? 1'000'000 : back * 2;
    }
    return demuxer.rewind();
}

} // namespace mediacore
