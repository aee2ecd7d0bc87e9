#include "BatchCutterWindowController.h"

#include "ViewFrame.h"

#include <QWidget>

namespace {

constexpr int kWindowWidth = 880;
constexpr int kWindowHeight = 620;

} // namespace

BatchCutterWindowController::BatchCutterWindowController(QObject* parent) : FeatureWindowController(parent) {}

BatchCutterWindowController::~BatchCutterWindowController() = default;

void BatchCutterWindowController::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    _outputFolderBtn = installOutputPopUp(content, ViewRect{130, 16, 220, 26});
}

QString BatchCutterWindowController::finishedMessageKey() const {
    return QStringLiteral("Cutterfinishedstring");
}
