#include "MusicOnlyStage.h"

#include "AudioSampleBuffer.h"
#include "EngineLog.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/mathematics.h>
#include <libavutil/samplefmt.h>
}

MusicOnlyStage::MusicOnlyStage(AudioSampleBuffer& buffer, const mediacore::AudioTarget& target, int64_t durationUs)
    : _buffer(buffer), _target(target), _durationUs(durationUs) {}

void MusicOnlyStage::setEdits(std::shared_ptr<const mediacore::ConvertSettings> edits, uint64_t version) {
    _edits = std::move(edits);
    _editsVersion = version;
    _finished = !_edits || _edits->music.empty() || _madeUs >= _durationUs;
}

void MusicOnlyStage::beginSeek(int64_t targetUs) {
    _madeUs = targetUs;
    _graph = mediacore::FilterGraph();
    _graphVersion = 0;
    _finished = !_edits || _edits->music.empty() || targetUs >= _durationUs;
}

int MusicOnlyStage::ensureGraph() {
    if (_graph.isOpen() && _graphVersion == _editsVersion)
        return 0;
    // A new graph starts where the sound made so far ends: its time 0, as an export's cut start.
    mediacore::ConvertSettings placed = *_edits;
    placed.cutStartUs = _madeUs;
    mediacore::AudioTarget target = _target;
    target.lengthUs = _durationUs - _madeUs;
    mediacore::FilterGraph graph;
    if (int rc = graph.open(mediacore::FilterGraphBuilder(placed).audioWithoutSource(target), 1); rc < 0)
        return rc;
    _graph = std::move(graph);
    _graphVersion = _editsVersion;
    _graphOriginUs = _madeUs;
    return 0;
}

bool MusicOnlyStage::produce() {
    if (_finished)
        return false;
    if (ensureGraph() < 0) {
        _finished = true;
        _buffer.markEnded(_serial);
        return false;
    }
    mediacore::FramePtr out = mediacore::makeFrame();
    const int rc = _graph.pull(out.get());
    if (rc < 0) {
        if (rc != AVERROR_EOF)
            mediacore::EngineLog::failure("playback: make music", rc);
        _finished = true;
        _buffer.markEnded(_serial);
        return false;
    }
    const AVRational timeBase = av_buffersink_get_time_base(_graph.sink());
    const int64_t ptsUs =
        _graphOriginUs + (out->pts != AV_NOPTS_VALUE ? av_rescale_q(out->pts, timeBase, AV_TIME_BASE_Q) : 0);
    const int bytes = av_samples_get_buffer_size(nullptr, out->ch_layout.nb_channels, out->nb_samples,
                                                 static_cast<AVSampleFormat>(out->format), 1);
    if (bytes > 0)
        _buffer.push(out->data[0], static_cast<size_t>(bytes), ptsUs, _serial);
    if (out->sample_rate > 0)
        _madeUs = ptsUs + av_rescale(out->nb_samples, 1000000, out->sample_rate);
    return true;
}
