#pragma once

// A size in points. Sizes are the same in both coordinate systems; a shadow offset held in one is y-up.
struct ViewSize {
    double width = 0;
    double height = 0;

    friend bool operator==(const ViewSize&, const ViewSize&) = default;
};
