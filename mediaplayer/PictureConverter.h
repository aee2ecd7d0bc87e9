#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>

struct AVFrame;
struct SwsContext;

// Turns decoded pictures (any pixel format) into 32-bit B,G,R,A pixels with premultiplied alpha, scaled in one
// pass. Colour matrix and range follow the frame's own tags, as FFmpeg's scale filter does. One converter per
// thread; it keeps its scaler between calls of the same shape.
class PictureConverter {
public:
    // Pictures for the view are scaled bilinearly (cheap, and the view shows them at about their own size);
    // stills bicubically, as FFmpeg's scale filter (and so the engine's snapshots) does.
    enum class Quality { View, Still };

    explicit PictureConverter(Quality quality);
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // The size a frame is shown at inside `box` (device pixels): its display aspect (pixel aspect applied),
    // fitted and centred; the frame's own display size when `box` is empty.
    static QSize fittedSize(const AVFrame* frame, QSize box);

    // The frame as a QImage of `size` (Format_ARGB32_Premultiplied, i.e. B,G,R,A bytes); null on failure.
    QImage toImage(const AVFrame* frame, QSize size);
    // The frame scaled to width x height into `pixels` (rows of `stride` bytes). 0 or a negative error.
    int toBgra(const AVFrame* frame, int width, int height, uint8_t* pixels, int stride);

private:
    struct SwsDeleter {
        void operator()(SwsContext* context) const;
    };
    const int _flags;
    std::unique_ptr<SwsContext, SwsDeleter> _context;
};
