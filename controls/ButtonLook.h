#pragma once

#include "ViewPoint.h"

#include <array>
#include <optional>

// The look rules of the image button, apart from any drawing: which of its five image/background slots shows for
// an interaction state, the image fallback, and where the title and the image are drawn. Positions are in the
// button's own y-up coordinates, origin at the bottom-left corner.
class ButtonLook {
public:
    enum Slot { Normal = 0, On, Down, Selected, Disabled, SlotCount };

    // The slot for the state: disabled wins; the pointer over the button chooses down or hover; away from it the
    // selected look wins over pressed, and pressed over normal.
    static Slot choose(bool enabled, bool pointerOver, bool pressed, bool selected);

    // The image slot actually drawn, given which slots hold an image: the chosen one, else the selected image for a
    // selected button, else the normal image. None when nothing is left.
    static std::optional<Slot> imageSlot(Slot chosen, bool selected, const std::array<bool, SlotCount>& present);

    struct Placement {
        ViewPoint title;
        std::optional<ViewPoint> image;
    };

    // Title and image origins. width/height: the bounds; imageWidth/imageHeight: the chosen image's natural size
    // (hasImage false when none is drawn); titleWidth/titleHeight and measuredTitleX: the measured single-line
    // title (0 without a title); insetLeft/insetRight: the title position's insets, when one is set.
    struct Input {
        double width = 0;
        double height = 0;
        bool hasImage = false;
        double imageWidth = 0;
        double imageHeight = 0;
        double titleWidth = 0;
        double titleHeight = 0;
        double measuredTitleX = 0;
        long long contentImagePosition = 0;
        bool hasTitlePosition = false;
        double insetLeft = 0;
        double insetRight = 0;
    };
    static Placement place(const Input& in);
};
