#include "ProfileReader.h"
#include "TextFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LookupCase {
    const char* name;
    QByteArray text;
    const char* section;
    const char* key;
    const char* expected;
};

QByteArray profileText() {
    return TextFiles::crlf({"[Main]", "ExtName= mp4 ", "[Parameter]", "vcodec=\"H264\",{\"H264\",\"HEVC\"}",
                            "s=\"1280x720\",{\"640x480\",\"1280x720\"}", "acodec=aac"});
}

} // namespace

TEST(ProfileReader, LooksUpValuesByTable) {
    const QByteArray profile = profileText();
    const LookupCase cases[] = {
        {"value kept as written, blanks included", profile, "Main", "ExtName", " mp4 "},
        {"option value", profile, "Parameter", "vcodec", "\"H264\",{\"H264\",\"HEVC\"}"},
        {"a one-letter key", profile, "Parameter", "s", "\"1280x720\",{\"640x480\",\"1280x720\"}"},
        {"a section ends at the next header", profile, "Main", "vcodec", ""},
        {"a line before its header is never found", profile, "Parameter", "ExtName", ""},
        {"a missing key", profile, "Parameter", "ab", ""},
        {"a missing section", profile, "Other", "vcodec", ""},
        {"LF-only line ends", "[Main]\nExtName=mkv\n[Parameter]\nr=25\n", "Parameter", "r", "25"},
        {"unterminated last line", "[Parameter]\r\nab=128", "Parameter", "ab", "128"},
        {"unterminated last line ending in CR", "[P]\r\nk=v\r", "P", "k", "v"},
        {"blanks around the key", "[P]\r\n vcodec \t = x\r\n", "P", "vcodec", " x"},
        {"a key split by a blank matches when the key stands elsewhere in the line", "[P]\r\nvco dec=vcodec\r\n", "P",
         "vcodec", "vcodec"},
        {"a key split by a blank without the key elsewhere", "[P]\r\nvco dec=x\r\n", "P", "vcodec", ""},
        {"comment with #", "[P]\r\n#k=1\r\nk=2\r\n", "P", "k", "2"},
        {"comment with //", "[P]\r\n//k=1\r\nk=2\r\n", "P", "k", "2"},
        {"a blank before # is no comment", "[P]\r\n #k=1\r\n", "P", "#k", "1"},
        {"further = stay in the value", "[P]\r\nk= a=b=c\r\n", "P", "k", " a=b=c"},
        {"Type10 does not answer Type1", "[frmFormat]\r\nType10=ten\r\nType1=one\r\n", "frmFormat", "Type1", "one"},
        {"Type1 missing while Type10 present", "[frmFormat]\r\nType10=ten\r\n", "frmFormat", "Type1", ""},
        {"text after the header's ]", "[P] trailing\r\nk=v\r\n", "P", "k", "v"},
        {"the section comes back", "[A]\r\n[B]\r\n[A]\r\nk=v\r\n", "A", "k", "v"},
        {"byte-order mark", "\xEF\xBB\xBF[P]\r\nk=v\r\n", "P", "k", "v"},
        {"first match wins", "[P]\r\nk=1\r\nk=2\r\n", "P", "k", "1"},
        {"empty file", "", "P", "k", ""},
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(ProfileReader::valueInText(c.text, c.section, c.key), QByteArray(c.expected)) << c.name;
}

TEST(ProfileReader, IgnoresOverlongLinesAndKeys) {
    const QByteArray longValue(ProfileReader::kLineLimit, 'x');
    const QByteArray longKey(ProfileReader::kKeyLimit + 1, 'k');
    const QByteArray text = "[P]\r\nbig=" + longValue + "\r\n" + longKey + "=1\r\nafter=ok\r\n[" + longValue + "]\r\n" +
                            "tail=still inside\r\n";
    EXPECT_EQ(ProfileReader::valueInText(text, "P", "big"), QByteArray());
    EXPECT_EQ(ProfileReader::valueInText(text, "P", longKey), QByteArray());
    EXPECT_EQ(ProfileReader::valueInText(text, "P", "after"), QByteArray("ok"));
    // The overlong header line is ignored as a whole, so the section goes on.
    EXPECT_EQ(ProfileReader::valueInText(text, "P", "tail"), QByteArray("still inside"));

    const QByteArray fitting(ProfileReader::kLineLimit - 4, 'y');
    EXPECT_EQ(ProfileReader::valueInText("[P]\r\nok=" + fitting + "\r\n", "P", "ok"), fitting);
}

TEST(ProfileReader, ReadsFilesAndReportsMissingOnes) {
    QTemporaryDir dir;
    const QString path = TextFiles::write(dir.filePath("a.pf"), profileText());
    EXPECT_EQ(ProfileReader::readProfileValue("Parameter", "acodec", path), QByteArray("aac"));

    testing::internal::CaptureStdout();
    EXPECT_EQ(ProfileReader::readProfileValue("Parameter", "acodec", dir.filePath("missing.pf")), QByteArray());
    EXPECT_EQ(ProfileReader::readProfileValue("Parameter", "acodec", QString()), QByteArray());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "have   no   such   file \nhave   no   such   file \n");
}
