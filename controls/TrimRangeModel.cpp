#include "TrimRangeModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Values from code are stored as given; for placing a part, a value that is not a number counts as 0.
double placeable(float v) {
    return std::isnan(v) ? 0.0 : static_cast<double>(v);
}

float clampUnit(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

const char* const PlainTrack = "Resources/play_notplayed_bkg.png";
const char* const FocusTrack = "Resources/edit_trim_focus.png";
const char* const LeftHandleImage = "Resources/edit_trimleft_normal.png";
const char* const RightHandleImage = "Resources/edit_trimright_normal.png";

} // namespace

TrimRangeModel::TrimRangeModel(double width, double height) : _width(width), _height(height) {
    layOutTrack();
    _playhead = {0, height - 24, 15, 24};
    _leftX = 0;
    _rightX = _track.width + HandleWidth;
    applyImages();
}

void TrimRangeModel::layOutTrack() {
    _track = {HandleWidth, (_height - TrackHeight) / 2, _width - 2 * HandleWidth, TrackHeight};
    _tint = _track;
}

void TrimRangeModel::applyImages() {
    const bool inverted = _isFanxuan;
    if (_type == 1) {
        _images.track = inverted ? "Cut/imgTop.bmp" : "Cut/imgBack.bmp";
        _images.tint = inverted ? "Cut/imgBack.bmp" : "Cut/imgTop.bmp";
    } else {
        _images.track = inverted ? FocusTrack : PlainTrack;
        _images.tint = inverted ? PlainTrack : FocusTrack;
    }
    _images.playhead = smallSkin() ? "Cut/btnSlip_Normal.png" : "Resources/edit_trimknob_normal.png";
    _images.leftHandle = inverted ? RightHandleImage : LeftHandleImage;
    _images.rightHandle = inverted ? LeftHandleImage : RightHandleImage;
}

void TrimRangeModel::setSize(double width, double height) {
    _width = width;
    _height = height;
    layOutTrack();
    if (smallSkin())
        _playhead = {0, _track.midY() - 6, 12, 12};
    else
        _playhead = {0, height - 17, 17, 17};
    _leftX = 0;
    _rightX = _track.width + HandleWidth;
    setProgress(_progress);
    setLowerValueUpperValue(_lowerValue, _upperValue);
}

void TrimRangeModel::setType(long long type) {
    _type = type;
    setIsFanxuan(_isFanxuan);
}

void TrimRangeModel::setIsFanxuan(bool inverted) {
    _isFanxuan = inverted;
    if (smallSkin())
        _playhead = {_playhead.x, _track.midY() - 6, 12, 12};
    else
        _playhead = {_playhead.x, _track.y, 17, 17};
    applyImages();
    setLowerValueUpperValue(_lowerValue, _upperValue);
}

void TrimRangeModel::setProgress(float p) {
    _progress = p;
    double x = placeable(p) * (_width - _playhead.width / 2);
    if (x > _width - _playhead.width)
        x = _width - _playhead.width;
    _playhead.x = x;
}

void TrimRangeModel::placeRight(float upper) {
    const double half = _playhead.width / 2;
    double c = placeable(upper) * _width;
    if (c < half)
        c = half;
    if (c > _width - half)
        c = _width - half;
    _rightX = _isFanxuan ? c - half : c;
}

void TrimRangeModel::placeLeft(float lower) {
    double c = placeable(lower) * _width;
    if (c < _playhead.width / 2)
        c = _playhead.width / 2;
    if (c > _rightX)
        c = _rightX;
    _leftX = _isFanxuan ? c : c - HandleWidth;
}

void TrimRangeModel::layTint() {
    if (_isFanxuan) {
        _tint.x = _leftX;
        _tint.width = _rightX + HandleWidth - _leftX;
    } else {
        _tint.x = _leftX + HandleWidth;
        _tint.width = _rightX - _tint.x;
    }
}

