#include "PreviewButtons.h"

#include "MOQButton.h"
#include "ResourceBundle.h"

namespace {

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

} // namespace

MOQButton* PreviewButtons::playPause(const ViewRect& frame, QWidget* parent) {
    auto* button = new MOQButton(frame, parent);
    button->setNormalImage(image("Join/btnPlay_Normal.png"));
    button->setOnImage(image("Join/btnPlay_On.png"));
    button->setDownImage(image("Join/btnPlay_Down.png"));
    button->setSelectedImage(image("Join/btnPause_Normal.png"));
    button->setDisAbleImage(image("Join/btnPlay_Disable.png"));
    button->setBordered(false);
    return button;
}

MOQButton* PreviewButtons::stop(const ViewRect& frame, QWidget* parent) {
    auto* button = new MOQButton(frame, parent);
    button->setNormalImage(image("Join/btnStop_Normal.png"));
    button->setOnImage(image("Join/btnStop_On.png"));
    button->setDownImage(image("Join/btnStop_Down.png"));
    button->setDisAbleImage(image("Join/btnStop_Disable.png"));
    button->setBordered(false);
    return button;
}
