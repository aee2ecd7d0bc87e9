#pragma once

// A point in the specification's coordinates: points, origin at the bottom-left corner, y growing upwards.
struct SpecPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const SpecPoint&, const SpecPoint&) = default;
};
