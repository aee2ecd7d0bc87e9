#pragma once

#include "ViewRect.h"

#include <QObject>

#include <array>

class LQCutProgressView;
class LQProgressSlider;
class LQTextField;
class LabelField;
class MOQButton;
class MOQView;
class MusicRangeSlider;
class QComboBox;
class QScrollArea;
class QSpinBox;
class QWidget;

// The background-music mode's controls, built inside the views the window gives: the left content
// (`musicContentView`: the list, its buttons, the selected item's controls and times, the file's own sound), the
// bar under the player in the right column (`musicRightBottomView`: the preview's buttons, the still format, the
// main volume and the timeline bar) and the hint that replaces the player area without a source file
// (`toolMusicNofileView`). The player's host (`musicRightPlayerView`) stays the window's. It only builds and lays
// out the controls; MusicEditor drives them.
class MusicPanel : public QObject {
    Q_OBJECT
public:
    // The right column's three views, laid out by the window.
    struct RightColumn {
        QWidget* playerView = nullptr;
        QWidget* bottomView = nullptr;
        QWidget* noFileView = nullptr;
    };
    MusicPanel(QWidget* contentHost, const RightColumn& right);

    // One of the four times: hours, minutes, seconds, hundredths, and its stepper.
    struct TimeRow {
        std::array<LQTextField*, 4> fields{};
        QSpinBox* stepper = nullptr;
    };

    // Left content.
    QWidget* musicContentView;
    MOQButton* loadmusicBtn;
    MOQButton* deletedMusicBtn;
    MOQView* musicListBackView;
    QScrollArea* musicListScrollView;
    MOQButton* musicItemPlayPauseBtn;
    MOQButton* musicItemVolueBtn;
    LQProgressSlider* musicItemVolueSlider;
    LabelField* musicItemVoluelabel;
    MOQButton* repeatMusicBtn;
    MOQButton* pruneMusicBtn;
    QWidget* pruneContentView;
    LQCutProgressView* pruneRangSlider;
    LabelField* pruneRangeMusicLabel;
    MOQButton* playPruneMusicBtn;
    MOQButton* pruneMusicLeftBtn;
    MOQButton* pruneMusicRightBtn;
    QWidget* fadeContentView;
    MOQButton* fadeInBtn;
    MOQButton* fadeOutBtn;
    TimeRow post; // where the music starts on the video's timeline
    TimeRow poen; // where it ends
    TimeRow prst; // the start of the used part of the music
    TimeRow pren; // its end
    LabelField* videooriginalsoundLabel;
    MOQButton* originalVolumeBtn;
    LQProgressSlider* originalVolumeSlider;
    LabelField* originalMusicVolumeLabel;
    MOQButton* removeOriginalmusicBtn;

    // Right column.
    QWidget* musicRightPlayerView;
    QWidget* musicRightBottomView;
    LabelField* musicPositionLabel;
    MusicRangeSlider* musicRangSlider;
    MOQButton* mplayer_playOrPauseBtn;
    MOQButton* mplayer_stopBtn;
    MOQButton* mplayer_coverBtn;
    MOQButton* coverStyleBtn;
    QComboBox* coverStylePopBtn;
    MOQButton* music_voumeBtn;
    LQProgressSlider* music_volumeSlider;
    QWidget* toolMusicNofileView;
    MOQView* toolMusicNofileDescBack;
    std::array<LabelField*, 5> toolMusicNofileDescLabels{};

    std::array<TimeRow*, 4> timeRows() { return {&post, &poen, &prst, &pren}; }

    // The prune area's rule: shown with the prune check box, the fade box and the timeline bar move to make room.
    void layOutPruneArea(bool pruneShown);
    // The bar's and the hint's parts for their current sizes.
    void layOutRightView();
    // The volume button and slider follow the still-format button, or the pop-up while it shows.
    void layOutVolumeAfterCoverStyle();
};
