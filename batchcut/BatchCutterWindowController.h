#pragma once

#include "FeatureWindowController.h"

// The batch cutter window: one cut range applied to each file of a list. For now it carries the frame every
// feature window shares.
class BatchCutterWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit BatchCutterWindowController(QObject* parent = nullptr);
    ~BatchCutterWindowController() override;

    OutputFolderPopUp* outputFolderBtn() const { return _outputFolderBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;

private:
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
