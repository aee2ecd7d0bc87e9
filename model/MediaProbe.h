#pragma once

#include "SimpleData.h"

#include <QString>

#include <memory>

// The media probe: turns a media file's path into a SimpleData record through the engine (streams, duration,
// size, thumbnail). It runs on the calling thread and keeps nothing between calls; every engine handle it opens
// is closed before it returns.
class MediaProbe {
public:
    enum class Variant {
        Plain,          // splitter, easy cutter
        TrimEndAndIcon, // joiner, batch cutter: the trim range is the whole file; audio-only files get an icon
        Editor,         // the editor: stricter checks, source record only, every audio track, aspect-kept thumbnail
    };

    // A new record, or nullptr when the engine cannot use the file.
    static std::shared_ptr<SimpleData> getVideoInfomation(const QString& path, Variant variant = Variant::Plain);

    // Thumbnail sizes, pixels.
    static constexpr int kThumbWidth = 285;
    static constexpr int kThumbHeight = 180;

private:
    static std::shared_ptr<SimpleData> probeList(const QString& path, Variant variant);
    static std::shared_ptr<SimpleData> probeEditor(const QString& path);
};
