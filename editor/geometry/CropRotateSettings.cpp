#include "CropRotateSettings.h"

#include "CropGeometry.h"
#include "MediaJob.h"

#include <algorithm>

int CropRotateSettings::apply(CONVERT_HANDLE job) const {
    int rc = 1;
    if (!clipRect.isZero() && CropGeometry::hasMargins(convertCropSize)) {
        RECT margins = convertCropSize;
        margins.left = std::max(0, margins.left - margins.left % 2);
        margins.top = std::max(0, margins.top - margins.top % 2);
        margins.right = std::max(0, margins.right - margins.right % 2);
        margins.bottom = std::max(0, margins.bottom - margins.bottom % 2);
        if ((rc = apiMediaConvertSetCropSize(job, margins)) <= 0)
            return rc;
    }
    const bool sideways = ((sourceAngle % 180) + 180) % 180 == 90;
    const int h = sideways ? vFlip : hFlip;
    const int v = sideways ? hFlip : vFlip;
    if ((rc = apiMediaConvertHFlipStatus(job, h ? 1 : 0)) <= 0)
        return rc;
    if ((rc = apiMediaConvertVFlipStatus(job, v ? 1 : 0)) <= 0)
        return rc;
    return apiMediaConvertSetRotateAngle(job, rotateAngle + sourceAngle);
}

std::function<int(MediaJob&)> CropRotateSettings::contribution() const {
    const CropRotateSettings copy = *this;
    return [copy](MediaJob& job) { return copy.apply(static_cast<CONVERT_HANDLE>(job.handle())); };
}
