#pragma once

#include <cstdint>

namespace mediacore {

class Demuxer;

// A seek after which decoding a video stream shows the picture at the target. A demuxer's seek lands on what
// its index calls a key frame, which is not always one a decoder can start from (an MPEG-TS index marks every
// timestamp), so the decoder drops pictures until the next real key frame, which may lie past the target. Here
// the first picture decoded after the seek is checked, and the seek steps further back (1 s, 2 s, 4 s, ...,
// then the file's start) until that picture is a key frame at or before the target.
class DecodableSeek {
public:
    // Leaves `demuxer` positioned for reading; 0 or a negative AVERROR (AVERROR_EXIT when stopped).
    // `landedUs`, when given, receives what to hand Demuxer::seek() to stand there again without the search
    // (-1: Demuxer::rewind()).
    static int seek(Demuxer& demuxer, int videoStream, int64_t timeUs, int64_t* landedUs = nullptr);
};

} // namespace mediacore
