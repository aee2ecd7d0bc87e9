#include "WatermarkRendering.h"

#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QString>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <optional>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "ARGB32 words are stored as bytes B, G, R, A only on little-endian");

namespace {

// The field's text when it holds its NUL and valid UTF-8.
std::optional<QString> fieldText(const char* field, size_t size) {
    const size_t length = strnlen(field, size);
    if (length == size)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(QByteArrayView(field, static_cast<qsizetype>(length)));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

void drawText(int32_t width, int32_t height, void* pixels, const TEXT_WATERMARK_PARAM& param) {
    if (pixels == nullptr || width <= 0 || height <= 0 || width > INT32_MAX / 4)
        return;
    const std::optional<QString> text = fieldText(param.text, sizeof param.text);
    const std::optional<QString> fontName = fieldText(param.szFontName, sizeof param.szFontName);
    if (!text || !fontName || text->isEmpty())
        return;
    const double opacity = 1.0 - std::clamp(param.transparence, 0, 100) / 100.0;
    if (opacity <= 0)
        return;

    // Wraps the caller's buffer: ARGB32 words are the bytes B, G, R, A in memory.
    QImage canvas(static_cast<uchar*>(pixels), width, height, static_cast<qsizetype>(width) * 4,
                  QImage::Format_ARGB32_Premultiplied);
    QFont font(*fontName);
    font.setPixelSize(std::max(1, param.fontsize));
    font.setKerning(true);
    QColor colour((param.fontclr >> 24) & 0xff, (param.fontclr >> 16) & 0xff, (param.fontclr >> 8) & 0xff);
    colour.setAlphaF(static_cast<float>(opacity));

    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setFont(font);
    painter.setPen(colour);
    // Baseline at (left, top) in y-up pixels: Qt's row is counted from the top.
    painter.drawText(QPointF(param.rect.left, static_cast<double>(height) - param.rect.top), *text);
}

} // namespace

void drawTextCallback(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM param) {
    // Runs on the engine's job thread: it draws into the caller's buffer and nothing else.
    drawText(width, height, pixels, param);
}

void playerDrawTextCallback(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM param) {
    drawText(width, height, pixels, param);
}

int32_t playerLoadImageCallback(const char* path, int32_t* width, int32_t* height, int32_t bufferSize, void* buffer) {
    if (path == nullptr)
        return 0;
    const std::optional<QString> name = fieldText(path, std::strlen(path) + 1);
    if (!name || name->isEmpty())
        return 0;
    QImageReader reader(*name);
    reader.setAutoTransform(true);
    if (buffer == nullptr) {
        // The size is read from the header where the format allows it; the decoded picture otherwise.
        QSize size = reader.size();
        if (!size.isValid() || reader.transformation() & QImageIOHandler::TransformationRotate90) {
            const QImage image = reader.read();
            if (image.isNull())
                return 0;
            size = image.size();
        }
        if (size.isEmpty())
            return 0;
        if (width)
            *width = size.width();
        if (height)
            *height = size.height();
        return 1;
    }
    const QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return 0;
    const QImage pixelsImage = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qint64 needed = static_cast<qint64>(pixelsImage.width()) * pixelsImage.height() * 4;
    if (bufferSize < 0 || needed > bufferSize)
        return 0;
    const qsizetype rowBytes = static_cast<qsizetype>(pixelsImage.width()) * 4;
    for (int row = 0; row < pixelsImage.height(); ++row)
        std::memcpy(static_cast<uchar*>(buffer) + row * rowBytes, pixelsImage.constScanLine(row),
                    static_cast<size_t>(rowBytes));
    if (width)
        *width = pixelsImage.width();
    if (height)
        *height = pixelsImage.height();
    return 1;
}
