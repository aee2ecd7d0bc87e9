#pragma once

// A point in y-up view coordinates: points, origin at the bottom-left corner, y growing upwards.
struct ViewPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};
