#include "EditVideoWindowController.h"

#include "ViewFrame.h"

#include <QWidget>

namespace {

constexpr int kWindowWidth = 908;
constexpr int kWindowHeight = 622;

} // namespace

EditVideoWindowController::EditVideoWindowController(QObject* parent) : FeatureWindowController(parent) {}

EditVideoWindowController::~EditVideoWindowController() = default;

void EditVideoWindowController::windowDidLoad() {
    setUpFrame();
    QWidget* content = window();
    content->resize(kWindowWidth, kWindowHeight);
    content->setMinimumSize(908, 622);
    _outputPathPopUpBtn = installOutputPopUp(content, ViewRect{130, 16, 220, 26});
    enableEdit(false);
}

QString EditVideoWindowController::finishedMessageKey() const {
    return QStringLiteral("Editfinishedstring");
}
