#include "UserDefaults.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(UserDefaults, StoresValuesInTheFileATestChose) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("defaults.ini");
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.useFile(file);

    EXPECT_TRUE(defaults.stringForKey("vcodec_SelectTitle").isNull());
    EXPECT_EQ(defaults.integerForKey("selectItemIndex"), 0);
    EXPECT_FALSE(defaults.hasKey("selectItemIndex"));
    EXPECT_FALSE(defaults.objectForKey("missing").isValid());

    defaults.setString("H264", "vcodec_SelectTitle");
    defaults.setInteger(7, "selectItemIndex");
    defaults.setDouble(0.25, "ratio");
    defaults.setBool(true, "flag");
    defaults.setObject(QStringList{"a", "b"}, "list");
    EXPECT_TRUE(defaults.synchronize());

    // A second store over the same file sees what the first wrote.
    defaults.useFile(dir.filePath("other.ini"));
    EXPECT_FALSE(defaults.hasKey("vcodec_SelectTitle"));
    defaults.useFile(file);
    EXPECT_EQ(defaults.stringForKey("vcodec_SelectTitle"), "H264");
    EXPECT_EQ(defaults.integerForKey("selectItemIndex"), 7);
    EXPECT_DOUBLE_EQ(defaults.doubleForKey("ratio"), 0.25);
    EXPECT_TRUE(defaults.boolForKey("flag"));
    EXPECT_EQ(defaults.objectForKey("list").toStringList(), (QStringList{"a", "b"}));

    defaults.removeObjectForKey("vcodec_SelectTitle");
    defaults.setString(QString(), "selectItemIndex"); // a null string removes the key
    EXPECT_FALSE(defaults.hasKey("vcodec_SelectTitle"));
    EXPECT_FALSE(defaults.hasKey("selectItemIndex"));
    defaults.useStandardStore();
}
