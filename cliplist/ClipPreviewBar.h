#pragma once

#include "ClipSelection.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class FeatureWindowController;
class LQCutProgressView;
class LQMoviePlayer;
class LQProgressSlider;
class MOQButton;
class MOQImageView;
class QComboBox;
class QLabel;
class RepeatingTimer;

// The preview of the selected clip and the bar under it, shared by the joiner and the batch cutter: play/pause,
// stop, a still frame with its format chooser, mute and the volume slider, the two buttons that take the trim
// start and end from the playhead, and the playhead and duration labels. Binding a clip (initPlayer) makes a new
// player for it, loads its range onto the trim range slider and reports it through clipBound so the trim editor
// and the keep/remove radios can show it; a 0.1 s tick moves the slider's playhead while the preview plays.
//
// The bar's controls are built into `barHost` (a row 36 points high and at least 540 wide); the player's view
// goes into `playerView`. The volume slider's events and the trim buttons' work belong to the trim actions and
// the trim editor: the owner wires them through volumeSlider()'s delegate and the two trim closures.
class ClipPreviewBar : public QObject {
    Q_OBJECT
public:
    enum class Variant {
        Joiner,      // stop rewinds to the start
        BatchCutter, // stop only pauses; mute does nothing with an empty list
    };

    ClipPreviewBar(Variant variant, ClipSelection clips, FeatureWindowController& window, MOQImageView* playerView,
                   QWidget* barHost, LQCutProgressView* cutProgressView);
    ~ClipPreviewBar() override;

    // The selected clip's range after binding, in seconds, as stored before it was fitted to the player.
    std::function<void(const std::shared_ptr<SimpleData>& clip, float startSeconds, float stopSeconds)> clipBound;
    std::function<void()> startTrimPressed; // "[": the trim start from the playhead
    std::function<void()> stopTrimPressed;  // "]": the trim end from the playhead

    // Binds the selected clip to a new player (with an empty list only the old player goes).
    void initPlayer();
    // Stops and drops the player and its tick (the window closing).
    void takeDownPlayer();
    void play();
    void pause();
    void stop();
    void playPauseAction();
    void muteAction();
    void coverStyleButtonAction();
    void coverstyleAction(int index);
    // Saves the frame under the playhead into the output folder; the path written, or "".
    QString actionCarameraBtn();
    // One tick: the playhead and the labels follow the player.
    void changePlayerSlider();
    void addTimer();
    void removeTimer();

    // The player's view of time, 0 without a player.
    double duration() const;
    double currentTime() const;
    void seekTo(double seconds);
    // Sets the player's gain (when there is a player).
    void setPlayerVolume(double gain);

    // The window's edit lock and empty state reach these.
    void setControlsEnabled(bool enabled); // play, stop, still frame and its format, the trim buttons
    void setVolumeEnabled(bool enabled);   // the volume slider
    void resetLabels();

    LQMoviePlayer* player() const { return _lqPlayer.get(); }
    bool isPlaying() const { return _isPlaying; }
    bool muted() const;
    bool hasTimer() const { return _timer != nullptr; }
    MOQButton* playBtn() const { return _playBtn; }
    MOQButton* stopBtn() const { return _stopBtn; }
    MOQButton* cutCoverBtn() const { return _cutCoverBtn; }
    MOQButton* cutcoverStyleBtn() const { return _cutcoverStyleBtn; }
    MOQButton* volumeBtn() const { return _volumeBtn; }
    MOQButton* startCutTimeBtn() const { return _startCutTimeBtn; }
    MOQButton* stopCutTimeBtn() const { return _stopCutTimeBtn; }
    LQProgressSlider* volumeSlider() const { return _volumeSlider; }
    QComboBox* coverStylePopBtn() const { return _coverStylePopBtn; }
    QLabel* leftTimeLabel() const { return _leftTimeLabel; }
    QLabel* rightTimeLabel() const { return _rightTimeLabel; }

private:
    void playerDidEnd(const std::shared_ptr<SimpleData>& clip);
    void setMuteImages(bool muted);
    void setToolTips();
    void placeVolume(bool chooserShown);

    Variant _variant;
    ClipSelection _clips;
    FeatureWindowController& _window;
    QPointer<MOQImageView> _playerView;
    QPointer<LQCutProgressView> _cutProgressView;
    std::unique_ptr<LQMoviePlayer> _lqPlayer;
    std::unique_ptr<RepeatingTimer> _timer;
    bool _isPlaying = false;
    int _bindSerial = 0;

    MOQButton* _playBtn = nullptr;
    MOQButton* _stopBtn = nullptr;
    MOQButton* _cutCoverBtn = nullptr;
    MOQButton* _cutcoverStyleBtn = nullptr;
    MOQButton* _volumeBtn = nullptr;
    MOQButton* _startCutTimeBtn = nullptr;
    MOQButton* _stopCutTimeBtn = nullptr;
    LQProgressSlider* _volumeSlider = nullptr;
    QComboBox* _coverStylePopBtn = nullptr;
    QLabel* _leftTimeLabel = nullptr;
    QLabel* _rightTimeLabel = nullptr;
};
