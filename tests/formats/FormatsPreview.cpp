// Renders the settings dialog (and the format browser) offscreen to PNG files for a person to look at:
//     formats_preview <output folder>
#include "FakeFormatOwner.h"
#include "OutputFormatBrowser.h"
#include "ResourceBundle.h"
#include "SettingWindowController.h"
#include "ViewFrame.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void saveDialog(const QString& folder, const QString& name, bool joinner, int fileType, const QString& profile,
                const std::function<void(SettingWindowController&)>& prepare = {}) {
    SettingWindowController dialog;
    dialog.setJoinner(joinner);
    dialog.setFileType(fileType);
    ViewFrame::setFrame(dialog.window(), {100, 100, 360, fileType == 2 ? 292.0 : 480.0});
    dialog.setPfPath(ResourceBundle::pathForResource(profile));
    dialog.displayViewChildes();
    if (prepare)
        prepare(dialog);
    dialog.window()->show();
    QApplication::processEvents();
    dialog.window()->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s\n", qPrintable(QDir(folder).filePath(name + QStringLiteral(".png"))));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = app.arguments().value(1, QStringLiteral("."));
    QDir().mkpath(folder);
    QTemporaryDir store;
    UserDefaults::standardUserDefaults().useFile(store.filePath(QStringLiteral("defaults.ini")));

    saveDialog(folder, QStringLiteral("settings-editor-video"), false, 1,
               QStringLiteral("functionFolder/Video/mp4(H264).pf"));
    saveDialog(folder, QStringLiteral("settings-joiner-audio"), true, 2, QStringLiteral("pf_join/Audio/mp3.pf"));
    saveDialog(folder, QStringLiteral("settings-joiner-custom"), true, 1, QStringLiteral("pf_join/Video/mkv(HEVC).pf"),
               [](SettingWindowController& dialog) {
                   QComboBox* size = dialog.popUp(OutputProfile::FrameSize);
                   emit size->activated(size->findText(QStringLiteral("Custom")));
                   QComboBox* rate = dialog.popUp(OutputProfile::VideoBitRate);
                   emit rate->activated(rate->findText(QStringLiteral("Custom")));
                   // A size the encoder rounds, to see the note that says so.
                   dialog.customWidth()->setText(QStringLiteral("641"));
                   dialog.customHeight()->setText(QStringLiteral("361"));
               });
    for (const bool joiner : {true, false}) {
        FakeFormatOwner owner(joiner ? OutputSelection::Family::Joiner : OutputSelection::Family::Editor);
        OutputFormatBrowser browser(joiner ? OutputFormatBrowser::Variant::Joiner
                                           : OutputFormatBrowser::Variant::Editor,
                                    &owner, ProfileRoot::forWindow(joiner));
        browser.setScreenHeightProvider([] { return 768.0; });
        browser.loadFunctionList();
        browser.initTabbarView();
        browser.initfunctionView();
        browser.actionFunctionItem(nullptr);
        MOQButton* item = browser.functionItemBtn_Childs().value(2);
        if (item != nullptr)
            item->mouseDownAction()(item);
        owner.window->show();
        QApplication::processEvents();
        const QString path =
            QDir(folder).filePath(joiner ? QStringLiteral("browser-joiner.png") : QStringLiteral("browser-editor.png"));
        owner.window->grab().save(path);
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
