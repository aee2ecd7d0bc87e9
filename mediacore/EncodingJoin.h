#pragma once

#include "Encoder.h"
#include "FilterGraph.h"
#include "JoinOutputShape.h"
#include "JoinSettings.h"
#include "Muxer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AVOutputFormat;

namespace mediacore {

class JoinClipReader;

// The re-encoding join: each clip is decoded and brought to the output's shape (JoinClipReader), the clips are
// laid end to end on the output's timeline (JoinTimeline), transitions mix the overlapping ends of neighbours
// (FrameCompositor), and the result is encoded and written.
//
// The output's shape is the first clip's unless the settings say otherwise: its upright frame size and frame rate
// (of the first clip with pictures) and its sample rate and channels (of the first clip with sound), with the
// codecs chosen as a conversion chooses them (OutputPlan). Pictures are counted in output frames and sound in
// samples, both from the same clip boundaries, so picture and sound stay in step across any number of clips.
// At most two clips are open at a time: the one playing and, during a transition, the next.
class EncodingJoin {
public:
    EncodingJoin(const JoinSettings& settings, const std::atomic<bool>& stop, std::atomic<double>& progress);
    ~EncodingJoin();

    // Writes the join into `path` (which the caller owns and removes on failure) as `format`. 0, AVERROR_EXIT
    // when stopped, or another negative code (logged).
    int run(const std::string& path, const AVOutputFormat* format);

    const JoinOutputShape& shape() const { return _shape; }

private:
    int planOutput(const AVOutputFormat* format);
    int openOutput(const std::string& path, const AVOutputFormat* format);
    void layOut();
    int writePicture(int64_t frame);
    int writeSound(int64_t upToSample);
    int encode(Encoder& encoder, FilterGraph& graph, AVFrame* frame, int stream);
    int drainEncoder(Encoder& encoder, int stream);
    int finish();
    int readerFor(size_t clip, JoinClipReader*& reader);
    void releasePassedReaders();
    FramePtr fullSize(FramePtr picture);

    const JoinSettings& _settings;
    const std::atomic<bool>& _stop;
    std::atomic<double>& _progress;

    JoinOutputShape _shape;
    const AVCodec* _videoCodec = nullptr;
    const AVCodec* _audioCodec = nullptr;
    AVPixelFormat _encoderPixelFormat = AV_PIX_FMT_NONE;
    AVSampleFormat _encoderSampleFormat = AV_SAMPLE_FMT_NONE;
    int64_t _videoBitRate = 0;
    int64_t _audioBitRate = 0;

    Muxer _muxer;
    Encoder _videoEncoder;
    Encoder _audioEncoder;
    FilterGraph _videoOut; // working pixel format -> the encoder's
    FilterGraph _audioOut; // planar float -> the encoder's sample format, in the encoder's frame size
    int _videoStream = -1;
    int _audioStream = -1;

    // Clip i covers output frames [_firstFrame[i], _endFrame[i]) and samples [_firstSample[i], _endSample[i]);
    // neighbours overlap where a transition joins them.
    std::vector<int64_t> _firstFrame, _endFrame, _firstSample, _endSample;
    int64_t _totalFrames = 0;
    int64_t _totalSamples = 0;

    FramePtr _black;
    std::vector<std::unique_ptr<JoinClipReader>> _readers;
    size_t _videoClip = 0; // the clip whose pictures are being written (the earlier one during a transition)
    size_t _audioClip = 0;
    int64_t _samplesWritten = 0;
};

} // namespace mediacore
