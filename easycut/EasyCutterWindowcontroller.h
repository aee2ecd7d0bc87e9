#pragma once

#include "FeatureWindowController.h"
#include "LQCutProgressViewDelegate.h"
#include "LQTextFieldDelegate.h"
#include "NSTextFieldDelegate.h"
#include "SegmentList.h"
#include "SimpleData.h"
#include "SliderValueDelegate.h"

#include <QImage>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class CutItemView;
class LQCutProgressView;
class LQMoviePlayer;
class LQProgressSlider;
class LQTextField;
class MOQButton;
class MOQImageView;
class MOQScrollView;
class MOQView;
class NSProgressView;
class QLabel;
class QPushButton;
class TimeStepper;

// The easy cutter: one source file in a preview, a trim range marked with two handles or typed times, segments
// cut from it into a list of tiles (copied, modified, deleted, moved), written as separate files or merged into
// one. The list rules live in SegmentList, the geometry in SegmentListGeometry, the time arithmetic in
// SegmentTimes and the jobs in SegmentExportPlan; this controller wires them to the widgets, the player and the
// job runner.
class EasyCutterWindowcontroller : public FeatureWindowController,
                                   public LQCutProgressViewDelegate,
                                   public LQTextFieldDelegate,
                                   public NSTextFieldDelegate {
    Q_OBJECT
public:
    explicit EasyCutterWindowcontroller(QObject* parent = nullptr);
    explicit EasyCutterWindowcontroller(MediaJobFactory& factory, QObject* parent = nullptr);
    ~EasyCutterWindowcontroller() override;

    // One row of four time fields (hours, minutes, seconds, hundredths) with its stepper.
    struct TimeRow {
        QLabel* back = nullptr;
        std::array<LQTextField*, 4> fields{};
        TimeStepper* stepper = nullptr;
    };

    // Source and preview.
    void addFileAction();
    // Probes the file off the main thread, then shows it (or tells why it cannot be used).
    void loadFile(const QString& path);
    void initPlayer();
    void enableEditItemShow(bool show);
    void enableEdit(bool enabled) override;
    // Gives a new segment its tile picture: the frame at its start, read off the main thread (it shows when ready).
    void getCurrentThumbImage(const SegmentList::Item& item);

    // Segment list.
    void refresFileListView();
    void scrollToSelectItem();
    void fileItemAction(CutItemView* tile);
    void cutAction();
    void copyAction();
    void modifyAction();
    void deletedAction();
    void moveUpAction();
    void moveDownAction();
    void clearAction();
    void setStartAction();
    void setEndAction();
    void rangePreviewAction();
    void playOrPauseAction();
    void muteAction();

    // Time editing.
    void refresSelectTrimTime(bool startChanged, bool endChanged);
    void stepperAction(TimeStepper* stepper);

    // Slider, keyboard and nudges.
    void playOrPauseVideo();
    void kuaituiAction();
    void kuaijinAction();

    // Export.
    void startExportAction();

    // State for tests and the screenshots.
    const SegmentList& segments() const { return _segments; }
    SegmentList& segments() { return _segments; }
    const std::vector<CutItemView*>& cutItemViews() const { return _cutItemViews; }
    std::shared_ptr<SimpleData> fileData() const { return _fileData; }
    LQMoviePlayer* lqPlayer() const { return _lqPlayer.get(); }
    bool isPlaying() const { return _isPlaying; }
    bool isPlaySelectedCut() const { return _isPlaySelectedCut; }
    bool isStartExport() const { return isRunning(); }
    LQCutProgressView* cutprogressView() const { return _cutprogressView; }
    LQProgressSlider* volumeSlider() const { return _volumeSlider; }
    NSProgressView* exportProgressView() const { return _exportProgressView; }
    MOQButton* startExportBtn() const { return _startExportBtn; }
    MOQButton* merageBtn() const { return _merageBtn; }
    MOQButton* cutStartBtn() const { return _cutStartBtn; }
    MOQButton* addfileBtn() const { return _addfileBtn; }
    MOQButton* updateFileAddBtn() const { return _updateFileAddBtn; }
    MOQButton* upMoveItemBtn() const { return _upMoveItemBtn; }
    MOQButton* downMoveItemBtn() const { return _downMoveItemBtn; }
    MOQButton* deletedItemBtn() const { return _deletedItemBtn; }
    MOQButton* itemCopyBtn() const { return _itemCopyBtn; }
    MOQButton* itemModifyBtn() const { return _itemModifyBtn; }
    MOQButton* itemDeletedBtn() const { return _itemDeletedBtn; }
    MOQButton* selectedLeftBtn() const { return _selectedLeftBtn; }
    MOQButton* selectedRightBtn() const { return _selectedRightBtn; }
    MOQButton* playOrpauseBtn() const { return _playOrpauseBtn; }
    MOQButton* playOrpauseSelectBtn() const { return _playOrpauseSelectBtn; }
    QWidget* itemSelectView() const { return _itemSelectView; }
    MOQImageView* selectedItemTimeChangeView() const { return _selectedItemTimeChangeView; }
    QLabel* scrLabel() const { return _scrLabel; }
    QLabel* durationValueLabel() const { return _durationValueLabel; }
    QLabel* currentTimeLabel() const { return _currentTimeLabel; }
    MOQScrollView* itemsScrollview() const { return _itemsScrollview; }
    MOQView* filesContentView() const { return _filesContentView; }
    const TimeRow& startRow() const { return _startRow; }
    const TimeRow& stopRow() const { return _stopRow; }
    const TimeRow& startItemRow() const { return _startItemRow; }
    const TimeRow& stopItemRow() const { return _stopItemRow; }
    OutputFolderPopUp* outputPopBtn() const { return _outputPopBtn; }
    // The preview's duration in seconds (0 without a player).
    double duration() const;

    // LQCutProgressViewDelegate
    void actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    void actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float lower, float upper,
                                                 long long handle) override;
    void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    // LQTextFieldDelegate
    void actionMouseDownForTextFieldBlock(LQTextField* field) override;
    // NSTextFieldDelegate
    bool controlTextShouldEndEditing(LQTextField* field) override;

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    MOQButton* startButton() const override { return _startExportBtn; }
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;
    void changePlayerSlider() override;

