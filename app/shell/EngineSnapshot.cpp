#include "EngineSnapshot.h"

#include "StillFrame.h"
#include "libMediaCore.h"

#include <vector>

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
