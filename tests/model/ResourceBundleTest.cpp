#include "ResourceBundle.h"
#include "StringsTable.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A bundle of our own, so the test does not depend on the texts shipped.
class ResourceBundleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeFile(dir.filePath("en.lproj/Main.strings"), "\"Title\" = \"Clipwright\";\n\"OnlyEnglish\" = \"E\";\n");
        writeFile(dir.filePath("zh-Hans.lproj/Main.strings"), "\"Title\" = \"剪辑\";\nbroken line\n");
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        QDir().mkpath(dir.filePath("Main"));
        ASSERT_TRUE(image.save(dir.filePath("Main/btnCrop_Normal.bmp"), "BMP"));
        writeFile(dir.filePath("Main/broken.png"), "not an image");
        ResourceBundle::setBundlePath(dir.path());
        ResourceBundle::setLanguage("en");
    }
    void TearDown() override {
        ResourceBundle::setBundlePath(QString());
        ResourceBundle::setLanguage(QString());
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ResourceBundleTest, LooksUpTextsAndGivesTheKeyWhenMissing) {
    EXPECT_EQ(ResourceBundle::localizedStringForKey("Title"), "Clipwright");
    EXPECT_EQ(ResourceBundle::localizedStringForKey("NoSuchKey"), "NoSuchKey");
    EXPECT_EQ(ResourceBundle::localizedStringForKey("Title", "ignored"), "Clipwright");

    ResourceBundle::setLanguage("zh-Hans");
    EXPECT_EQ(ResourceBundle::localizedStringForKey("Title"), QString::fromUtf8("剪辑"));
    EXPECT_EQ(ResourceBundle::localizedStringForKey("OnlyEnglish"), "E") << "falls back to English";
    EXPECT_EQ(ResourceBundle::localizedStringForKey("NoSuchKey"), "NoSuchKey");
}

TEST_F(ResourceBundleTest, LoadsImagesAndGivesNoneWhenMissing) {
    const QImage image = ResourceBundle::imageWithfileName("Main/btnCrop_Normal.bmp");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(4, 2));
    EXPECT_TRUE(ResourceBundle::imageWithfileName("Main/btnNothing_Normal.bmp").isNull());
    EXPECT_TRUE(ResourceBundle::imageWithfileName("Main/broken.png").isNull());
    EXPECT_TRUE(ResourceBundle::imageWithfileName("Main").isNull()) << "a folder is no image";
    EXPECT_TRUE(ResourceBundle::imageWithfileName("").isNull());
    EXPECT_EQ(ResourceBundle::pathForResource("Main/btnCrop_Normal.bmp"), dir.filePath("Main/btnCrop_Normal.bmp"));
    EXPECT_TRUE(ResourceBundle::pathForResource("Main/none.bmp").isEmpty());
}

TEST_F(ResourceBundleTest, AnEmptyBundleShowsKeys) {
    QTemporaryDir empty;
    ResourceBundle::setBundlePath(empty.path());
    EXPECT_EQ(ResourceBundle::localizedStringForKey("Ixy-de-Rz5.title"), "Ixy-de-Rz5.title");
}

// The shipped tables: both parse without a broken line and translate the same keys.
TEST(ShippedStrings, BothTablesAreCleanAndComplete) {
    ResourceBundle::setBundlePath(QString());
    const QString bundle = ResourceBundle::bundlePath();
    QList<int> skippedEn, skippedZh;
    const StringsTable en = StringsTable::load(bundle + "/en.lproj/Main.strings", &skippedEn);
    const StringsTable zh = StringsTable::load(bundle + "/zh-Hans.lproj/Main.strings", &skippedZh);
    EXPECT_TRUE(skippedEn.isEmpty()) << skippedEn.size();
    EXPECT_TRUE(skippedZh.isEmpty()) << skippedZh.size();
    for (const char* key : {"Ixy-de-Rz5.title", "Title", "supprotUrl", "homepageUrl", "email_address", "Crop_Title",
                            "OKBtnTitle", "viewController_normalDescLabelString"}) {
        EXPECT_TRUE(en.contains(key)) << key;
        EXPECT_TRUE(zh.contains(key)) << key;
    }
    EXPECT_EQ(en.value("Ixy-de-Rz5.title"), "Clipwright");
}

// The launcher's buttons and the other pictures the application asks for by name are shipped, in four looks where
// they have them, and the BMPs keep their transparent corners.
TEST(ShippedImages, ButtonsComeInFourLooks) {
    ResourceBundle::setBundlePath(QString());
    for (const char* tool : {"Crop", "Effect", "Subtitle", "Watermark", "Join", "EasyCut", "BatchCut", "AdvancedCut",
                             "Rotation", "Music", "Split"}) {
        for (const char* look : {"_Normal", "_On", "_Down", "_Disable"}) {
            const QString name = QStringLiteral("Main/btn%1%2.bmp").arg(tool, look);
            const QImage image = ResourceBundle::imageWithfileName(name);
            ASSERT_FALSE(image.isNull()) << name.toStdString();
            EXPECT_TRUE(image.hasAlphaChannel()) << name.toStdString();
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name.toStdString() << ": a rounded corner is transparent";
            EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255) << name.toStdString();
        }
    }
    for (const char* name : {"Main/btnAbout_Normal.png", "Main/btnHomepage_Normal.png", "About/btnOK_Normal.bmp",
                             "About/btnOK_Disable.bmp", "Cut/musicIconB.png", "Resources/defaultMusicZoom.png",
                             "im/app_Icon.png", "SubFun/btnStart_Down.bmp", "Join/CheckBox_Checked.bmp"})
        EXPECT_FALSE(ResourceBundle::imageWithfileName(name).isNull()) << name;
}
