#include "ProgressSliderModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Autoresizing with every margin and the size flexible: each part of an axis grows in proportion to its length.
void scaleAxis(double& origin, double& length, double oldTotal, double newTotal) {
    if (oldTotal <= 0) {
        origin = 0;
        length = newTotal;
        return;
    }
    const double ratio = newTotal / oldTotal;
    origin *= ratio;
    length *= ratio;
}

} // namespace

ProgressSliderModel::ProgressSliderModel(double width, double height) : _width(width), _height(height) {
    _track = {0, (height - 8) / 2, width, 8};
    _tint = _track;
    _thumb = {0, 0, height, height};
}

double ProgressSliderModel::thumbXFor(float p) const {
    const double travel = _width - _thumb.width;
    // A value that is not a number has no place on the track; it shows at the left stop.
    const double fraction = std::isnan(p) ? 0.0 : static_cast<double>(p);
    double x = travel * fraction;
    if (x < 0)
        x = 0;
    if (x > travel)
        x = travel;
    return x;
}

void ProgressSliderModel::setProgress(float p) {
    _progress = p;
    _thumb.x = thumbXFor(p);
    _tint.width = _thumb.x + _height / 2;
}

void ProgressSliderModel::setSize(double width, double height) {
    for (ViewRect* r : {&_track, &_tint}) {
        scaleAxis(r->x, r->width, _width, width);
        scaleAxis(r->y, r->height, _height, height);
    }
    _width = width;
    _height = height;
    _thumb.x = thumbXFor(_progress);
    _tint.width = _thumb.x + _thumb.width / 2;
}

float ProgressSliderModel::dragTo(double x) {
    const double half = _thumb.width / 2;
    double centre = x;
    if (centre < half)
        centre = half;
    if (centre > _track.x + _track.width - half)
        centre = _track.x + _track.width - half;
    _thumb.x = centre - half;
    _tint.width = _thumb.x + half;
    const double travel = _track.width - _thumb.width;
    _progress = travel > 0 ? static_cast<float>((_thumb.x - _track.x) / travel) : 0.0f;
    return _progress;
}
