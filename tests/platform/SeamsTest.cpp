#include "Alert.h"
#include "OpenPanel.h"
#include "StandardFolders.h"
#include "Workspace.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Seams, OpenPanelAndAlertAskTheReplacedProvider) {
    OpenPanelOptions seenOptions;
    OpenPanel::setProvider([&](const OpenPanelOptions& options, QWidget*) {
        seenOptions = options;
        return QStringList{"/tmp/a.mp4", "/tmp/b.mp4"};
    });
    OpenPanelOptions options;
    options.allowsMultipleSelection = true;
    options.allowedFileTypes = {"mp4", "mov"};
    EXPECT_EQ(OpenPanel::run(options), (QStringList{"/tmp/a.mp4", "/tmp/b.mp4"}));
    EXPECT_EQ(seenOptions.allowedFileTypes, (QStringList{"mp4", "mov"}));
    OpenPanel::setProvider([](const OpenPanelOptions&, QWidget*) { return QStringList(); });
    EXPECT_TRUE(OpenPanel::run(options).isEmpty()) << "an empty list is a cancel";
    OpenPanel::resetProvider();

    AlertRequest seen;
    Alert::setProvider([&](const AlertRequest& request, QWidget*) {
        seen = request;
        return 1;
    });
    EXPECT_EQ(Alert::run(AlertRequest{AlertRequest::Style::Warning, "Joiner", "error:-5", {"OK", "Cancel"}}), 1);
    EXPECT_EQ(seen.informativeText, "error:-5");
    Alert::resetProvider();
}

TEST(Seams, WorkspaceHandlersAreReplaceable) {
    QStringList calls;
    Workspace::setOpenUrlHandler([&](const QUrl& url) {
        calls << url.toString();
        return true;
    });
    Workspace::setRevealHandler([&](const QString& path) {
        calls << "reveal " + path;
        return true;
    });
    EXPECT_TRUE(Workspace::openURL(QUrl("https://clipwright.example.org")));
    EXPECT_TRUE(Workspace::revealFile("/tmp/out"));
    EXPECT_EQ(calls, (QStringList{"https://clipwright.example.org", "reveal /tmp/out"}));
    Workspace::reset();

    // The desktop's own handlers refuse what cannot work, without asking anyone.
    EXPECT_FALSE(Workspace::openURL(QUrl()));
    EXPECT_FALSE(Workspace::revealFile(QString()));
    EXPECT_FALSE(Workspace::revealFile("/no/such/folder/anywhere/file.mp4"));
}

TEST(Seams, StandardFoldersCanBeMovedUnderATestRoot) {
    QTemporaryDir root;
    StandardFolders::setTestRoot(root.path());
    EXPECT_EQ(StandardFolders::movies(), QDir::cleanPath(root.path() + "/Movies"));
    EXPECT_EQ(StandardFolders::documents(), QDir::cleanPath(root.path() + "/Documents"));
    EXPECT_EQ(StandardFolders::desktop(), QDir::cleanPath(root.path() + "/Desktop"));
    StandardFolders::setTestRoot(QString());
    EXPECT_FALSE(StandardFolders::documents().isEmpty());
    EXPECT_FALSE(StandardFolders::documents().endsWith('/'));
}
