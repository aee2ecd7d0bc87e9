#pragma once

class MusicRangeSlider;

// What the music timeline bar reports after each drag step.
class MusicRangeSliderDelegate {
public:
    virtual ~MusicRangeSliderDelegate() = default;
    // The playhead was dragged; read progress().
    virtual void changeProgress(MusicRangeSlider* slider) = 0;
    // Any piece was dragged (after changeProgress for the playhead); read the four values.
    virtual void changeRangeValue(MusicRangeSlider* slider) = 0;
};
