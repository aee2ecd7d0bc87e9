#pragma once

#include "ViewRect.h"
#include "ViewSize.h"

#include <algorithm>

// The largest rectangle of `aspect`'s proportions centred inside `bounds`: where a view that shows a picture
// aspect-fit and centred draws it. Without a picture (an empty aspect) the bounds themselves.
inline ViewRect AVMakeRectWithAspectRatioInsideRect(const ViewSize& aspect, const ViewRect& bounds) {
    if (aspect.width <= 0 || aspect.height <= 0)
        return bounds;
    const double scale = std::min(bounds.width / aspect.width, bounds.height / aspect.height);
    const double w = aspect.width * scale, h = aspect.height * scale;
    return {bounds.x + (bounds.width - w) / 2, bounds.y + (bounds.height - h) / 2, w, h};
}
