#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct AVFrame;

namespace mediacore {

// A filter graph as data: named filters with their options, and the links between their pads. It is built by
// FilterGraphBuilder, read by tests, and turned into a running graph by FilterGraph. Option values are handed
// to each filter one by one through the option API (never spliced into a graph string), so a value may hold
// any character: spaces, quotes, colons, commas, non-ASCII paths.
class FilterGraphPlan {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    struct Node {
        std::string name;   // unique in the plan
        std::string filter; // FFmpeg filter name
        Options options;
        std::shared_ptr<AVFrame> still; // set on a still source: the one frame it gives
    };

    struct Link {
        int from = 0;
        int fromPad = 0;
        int to = 0;
        int toPad = 0;
    };

    // Adds a filter without linking it; returns its index.
    int add(const std::string& filter, Options options = {});
    void link(int from, int to, int fromPad = 0, int toPad = 0);
    // Adds a filter after the chain's tail (linked output 0 -> input 0) and makes it the new tail.
    int append(const std::string& filter, Options options = {});
    // Adds a filter fed by `node`'s output 0 (a side chain, such as an overlay's picture); the tail stays.
    int appendTo(int node, const std::string& filter, Options options = {});
    int tail() const { return _tail; }
    void setTail(int node) { _tail = node; }

    const std::vector<Node>& nodes() const { return _nodes; }
    const std::vector<Link>& links() const { return _links; }

    // Adds a video source that holds one picture for the whole run (a text canvas, a decoded image): a buffer
    // that FilterGraph feeds with `frame` (pts 0, time base 1/1000000) and closes as it opens the graph. Its
    // consumer keeps showing the picture after the end (overlay repeats its last frame). Returns its index.
    int addStill(std::shared_ptr<AVFrame> frame);

    // Sources the caller feeds (buffer, abuffer; stills left out) and sinks (buffersink, abuffersink), in the
    // order they were added; still sources.
    std::vector<int> sources() const;
    std::vector<int> stills() const;
    std::vector<int> sinks() const;

    // Index of the first node running `filter`, -1 when none; how many do.
    int find(const std::string& filter, int from = 0) const;
    int count(const std::string& filter) const;
    // An option's value, empty when not set.
    std::string option(int node, const std::string& key) const;
    // A time option's value: µs as seconds with six decimals ("1.500000").
    static std::string seconds(int64_t microseconds);

    // Filter names of the chain from source `source` along output pad 0, e.g. {"buffer", "transpose", ...}.
    std::vector<std::string> chain(int source = 0) const;
    // "buffer(video_size=320x240, ...) -> transpose(dir=1) -> buffersink", one line per source's chain.
    std::string describe() const;

private:
    int next(int node) const; // the node fed by `node`'s output pad 0, -1 when none

    std::vector<Node> _nodes;
    std::vector<Link> _links;
    int _tail = -1;
};

} // namespace mediacore
