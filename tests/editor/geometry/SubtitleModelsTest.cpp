#include "EffectsTestSupport.h"
#include "SubtitleFileReader.h"
#include "SubtitleFontList.h"
#include "SubtitleParam.h"
#include "SubtitleRecord.h"
#include "libMediaCore.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

using Format = SubtitleFileReader::Format;

namespace {

struct ParseCase {
    const char* what;
    Format format;
    QByteArray contents;
    int cues; // 0: refused
    int64_t firstStartMs = 0;
    int64_t firstEndMs = 0;
    QString firstText = {};
};

const QByteArray kScriptHead = "[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
                               "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

} // namespace

TEST(SubtitleFileReader, ReadsCuesOrRefusesTheFile) {
    const std::vector<ParseCase> cases = {
        {"two SubRip cues", Format::SubRip,
         "1\n00:00:00,500 --> 00:00:01,000\nHello\n\n2\n00:00:01,200 --> 00:00:01,800\nWorld\n", 2, 500, 1000,
         "Hello"},
        {"byte-order mark and CRLF", Format::SubRip, "\xEF\xBB\xBF" "1\r\n00:01:02,345 --> 00:01:03,000\r\nA\r\n", 1,
         62345, 63000, "A"},
        {"two lines of text", Format::SubRip, "1\n00:00:01,000 --> 00:00:02,000\nline one\nline two\n\n", 1, 1000,
         2000, "line one\nline two"},
        {"no blank line before the next number", Format::SubRip,
         "1\n00:00:01,000 --> 00:00:02,000\nA\n2\n00:00:03,000 --> 00:00:04,000\nB\n", 2, 1000, 2000, "A"},
        {"dot before the milliseconds", Format::SubRip, "1\n00:00:01.250 --> 00:00:02.000\nA\n", 1, 1250, 2000, "A"},
        {"Chinese text", Format::SubRip, "1\n00:00:00,000 --> 00:00:01,000\n\xE5\xAD\x97\xE5\xB9\x95\n", 1, 0, 1000,
         QString::fromUtf8("字幕")},
        {"end before start is no cue", Format::SubRip, "1\n00:00:02,000 --> 00:00:01,000\nA\n", 0},
        {"minutes out of range", Format::SubRip, "1\n00:61:00,000 --> 00:62:00,000\nA\n", 0},
        {"plain text", Format::SubRip, "this is no subtitle\n", 0},
        {"empty file", Format::SubRip, "", 0},
        {"script with two dialogues", Format::Script,
         kScriptHead + "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi, there\n"
                       "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,Second\n",
         2, 1000, 2500, "Hi, there"},
        {"script with comments and other sections", Format::Script,
         "; made by hand\n[Script Info]\nTitle: x\n[V4+ Styles]\nFormat: Name, Fontsize\nStyle: Default,20\n"
         "[Events]\nFormat: Layer, Start, End, Style, Text\nComment: 0,0:00:00.00,0:00:01.00,Default,no\n"
         "Dialogue: 0,0:00:00.10,0:00:01.00,Default,yes\n",
         1, 100, 1000, "yes"},
        {"script without its header", Format::Script,
         "[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: 0,0:00:00.00,0:00:01.00,Default,x\n", 0},
        {"dialogue before any format line", Format::Script,
         "[Script Info]\n[Events]\nDialogue: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,x\n", 0},
        {"script without dialogues", Format::Script, kScriptHead, 0},
        {"SubRip text given as a script", Format::Script, "1\n00:00:00,500 --> 00:00:01,000\nHello\n", 0},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SubtitleFileReader::Result r = SubtitleFileReader::parse(c.contents, c.format);
        EXPECT_EQ(r.cues.size(), c.cues);
        EXPECT_EQ(r.ok(), c.cues > 0);
        if (c.cues == 0) {
            EXPECT_EQ(r.refusalKey, "subtitleFileUnreadable");
            continue;
        }
        EXPECT_EQ(r.cues.first().startMs, c.firstStartMs);
        EXPECT_EQ(r.cues.first().endMs, c.firstEndMs);
        EXPECT_EQ(r.cues.first().text, c.firstText);
    }
}

TEST(SubtitleFileReader, TimesAndFormatsByName) {
    struct TimeCase {
        const char* text;
        Format format;
        int64_t ms;
    };
    const std::vector<TimeCase> times = {
        {"00:00:00,000", Format::SubRip, 0},        {"01:02:03,456", Format::SubRip, 3723456},
        {"100:00:00,000", Format::SubRip, 360000000}, {"00:00:01,5", Format::SubRip, 1500},
        {"0:00:01.50", Format::Script, 1500},        {"1:00:00.00", Format::Script, 3600000},
        {"00:00:60,000", Format::SubRip, -1},        {"00:00:01", Format::SubRip, -1},
        {"0:00:01,50", Format::Script, -1},          {"a:b:c,d", Format::SubRip, -1},
    };
    for (const TimeCase& t : times) {
        SCOPED_TRACE(t.text);
        EXPECT_EQ(SubtitleFileReader::parseTime(t.text, t.format), t.ms);
    }
    EXPECT_EQ(SubtitleFileReader::formatOfPath("/a/b.SRT"), Format::SubRip);
    EXPECT_EQ(SubtitleFileReader::formatOfPath("/a/b.ass"), Format::Script);
    EXPECT_EQ(SubtitleFileReader::formatOfPath("/a/b.Ssa"), Format::Script);
    EXPECT_EQ(SubtitleFileReader::formatOfPath("/a/b.txt"), Format::Unknown);
    EXPECT_EQ(SubtitleFileReader::read("/a/b.txt").refusalKey, "subtitleFileUnknownType");
    EXPECT_EQ(SubtitleFileReader::read("/nonexistent/b.srt").refusalKey, "subtitleFileUnreadable");
}

