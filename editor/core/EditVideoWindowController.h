#pragma once

#include "CropRotateHost.h"
#include "EditExportPlan.h"
#include "EditorLayout.h"
#include "EffectHost.h"
#include "FeatureWindowController.h"
#include "LQProgressSliderDelegate.h"
#include "MusicHost.h"
#include "OutputFormatOwner.h"
#include "OutputSelection.h"
#include "SimpleData.h"
#include "SubtitleHost.h"
#include "ToolItemType.h"
#include "TrimHost.h"
#include "WatermarkHost.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class EffectEditor;
class LQCutProgressView;
class LQMoviePlayer;
class LQProgressSlider;
class MOQButton;
class MusicEditor;
class MOQImageView;
class NSProgressView;
class OutputFormatBrowser;
class QComboBox;
class EditExportRun;
class CropRotateEditor;
class QLabel;
class QScrollArea;
class TrimPanel;
class SubtitleEditor;
class WatermarkEditor;

// The editor window: one source file in a preview, seven tools (trim, rotate, crop, effect, watermark, subtitle,
// background music), one mode at a time, each with its panel in the left column. The launcher sets
// `toolItemType` before the window loads; the window opens on that tool's panel and the tool buttons switch
// modes once a file is open.
//
// The window owns the frame every panel shares: the tool strip, the source row, the preview with its seek slider,
// trim bar and time labels, the format strip, the output row and Start. Each panel group fills its host
// (`cutView()`, `cropView()`, ...) and is called at the points its own notes name. The layout arithmetic is
// EditorLayout's; the file is probed off the main thread and replaces the current one only when it can be used.
class EditVideoWindowController : public FeatureWindowController,
                                  public LQProgressSliderDelegate,
                                  public OutputFormatOwner,
                                  public TrimHost,
                                  public WatermarkHost,
                                  public MusicHost,
                                  public EffectHost,
                                  public SubtitleHost,
                                  public CropRotateHost {
    Q_OBJECT
public:
    explicit EditVideoWindowController(QObject* parent = nullptr);
    explicit EditVideoWindowController(MediaJobFactory& factory, QObject* parent = nullptr);
    ~EditVideoWindowController() override;

    qint64 toolItemType() const { return _toolItemType; }
    // One ToolItemType value; read when the window loads, so set it before the first window() request.
    void setToolItemType(qint64 type) { _toolItemType = type; }
    qint64 oldToolItemType() const { return _oldToolItemType; }

    // The seven modes.
    void cutAction(MOQButton* sender = nullptr);
    void rotateAction(MOQButton* sender = nullptr);
    void cropAction(MOQButton* sender = nullptr);
    void effectAction(MOQButton* sender = nullptr);
    void watermarkAction(MOQButton* sender = nullptr);
    void subtitleAction(MOQButton* sender = nullptr);
    void addmusicAction(MOQButton* sender = nullptr);
    // The action of a mode value; any other value opens the trim mode.
    void enterMode(qint64 type);

    void enableEdit(bool enabled) override;
    // The folder of the running program (its "Custom" profiles live there).
    static QString executableDirectory();

    // Layout: lays the window out for its size and the format strip's state.
    enum class SizeChange { None, Resize, LiveResizeEdge, EnterFullScreen, DidEnterFullScreen, DidExitFullScreen };
    void changesize(SizeChange reason);
    void changesize() override { changesize(SizeChange::None); }
    ViewSize videoSize() const { return _videoSize; }
    // The room the screen leaves the window (its work area less the window manager's frame); empty without one.
    ViewSize screenRoom() const;
    // Holds the background view; scrolls it when the window is smaller than the layout's minimum.
    QScrollArea* scroller() const { return _scroller; }
    // The aspect-fit rectangle of the picture in the player's host view.
    ViewRect videoRect() const;

    // Source file.
    void addfileAction(MOQButton* sender = nullptr);
    // Probes the file off the main thread; it replaces the current file only when it can be used.
    void loadFile(const QString& path);
    bool isProbing() const { return _probing; }

    // Preview.
    void initPlayer();
    void play();
    void pause();
    void action_playPauseBtn(MOQButton* sender) override;
    // The audio stream the preview and the export use: a stream index of the file, or -1 without sound.
    int selectedAudioStreamIndex() const;

    // Still frame of the preview into the output folder; the path written, or empty.
    QString actionCarameraBtn();
    // The still-frame formats in the order of the cover-style pop-up, and the choice of one by its row.
    static const QStringList& coverStyleCodes();
    void chooseCoverStyle(int row);

    // Export: Start takes a copy of the file's, the trim's and the output's settings and of every panel's part,
    // and runs the export on them; pressed again, it cancels.
    void startExportAction(MOQButton* sender = nullptr);
    // Shows the output folder in the file manager (nothing while none is set).
    void openScrFolderAction();
    EditExportSettings exportSettings();
    // Each panel's part of the job, holding a copy of that panel's settings taken now.
    EditExportContributions exportContributions() const;
    // Replaced by tests: the jobs Start runs instead of the export (empty: the export).
    std::function<std::vector<JobStep>()> buildExportSteps;
    EditExportRun* exportRun() const { return _exportRun.get(); }

    // State.
    std::shared_ptr<SimpleData> fileData() const { return _fileData; }
    QString filePath() const { return _filePath; }
    LQMoviePlayer* lqPlayer() const { return _lqPlayer.get(); }
    bool isPlaying() const { return _isPlaying; }
    // The trim range, microseconds of the source (the trim panel keeps it).
    double cutTimeRange_start() const;
    double cutTimeRange_stop() const;
    int playerRotateAngle() const;
    // The duration of the preview in seconds (0 without a player).
    double duration() const;
    double currentTime() const;

    // Views.
    QWidget* backGroundView() const { return _backGroundView; }
    MOQImageView* contentBackGroundView() const { return _contentBackGroundView; }
    MOQImageView* contentLeftView() const { return _contentLeftView; }
    MOQImageView* contentRightView() const { return _contentRightView; }
    MOQImageView* funItemContentView() const { return _funItemContentView; }
    const std::array<MOQButton*, 7>& toolButtons() const { return _toolButtons; }
    MOQButton* toolButton(qint64 type) const;
    MOQButton* addfileButton() const { return _addfileButton; }
    QLabel* scrLabel() const { return _scrLabel; }
    MOQImageView* playerBackView() const { return _playerBackView; }
    MOQImageView* playerView() const { return _playerView; }
    QWidget* playerBottomView() override;
    LQProgressSlider* progressSlider() const { return _progressSlider; }
    LQCutProgressView* cutProgressView() const { return _cutProgressView; }
    QLabel* currentTimeLabel() const { return _currentTimeLabel; }
    QLabel* totalTimeLabel() const { return _totalTimeLabel; }
    QComboBox* audiochanelPopBtn() const { return _audiochanelPopBtn; }
    NSProgressView* exportProgressView() const { return _exportProgressView; }
    MOQButton* startExportBtn() const { return _startExportBtn; }
    MOQButton* scrFolderBtn() const { return _scrFolderBtn; }
    OutputFolderPopUp* outputPathPopUpBtn() const { return _outputPathPopUpBtn; }
    OutputFormatBrowser* formatBrowser() const { return _browser; }
    MOQButton* playOrpauseBtn() const;
    // The tool panels' hosts, one per mode (the watermark panel is the watermark editor's own).
    MOQImageView* cutView() const { return _trimView; }
    MOQImageView* adjustView() const { return _adjustView; }
    MOQImageView* cropView() const { return _cropView; }
    MOQImageView* kxfxView() const { return _kxfxView; }
    QWidget* waterView() const;
    MOQImageView* captionView() const { return _captionView; }
    MOQImageView* musicContentView() const { return _musicContentView; }
    MOQImageView* musicRightView() const { return _musicRightView; }
    MOQImageView* musicRightPlayerView() const { return _musicRightPlayerView; }
    MOQImageView* musicRightBottomView() const { return _musicRightBottomView; }
    // The panel shown in a mode.
    QWidget* panelForMode(qint64 type) const;
    WatermarkEditor* watermarks() const { return _watermarks; }
    CropRotateEditor* crop() const { return _crop; }
    MusicEditor* music() const { return _music; }
    TrimPanel* trimPanel() const { return _trimPanel; }
    EffectEditor* effects() const { return _effects; }
    SubtitleEditor* subtitles() const { return _subtitles; }

    // LQProgressSliderDelegate: the seek slider.
    void actionMouseDownForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(LQProgressSlider* slider, float progress) override;

    // OutputFormatOwner
    QWidget* formatOwnerWindow() override { return window(); }
    QWidget* formatHostView() override { return _backGroundView; }
    OutputSelection& outputSelection() override { return _outputSelection; }
    ClipList outputClips() override;

    // TrimHost
    double trimDuration() const override { return duration(); }
    double trimCurrentTime() const override { return currentTime(); }
    void trimSeek(double seconds) override;
    bool trimIsPlaying() const override { return _isPlaying; }
    void trimPlay() override;
    void trimPause() override { pause(); }
    void trimHoldPlayer() override;
    void trimPlayPause() override;
    LQCutProgressView* trimBar() const override;
    void trimAlert(const QString& key) override;

    // WatermarkHost
    LQMoviePlayer* watermarkPlayer() const override { return _lqPlayer.get(); }
    QWidget* watermarkPlayerView() const override;
    ViewSize watermarkVideoSize() const override { return _videoSize; }
    bool watermarkPreviewPlaying() const override { return _isPlaying; }
    void watermarkAlert(const QString& key) override;
    QWidget* watermarkWindow() const override;
    void watermarkHoldPreview() override;
    void watermarkResumePreview() override;
    ViewRect watermarkCropRect() const override;

    // CropRotateHost
    LQMoviePlayer* cropPlayer() const override { return _lqPlayer.get(); }
    QWidget* cropPlayerView() const override { return watermarkPlayerView(); }
    ViewSize cropSourceSize() const override;
    int cropSourceAngle() const override;
    bool cropPreviewPlaying() const override { return _isPlaying; }
    void cropPictureChanged(PictureChange change, const ViewRect& videoRect, const ViewSize& videoSize) override;

    // MusicHost
    LQMoviePlayer* musicMainPlayer() const override { return _lqPlayer.get(); }
    bool musicPreviewPlaying() const override { return _isPlaying; }
    void musicPlayPreview() override { play(); }
    void musicPausePreview() override { pause(); }
    void musicStopPreview() override;
    void musicSaveStillFrame() override;
    void musicAlert(const QString& key) override { watermarkAlert(key); }
    QWidget* musicWindow() const override { return watermarkWindow(); }

    // EffectHost
    LQMoviePlayer* effectPlayer() const override { return _lqPlayer.get(); }
    bool effectPreviewPlaying() const override { return _isPlaying; }
    double effectMainAudioLevel() const override;

    // SubtitleHost
    LQMoviePlayer* subtitlePlayer() const override { return _lqPlayer.get(); }
    bool subtitlePreviewPlaying() const override { return _isPlaying; }
    ViewSize subtitleVideoSize() const override { return _videoSize; }
    bool subtitleFileOpen() const override { return _fileData != nullptr; }
    void subtitleAlert(const QString& key) override { watermarkAlert(key); }
    QWidget* subtitleWindow() const override { return watermarkWindow(); }

protected:
    void windowDidLoad() override;
    QString finishedMessageKey() const override;
    QString startButtonTitleKey() const override { return QStringLiteral("StartExportTitle"); }
    MOQButton* startButton() const override { return _startExportBtn; }
    void stopPlayers() override;
    void jobProgress(int step, double percent) override;
    void changePlayerSlider() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Set-up.
    void buildFrame();
    void buildToolStrip();
    void buildSourceRow();
    void buildPlayerArea();
    void buildPanels();
    void buildOutputRow();
    MOQImageView* makePanelHost();
    void initMusicHosts();

    // Modes.
    void switchMode(qint64 type);
    void movePlayerView();

    // Source.
    void fileProbed(const QString& path, const std::shared_ptr<SimpleData>& record);
    void refreshPlayerView();
    void fillAudioTracks();
    void refreshTimeLabels();

    // Preview.
    void takeDownPlayer();
    void playerDidEnd();
    void seekTo(double seconds);
    void seekWhileDragging(float progress);
    void applyZeroStopRule();
    void setPlayButtonLook(bool playing);

    // Layout.
    void refitVideo();

    // Export: the alert of a run that failed.
    void exportFailed(int code);

    std::shared_ptr<SimpleData> _fileData;
    QString _filePath;
    int _probeSerial = 0;
    bool _probing = false;
    qint64 _toolItemType = 0;
    qint64 _oldToolItemType = 0;

    std::unique_ptr<LQMoviePlayer> _lqPlayer;
    bool _isPlaying = false;

    ViewSize _videoSize; // the crop editor's, kept here for the panels that read it
    bool _keepAspectratio = false;
    double _volume = 1.0;
    int _brightness = 0;
    int _contrast = 0;
    int _saturation = 0;

    OutputSelection _outputSelection{OutputSelection::Family::Editor};
    OutputFormatBrowser* _browser = nullptr;
    WatermarkEditor* _watermarks = nullptr;
    CropRotateEditor* _crop = nullptr; // the geometry: rotation, mirrors, crop
    MusicEditor* _music = nullptr;
    TrimPanel* _trimPanel = nullptr;
    std::unique_ptr<EditExportRun> _exportRun;
    EffectEditor* _effects = nullptr;
    SubtitleEditor* _subtitles = nullptr;

    QScrollArea* _scroller = nullptr; // holds the background view; scrolls when the window is below the minimum
    QWidget* _backGroundView = nullptr;
    MOQImageView* _contentBackGroundView = nullptr;
    MOQImageView* _contentLeftView = nullptr;
    MOQImageView* _contentRightView = nullptr;
    MOQImageView* _funItemBackView = nullptr;
    MOQImageView* _funItemContentView = nullptr;
    std::array<MOQButton*, 7> _toolButtons{};
    MOQButton* _addfileButton = nullptr;
    QLabel* _scrLabel = nullptr;
    QLabel* _audioLabel = nullptr;
    QComboBox* _audiochanelPopBtn = nullptr;
    MOQImageView* _playerBackView = nullptr;
    MOQImageView* _playerView = nullptr;
    MOQImageView* _playerBottomView = nullptr;
    LQProgressSlider* _progressSlider = nullptr;
    LQCutProgressView* _cutProgressView = nullptr;
    QLabel* _currentTimeLabel = nullptr;
    QLabel* _totalTimeLabel = nullptr;
    MOQImageView* _trimView = nullptr;
    MOQImageView* _adjustView = nullptr;
    MOQImageView* _cropView = nullptr;
    MOQImageView* _kxfxView = nullptr;
    MOQImageView* _captionView = nullptr;
    MOQImageView* _musicContentView = nullptr;
    MOQImageView* _musicRightView = nullptr;
    MOQImageView* _musicRightPlayerView = nullptr;
    MOQImageView* _musicRightBottomView = nullptr;
    MOQImageView* _toolMusicNofileView = nullptr;
    QLabel* _exprogressLabel = nullptr;
    NSProgressView* _exportProgressView = nullptr;
    MOQButton* _startExportBtn = nullptr;
    MOQButton* _scrFolderBtn = nullptr;
    OutputFolderPopUp* _outputPathPopUpBtn = nullptr;
    bool _exportStarting = false; // Start is setting up a run
    QString _failureKey;          // the strings-table key of what a part of the running export could not set up
};
