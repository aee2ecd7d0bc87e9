#pragma once

#include "ConvertSettings.h"
#include "FilterGraph.h"
#include "FilterGraphBuilder.h"

#include <cstdint>
#include <memory>

class AudioSampleBuffer;

// The sound of a file without an audio stream: its background music alone, made by the engine's sound graph
// without a source (as an export of such a file makes it), on the file's length. Nothing when there is no music.
class MusicOnlyStage {
public:
    MusicOnlyStage(AudioSampleBuffer& buffer, const mediacore::AudioTarget& target, int64_t durationUs);

    void setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version);
    void setSerial(uint64_t serial) { _serial = serial; }
    // The sound from targetUs on.
    void beginSeek(int64_t targetUs);

    // Makes the next stretch of sound; false when there is no more.
    bool produce();
    bool finished() const { return _finished; }

private:
    int ensureGraph();

    AudioSampleBuffer& _buffer;
    const mediacore::AudioTarget _target;
    const int64_t _durationUs;
    uint64_t _serial = 0;
    std::shared_ptr<const mediacore::ConvertSettings> _edits;
    uint64_t _editsVersion = 0;
    mediacore::FilterGraph _graph;
    uint64_t _graphVersion = 0;
    int64_t _graphOriginUs = 0; // the file time of the graph's time 0
    int64_t _madeUs = 0;        // where the sound made so far ends (file time)
    bool _finished = false;
};
