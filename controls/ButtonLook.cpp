#include "ButtonLook.h"

#include <algorithm>

ButtonLook::Slot ButtonLook::choose(bool enabled, bool pointerOver, bool pressed, bool selected) {
    if (!enabled)
        return Disabled;
    // A selected button keeps its selected look under the pointer: a play button that shows pause once playing
    // must show it right after the click that started, while the pointer still rests on it.
    if (pointerOver)
        return pressed ? Down : (selected ? Selected : On);
    if (selected)
        return Selected;
    return pressed ? Down : Normal;
}

std::optional<ButtonLook::Slot> ButtonLook::imageSlot(Slot chosen, bool selected,
                                                      const std::array<bool, SlotCount>& present) {
    if (present[chosen])
        return chosen;
    if (selected && present[Selected])
        return Selected;
    if (present[Normal])
        return Normal;
    return std::nullopt;
}

ButtonLook::Placement ButtonLook::place(const Input& in) {
    const double titleX0 = std::max(0.0, in.measuredTitleX);
    Placement out;
    out.title.y = (in.height - in.titleHeight) / 2;
    if (in.hasImage) {
        const double imageY = (in.height - in.imageHeight) / 2;
        const double group = in.titleWidth + in.imageWidth;
        switch (in.contentImagePosition) {
        case 1:
            out.title.x = in.imageWidth;
            out.image = ViewPoint{0, imageY};
            break;
        case 2:
            out.title.x = (in.width - group) / 2;
            out.image = ViewPoint{in.width - in.imageWidth, imageY};
            break;
        default:
            out.title.x = (in.width - group) / 2 + in.imageWidth;
            out.image = ViewPoint{(in.width - group) / 2, imageY};
            break;
        }
        return out;
    }
    if (!in.hasTitlePosition) {
        out.title.x = (in.width - in.titleWidth) / 2;
        return out;
    }
    out.title.x = titleX0;
    if (in.insetLeft != 0)
        out.title.x += in.insetLeft;
    if (in.insetRight != 0)
        out.title.x += in.width - in.titleWidth - in.insetRight;
    return out;
}
