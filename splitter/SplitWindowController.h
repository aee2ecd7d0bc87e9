#pragma once

#include "FeatureWindowController.h"
#include "SimpleData.h"
#include "SliderValueDelegate.h"
#include "SplitExport.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

class CountStepper;
class LQMoviePlayer;
class LQProgressSlider;
class MOQButton;
class MOQImageView;
class NSProgressView;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class SplitProgressView;

// The splitter: one source file in a preview, a split plan made by time, by size, into equal parts or by points
// placed by hand on the timeline, and the pieces written one after another into the output folder.
//
// The plan's arithmetic is SplitPlan's, the jobs SplitExport's and the points live in the timeline
// (SplitProgressView); this controller wires them to the widgets, the player and the job runner. Refused steps,
// counts and points say why in an alert and leave the plan as it was.
class SplitWindowController : public FeatureWindowController {
    Q_OBJECT
public:
    explicit SplitWindowController(QObject* parent = nullptr);
    explicit SplitWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~SplitWindowController() override;

    // Source and preview.
    void addFileAction();
    // Probes the file off the main thread, then shows it (or tells why it cannot be used).
    void loadFile(const QString& path);
    void initPlayer();
    void hiddenPlayerView(bool hidden);
    void playAction();
    void pauseAction();
    void playButtonAction();
    void stopAction();
    void muteAction();
    void enableEdit(bool enabled) override;

    // The plan.
    void limiteachTimeSegmentAction();
    void limiteachFilesizeSegmentAction();
    void limiteachAverageSegmentAction();
    void limiteachManuallySegmentAction();
    void splitAction();
    void split_timepopAction();
    void split_sizepopAction();
    void controlTextDidChange();
    void averagesplitStepperAction();
    void addSplitPointAction();
    void previousPointAction();
    void nextPointAction();
    void deletePointAction();

    // Export.
    void startExportAction();

    // State for tests and the screenshots.
    std::shared_ptr<SimpleData> fileData() const { return _fileData; }
    LQMoviePlayer* lqPlayer() const { return _lqPlayer.get(); }
    bool isPlaying() const { return _isPlaying; }
    bool isStartExport() const { return isRunning(); }
    // The player's duration in seconds (0 without a player).
    double duration() const;
    MOQButton* addfileBtn() const { return _addfileBtn; }
    QLabel* scrLabel() const { return _scrLabel; }
    QLabel* resolutionValueLabel() const { return _resolutionValueLabel; }
    QLabel* resoucefilesizeValueLabel() const { return _resoucefilesizeValueLabel; }
    QLabel* resouceTotaltimeValueLabel() const { return _resouceTotaltimeValueLabel; }
    QRadioButton* split_timeBtn() const { return _split_timeBtn; }
    QRadioButton* split_sizeBtn() const { return _split_sizeBtn; }
    QRadioButton* split_averageBtn() const { return _split_averageBtn; }
    QRadioButton* split_manuallyBtn() const { return _split_manuallyBtn; }
    QComboBox* split_timepopBtn() const { return _split_timepopBtn; }
    QComboBox* split_sizepopBtn() const { return _split_sizepopBtn; }
    QLineEdit* averageTextField() const { return _averageTextField; }
    CountStepper* averagestepper() const { return _averagestepper; }
    MOQButton* splitBtn() const { return _splitBtn; }
    MOQImageView* playerView() const { return _playerView; }
    SplitProgressView* playerSlider() const { return _playerSlider; }
    QLabel* playerCurrentTimeLabel() const { return _playerCurrentTimeLabel; }
    QLabel* splitTimeLabel() const { return _splitTimeLabel; }
    QLabel* sizeHintLabel() const { return _sizeHintLabel; }
    QLabel* totalTimeLabel() const { return _totalTimeLabel; }
    MOQButton* playBtn() const { return _playBtn; }
    MOQButton* pauseBtn() const { return _pauseBtn; }
    MOQButton* volumeBtn() const { return _volumeBtn; }
    LQProgressSlider* volumeSlider() const { return _volumeSlider; }
    MOQButton* splitItemBtn() const { return _splitItemBtn; }
    MOQButton* leftMoveBtn() const { return _leftMoveBtn; }
    MOQButton* rightMoveBtn() const { return _rightMoveBtn; }
    MOQButton* deletedItemBtn() const { return _deletedItemBtn; }
    OutputFolderPopUp* outputPopBtn() const { return _outputPopBtn; }
    MOQButton* openOutputBtn() const { return _openOutputBtn; }
    MOQButton* startExportBtn() const { return _startExportBtn; }
    NSProgressView* exportProgressView() const { return _exportProgressView; }
    QWidget* nofileBackView() const;

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    MOQButton* startButton() const override { return _startExportBtn; }
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;
    void changePlayerSlider() override;

private:
    void buildSource(QWidget* panel);
    void buildPreview(QWidget* panel);
    void buildModes(QWidget* panel);
    void buildBottom(QWidget* content);
    void wireTimeline();
    void fileProbed(const std::shared_ptr<SimpleData>& record);
    void takeDownPlayer();
    void seekToFraction(float p);
    void setVolumeFromSlider(float progress);
    // The mode radios' common work: the others opposite to `on`, the controls of the mode enabled.
    void applyMode(QRadioButton* chosen);
    void popUpAction(QComboBox* popUp, const QString& promptKey);
    void applyPlan(const SplitPlan::Result& result);
    float sizeTotal() const;
    void refuse(SplitPlan::Refusal refusal);
    // The player and the split time on the selected point (previous and next).
    void showSelectedPoint();
    // After a split by size: the timeline shows where the pieces written really start.
    void showWrittenSizePoints();