void TrimRangeModel::setLowerValueUpperValue(float lower, float upper) {
    _handleType = LeftHandle;
    placeRight(upper);
    placeLeft(lower);
    layTint();
    _lowerValue = lower;
    _upperValue = upper;
    double x = _leftX + HandleWidth - _playhead.width / 2;
    if (x > _width - _playhead.width)
        x = _width - _playhead.width;
    _playhead.x = x;
}

void TrimRangeModel::setLowerValue(float lower) {
    placeLeft(lower);
    layTint();
    _handleType = LeftHandle;
    _lowerValue = lower;
}

void TrimRangeModel::setUpperValue(float upper) {
    placeRight(upper);
    layTint();
    _handleType = RightHandle;
    _upperValue = upper;
}

float TrimRangeModel::fractionOfTrack(double x) const {
    if (!(_track.width > 0))
        return 0;
    return static_cast<float>((x - _track.x) / _track.width);
}

float TrimRangeModel::playheadValue() const {
    return fractionOfTrack(_playhead.x + _playhead.width / 2);
}

void TrimRangeModel::movePlayheadCentre(double centre) {
    _playhead.x = centre - _playhead.width / 2;
}

TrimRangeModel::PressReport TrimRangeModel::press(double px, double py) {
    PressReport report;
    _handtick = false;
    const double trackCentre = _track.y + _track.height / 2;
    const bool low = py < trackCentre;
    if (px > _leftX && px < _leftX + HandleWidth && low) {
        _handLeft = true;
        _handRight = false;
    } else if (px > _rightX && px < _rightX + HandleWidth && low) {
        _handLeft = false;
        _handRight = true;
    } else {
        _handLeft = false;
        _handRight = false;
        _handtick = true;
        double centre = px;
        if (centre < 0)
            centre = 0;
        if (centre > _track.x + _track.width)
            centre = _track.x + _track.width;
        movePlayheadCentre(centre);
        report.seek = true;
        report.seekValue = playheadValue();
    }
    report.downValue = playheadValue();
    return report;
}

TrimRangeModel::DragReport TrimRangeModel::drag(double px, double py) {
    DragReport report;
    if (_handtick) {
        double centre = px;
        if (centre < _playhead.width / 2)
            centre = _playhead.width / 2;
        if (centre > _track.x + _track.width)
            centre = _track.x + _track.width;
        movePlayheadCentre(centre);
        report.kind = DragReport::Seek;
        report.seekValue = clampUnit(playheadValue());
        return report;
    }
    const double half = HandleWidth / 2;
    if (_handLeft) {
        // Held by its centre between half a handle before the track and the point where its inner edge meets the
        // right handle's inner edge.
        double centre = px;
        if (centre < _track.x - half)
            centre = _track.x - half;
        if (centre > _rightX - half)
            centre = _rightX - half;
        _leftX = centre - half;
        movePlayheadCentre(_isFanxuan ? _leftX : _leftX + HandleWidth);
        _handleType = LeftHandle;
        report.handle = LeftHandle;
    } else if (_handRight) {
        double centre = px;
        if (centre > _track.width + 1.5 * HandleWidth)
            centre = _track.width + 1.5 * HandleWidth;
        if (centre < _leftX + HandleWidth + half)
            centre = _leftX + HandleWidth + half;
        _rightX = centre - half;
        movePlayheadCentre(_isFanxuan ? _rightX + HandleWidth : _rightX);
        _handleType = RightHandle;
        report.handle = RightHandle;
    } else {
        return report;
    }
    layTint();
    readValuesFromHandles();
    report.kind = DragReport::Moved;
    report.lower = _lowerValue;
    report.upper = _upperValue;
    return report;
}

void TrimRangeModel::readValuesFromHandles() {
    _lowerValue = clampUnit(fractionOfTrack(_leftX + HandleWidth));
    _upperValue = clampUnit(fractionOfTrack(_rightX));
}

float TrimRangeModel::release() {
    _handLeft = false;
    _handRight = false;
    _handtick = false;
    return playheadValue();
}
