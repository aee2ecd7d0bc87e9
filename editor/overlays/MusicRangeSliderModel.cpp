#include "MusicRangeSliderModel.h"

#include <algorithm>

MusicRangeSliderModel::MusicRangeSliderModel(double width, double height) {
    _leftHandle = {0, TrackInset, HandleWidth, height - TrackInset};
    _rightHandle = {width - HandleWidth, TrackInset, HandleWidth, height - TrackInset};
    _width = width;
    _height = height;
    setVideoRange(0, 1);
    setMusicRange(0, 0);
}

void MusicRangeSliderModel::setSize(double width, double height) {
    _width = width;
    _height = height;
    _leftHandle.height = _rightHandle.height = height - TrackInset;
    setVideoRange(_left, _right);
    setMusicRange(_musicLeft, _musicDuration);
    const double T = trackWidth();
    _leftHandle = {_left * T, TrackInset, HandleWidth, _leftHandle.height};
    _rightHandle = {_right * T, TrackInset, HandleWidth, _rightHandle.height};
    setProgress(_progress);
}

void MusicRangeSliderModel::layRange(double handleY) {
    const double T = trackWidth();
    const float p = static_cast<float>(_left * T + TrackInset);
    const float w = static_cast<float>((_right - _left) * T);
    _range = {p, TrackInset, w, TrackHeight};
    _leftHandle = {p - HandleWidth / 2, handleY, HandleWidth, _leftHandle.height};
    _rightHandle = {p + w - HandleWidth / 2, handleY, HandleWidth, _rightHandle.height};
}

void MusicRangeSliderModel::setVideoRange(float lower, float upper) {
    _left = std::max(0.0f, lower);
    _right = std::min(upper, 1.0f);
    layRange(0);
}

void MusicRangeSliderModel::setMusicRange(float lower, float duration) {
    _musicLeft = std::max(0.0f, lower);
    _musicRight = std::min(1.0f, duration);
    _musicDuration = duration;
}

ViewRect MusicRangeSliderModel::musicFrame() const {
    const double w = std::max(0.0f, std::min(_musicDuration, _right - _left)) * trackWidth();
    return {_range.x, TrackInset, w, TrackHeight};
}

void MusicRangeSliderModel::setProgress(float progress) {
    _progress = progress;
    _playhead.x = progress * (_width - _playhead.width);
}

MusicRangeSliderModel::Limits MusicRangeSliderModel::dragLimits(Piece piece) const {
    switch (piece) {
    case Piece::Playhead:
        return {0, std::max(0.0, _width - PlayheadSize - 10)};
    case Piece::LeftHandle:
        return {0, std::max(0.0, _rightHandle.x)};
    case Piece::RightHandle:
        return {std::max(0.0, _leftHandle.x), std::max(0.0, _width - HandleWidth)};
    case Piece::RangeBar:
        return {TrackInset, std::max(TrackInset, TrackInset + trackWidth() - _range.width)};
    }
    return {};
}

bool MusicRangeSliderModel::dragged(Piece piece, double x) {
    const double T = trackWidth();
    if (piece == Piece::Playhead) {
        _playhead.x = x;
        const double span = _width - _playhead.width;
        _progress = span > 0 ? static_cast<float>(x / span) : 0.0f;
        return false;
    }
    if (T <= 0)
        return false;
    const float musicRight = _musicRight;
    switch (piece) {
    case Piece::LeftHandle: {
        const float left = static_cast<float>(x / T);
        setVideoRange(left, _right);
        setMusicRange(left, musicRight);
        break;
    }
    case Piece::RightHandle: {
        setVideoRange(_left, static_cast<float>(x / T));
        setMusicRange(_musicLeft, musicRight);
        break;
    }
    case Piece::RangeBar: {
        const float left = static_cast<float>((x - TrackInset) / T);
        const float right = left - _left + _right;
        setVideoRange(left, right);
        setMusicRange(left, std::min(_musicRight, _right - _left));
        break;
    }
    case Piece::Playhead:
        break;
    }
    return true;
}