TEST(SubtitleFileReader, FilesItReadsAreOnesTheEngineTakes) {
    for (const std::string& path : {EffectClips::srt(), EffectClips::ass()}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(SubtitleFileReader::read(QString::fromStdString(path)).ok());
        SubtitleSettings s;
        s.subtitlePath = QString::fromStdString(path);
        CONVERT_HANDLE job = apiMediaConvertCreate();
        EXPECT_GT(s.applyTo(job), 0);
        apiMediaConvertClose(job);
    }
    EXPECT_FALSE(SubtitleFileReader::read(QString::fromStdString(EffectClips::broken())).ok());
}

TEST(SubtitleFontList, KeepsTrueTypeFilesAndChoosesTheDefault) {
    EXPECT_EQ(SubtitleFontList::fontFiles({"/f/a.ttf", "/f/b.TTC", "/f/c.otf", "/f/d.pfb", "/f/a.ttf", "/f/.ttf2",
                                           "/g/e.Ttf"}),
              QStringList({"/f/a.ttf", "/f/b.TTC", "/g/e.Ttf"}));
    struct DefaultCase {
        const char* what;
        QStringList fonts;
        int index;
    };
    const std::vector<DefaultCase> cases = {
        {"Songti before Arial", {"/f/Arial.ttf", "/f/Songti.ttc"}, 1},
        {"Arial without Songti", {"/f/Courier.ttf", "/f/Arial.ttf"}, 1},
        {"arial in any case", {"/f/a.ttf", "/f/ARIAL.TTF"}, 1},
        {"songti must be capitalised", {"/f/a.ttf", "/f/songti.ttc"}, 0},
        {"the first Songti", {"/f/x.ttf", "/f/SongtiA.ttc", "/f/SongtiB.ttc"}, 1},
        {"the system's sans face", {"/f/Math.ttf", "/f/Sans.ttf"}, 1},
        {"Arial before the system's face", {"/f/Sans.ttf", "/f/arial.ttf"}, 1},
        {"otherwise the first", {"/f/z.ttf", "/f/y.ttf"}, 0},
        {"none", {}, -1},
    };
    for (const DefaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SubtitleFontList::defaultIndex(c.fonts, "/f/Sans.ttf"), c.index);
    }
    EXPECT_EQ(SubtitleFontList::defaultIndex({"/f/z.ttf", "/f/y.ttf"}), 0);
}

TEST(SubtitleFontList, TheSystemsFontsAreRealTrueTypeFiles) {
    const QStringList fonts = SubtitleFontList::systemFontFiles();
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& path : fonts) {
        EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
        const QString extension = QFileInfo(path).suffix().toLower();
        EXPECT_TRUE(extension == "ttf" || extension == "ttc") << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo(SubtitleFontList::fallbackFontFile()).isFile());
}

TEST(SubtitleRecord, FillsTheRecordFieldByFieldWithABlackShadow) {
    SubtitleParam param;
    param.setSubtitlePath("/tmp/some subtitle.srt");
    param.setFontPath(QString::fromUtf8("/usr/share/fonts/字体.ttf"));
    param.setFontColor(QColor(255, 128, 0));
    param.setPositon(120);
    const SubtitleSettings s = SubtitleSettings::from(param);
    const auto record = s.record();
    ASSERT_TRUE(record.has_value());
    const auto* bytes = reinterpret_cast<const unsigned char*>(&*record);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes), "/tmp/some subtitle.srt");
    int32_t position = 0;
    std::memcpy(&position, bytes + 260, 4);
    EXPECT_EQ(position, 120);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 264), "/usr/share/fonts/字体.ttf");
    for (size_t i = 524; i < 784; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(record->fontsize, 30);
    EXPECT_EQ(record->shadow, 1);
    EXPECT_EQ(record->fontclr, 0xFF800000u);
    EXPECT_EQ(record->shadowclr, 0x00000000u);

    const SUBTITLE_PARAM empty = s.emptyRecord();
    EXPECT_EQ(empty.path[0], '\0');
    EXPECT_STREQ(empty.szFontFile, record->szFontFile);
    EXPECT_EQ(empty.fontclr, record->fontclr);

    SubtitleSettings tooLong = s;
    tooLong.subtitlePath = "/" + QString(259, 'a');
    EXPECT_FALSE(tooLong.fits());
    EXPECT_FALSE(tooLong.record().has_value());
    tooLong.subtitlePath = "/" + QString(258, 'a');
    EXPECT_TRUE(tooLong.fits());

    // No subtitle: nothing to hand to a job.
    SubtitleSettings none;
    EXPECT_EQ(none.applyTo(nullptr), 1);
}
