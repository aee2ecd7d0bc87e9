#pragma once

#include "ConvertSettings.h"
#include "Demuxer.h"
#include "FilterGraphBuilder.h"
#include "Muxer.h"
#include "OutputPlan.h"
#include "SizeBudget.h"

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace mediacore {

// One run of a conversion: demux -> decode -> exact cut -> filter -> encode -> mux, into one file.
//
// The worker loop reads packets in file order and pushes each through its stream's lane until every lane has
// passed the cut's end (or the file ends), then drains decoders, graphs and encoders and writes the trailer.
// The stop flag is checked between packets and interrupts blocking I/O; the size budget ends the run early but
// cleanly. The caller owns the file's name and removes it when run() fails or is stopped.
class ConvertPipeline {
public:
    ConvertPipeline(const ConvertSettings& settings, Demuxer& source, const std::vector<int64_t>& bitRates,
                    const std::atomic<bool>& stop, std::atomic<int>& progress);
    ~ConvertPipeline();

    // 0 when the file is complete; AVERROR_EXIT when stopped; another negative AVERROR on failure (logged).
    int run(const std::string& outputFile);

    // Whether the size limit ended the run before the cut's end.
    bool limitReached() const { return _limitReached; }
    // Where the written file ends on the source's timeline (µs): the end of the last video frame written (of the
    // sound without video). After a run the size limit ended early, the rest of the source starts there: with a
    // size limit the video is encoded without reordering, so the frames written are a gap-free run.
    int64_t writtenEndUs() const;

private:
    struct Lane;

    int openVideoLane();
    // The cut range in the lane's own stream ticks.
    void setLaneRange(Lane& lane, const AVStream* stream) const;
    int openAudioLane();
    int buildGraph(Lane& lane);
    void keepRotationMetadata(const Lane& lane);

    int readAll();
    int drain();
    int copyPacket(Lane& lane, AVPacket* packet);
    int decodePacket(Lane& lane, const AVPacket* packet);
    int receiveFrames(Lane& lane);
    int acceptFrame(Lane& lane, FramePtr frame);
    int passFrame(Lane& lane, AVFrame* frame);
    int filterFrame(Lane& lane, AVFrame* frame);
    int endGraphInput(Lane& lane);
    int pullGraph(Lane& lane);
    int pumpGenerated(int64_t untilUs);
    int64_t mainTimeUs() const;
    int encodeFrame(Lane& lane, AVFrame* frame);
    int writePacket(Lane& lane, AVPacket* packet, AVRational timeBase);
    void endWithinRange(AVPacket* packet, AVRational timeBase) const;
    void noteWrittenVideo(const Lane& lane, const AVPacket& packet, AVRational timeBase);
    // Under a size limit the sound is held back until the video has been written up to its time, so that a
    // file the limit ends early does not carry sound beyond its last frame (which the next piece starts with).
    bool holdsSound() const;
    int releaseSound(bool all);

    Lane* laneFor(int sourceStream);
    bool allDone() const;
    int64_t pendingBytes() const;
    void reportTime(int64_t timeUs);

    const ConvertSettings& _settings;
    Demuxer& _source;
    const std::vector<int64_t>& _bitRates;
    const std::atomic<bool>& _stop;
    std::atomic<int>& _progress;
    FilterGraphBuilder _builder;

    OutputPlan _plan;
    Muxer _muxer;
    SizeBudget _budget;
    std::vector<std::unique_ptr<Lane>> _lanes;
    int64_t _startUs = 0;
    int64_t _stopUs = INT64_MAX; // INT64_MAX: to the end
    int64_t _endUs = 0;          // where progress reaches 100
    bool _writing = true;        // false once the size budget refused a packet: nothing more is written
    bool _limitReached = false;
    int64_t _writtenVideoEndUs = 0; // on the source's timeline
    struct HeldPacket {
        PacketPtr packet;
        int output = -1;
        AVRational timeBase{1, 1};
        int64_t endUs = 0; // on the source's timeline
    };
    std::deque<HeldPacket> _heldSound;
};

} // namespace mediacore
