#pragma once

#include "ConvertSettings.h"
#include "Decoder.h"
#include "ExactCut.h"
#include "FfmpegOwners.h"
#include "FilterGraph.h"
#include "FilterGraphBuilder.h"

#include <cstdint>
#include <memory>

namespace mediacore {
class Demuxer;
}
class AudioSampleBuffer;

// The sound half of the decoding thread: decodes one audio stream, drops what lies before a seek's target to the
// sample, runs the sound edits through the engine's filter-graph builder into the output's format and hands the
// samples to the audio output's buffer.
class AudioStage {
public:
    AudioStage(const mediacore::Demuxer& demuxer, int streamIndex, AudioSampleBuffer& buffer);

    // `target` is the output's format (rate, channels, one packed sample format).
    int open(const mediacore::AudioTarget& target);
    int streamIndex() const { return _stream; }

    void setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version);
    void setSerial(uint64_t serial) { _serial = serial; }

    void reset();
    void beginSeek(int64_t targetUs);
    // µs on the file's timeline where the sound decoded so far ends; INT64_MIN when none.
    int64_t decodedEndUs() const { return _decodedEndUs; }

    int decode(const AVPacket* packet); // nullptr: end of stream
    bool finished() const { return _finished; }

private:
    void receive(mediacore::FramePtr frame);
    int ensureGraph(const AVFrame* frame);
    void pullSamples();

    const mediacore::Demuxer& _demuxer;
    const int _stream;
    AudioSampleBuffer& _buffer;
    mediacore::Decoder _decoder;
    mediacore::AudioTarget _target;
    uint64_t _serial = 0;

    std::shared_ptr<const mediacore::ConvertSettings> _edits;
    uint64_t _editsVersion = 0;
    mediacore::FilterGraph _graph;
    uint64_t _graphVersion = 0;
    int _graphRate = 0, _graphFormat = -1, _graphChannels = 0;
    uint64_t _failedVersion = 0;
    int64_t _graphOriginUs = 0; // the file time of the graph's time 0

    bool _seeking = false;
    mediacore::ExactCut _cut;
    int64_t _decodedEndUs = INT64_MIN;
    bool _finished = false;
};
