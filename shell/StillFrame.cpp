#include "StillFrame.h"

#include "HelpClass.h"
#include "OutputNamer.h"
#include "ShellLog.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

namespace {

// Another writer may take a free name between the test and the creation; after this many such losses, give up.
constexpr int kNameAttempts = 100;

QByteArray encode(const QImage& image, const QString& extension) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QByteArray format = extension == QLatin1String("jpg") ? QByteArray("JPEG") : extension.toLatin1().toUpper();
    QImageWriter writer(&buffer, format);
    // JPEG and BMP have no alpha: flatten onto opaque pixels so premultiplied edges do not turn dark.
    const QImage opaque = extension == QLatin1String("png") ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!writer.write(opaque))
        return {};
    return bytes;
}

} // namespace

QImage StillFrame::fromPremultipliedBgra(const void* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0)
        return {};
    // On little-endian machines ARGB32 keeps its bytes in the order B, G, R, A.
    QImage wrapped(static_cast<const uchar*>(pixels), width, height, qsizetype(width) * 4,
                   QImage::Format_ARGB32_Premultiplied);
    return wrapped.copy();
}

QString StillFrame::extensionForCoverStyle(const QString& coverStyle) {
    if (coverStyle == QLatin1String("bmp") || coverStyle == QLatin1String("jpg"))
        return coverStyle;
    return QStringLiteral("png");
}

QString StillFrame::write(const QImage& image, const QString& folder, const QString& coverStyle) {
    if (image.isNull() || !OutputNamer::ensureFolder(folder))
        return {};
    const QString extension = extensionForCoverStyle(coverStyle);
    const QByteArray bytes = encode(image, extension);
    if (bytes.isEmpty())
        return {};
    const QString baseName = HelpClass::createFilename();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = OutputNamer::uniquePath(folder, baseName, extension);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFile::exists(path))
                continue;
            return {};
        }
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.close();
            file.remove();
            return {};
        }
        file.close();
        qCInfo(lcShell).noquote() << QStringLiteral("截取当前图片成功");
        return path;
    }
    return {};
}
