#include "ProfileRoot.h"
#include "OutputProfile.h"
#include "TextFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kKeep = QStringLiteral("Keep Original");

class ProfileRootTest : public testing::Test {
protected:
    QString root() const { return dir.filePath("root"); }
    QString custom() const { return dir.filePath("Custom"); }
    ProfileRoot profiles() const { return ProfileRoot(root(), custom(), {kKeep}); }
    void writePfDat(const QByteArray& text) { TextFiles::write(root() + "/pf.dat", text); }
    void touch(const QString& relative) { TextFiles::write(dir.filePath(relative), "[Main]\r\n"); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ProfileRootTest, ReadsCategoryListsOfEveryShape) {
    struct Case {
        const char* name;
        QByteArray pfDat;
        QStringList expected;
    };
    const Case cases[] = {
        {"ordinary",
         TextFiles::crlf({"[frmFormat]", "Count=3", "Type1=Video", "Type2= Audio ", "Type3=Web"}),
         {"Video", "Audio", "Web"}},
        {"order of the numbers, not of the lines",
         TextFiles::crlf({"[frmFormat]", "Type2=B", "Count=2", "Type1=A"}),
         {"A", "B"}},
        {"LF-only", "[frmFormat]\nCount=2\nType1=Video\nType2=Audio", {"Video", "Audio"}},
        {"count with leading blanks and trailing text",
         TextFiles::crlf({"[frmFormat]", "Count=  2 cats", "Type1=A", "Type2=B", "Type3=C"}),
         {"A", "B"}},
        {"missing Count", TextFiles::crlf({"[frmFormat]", "Type1=A"}), {}},
        {"Count not a number", TextFiles::crlf({"[frmFormat]", "Count=many", "Type1=A"}), {}},
        {"negative Count", TextFiles::crlf({"[frmFormat]", "Count=-2", "Type1=A"}), {}},
        {"missing and blank names left out",
         TextFiles::crlf({"[frmFormat]", "Count=4", "Type1=A", "Type3=  ", "Type4=D"}),
         {"A", "D"}},
        {"duplicates stay", TextFiles::crlf({"[frmFormat]", "Count=2", "Type1=A", "Type2=A"}), {"A", "A"}},
        {"Count beyond the file", TextFiles::crlf({"[frmFormat]", "Count=2000000000", "Type1=A"}), {"A"}},
        {"wrong section", TextFiles::crlf({"[Other]", "Count=1", "Type1=A"}), {}},
    };
    for (const Case& c : cases) {
        writePfDat(c.pfDat);
        EXPECT_EQ(profiles().getFunctionList(), c.expected) << c.name;
    }
}

TEST_F(ProfileRootTest, MissingPfDatGivesNoCategories) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(profiles().getFunctionList().isEmpty());
    EXPECT_TRUE(profiles().categoryList().isEmpty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "have   no   such   file \nhave   no   such   file \n");
}

TEST_F(ProfileRootTest, ListsProfilesKeepOriginalFirst) {
    for (const char* name : {"root/Video/mp4.pf", "root/Video/avi.pf", "root/Video/Keep Original.pf",
                             "root/Video/mkv(HEVC).pf", "root/Video/mkv(HEVC).png", "root/Video/CAPS.PF",
                             "root/Video/notes.txt", "root/Video/.pf", "root/Video/a.b.pf"})
        touch(name);
    QDir().mkpath(root() + "/Video/folder.pf");
    EXPECT_EQ(profiles().getFunctionItemChildList("Video"),
              QStringList({"Keep Original", "a.b", "avi", "mkv(HEVC)", "mp4"}));
    EXPECT_TRUE(profiles().getFunctionItemChildList("Missing").isEmpty());
    EXPECT_TRUE(profiles().getFunctionItemChildList("").isEmpty());
}

