#pragma once

#include "ViewSize.h"

#include <QImage>
#include <QString>

#include <cstdint>

// Pictures of a media file through the engine: its upright picture size and single frames.
class EngineSnapshot {
public:
    // The picture size of the file's first video stream as it is shown: width and height swapped for a stream
    // turned by 90 or 270 degrees. Zero without a video stream or for a file the engine cannot open.
    static ViewSize getVideoSizeForTrack(const QString& path);

    // One frame, upright, scaled to width x height.
    // Null when the file cannot be opened, the size is empty or the engine gives no frame.
    static QImage frameAt(const QString& path, int64_t timeUs, int width, int height);
};
