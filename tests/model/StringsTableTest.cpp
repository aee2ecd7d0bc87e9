#include "StringsTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StringsTable, ReadsEntriesAndSkipsBrokenLines) {
    const QString text = QString::fromUtf8("\xEF\xBB\xBF// a comment\n"
                                           "\"Title\" = \"Clipwright\";\n"
                                           "\n"
                                           "  \"Spaced\"   =   \"a b\" ;   // trailing comment\n"
                                           "\"NoSemicolon\" = \"x\"\n"
                                           "\"Unclosed = \"y\";\n"
                                           "Bare = \"z\";\n"
                                           "\"Escapes\" = \"say \\\"hi\\\"\\n\\\\ \\tend\";\n"
                                           "\"BadEscape\" = \"\\q\";\n"
                                           "\"Extra\" = \"v\"; junk\n"
                                           "\"Chinese\" = \"裁剪\";\n"
                                           "\"Title\" = \"Later wins\";\r\n");
    QList<int> skipped;
    const StringsTable table = StringsTable::parse(text, &skipped);
    EXPECT_EQ(skipped, (QList<int>{5, 6, 7, 9, 10}));
    EXPECT_EQ(table.size(), 4);
    EXPECT_EQ(table.value("Title"), "Later wins");
    EXPECT_EQ(table.value("Spaced"), "a b");
    EXPECT_EQ(table.value("Escapes"), "say \"hi\"\n\\ \tend");
    EXPECT_EQ(table.value("Chinese"), QString::fromUtf8("裁剪"));
    EXPECT_FALSE(table.contains("NoSemicolon"));
    EXPECT_TRUE(table.value("Missing").isNull());
}

TEST(StringsTable, AMissingFileIsAnEmptyTable) {
    EXPECT_TRUE(StringsTable::load("/no/such/Main.strings").isEmpty());
    QTemporaryDir dir;
    QFile file(dir.filePath("Main.strings"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"a\" = \"1\";\nbroken\n\"b\" = \"2\";\n");
    file.close();
    QList<int> skipped;
    const StringsTable table = StringsTable::load(file.fileName(), &skipped);
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(skipped, QList<int>{2});
}
