#pragma once

// A size in points. Sizes are the same in both coordinate systems; a shadow offset held in one is y-up.
struct SpecSize {
    double width = 0;
    double height = 0;

    friend bool operator==(const SpecSize&, const SpecSize&) = default;
};