    std::shared_ptr<SimpleData> _fileData;
    std::unique_ptr<LQMoviePlayer> _lqPlayer;
    bool _isPlaying = false;
    bool _resumeAfterSeek = false;
    // The run in progress: the size mode's chain (whose pieces are known only as they end) or the piece count.
    std::unique_ptr<SplitExport::SizeChain> _sizeChain;
    qint64 _exportFileCount = 0;

    MOQImageView* _contentBackGroundView = nullptr;
    MOQButton* _addfileBtn = nullptr;
    QLabel* _scrLabel = nullptr;
    MOQImageView* _contentLeftView = nullptr;
    MOQImageView* _contentRightView = nullptr;
    QLabel* _gettingstartedLabel = nullptr;
    MOQImageView* _nofileBackView = nullptr;
    std::array<QLabel*, 4> _descLabels{};
    QLabel* _sourceInformationLabel = nullptr;
    QLabel* _resolutionLabel = nullptr;
    QLabel* _resolutionValueLabel = nullptr;
    QLabel* _resoucefilesizeLabel = nullptr;
    QLabel* _resoucefilesizeValueLabel = nullptr;
    QLabel* _resouceTotaltimeLabel = nullptr;
    QLabel* _resouceTotaltimeValueLabel = nullptr;
    QRadioButton* _split_timeBtn = nullptr;
    QRadioButton* _split_sizeBtn = nullptr;
    QRadioButton* _split_averageBtn = nullptr;
    QRadioButton* _split_manuallyBtn = nullptr;
    QComboBox* _split_timepopBtn = nullptr;
    QComboBox* _split_sizepopBtn = nullptr;
    QLineEdit* _averageTextField = nullptr;
    CountStepper* _averagestepper = nullptr;
    QLabel* _manualHintLabel = nullptr;
    // By size the points are estimates: said while the mode is chosen, the real points shown after the split.
    QLabel* _sizeHintLabel = nullptr;
    MOQButton* _splitBtn = nullptr;
    MOQImageView* _playerView = nullptr;
    SplitProgressView* _playerSlider = nullptr;
    QLabel* _playerCurrentTimeLabel = nullptr;
    QLabel* _splitTimeCaption = nullptr;
    QLabel* _splitTimeLabel = nullptr;
    QLabel* _totalTimeLabel = nullptr;
    MOQButton* _playBtn = nullptr;
    MOQButton* _pauseBtn = nullptr;
    MOQButton* _volumeBtn = nullptr;
    LQProgressSlider* _volumeSlider = nullptr;
    SliderValueDelegate _volumeDelegate{[this](float value) { setVolumeFromSlider(value); }};
    MOQButton* _splitItemBtn = nullptr;
    MOQButton* _leftMoveBtn = nullptr;
    MOQButton* _rightMoveBtn = nullptr;
    MOQButton* _deletedItemBtn = nullptr;
    OutputFolderPopUp* _outputPopBtn = nullptr;
    MOQButton* _openOutputBtn = nullptr;
    MOQButton* _startExportBtn = nullptr;
    NSProgressView* _exportProgressView = nullptr;
    QLabel* _exportProgresslabel = nullptr;
};
