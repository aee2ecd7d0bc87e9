#pragma once

#include "ViewRect.h"

#include <string>

// The values and layout of the music timeline bar, apart from any widget. The whole track stands for the video;
// on it lie the place of the selected music item (a range with a handle at each end, draggable as a whole), the
// music bar (the used part's length, from the range's left end) and the playhead. Values are float fractions;
// frames are in the slider's own y-up points. With a slider W x H the track is (5, 5, W - 10, 12), T = W - 10
// wide, and a fraction v lies at x = v * T + 5.
//
// The left handle never passes the right one, and dragging the range starts where it lies (the bar is read back
// with the same 5-point inset it is laid with), so a press does not make it jump.
class MusicRangeSliderModel {
public:
    enum class Piece { LeftHandle, RightHandle, RangeBar, Playhead };

    static constexpr double TrackInset = 5;
    static constexpr double TrackHeight = 12;
    static constexpr double HandleWidth = 10;
    static constexpr double PlayheadSize = 21;

    explicit MusicRangeSliderModel(double width = 0, double height = 0);

    // A new size: the track and every piece laid out again with the stored values; the handles stand at y 5.
    void setSize(double width, double height);
    // The range: lower clamped to at least 0, upper to at most 1; the handles are laid at y 0.
    void setVideoRange(float lower, float upper);
    // The music part: the start (stored only) at least 0; the bar's length as a fraction of the track, stored
    // at most 1, drawn no longer than the range.
    void setMusicRange(float lower, float duration);
    void setIsRepeat(bool repeat) { _isRepeat = repeat; }
    void setProgress(float progress);
    void setEnable(bool enable) { _enable = enable; }

    // The x a piece may take while dragged.
    struct Limits {
        double minimum = 0;
        double maximum = 0;
    };
    Limits dragLimits(Piece piece) const;
    // A piece was dragged to x (already inside its limits): the values follow. True when the range moved (the
    // playhead leaves it unchanged).
    bool dragged(Piece piece, double x);

    double width() const { return _width; }
    double height() const { return _height; }
    double trackWidth() const { return _width - 2 * TrackInset; }
    ViewRect trackFrame() const { return {TrackInset, TrackInset, trackWidth(), TrackHeight}; }
    const ViewRect& rangeFrame() const { return _range; }
    ViewRect musicFrame() const;
    const ViewRect& leftHandleFrame() const { return _leftHandle; }
    const ViewRect& rightHandleFrame() const { return _rightHandle; }
    const ViewRect& playheadFrame() const { return _playhead; }
    // The width between the repeat lines drawn over the range: the music bar's width in the repeat look, else 0.
    double repeatWidth() const { return _isRepeat ? musicFrame().width : 0; }
    std::string rangeImage() const { return _isRepeat ? "Cut/pbTop.bmp" : "Cut/imgTop.bmp"; }

    float positionLeftValue() const { return _left; }
    float positionRightValue() const { return _right; }
    float musicLeftValue() const { return _musicLeft; }
    float musicRightValue() const { return _musicRight; }
    float progress() const { return _progress; }
    bool enable() const { return _enable; }
    bool isRepeat() const { return _isRepeat; }

private:
    void layRange(double handleY);

    double _width = 0;
    double _height = 0;
    ViewRect _range;
    ViewRect _leftHandle;
    ViewRect _rightHandle;
    ViewRect _playhead{0, 0, PlayheadSize, PlayheadSize};
    float _left = 0;
    float _right = 1;
    float _musicLeft = 0;
    float _musicRight = 0;
    float _musicDuration = 0; // as last given, not clamped: the bar's length
    float _progress = 0;
    bool _enable = false;
    bool _isRepeat = false;
};
