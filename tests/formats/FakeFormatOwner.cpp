#include "FakeFormatOwner.h"

#include "MOQView.h"
#include "SimpleData.h"
#include "ViewFrame.h"

FakeFormatOwner::FakeFormatOwner(OutputSelection::Family family) : selection(family) {
    window = std::make_unique<QWidget>(nullptr, Qt::Window);
    ViewFrame::setFrame(window.get(), {100, 60, 908, 622});
    if (family == OutputSelection::Family::Joiner) {
        content = new MOQView(ViewRect{0, 194, 908, 420}, window.get());
        host = new MOQImageView(ViewRect{0, 6, 908, 180}, window.get());
    } else {
        host = new MOQImageView(ViewRect{0, 0, 908, 622}, window.get());
        playerBar = new MOQImageView(ViewRect{0, 240, 908, 40}, host);
    }
    auto clip = std::make_shared<SimpleData>();
    clip->sourceData()->setExtension(QStringLiteral("mov"));
    clip->sourceData()->setMetadata_vcodec(QStringLiteral("h264"));
    clip->sourceData()->setWidth(640);
    clip->sourceData()->setHeight(480);
    clips.append(clip);
}

FakeFormatOwner::~FakeFormatOwner() = default;
