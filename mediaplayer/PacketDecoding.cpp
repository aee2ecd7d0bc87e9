#include "PacketDecoding.h"

#include "EngineLog.h"

int PacketDecoding::decode(mediacore::Decoder& decoder, const AVPacket* packet,
                           const std::function<void(mediacore::FramePtr)>& receive, const char* what,
                           const std::string& path) {
    mediacore::FramePtr frame = mediacore::makeFrame();
    auto drainOutput = [&]() -> int {
        int rc;
        while ((rc = decoder.pull(frame.get())) >= 0) {
            receive(std::move(frame));
            frame = mediacore::makeFrame();
        }
        return rc;
    };
    int rc = decoder.push(packet);
    // A full decoder takes the packet once its frames are out.
    while (rc == AVERROR(EAGAIN)) {
        if (drainOutput() != AVERROR(EAGAIN))
            break;
        rc = decoder.push(packet);
    }
    if (rc < 0 && rc != AVERROR(EAGAIN) && rc != AVERROR_EOF)
        mediacore::EngineLog::failure(what, rc, path);
    return drainOutput();
}
