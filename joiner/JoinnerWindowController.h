#pragma once

#include "FeatureWindowController.h"

// The joiner window: several clips joined into one file. For now it carries the frame every feature window shares.
class JoinnerWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit JoinnerWindowController(QObject* parent = nullptr);
    ~JoinnerWindowController() override;

    OutputFolderPopUp* outputFolderBtn() const { return _outputFolderBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;

private:
    OutputFolderPopUp* _outputFolderBtn = nullptr;
};
