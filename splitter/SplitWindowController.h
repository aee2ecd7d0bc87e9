#pragma once

#include "FeatureWindowController.h"

// The splitter window: one file split by time, by size, into equal parts or at chosen points. For now it carries
// the frame every feature window shares.
class SplitWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit SplitWindowController(QObject* parent = nullptr);
    ~SplitWindowController() override;

    OutputFolderPopUp* outputPopBtn() const { return _outputPopBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;

private:
    OutputFolderPopUp* _outputPopBtn = nullptr;
};
