#include "ProfileValueParser.h"

#include <gtest/gtest.h>

namespace {

using Options = std::optional<QStringList>;
using Text = std::optional<QString>;

struct ValueCase {
    const char* value;
    Text expectedDefault;
    Options expectedOptions;
};

} // namespace

TEST(ProfileValueParser, DefaultsAndOptionsByTable) {
    const ValueCase cases[] = {
        {R"v("H264",{"H264","HEVC","MPEG4"})v", QString("H264"), QStringList{"H264", "HEVC", "MPEG4"}},
        {R"v("1280x720", {"640x480","1280x720"})v", QString("1280x720"), QStringList{"640x480", "1280x720"}},
        // Options separated by a comma and a blank keep the blank in front.
        {R"v("aac",{"aac", "mp3"})v", QString("aac"), QStringList{"aac", " mp3"}},
        // Without braces the last comma piece is the default and the only option.
        {R"v("mp3","aac")v", QString("aac"), QStringList{"aac"}},
        {R"v("25")v", QString("25"), QStringList{"25"}},
        {" 25 ", QString("25"), QStringList{"25"}},
        // Blanks before the default are cut.
        {R"v( "H264",{"H264"})v", QString("H264"), QStringList{"H264"}},
        // Nothing before the braces: no default (an empty text).
        {R"v(,{"640x480","1280x720"})v", QString(""), QStringList{"640x480", "1280x720"}},
        {R"v("",{"a"})v", QString(""), QStringList{"a"}},
        // A head with commas gives its last piece unchanged.
        {R"v(a, b,{c})v", QString(" b"), QStringList{"c"}},
        {R"v("x",{})v", QString("x"), QStringList{}},
        {R"v(a,{b,,c})v", QString("a"), QStringList{"b", "c"}},
        {"", std::nullopt, std::nullopt},
        {R"v("")v", std::nullopt, std::nullopt},
        {"a,", QString(""), std::nullopt},
        {"a, ", QString(" "), std::nullopt},
    };
    for (const ValueCase& c : cases) {
        EXPECT_EQ(ProfileValueParser::resultSelectItemTitleForContentStr(c.value), c.expectedDefault) << c.value;
        EXPECT_EQ(ProfileValueParser::resultContentStrForArr(c.value), c.expectedOptions) << c.value;
    }
}

TEST(ProfileValueParser, DialogOptionsLoseEveryBlank) {
    EXPECT_EQ(ProfileValueParser::optionsWithoutBlanks(R"v("2",{"1", "2 (Stereo)"})v"),
              Options(QStringList{"1", "2(Stereo)"}));
    EXPECT_EQ(ProfileValueParser::optionsWithoutBlanks(" 4 4 "), Options(QStringList{"44"}));
    EXPECT_EQ(ProfileValueParser::optionsWithoutBlanks("a, "), std::nullopt);
    EXPECT_EQ(ProfileValueParser::optionsWithoutBlanks(""), std::nullopt);
}

TEST(ProfileValueParser, TrimsBlanksOnly) {
    EXPECT_EQ(ProfileValueParser::new_startAndendnospaceString(""), Text(QString("")));
    EXPECT_EQ(ProfileValueParser::new_startAndendnospaceString("  mp4 "), Text(QString("mp4")));
    EXPECT_EQ(ProfileValueParser::new_startAndendnospaceString("\tmp4\t"), Text(QString("\tmp4\t")));
    EXPECT_EQ(ProfileValueParser::new_startAndendnospaceString("   "), std::nullopt);
    EXPECT_EQ(ProfileValueParser::new_startAndendnospaceString("a b"), Text(QString("a b")));
}