private:
    void fileProbed(const std::shared_ptr<SimpleData>& record);
    void buildFrame(QWidget* content);
    void buildNoFilePanel();
    void buildPreview();
    void buildList();
    void buildBottom(QWidget* content);
    void initPlayerBottom();
    void initSelectItemTimeChangeView();
    TimeRow buildRow(QWidget* parent, const ViewRect& back, const QString& image, bool segmentEditor);

    void applyMoveButtons();
    CutItemView* makeTile();
    void placeOverlay(CutItemView* tile);
    void tileEntered(CutItemView* tile);
    void tileExited(CutItemView* tile);
    void showSegmentTile(qint64 index);
    void setButtonsOff();
    void setPlayButtonsStopped();
    // The play button's look and the play state: pause while the preview plays, whatever started it.
    void showPlaying(bool playing);
    void setPreviewVolume(float sliderProgress);
    // Places the tiles and the segment editor: the editor opens below its tile and the tiles after it make room.
    void layoutTiles();
    void seekTo(double seconds);
    double currentTime() const;
    void writeRow(const TimeRow& row, float seconds);
    float readRow(const TimeRow& row) const;
    void showRangeDuration();
    void setHandleButtons(float progress);
    void resumeIfPlaying();
    void nudge(bool forward);
    void takeDownPlayer();
    void setExportFinished();

    std::shared_ptr<SimpleData> _fileData;
    std::unique_ptr<LQMoviePlayer> _lqPlayer;
    bool _isPlaying = false;
    bool _isPlaySelectedCut = false;
    float _selectStartPlayTime = 0;
    SegmentList _segments;
    std::vector<CutItemView*> _cutItemViews;
    int _exportCount = 0;
    bool _mergeRun = false;

    LQTextField* _edittingField = nullptr;
    // A typed time's check is showing its warning: the focus the alert takes must not check the field again.
    bool _checkingTypedTime = false;
    LQTextField* _edittingItemField = nullptr;

    MOQImageView* _contentBackgroundView = nullptr;
    MOQImageView* _nofileBordView = nullptr;
    QLabel* _gettingStartedLabel = nullptr;
    std::array<QLabel*, 4> _descLabels{};
    MOQButton* _addfileBtn = nullptr;
    QLabel* _scrLabel = nullptr;
    MOQButton* _updateFileAddBtn = nullptr;
    MOQImageView* _playerView = nullptr;
    LQCutProgressView* _cutprogressView = nullptr;
    QLabel* _startTimeLabel = nullptr;
    QLabel* _endTimeLabel = nullptr;
    QLabel* _durationLabel = nullptr;
    QLabel* _durationValueLabel = nullptr;
    QLabel* _currentTimeLabel = nullptr;
    QLabel* _totalDurationLabel = nullptr;
    MOQButton* _playOrpauseBtn = nullptr;
    MOQButton* _playOrpauseSelectBtn = nullptr;
    MOQButton* _selectedLeftBtn = nullptr;
    MOQButton* _selectedRightBtn = nullptr;
    MOQButton* _cutStartBtn = nullptr;
    MOQButton* _volumeBtn = nullptr;
    LQProgressSlider* _volumeSlider = nullptr;
    // The volume slider's value: the preview plays at twice it, as the merge writes it (the press reports the value
    // before the thumb moves; the movement that follows reports the new one).
    SliderValueDelegate _volumeDelegate{[this](float value) { setPreviewVolume(value); }};
    MOQView* _keybordTishiView = nullptr;
    QLabel* _controlkeybordLabel = nullptr;
    QLabel* _playpauseLabel = nullptr;
    QLabel* _controlmarksLabel = nullptr;
    QPushButton* _playpauseBtn = nullptr;
    QPushButton* _kuaituiBtn = nullptr;
    QPushButton* _kuaijinBtn = nullptr;
    MOQView* _itemContentView = nullptr;
    QWidget* _fileItemListView = nullptr;
    MOQButton* _upMoveItemBtn = nullptr;
    MOQButton* _downMoveItemBtn = nullptr;
    MOQButton* _deletedItemBtn = nullptr;
    MOQScrollView* _itemsScrollview = nullptr;
    MOQView* _filesContentView = nullptr;
    QWidget* _itemSelectView = nullptr;
    MOQButton* _itemCopyBtn = nullptr;
    MOQButton* _itemModifyBtn = nullptr;
    MOQButton* _itemDeletedBtn = nullptr;
    MOQImageView* _selectedItemTimeChangeView = nullptr;
    TimeRow _startRow;
    TimeRow _stopRow;
    TimeRow _startItemRow;
    TimeRow _stopItemRow;
    QLabel* _progressLabel = nullptr;
    MOQButton* _openOutputFolderBtn = nullptr;
    MOQButton* _merageBtn = nullptr;
    MOQButton* _startExportBtn = nullptr;
    NSProgressView* _exportProgressView = nullptr;
    OutputFolderPopUp* _outputPopBtn = nullptr;
};
