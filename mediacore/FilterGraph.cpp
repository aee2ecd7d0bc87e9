#include "FilterGraph.h"

#include "EngineLog.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

namespace mediacore {

int FilterGraph::open(const FilterGraphPlan& plan, int threads) {
    _sources.clear();
    _sinks.clear();
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph)
        return EngineLog::failure("allocate filter graph", AVERROR(ENOMEM));
    graph->nb_threads = threads;

    std::vector<AVFilterContext*> contexts;
    for (const FilterGraphPlan::Node& node : plan.nodes()) {
        const AVFilter* filter = avfilter_get_by_name(node.filter.c_str());
        if (!filter)
            return EngineLog::failure("find filter", AVERROR_FILTER_NOT_FOUND, node.filter);
        AVFilterContext* context = avfilter_graph_alloc_filter(graph.get(), filter, node.name.c_str());
        if (!context)
            return EngineLog::failure("allocate filter", AVERROR(ENOMEM), node.filter);
        for (const auto& [key, value] : node.options) {
            int rc = av_opt_set(context, key.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN);
            if (rc < 0)
                return EngineLog::failure("set filter option", rc, node.filter + "." + key + "=" + value);
        }
        int rc = avfilter_init_str(context, nullptr);
        if (rc < 0)
            return EngineLog::failure("initialise filter", rc, node.filter);
        contexts.push_back(context);
    }
    for (const FilterGraphPlan::Link& link : plan.links()) {
        int rc = avfilter_link(contexts.at(link.from), link.fromPad, contexts.at(link.to), link.toPad);
        if (rc < 0)
            return EngineLog::failure("link filters", rc,
                                      plan.nodes()[link.from].name + " -> " + plan.nodes()[link.to].name);
    }
    int rc = avfilter_graph_config(graph.get(), nullptr);
    if (rc < 0)
        return EngineLog::failure("configure filter graph", rc, plan.describe());
    for (int index : plan.stills()) {
        // A still's one frame goes in now and its input ends, so the graph never waits for more of it.
        AVFrame* still = plan.nodes()[index].still.get();
        if ((rc = av_buffersrc_add_frame_flags(contexts[index], still, AV_BUFFERSRC_FLAG_KEEP_REF)) < 0 ||
            (rc = av_buffersrc_close(contexts[index], 1, 0)) < 0)
            return EngineLog::failure("feed still picture", rc, plan.nodes()[index].name);
    }
    for (int index : plan.sources())
        _sources.push_back(contexts[index]);
    for (int index : plan.sinks())
        _sinks.push_back(contexts[index]);
    _graph = std::move(graph);
    return 0;
}

int FilterGraph::push(AVFrame* frame, int source) {
    return av_buffersrc_add_frame_flags(_sources.at(source), frame, AV_BUFFERSRC_FLAG_KEEP_REF);
}

int FilterGraph::close(int64_t pts, int source) {
    return av_buffersrc_close(_sources.at(source), pts, AV_BUFFERSRC_FLAG_PUSH);
}

int FilterGraph::pull(AVFrame* frame, int sink) {
    return av_buffersink_get_frame(_sinks.at(sink), frame);
}

void FilterGraph::setFrameSize(unsigned samples, int sink) {
    av_buffersink_set_frame_size(_sinks.at(sink), samples);
}

} // namespace mediacore
