#include "ClipExportBar.h"

#include "ControlFont.h"
#include "Dispatch.h"
#include "FeatureWindowController.h"
#include "MOQButton.h"
#include "MakeLabel.h"
#include "NSProgressView.h"
#include "ResourceBundle.h"

#include <QLabel>
#include <QPointer>

namespace {

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

} // namespace

ClipExportBar::ClipExportBar(QWidget* content, FeatureWindowController& window, std::function<void()> startPressed)
    : QObject(&window) {
    _openOutputFolderBtn = new MOQButton(ViewRect{352, 15, 24, 24}, content);
    _openOutputFolderBtn->setNormalImage(image("SubFun/btnBrowse_Down.png"));
    _openOutputFolderBtn->setBordered(false);
    _openOutputFolderBtn->setToolTip(ResourceBundle::localizedStringForKey(QStringLiteral("openOutputFolderTooltip")));
    QPointer<FeatureWindowController> owner(&window);
    // Acts at once.
    _openOutputFolderBtn->setMouseDownAction([owner](MOQButton*) {
        if (owner)
            owner->revealOutputFolder();
    });

    _joinnerLabel = makeLabel(content, {750, 17, 80, 20},
                              ResourceBundle::localizedStringForKey(QStringLiteral("progressLabelStringValue")), 13,
                              QStringLiteral("white"));
    _joinnerProgressView = new NSProgressView(ViewRect{832, 23, 190, 8}, content);

    _startJoinnerBtn = new MOQButton(ViewRect{1040, 7, 150, 40}, content);
    _startJoinnerBtn->setBordered(false);
    _startJoinnerBtn->setNormalBackgroundImage(image("SubFun/btnStart_Normal.bmp"));
    _startJoinnerBtn->setOnBackgroundImage(image("SubFun/btnStart_On.bmp"));
    _startJoinnerBtn->setDownBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startJoinnerBtn->setSelectedBackgroundImage(image("SubFun/btnStart_Down.bmp"));
    _startJoinnerBtn->setDisAbleBackgroundImage(image("SubFun/btnStart_Disable.bmp"));
    _startJoinnerBtn->setFont(ControlFont::system(18));
    _startJoinnerBtn->setContentColor(Qt::white);
    _startJoinnerBtn->setContentTitle(ResourceBundle::localizedStringForKey(QStringLiteral("StartExportTitle")));
    _startJoinnerBtn->setMouseDownAction([owner, startPressed = std::move(startPressed)](MOQButton*) {
        Dispatch::main([owner, startPressed] {
            if (owner && startPressed)
                startPressed();
        });
    });
}

ClipExportBar::~ClipExportBar() = default;
