#pragma once

#include "FeatureWindowController.h"
#include "ToolItemType.h"

// The editor window: one file, seven tools (its mode, `toolItemType`, is set by the launcher before the window
// loads). For now it carries the frame every feature window shares.
class EditVideoWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit EditVideoWindowController(QObject* parent = nullptr);
    ~EditVideoWindowController() override;

    qint64 toolItemType() const { return _toolItemType; }
    // One ToolItemType value; read when the window loads, so set it before the first window() request.
    void setToolItemType(qint64 type) { _toolItemType = type; }

    OutputFolderPopUp* outputPathPopUpBtn() const { return _outputPathPopUpBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    QString startButtonTitleKey() const override { return QStringLiteral("Start"); }

private:
    qint64 _toolItemType = 0;
    OutputFolderPopUp* _outputPathPopUpBtn = nullptr;
};
