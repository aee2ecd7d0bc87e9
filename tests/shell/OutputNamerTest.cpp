#include "OutputNamer.h"

#include "support/MediaFixtures.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

TEST(OutputNamer, CountsFromTwoPastExistingFiles) {
    struct Case {
        QStringList existing;
        QString base;
        QString extension;
        QString expected;
    };
    const QList<Case> cases = {
        {{}, "a", "mp4", "a.mp4"},
        {{"a.mp4"}, "a", "mp4", "a(2).mp4"},
        {{"a.mp4", "a(2).mp4"}, "a", "mp4", "a(3).mp4"},
        {{"a(2).mp4"}, "a", "mp4", "a.mp4"},
        {{"a.mp4"}, "a", "mkv", "a.mkv"},
        {{"a.MP4"}, "a", "mp4", "a.mp4"},
        {{"clip"}, "clip", "", "clip(2)"},
        {{"2024-03-05_14-07-09.png"}, "2024-03-05_14-07-09", "png", "2024-03-05_14-07-09(2).png"},
    };
    for (const Case& c : cases) {
        const QString folder = QString::fromStdString(MediaFixtures::freshDir("namer-unique"));
        for (const QString& name : c.existing)
            touch(folder + "/" + name);
        EXPECT_EQ(OutputNamer::uniquePath(folder, c.base, c.extension), folder + "/" + c.expected)
            << c.existing.join(",").toStdString();
    }
}

TEST(OutputNamer, NumbersPiecesFromOneAndContinuesAfterAnEarlierRun) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("namer-numbered"));
    QStringList names;
    for (int piece = 0; piece < 6; ++piece) {
        const QString path = OutputNamer::numberedPath(folder, "clip", "mp4");
        names << QFileInfo(path).fileName();
        touch(path);
    }
    EXPECT_EQ(names, (QStringList{"clip1.mp4", "clip2.mp4", "clip3.mp4", "clip4.mp4", "clip5.mp4", "clip6.mp4"}));
    QFile::remove(folder + "/clip2.mp4");
    EXPECT_EQ(OutputNamer::numberedPath(folder, "clip", "mp4"), folder + "/clip2.mp4") << "the first free number";
}

TEST(OutputNamer, ADanglingLinkStillTakesTheName) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("namer-link"));
    ASSERT_TRUE(QFile::link(folder + "/nowhere.mp4", folder + "/a.mp4"));
    EXPECT_EQ(OutputNamer::uniquePath(folder, "a", "mp4"), folder + "/a(2).mp4");
}

TEST(OutputNamer, CreatesMissingFoldersWithTheirParents) {
    const QString folder = QString::fromStdString(MediaFixtures::freshDir("namer-folder")) + "/one/two";
    EXPECT_TRUE(OutputNamer::ensureFolder(folder));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(OutputNamer::ensureFolder(folder));
    EXPECT_FALSE(OutputNamer::ensureFolder(""));
}
