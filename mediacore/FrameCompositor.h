#pragma once

#include "FfmpegOwners.h"

namespace mediacore {

// Pictures and sound of a join put together: black canvases, a clip's picture centred on one (the bars of a
// clip of another shape), and the transitions between two clips. Pictures are 8-bit planar (YUV or RGB planes,
// any chroma subsampling, gray); rows top first. Sound is planar float.
class FrameCompositor {
public:
    // Whether pictures of this format can be composed here.
    static bool composable(AVPixelFormat format);

    // A black picture; nullptr when out of memory.
    static FramePtr black(int width, int height, AVPixelFormat format);
    // `picture` centred on a black canvas of the given size (a smaller picture gets bars on two sides).
    static FramePtr centred(const AVFrame* picture, int width, int height);

    // One picture of a transition from `from` to `to` (same size and format) at `progress` in (0, 1):
    // 1 slides `to` in from the right, pushing `from` out to the left; 2 slides it in from the bottom, pushing
    // `from` up; 3 (and anything else) fades.
    static FramePtr transition(const AVFrame* from, const AVFrame* to, int kind, double progress);

    // Sound of a crossfade: out[i] = from[i] * (1 - p) + to[i] * p, p rising linearly from `progress` by `step`
    // per sample. Planar float, `channels` planes of `count` samples.
    static void crossfade(float* const* out, const float* const* from, const float* const* to, int channels, int count,
                          double progress, double step);
};

} // namespace mediacore
