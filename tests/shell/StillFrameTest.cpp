#include "StillFrame.h"

#include "support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A 4 x 2 snapshot in the engine's layout: B, G, R, A bytes, premultiplied, top row first.
std::vector<uint8_t> snapshotPixels() {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t red = y == 0 ? 200 : 10;
            pixels.insert(pixels.end(), {uint8_t(x * 60), 100, red, 255});
        }
    }
    return pixels;
}

} // namespace

TEST(StillFrame, ReadsTheSnapshotLayout) {
    const std::vector<uint8_t> pixels = snapshotPixels();
    const QImage image = StillFrame::fromPremultipliedBgra(pixels.data(), 4, 2);
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixelColor(3, 0), QColor(200, 100, 180));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(10, 100, 0));
    EXPECT_TRUE(StillFrame::fromPremultipliedBgra(nullptr, 4, 2).isNull());
    EXPECT_TRUE(StillFrame::fromPremultipliedBgra(pixels.data(), 0, 2).isNull());
}

TEST(StillFrame, WritesTheChosenFormatUnderATimeStampName) {
    struct Case {
        QString coverStyle;
        QString extension;
        QByteArray readerFormat;
    };
    const QList<Case> cases = {{"png", "png", "png"},
                               {"jpg", "jpg", "jpeg"},
                               {"bmp", "bmp", "bmp"},
                               {"", "png", "png"},
                               {"gif", "png", "png"}};
    const std::vector<uint8_t> pixels = snapshotPixels();
    const QImage image = StillFrame::fromPremultipliedBgra(pixels.data(), 4, 2);
    const QRegularExpression stamp(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d(\(\d+\))?\.)");
    for (const Case& c : cases) {
        const QString folder = QString::fromStdString(MediaFixtures::freshDir("still-format")) + "/made/here";
        const QString path = StillFrame::write(image, folder, c.coverStyle);
        ASSERT_FALSE(path.isEmpty()) << c.coverStyle.toStdString();
        const QFileInfo info(path);
        EXPECT_EQ(info.absolutePath(), folder);
        EXPECT_EQ(info.suffix(), c.extension);
        EXPECT_TRUE(stamp.match(info.fileName()).hasMatch()) << info.fileName().toStdString();
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), c.readerFormat) << c.coverStyle.toStdString();
        EXPECT_EQ(reader.size(), QSize(4, 2));
    }
}

TEST(StillFrame, NeverReplacesAFileCapturedInTheSameSecond) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("still-same-second"));
    const std::vector<uint8_t> pixels = snapshotPixels();
    const QImage image = StillFrame::fromPremultipliedBgra(pixels.data(), 4, 2);
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << StillFrame::write(image, folder, "png");
    EXPECT_EQ(QSet<QString>(paths.begin(), paths.end()).size(), 3) << paths.join(" ").toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);

    for (const QString& path : paths) {
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.readAll().startsWith("\x89PNG"));
    }
}
