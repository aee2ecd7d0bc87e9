#pragma once

#include <QImage>
#include <QString>

#include <cstdint>

// One frame of a media file from the engine's snapshot call, upright, scaled to width x height.
class EngineSnapshot {
public:
    // Null when the file cannot be opened, the size is empty or the engine gives no frame.
    static QImage frameAt(const QString& path, int64_t timeUs, int width, int height);
};
