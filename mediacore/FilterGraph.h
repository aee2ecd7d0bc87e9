#pragma once

#include "FfmpegOwners.h"
#include "FilterGraphPlan.h"

#include <vector>

namespace mediacore {

// A running filter graph made from a FilterGraphPlan. Each filter is allocated in the graph, its options are set
// one by one through the option API, then it is initialised and linked; nothing is parsed from a graph string.
class FilterGraph {
public:
    // threads 0 lets FFmpeg pick the number of filter threads.
    int open(const FilterGraphPlan& plan, int threads = 0);

    // Feeds a frame into source `source` (keeps the caller's reference); nullptr marks the end of the input.
    int push(AVFrame* frame, int source = 0);
    // Marks the end of source `source`'s input at `pts` (its time base), so filters that time the last frame
    // (fps) give it its full length.
    int close(int64_t pts, int source = 0);
    // The next filtered frame of sink `sink`: AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int pull(AVFrame* frame, int sink = 0);

    // Audio sinks deliver frames of exactly this many samples (the last may be shorter).
    void setFrameSize(unsigned samples, int sink = 0);

    AVFilterContext* source(int index = 0) const { return _sources.at(index); }
    AVFilterContext* sink(int index = 0) const { return _sinks.at(index); }
    bool isOpen() const { return _graph != nullptr; }

private:
    FilterGraphPtr _graph;
    std::vector<AVFilterContext*> _sources; // owned by _graph
    std::vector<AVFilterContext*> _sinks;
};

} // namespace mediacore
