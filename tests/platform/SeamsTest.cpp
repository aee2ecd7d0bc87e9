#include "Alert.h"
#include "OpenPanel.h"
#include "StandardFolders.h"
#include "Workspace.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

TEST(Seams, TheFileDialogPassesOnEveryTypedNameEvenOnesItsFilterHides) {
    QTemporaryDir dir;
    for (const char* name : {"a.mp4", "b.mp4", "c.xyz"}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    OpenPanel::resetProvider();
    OpenPanelOptions options;
    options.directory = dir.path();
    options.allowsMultipleSelection = true;
    options.allowsOtherFileTypes = true;
    options.allowedFileTypes = {"mp4"};
    QString typedInto;
    QStringList listed;
    int selectedBefore = 0;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* list = dialog->findChild<QListView*>("listView");
        if (edit != nullptr && list != nullptr) {
            // The folder listed first, as the user sees it: the filter lists the two mp4 files only.
            QDeadlineTimer deadline(10000);
            while (list->model()->rowCount(list->rootIndex()) < 2 && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
                listed << list->model()->index(row, 0, list->rootIndex()).data().toString();
            // Both listed files chosen (the dialog selects them in its list), then a name the filter hides typed
            // after them.
            edit->setText("\"a.mp4\" \"b.mp4\"");
            selectedBefore = int(list->selectionModel()->selectedRows().size());
            edit->setFocus();
            edit->end(false);
            QTest::keyClicks(edit, " \"c.xyz\"");
            typedInto = edit->text();
            QTest::keyClick(edit, Qt::Key_Return);
        }
        if (dialog->isVisible())
            dialog->reject();
    });
    const QStringList paths = OpenPanel::run(options);
    EXPECT_EQ(listed, (QStringList{"a.mp4", "b.mp4"}));
    EXPECT_EQ(selectedBefore, 2);
    EXPECT_EQ(typedInto, "\"a.mp4\" \"b.mp4\" \"c.xyz\"");
    EXPECT_EQ(paths, (QStringList{dir.filePath("a.mp4"), dir.filePath("b.mp4"), dir.filePath("c.xyz")}));
}
