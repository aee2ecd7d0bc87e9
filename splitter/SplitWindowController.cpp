#include "SplitWindowController.h"

#include "ViewFrame.h"

#include <QWidget>

namespace {

constexpr int kWindowWidth = 860;
constexpr int kWindowHeight = 600;

} // namespace

SplitWindowController::SplitWindowController(QObject* parent) : FeatureWindowController(parent) {}

SplitWindowController::~SplitWindowController() = default;

void SplitWindowController::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    _outputPopBtn = installOutputPopUp(content, ViewRect{130, 16, 220, 26});
    enableEdit(false);
}

QString SplitWindowController::finishedMessageKey() const {
    return QStringLiteral("Splitfinishedstring");
}
