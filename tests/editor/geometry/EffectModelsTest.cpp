#include "EffectListFile.h"
#include "EffectSettings.h"
#include "libMediaCore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray plist(const QByteArray& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

QByteArray dict(const QByteArray& name, const QByteArray& id) {
    return "<dict><key>EffectName</key>" + name + "<key>EffectId</key>" + id + "</dict>";
}

struct ListCase {
    const char* what;
    QByteArray contents;
    QList<EffectListEntry> expected;
};

} // namespace

TEST(EffectListFile, ReadsRowsInFileOrderAndLeavesOutBrokenOnes) {
    const std::vector<ListCase> cases = {
        {"two rows", plist("<array>" + dict("<string>Gray</string>", "<integer>1</integer>") +
                           dict("<string>Blur</string>", "<integer>4</integer>") + "</array>"),
         {{"Gray", 1}, {"Blur", 4}}},
        {"file order, not id order", plist("<array>" + dict("<string>B</string>", "<integer>9</integer>") +
                                           dict("<string>A</string>", "<integer>2</integer>") + "</array>"),
         {{"B", 9}, {"A", 2}}},
        {"keys in either order", plist("<array><dict><key>EffectId</key><integer>5</integer>"
                                       "<key>EffectName</key><string>Sharpen</string></dict></array>"),
         {{"Sharpen", 5}}},
        {"id as a string is left out", plist("<array>" + dict("<string>X</string>", "<string>3</string>") +
                                             dict("<string>Y</string>", "<integer>6</integer>") + "</array>"),
         {{"Y", 6}}},
        {"missing name is left out", plist("<array><dict><key>EffectId</key><integer>1</integer></dict></array>"),
         {}},
        {"id too large is left out", plist("<array>" + dict("<string>Z</string>", "<integer>99999999999</integer>") +
                                           "</array>"),
         {}},
        {"empty array", plist("<array/>"), {}},
        {"root is a dictionary", plist(dict("<string>Gray</string>", "<integer>1</integer>")), {}},
        {"not a property list", "Gray=1\n", {}},
        {"broken XML", plist("<array>" + dict("<string>Gray</string>", "<integer>1</integer>")), {}},
        {"empty file", "", {}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EffectListFile::parse(c.contents), c.expected);
    }
    EXPECT_TRUE(EffectListFile::read("/nonexistent/EffectList.plist").isEmpty());
}

TEST(EffectListFile, EveryBundledEffectIsOneTheEngineTakes) {
    const QList<EffectListEntry> effects = EffectListFile::bundled();
    ASSERT_GE(effects.size(), 3);
    CONVERT_HANDLE job = apiMediaConvertCreate();
    ASSERT_NE(job, nullptr);
    for (const EffectListEntry& e : effects) {
        SCOPED_TRACE(e.name.toStdString());
        EXPECT_FALSE(e.name.isEmpty());
        EXPECT_GT(apiMediaConvertAddImageEffect(job, e.id), 0);
    }
    apiMediaConvertClose(job);
}

TEST(EffectSettings, ChosenIdsStayAscendingAndAChoiceTwiceTakesItBack) {
    struct Step {
        int id;
        bool added;
        std::vector<int> after;
    };
    const std::vector<Step> steps = {
        {7, true, {7}}, {3, true, {3, 7}}, {5, true, {3, 5, 7}}, {5, false, {3, 7}}, {7, false, {3}},
        {1, true, {1, 3}}, {3, false, {1}}, {1, false, {}},
    };
    std::vector<int> ids;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.id);
        EXPECT_EQ(EffectSettings::toggle(ids, s.id), s.added);
        EXPECT_EQ(ids, s.after);
    }
}
