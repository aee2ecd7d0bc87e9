#pragma once

#include "ViewRect.h"

// The value and geometry of the one-thumb slider, apart from any widget: a value (a fraction 0..1, stored as given)
// shown by a square thumb over an 8-point track, with a tint from the track's left end to the thumb's centre.
// All frames are in the slider's own y-up coordinates.
class ProgressSliderModel {
public:
    // The layout of a new slider of the given size: track and tint across the whole width, 8 high and centred
    // vertically; a square thumb as high as the slider at the left end.
    explicit ProgressSliderModel(double width = 0, double height = 0);

    float progress() const { return _progress; }
    const ViewRect& trackFrame() const { return _track; }
    const ViewRect& tintFrame() const { return _tint; }
    const ViewRect& thumbFrame() const { return _thumb; }
    double width() const { return _width; }
    double height() const { return _height; }

    // Stores p as given and places the thumb at that fraction of its travel, kept on the slider.
    void setProgress(float p);

    // A new slider size: track and tint scale with it on both axes (all their margins and sizes are flexible), the
    // thumb keeps its size and is placed again for the stored value.
    void setSize(double width, double height);

    // A drag (or a press treated as one) at x in the slider's own coordinates: the thumb's centre follows x, held on
    // the track; returns the new value, 0 at the left stop and 1 at the right stop. A track no wider than the thumb
    // leaves no travel and gives 0.
    float dragTo(double x);

private:
    double thumbXFor(float p) const;

    double _width = 0;
    double _height = 0;
    float _progress = 0;
    ViewRect _track;
    ViewRect _tint;
    ViewRect _thumb;
};
