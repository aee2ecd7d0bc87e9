#pragma once

#include "FeatureWindowController.h"

// The easy cutter window: marked segments of one file written as separate files or merged into one. For now it
// carries the frame every feature window shares.
class EasyCutterWindowcontroller : public FeatureWindowController {
    Q_OBJECT
public:
    explicit EasyCutterWindowcontroller(QObject* parent = nullptr);
    ~EasyCutterWindowcontroller() override;

    OutputFolderPopUp* outputPopBtn() const { return _outputPopBtn; }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;

private:
    OutputFolderPopUp* _outputPopBtn = nullptr;
};
