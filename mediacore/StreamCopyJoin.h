#pragma once

#include "FfmpegOwners.h"
#include "JoinSettings.h"
#include "NalUnits.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct AVOutputFormat;
struct AVStream;

namespace mediacore {

class Demuxer;
class Muxer;

// The "copy" join: the clips' packets are copied into one file, in order, each clip's timestamps shifted so it
// follows the one before without a gap and every stream's timestamps keep rising. Ranges are cut at key frames
// (CopyRangeCutter); callers that need exact ranges cut them first (ExactCopyPieces). Copying is only sound when every
// clip's streams share their codec parameters: clips that differ make the join fail before anything is written.
class StreamCopyJoin {
public:
    StreamCopyJoin(const JoinSettings& settings, const std::atomic<bool>& stop, std::atomic<double>& progress);

    // Returned by run(), before anything is written, when copying cannot make a sound file (encodingReason() says
    // why): clips turned by their display matrix into a container that cannot store it, or sound whose packets
    // carry their own sample positions (FLAC, Vorbis), which would contradict the output's timestamps at a seam.
    static constexpr int kNeedsEncoding = 1;

    // Writes the join into `path` (which the caller owns and removes on failure) as `format`: 0, or
    // kNeedsEncoding, or a negative code.
    int run(const std::string& path, const AVOutputFormat* format);
    const std::string& encodingReason() const { return _encodingReason; }
    // The progress the copy starts from (percent), when work before it had its share.
    void setProgressFrom(double percent) { _progressFrom = percent; }

    // Whether two streams can follow each other in one copied stream; a reason for the log when not.
    static bool sameParameters(const AVStream* a, const AVStream* b, std::string& reason);

private:
    int copyClip(const JoinClip& clip, Demuxer& input, Muxer& muxer);
    // H.264 / HEVC: a clip whose pictures were partly encoded again (an exact piece) carries its encoder's
    // parameter sets in the stream, under the same ids as the record's. The next picture a decoder can start
    // from that follows them gets the record's put back in front of it; an exact piece's first HEVC CRA picture
    // (its leading pictures left out), after another clip's pictures, becomes the broken-link picture it now is.
    int mendParameterSets(PacketPtr& packet, bool pieceStart);

    const JoinSettings& _settings;
    const std::atomic<bool>& _stop;
    std::atomic<double>& _progress;

    std::string _encodingReason;
    bool _withVideo = false;
    bool _withAudio = false;
    int _videoOut = -1;
    int _audioOut = -1;
    int64_t _offsetUs = 0; // where the next clip starts on the output
    int64_t _totalUs = 1;  // the clips' lengths together, for the progress
    double _progressFrom = 0;
    std::vector<int64_t> _lastDtsUs; // per output stream, to keep decoding times rising
    NalUnits _units;
    bool _unitsOpen = false;
    bool _foreignParameterSets = false; // the last parameter sets written are not the record's
    bool _anyVideoWritten = false;
};

} // namespace mediacore
