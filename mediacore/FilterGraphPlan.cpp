#include "FilterGraphPlan.h"

#include <cstdio>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

namespace mediacore {

int FilterGraphPlan::add(const std::string& filter, Options options) {
    Node node;
    node.name = filter + "_" + std::to_string(_nodes.size());
    node.filter = filter;
    node.options = std::move(options);
    _nodes.push_back(std::move(node));
    return static_cast<int>(_nodes.size()) - 1;
}

void FilterGraphPlan::link(int from, int to, int fromPad, int toPad) {
    _links.push_back({from, fromPad, to, toPad});
}

int FilterGraphPlan::append(const std::string& filter, Options options) {
    int node = add(filter, std::move(options));
    if (_tail >= 0)
        link(_tail, node);
    _tail = node;
    return node;
}

int FilterGraphPlan::addStill(std::shared_ptr<AVFrame> frame) {
    const char* format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(frame->format));
    int node = add("buffer", {{"video_size", std::to_string(frame->width) + "x" + std::to_string(frame->height)},
                              {"pix_fmt", format ? format : "rgba"},
                              {"time_base", "1/1000000"},
                              {"pixel_aspect", "1/1"}});
    frame->pts = 0;
    _nodes[node].still = std::move(frame);
    return node;
}

int FilterGraphPlan::appendTo(int node, const std::string& filter, Options options) {
    int next = add(filter, std::move(options));
    link(node, next);
    return next;
}

std::string FilterGraphPlan::seconds(int64_t microseconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(microseconds) / 1e6);
    return text;
}

std::vector<int> FilterGraphPlan::sources() const {
    std::vector<int> found;
    for (size_t i = 0; i < _nodes.size(); ++i)
        if ((_nodes[i].filter == "buffer" || _nodes[i].filter == "abuffer") && !_nodes[i].still)
            found.push_back(static_cast<int>(i));
    return found;
}

std::vector<int> FilterGraphPlan::stills() const {
    std::vector<int> found;
    for (size_t i = 0; i < _nodes.size(); ++i)
        if (_nodes[i].still)
            found.push_back(static_cast<int>(i));
    return found;
}

std::vector<int> FilterGraphPlan::sinks() const {
    std::vector<int> found;
    for (size_t i = 0; i < _nodes.size(); ++i)
        if (_nodes[i].filter == "buffersink" || _nodes[i].filter == "abuffersink")
            found.push_back(static_cast<int>(i));
    return found;
}

int FilterGraphPlan::find(const std::string& filter, int from) const {
    for (size_t i = static_cast<size_t>(std::max(from, 0)); i < _nodes.size(); ++i)
        if (_nodes[i].filter == filter)
            return static_cast<int>(i);
    return -1;
}

int FilterGraphPlan::count(const std::string& filter) const {
    int n = 0;
    for (const Node& node : _nodes)
        n += node.filter == filter;
    return n;
}

std::string FilterGraphPlan::option(int node, const std::string& key) const {
    if (node < 0 || node >= static_cast<int>(_nodes.size()))
        return {};
    for (const auto& [name, value] : _nodes[node].options)
        if (name == key)
            return value;
    return {};
}

int FilterGraphPlan::next(int node) const {
    for (const Link& l : _links)
        if (l.from == node && l.fromPad == 0)
            return l.to;
    return -1;
}

std::vector<std::string> FilterGraphPlan::chain(int source) const {
    std::vector<std::string> names;
    auto all = sources();
    if (source < 0 || source >= static_cast<int>(all.size()))
        return names;
    int node = all[source];
    // A plan is acyclic, so following output pad 0 ends; the bound guards against a malformed plan.
    for (size_t steps = 0; node >= 0 && steps <= _nodes.size(); ++steps) {
        names.push_back(_nodes[node].filter);
        node = next(node);
    }
    return names;
}

std::string FilterGraphPlan::describe() const {
    std::string text;
    auto all = sources();
    for (int still : stills())
        all.push_back(still);
    for (size_t s = 0; s < all.size(); ++s) {
        int node = all[s];
        for (size_t steps = 0; node >= 0 && steps <= _nodes.size(); ++steps) {
            if (node != all[s])
                text += " -> ";
            text += _nodes[node].filter;
            if (!_nodes[node].options.empty()) {
                text += "(";
                for (size_t i = 0; i < _nodes[node].options.size(); ++i)
                    text += (i ? ", " : "") + _nodes[node].options[i].first + "=" + _nodes[node].options[i].second;
                text += ")";
            }
            node = next(node);
        }
        text += "\n";
    }
    return text;
}

} // namespace mediacore
