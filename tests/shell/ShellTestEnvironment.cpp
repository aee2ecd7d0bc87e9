#include "ShellTestEnvironment.h"

#include "Alert.h"
#include "Modal.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "StandardFolders.h"
#include "Workspace.h"
#include "support/MediaFixtures.h"

ShellTestEnvironment::ShellTestEnvironment() {
    root = QString::fromStdString(MediaFixtures::freshDir("shell-home"));
    StandardFolders::setTestRoot(root);
    ResourceBundle::setLanguage(QStringLiteral("en"));
    Alert::setProvider([](const AlertRequest&, QWidget*) { return 0; });
    Modal::setProvider([](QWidget*) { return Modal::kModalResponseStop; }, [](int) {});
    OpenPanel::setProvider([](const OpenPanelOptions&, QWidget*) { return QStringList(); });
    Workspace::setOpenUrlHandler([](const QUrl&) { return true; });
    Workspace::setRevealHandler([](const QString&) { return true; });
}

ShellTestEnvironment::~ShellTestEnvironment() {
    StandardFolders::setTestRoot(QString());
    ResourceBundle::setLanguage(QString());
    Alert::resetProvider();
    Modal::resetProvider();
    OpenPanel::resetProvider();
    Workspace::reset();
}
