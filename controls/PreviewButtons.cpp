#include "PreviewButtons.h"

#include "MOQButton.h"
#include "ResourceBundle.h"

namespace {

// A borderless button with the four pictures <base>_Normal, _On, _Down and _Disable.
MOQButton* pictured(const ViewRect& frame, QWidget* parent, const QString& base) {
    auto* button = new MOQButton(frame, parent);
    button->setNormalImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Normal.png")));
    button->setOnImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_On.png")));
    button->setDownImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Down.png")));
    button->setDisAbleImage(ResourceBundle::imageWithfileName(base + QStringLiteral("_Disable.png")));
    button->setBordered(false);
    return button;
}

} // namespace

MOQButton* PreviewButtons::playPause(const ViewRect& frame, QWidget* parent) {
    MOQButton* button = pictured(frame, parent, QStringLiteral("Join/btnPlay"));
    button->setSelectedImage(ResourceBundle::imageWithfileName(QStringLiteral("Join/btnPause_Normal.png")));
    return button;
}

MOQButton* PreviewButtons::stop(const ViewRect& frame, QWidget* parent) {
    return pictured(frame, parent, QStringLiteral("Join/btnStop"));
}
