#include "EngineSnapshot.h"

#include "StillFrame.h"
#include "libMediaCore.h"

#include <cstdlib>
#include <vector>

ViewSize EngineSnapshot::getVideoSizeForTrack(const QString& path) {
    MEDIA_HANDLE media = MediaOpen(path.toUtf8().constData());
    if (media == nullptr)
        return {};
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    const int result = MediaGetInfo(media, &audio, &video);
    MediaClose(media);
    if (result < 0 || video.exist == 0)
        return {};
    const bool quarterTurn = video.angle % 180 != 0;
    const double width = std::abs(quarterTurn ? video.height : video.width);
    const double height = std::abs(quarterTurn ? video.width : video.height);
    return ViewSize{width, height};
}

QImage EngineSnapshot::frameAt(const QString& path, int64_t timeUs, int width, int height) {
    if (width <= 0 || height <= 0)
        return {};
    MEDIA_HANDLE media = MediaOpen(path.toUtf8().constData());
    if (media == nullptr)
        return {};
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    const int result = MediaSnapshot(media, timeUs, width, height, pixels.data(), 0);
    MediaClose(media);
    if (result <= 0)
        return {};
    return StillFrame::fromPremultipliedBgra(pixels.data(), width, height);
}
