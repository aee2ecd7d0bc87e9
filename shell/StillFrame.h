#pragma once

#include <QImage>
#include <QString>

// Still frames of the preview: the snapshot pixels as an image, written into the output folder.
class StillFrame {
public:
    // The snapshot layout of the engine and the player (bytes B, G, R, A per pixel, premultiplied alpha, top row
    // first, width x 4 bytes per row) as an image of its own. Null for an empty size or no pixels.
    static QImage fromPremultipliedBgra(const void* pixels, int width, int height);

    // The file type a still-frame format ("png", "jpg", "bmp"; anything else is PNG) is written as.
    static QString extensionForCoverStyle(const QString& coverStyle);

    // Writes the image into the folder (created with its parents when missing) as "<time stamp>.<extension>",
    // the time stamp of HelpClass::createFilename(). The file is created exclusively: a name already taken, also
    // by a capture in the same second, goes on to "<time stamp>(2)" and so on, so no file is ever replaced.
    // Returns the path written, or an empty string when nothing could be written.
    static QString write(const QImage& image, const QString& folder, const QString& coverStyle);
};
