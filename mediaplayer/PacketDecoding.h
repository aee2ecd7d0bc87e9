#pragma once

#include "Decoder.h"
#include "FfmpegOwners.h"

#include <functional>
#include <string>

// The send/receive round of one packet through a decoder, shared by the player's video and sound stages.
class PacketDecoding {
public:
    // Sends `packet` (nullptr: drain) and hands every frame the decoder gives to `receive`. Returns the last
    // receive result: AVERROR(EAGAIN) when the decoder wants more, AVERROR_EOF once drained. A failing send is
    // logged with `what` and the decoder carries on with the next packet.
    static int decode(mediacore::Decoder& decoder, const AVPacket* packet,
                      const std::function<void(mediacore::FramePtr)>& receive, const char* what,
                      const std::string& path);
};
