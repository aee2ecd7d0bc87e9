#pragma once

#include <QObject>

#include <functional>

class FeatureWindowController;
class MOQButton;
class NSProgressView;
class QLabel;
class QWidget;

// The bottom row of the joiner and the batch cutter, right of the output folder: the button that shows the output
// folder, the progress label and bar, and the Start/Cancel button.
class ClipExportBar : public QObject {
    Q_OBJECT
public:
    // startPressed runs on the main queue after a press of the Start/Cancel button.
    ClipExportBar(QWidget* content, FeatureWindowController& window, std::function<void()> startPressed);
    ~ClipExportBar() override;

    MOQButton* openOutputFolderBtn() const { return _openOutputFolderBtn; }
    QLabel* joinnerLabel() const { return _joinnerLabel; }
    NSProgressView* joinnerProgressView() const { return _joinnerProgressView; }
    MOQButton* startJoinnerBtn() const { return _startJoinnerBtn; }

private:
    MOQButton* _openOutputFolderBtn = nullptr;
    QLabel* _joinnerLabel = nullptr;
    NSProgressView* _joinnerProgressView = nullptr;
    MOQButton* _startJoinnerBtn = nullptr;
};
