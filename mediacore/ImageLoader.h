#pragma once

#include "FfmpegOwners.h"

#include <string>

namespace mediacore {

// Reads the first picture of an image file (PNG, JPEG, BMP, GIF, WebP: whatever FFmpeg decodes) for image
// watermarks. A name is taken literally: '%' in it is not an image-sequence pattern.
class ImageLoader {
public:
    // The picture's size. 0, or a negative AVERROR (logged) when the file is missing or is no image.
    static int probe(const std::string& path, int* width, int* height);

    // The picture scaled to width x height as RGBA with straight alpha, its alpha multiplied by `opacity`
    // (0..1). 0, or a negative AVERROR (logged).
    static int load(const std::string& path, int width, int height, double opacity, FramePtr& picture);

private:
    static int decodeFirst(const std::string& path, FramePtr& decoded);
};

} // namespace mediacore