TEST_F(ProfileRootTest, CustomFolderIsListedFirstOnlyWithProfiles) {
    writePfDat(TextFiles::crlf({"[frmFormat]", "Count=1", "Type1=Video"}));
    EXPECT_EQ(profiles().categoryList(), QStringList({"Video"}));
    touch("Custom/readme.txt");
    EXPECT_EQ(profiles().categoryList(), QStringList({"Video"}));
    touch("Custom/Mine.pf");
    EXPECT_EQ(profiles().categoryList(), QStringList({"Custom", "Video"}));
    EXPECT_EQ(profiles().getFunctionItemChildList("Custom"), QStringList({"Mine"}));
    EXPECT_EQ(profiles().profilePath("Custom", "Mine"), custom() + "/Mine.pf");
    EXPECT_EQ(profiles().iconPath("Custom", "Mine"), QString());
    touch("Custom/Mine.png");
    EXPECT_EQ(profiles().iconPath("Custom", "Mine"), custom() + "/Mine.png");
    EXPECT_FALSE(ProfileRoot(root(), QString(), {kKeep}).customFolderHasProfiles());
}

TEST_F(ProfileRootTest, ResolvesProfilePaths) {
    EXPECT_EQ(profiles().defaultProfilePath(), QString());
    touch("root/Video/mkv(HEVC).pf");
    EXPECT_EQ(profiles().defaultProfilePath(), root() + "/Video/mkv(HEVC).pf");
    EXPECT_EQ(profiles().profilePath("Video", "mkv(HEVC)"), root() + "/Video/mkv(HEVC).pf");
    EXPECT_EQ(profiles().profilePath("Video", "absent"), QString());
    EXPECT_TRUE(profiles().isKeepOriginalPath(root() + "/Video/Keep Original.pf"));
    EXPECT_FALSE(profiles().isKeepOriginalPath(root() + "/Video/mkv(HEVC).pf"));
    EXPECT_FALSE(profiles().isKeepOriginal(""));
}

TEST_F(ProfileRootTest, ReadsWholeProfiles) {
    const QString path = TextFiles::write(
        dir.filePath("p.pf"),
        TextFiles::crlf({"[Main]", "ExtName= \tmp4\t ", "[Parameter]", R"v(vcodec="H264",{"H264","HEVC"})v",
                         R"v(s="1280x720", {"640x480", "1280x720"})v", R"v(r="25",{"25","30"})v",
                         "b=", "acodec=\"AAC\"", R"v(ac="2(Stereo)",{"1","2(Stereo)"})v",
                         R"v(ar="44100",{"44100","48000"})v", R"v(ab="128",{"128","192"})v"}));

    const OutputProfile video = OutputProfile::read(path, false);
    EXPECT_EQ(video.extName, "mp4");
    EXPECT_EQ(video.entry(OutputProfile::VideoCodec).defaultValue, QString("H264"));
    EXPECT_EQ(video.entry(OutputProfile::FrameSize).options, QStringList({"640x480", " 1280x720"}));
    EXPECT_EQ(video.entry(OutputProfile::VideoBitRate).defaultValue, std::nullopt);
    EXPECT_EQ(video.entry(OutputProfile::VideoBitRate).options, std::nullopt);
    EXPECT_EQ(video.entry(OutputProfile::AudioCodec).options, QStringList({"AAC"}));
    EXPECT_EQ(video.entry(OutputProfile::Channels).defaultValue, QString("2(Stereo)"));

    const OutputProfile audio = OutputProfile::read(path, true);
    EXPECT_EQ(audio.extName, "mp4");
    for (int p = OutputProfile::VideoCodec; p <= OutputProfile::VideoBitRate; ++p) {
        EXPECT_EQ(audio.entries[p].defaultValue, std::nullopt);
        EXPECT_EQ(audio.entries[p].options, std::nullopt);
    }
    EXPECT_EQ(audio.entry(OutputProfile::AudioBitRate).defaultValue, QString("128"));

    // An LF-only profile reads like a CR-LF one.
    QByteArray lfOnly = QByteArray(TextFiles::crlf({"[Main]", "ExtName=mkv", "[Parameter]", "vcodec=HEVC"}));
    lfOnly.replace("\r\n", "\n");
    const OutputProfile lf = OutputProfile::read(TextFiles::write(dir.filePath("lf.pf"), lfOnly), false);
    EXPECT_EQ(lf.extName, "mkv");
    EXPECT_EQ(lf.entry(OutputProfile::VideoCodec).defaultValue, QString("HEVC"));

    testing::internal::CaptureStdout();
    const OutputProfile missing = OutputProfile::read(dir.filePath("none.pf"), false);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(missing.extName, "");
    EXPECT_EQ(missing.entry(OutputProfile::AudioCodec).defaultValue, std::nullopt);
}
