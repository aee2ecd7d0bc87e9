#include "JoinnerWindowController.h"

#include "ViewFrame.h"

#include <QWidget>

namespace {

constexpr int kWindowWidth = 880;
constexpr int kWindowHeight = 620;

} // namespace

JoinnerWindowController::JoinnerWindowController(QObject* parent) : FeatureWindowController(parent) {}

JoinnerWindowController::~JoinnerWindowController() = default;

void JoinnerWindowController::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    _outputFolderBtn = installOutputPopUp(content, ViewRect{130, 16, 220, 26});
}

QString JoinnerWindowController::finishedMessageKey() const {
    return QStringLiteral("Joinnerfinishedstring");
}
