#pragma once

#include "ConvertSettings.h"
#include "FilterGraphPlan.h"

namespace mediacore {

// Image, video and text watermarks laid over the picture, each within its time window.
//
// Geometry: a box is in pixels of the picture the watermarks are drawn on (after mirror and rotation, before
// the crop), origin top-left. A box partly outside the picture is clipped: the part inside shows at its place
// and scale. A box wholly outside shows nothing and is left out (the setters refuse such boxes where they can
// tell; this is the last guard).
//
// Times: windows are [start, end) on the source timeline in µs; the graph's time 0 is the cut's start, so a
// window is moved by the cut, and a video watermark whose window began before the cut starts that far into its
// part. A window that ends before the cut is left out.
//
// Inputs: images are decoded here into still pictures (scaled to their box, transparency in their alpha); a
// text is drawn once by the draw-text callback on a canvas the picture's size and overlaid premultiplied; a
// video watermark is read inside the graph by a movie source whose file name is set through the option API.
// All of it runs when the graph is built, on the building thread (the job's own thread in a conversion).
class WatermarkStage {
public:
    WatermarkStage(const ConvertSettings& settings, int width, int height);

    // Appends the overlays after the plan's tail: images, then videos, then texts (texts end up on top).
    void append(FilterGraphPlan& plan) const;

    // The enable expression of a window on the graph's timeline; empty when the window ends before the
    // graph's start or is empty.
    std::string enableExpression(int64_t startUs, int64_t endUs) const;

private:
    void appendImage(FilterGraphPlan& plan, const IMAGE_WATERMARK_PARAM& watermark) const;
    void appendVideo(FilterGraphPlan& plan, const VIDEO_WATERMARK_PARAM& watermark) const;
    void appendText(FilterGraphPlan& plan, const TEXT_WATERMARK_PARAM& watermark) const;
    bool visible(const RECT& box, const char* what) const;
    // Links `picture` (the tail of an overlay input chain) over the plan's main tail at (x, y).
    void overlay(FilterGraphPlan& plan, int picture, int x, int y, const std::string& enable,
                 FilterGraphPlan::Options extra = {}) const;

    const ConvertSettings& _settings;
    int _width;
    int _height;
};

} // namespace mediacore
