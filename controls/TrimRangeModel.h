#pragma once

#include "ViewRect.h"

#include <string>

// The values, handle order, hit tests and looks of the trim-range slider, apart from any widget. Values are
// fractions of a duration (32-bit floats); frames are in the slider's own y-up coordinates. The track is inset by
// one handle width (9 points) on each side; the handles (9 x 12) stand along the bottom edge; the playhead's size
// depends on the skin.
//
// The handles never cross: a dragged handle stops with its inner edge on the other handle's inner edge, so a
// reported lower value is never above the upper one. A track without width reports 0, never a division by zero.
class TrimRangeModel {
public:
    static constexpr double HandleWidth = 9;
    static constexpr double HandleHeight = 12;
    static constexpr double TrackHeight = 10;

    enum Handle { NoHandle = 0, LeftHandle = 1, RightHandle = 2 };

    // The image names of every part for the current skin and look.
    struct Images {
        std::string track;
        std::string tint;
        std::string playhead;
        std::string leftHandle;
        std::string rightHandle;
    };

    // What a press reports: a seek when it moved the playhead, then always the mouse-down with the playhead's
    // position (not clamped).
    struct PressReport {
        bool seek = false;
        float seekValue = 0;
        float downValue = 0;
    };

    // What a drag reports: a seek (playhead, clamped 0..1) or a handle movement with both values.
    struct DragReport {
        enum Kind { Nothing, Seek, Moved } kind = Nothing;
        float seekValue = 0;
        float lower = 0;
        float upper = 0;
        Handle handle = NoHandle;
    };

    // The layout of a new slider of the given size, with the images of skin 0 in the normal look.
    explicit TrimRangeModel(double width = 0, double height = 0);

    // A new size: every part is laid out again, then the stored playhead value and range are applied again (which
    // leaves the playhead on the left handle and the current handle at 1).
    void setSize(double width, double height);
    void setType(long long type);
    void setIsFanxuan(bool inverted);

    // Values from code: stored as given, never clamped; they place the handles against the whole width.
    void setProgress(float p);
    void setLowerValueUpperValue(float lower, float upper);
    void setLowerValue(float lower);
    void setUpperValue(float upper);
    void setHandleType(long long handle) { _handleType = handle; }

    PressReport press(double px, double py);
    DragReport drag(double px, double py);
    // Ends the gesture and gives the playhead's position for the mouse-up report.
    float release();

    // The playhead's centre as a fraction of the track (not clamped); 0 for a track without width.
    float playheadValue() const;

    double width() const { return _width; }
    double height() const { return _height; }
    const ViewRect& trackFrame() const { return _track; }
    const ViewRect& tintFrame() const { return _tint; }
    const ViewRect& playheadFrame() const { return _playhead; }
    ViewRect leftHandleFrame() const { return {_leftX, 0, HandleWidth, HandleHeight}; }
    ViewRect rightHandleFrame() const { return {_rightX, 0, HandleWidth, HandleHeight}; }
    const Images& images() const { return _images; }

    float progress() const { return _progress; }
    float lowerValue() const { return _lowerValue; }
    float upperValue() const { return _upperValue; }
    long long handleType() const { return _handleType; }
    long long type() const { return _type; }
    bool isFanxuan() const { return _isFanxuan; }
    bool handLeft() const { return _handLeft; }
    bool handRight() const { return _handRight; }
    bool handtick() const { return _handtick; }

private:
    bool smallSkin() const { return _type == 1 || _type == 2; }
    void layOutTrack();
    void applyImages();
    void placeRight(float upper);
    void placeLeft(float lower);
    void layTint();
    void movePlayheadCentre(double centre);
    void readValuesFromHandles();
    float fractionOfTrack(double x) const;

    double _width = 0;
    double _height = 0;
    ViewRect _track;
    ViewRect _tint;
    ViewRect _playhead;
    double _leftX = 0;
    double _rightX = 0;
    Images _images;

    long long _type = 0;
    bool _isFanxuan = false;
    float _progress = 0;
    float _lowerValue = 0;
    float _upperValue = 0;
    long long _handleType = 0;
    bool _handLeft = false;
    bool _handRight = false;
    bool _handtick = false;
};
