#pragma once

#include "ViewRect.h"
#include "libMediaCore.h"

#include <functional>

class MediaJob;

// The crop, the rotation and the two mirrors as an export takes them at Start: a plain copy, so later edits do
// not change a running export.
struct CropRotateSettings {
    int rotateAngle = 0;    // the user's rotation: 0, 90, 180 or 270
    int hFlip = 0;          // mirror the upright source picture left-right (before the user's rotation)
    int vFlip = 0;          // mirror it top-bottom
    ViewRect clipRect;      // the crop in pixels of the turned picture, origin bottom-left; zero or whole: none
    RECT convertCropSize{}; // its margins (even, never negative)
    int sourceAngle = 0;    // the stream's own clockwise rotation (0, 90, 180 or 270)

    // The setters of a conversion job: the crop margins (when there are any), the two mirrors and the rotation
    // (the user's angle plus the stream's own, not reduced modulo 360). Returns the first failing result (<= 0)
    // or > 0.
    //
    // The preview turns the picture upright before it mirrors it, while a conversion mirrors the coded picture
    // and then turns it by the whole angle. For a stream stored on its side the two mirrors therefore trade places
    // here, so the export shows what the preview showed.
    int apply(CONVERT_HANDLE job) const;
    // `apply` on a job of the runner, capturing a copy of these settings.
    std::function<int(MediaJob&)> contribution() const;
};
