#include "EasyCutterWindowcontroller.h"

#include "ViewFrame.h"

#include <QWidget>

namespace {

constexpr int kWindowWidth = 860;
constexpr int kWindowHeight = 600;

} // namespace

EasyCutterWindowcontroller::EasyCutterWindowcontroller(QObject* parent) : FeatureWindowController(parent) {}

EasyCutterWindowcontroller::~EasyCutterWindowcontroller() = default;

void EasyCutterWindowcontroller::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    _outputPopBtn = installOutputPopUp(content, ViewRect{130, 16, 220, 26});
}

QString EasyCutterWindowcontroller::finishedMessageKey() const {
    return QStringLiteral("Cutterfinishedstring");
}
