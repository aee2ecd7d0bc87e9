#pragma once

#include "EffectTableCellViewDelegate.h"
#include "LQCutProgressViewDelegate.h"
#include "LQProgressSliderDelegate.h"
#include "LQTextFieldDelegate.h"
#include "MusicDubbing.h"
#include "MusicRangeSliderDelegate.h"
#include "MusicTiming.h"
#include "NSTextFieldDelegate.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class EffectTableCellView;
class LQMoviePlayer;
class LQTextField;
class MusicHost;
class MusicInfo;
class MusicPanel;
class MOQButton;
class QComboBox;
class QWidget;
class RepeatingTimer;

// The editor's background music: the list (`musicList`, the ticked `musicSelecteds`, `selectedMusicIndex`), its
// panel and timeline bar, the music preview player `lqmusicPlayer` with its 0.1 s follow timer, and the tracks
// handed to the main preview and to an export. Main thread only.
//
// Music files are probed when loaded: one without sound that can be played is refused with a message, and an
// item keeps the music's own length. Muting an item, the file's own sound or the preview gives back the level it
// had; an export plays the file's own sound at the level the preview does (silent while muted). Deleting the item
// being previewed stops its preview.
class MusicEditor : public QObject,
                    public EffectTableCellViewDelegate,
                    public LQCutProgressViewDelegate,
                    public LQProgressSliderDelegate,
                    public LQTextFieldDelegate,
                    public NSTextFieldDelegate,
                    public MusicRangeSliderDelegate {
    Q_OBJECT
public:
    using MusicList = std::vector<std::shared_ptr<MusicInfo>>;

    explicit MusicEditor(MusicHost& host, QObject* parent = nullptr);
    ~MusicEditor() override;

    // Builds the controls inside the window's music views; ends with editing off. The window's audio-track pop-up
    // is switched off while the main preview plays from the music panel (none: nothing to switch).
    void initMusicView(QWidget* contentHost, QWidget* playerView, QWidget* bottomView, QWidget* noFileView,
                       QComboBox* audioTracks = nullptr);
    MusicPanel* panel() const { return _panel; }
    // The source's own sound is dropped (the preview's play and the export read it).
    bool removesOriginalSound() const;
    // The level of the source's own sound, 0..1: its slider's, 0 while muted. The export takes it through the
    // effect panel's part.
    double originalSoundLevel() const;

    const MusicList& musicList() const { return _musicList; }
    // The ticked items, in list order.
    MusicList musicSelecteds() const;
    int selectedMusicIndex() const { return _selectedMusicIndex; }
    LQMoviePlayer* lqmusicPlayer() const { return _lqmusicPlayer.get(); }
    bool isAudioPlaying() const { return _isaudioplaying; }
    // "png", "jpg", "bmp", or empty (png) until one is chosen.
    QString coverStyle() const { return _coverStyle; }

    // A new source file: the list emptied, the fields cleared, the player area shown.
    void sourceFileAdded();
    void hiddenMusicViewPlay(bool hidden);
    void enableMusicEdit(bool enabled);
    // The window's editing switch, for the controls that also need a player.
    void enableEdit(bool enabled);

    void loadMusicAction();
    // Adds music files as new items; a file without playable sound is refused with a message. The count added.
    int addMusicFiles(const QStringList& paths);
    void deleteAction();
    void refreshMusicListView();
    void refreshMusicTimeField(int index);
    void selectRow(int row);
    void checkRow(int row);

    // The selected item's buttons.
    void repeatAction();
    void pruneAction();
    void fadeInAction();
    void fadeOutAction();
    void itemMuteAction();
    void pruneStartAtMusicPosition();
    void pruneEndAtMusicPosition();
    enum class Stepper { Post, Poen, Prst, Pren };
    void stepperAction(Stepper which);
    // The file's own sound and the preview's volume.
    void originalMuteAction();
    void removeOriginalAction();
    void mainVolumeMuteAction();
    // The still format by its row in the pop-up (png, jpg, bmp).
    void coverstyleAction(int row);
    void coverStyleToggle();

    // The music preview.
    void initmusicPlayer(const QString& path);
    void playOrPauseAudio();
    void addAudioTimer();
    void removeAudioTimer();
    void changeMusicPlayerSlider();

    // The main preview: its play calls these; its follow timer gives the position; its end of media.
    void addDubbingWithPlayer();
    void stopMusicPreviewForPlay();
    void mainPreviewProgress(float progress);
    // The right column's play button follows the main preview.
    void mainPreviewPlaying(bool playing);
    void mainPreviewEnded();
    // Closing the window: the music preview and its timer stop.
    void stopPlayers();

    // The tracks and the file's own sound as they stand: the preview's, and the copy an export takes at Start.
    MusicDubbing dubbing() const;
    // The export's part, with a copy of the settings taken now.
    std::function<int(MediaJob&)> exportContribution() const { return dubbing().contribution(); }

    // The music's length in seconds, or nothing when the file holds no sound that can be played.
    static std::optional<float> probeMusicLength(const QString& path);

    // Delegates.
    void actionMouseDownForEffectTableCellViewBlock(EffectTableCellView* row, long long index) override;
    void actionSelectedForEffectTableCellViewBlock(EffectTableCellView* row, long long index) override;
    void actionSelectedBlock(EffectTableCellView* row, bool selected, long long index) override;
    void actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    void actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    void actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float lower, float upper,
                                                 long long handle) override;
    void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float progress) override;
    void actionProgressForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionMouseDownForTextFieldBlock(LQTextField* field) override;
    bool controlTextShouldEndEditing(LQTextField* field) override;
    void changeProgress(MusicRangeSlider* slider) override;
    void changeRangeValue(MusicRangeSlider* slider) override;

private:
    MusicInfo* selectedItem() const;
    float videoLength() const;
    float musicLength() const;
    void seekMusicPreview(float progress);
    void applySliders(const MusicItemTimes& m, bool placeToo);
    void showTimes(const MusicItemTimes& m);
    void showTime(int group, float seconds);
    float timeFromFields(int group) const;
    int timeGroup(LQTextField* field) const;
    void wireButtons();
    void toggle(MOQButton* button, const std::function<void(MusicItemTimes&, bool)>& store);

    MusicHost& _host;
    MusicPanel* _panel = nullptr;
    QComboBox* _audiochanelPopBtn = nullptr;
    MusicList _musicList;
    int _selectedMusicIndex = 0;
    QList<EffectTableCellView*> _musicTableCells;
    QWidget* _musicScrollDocumentView = nullptr;
    std::unique_ptr<LQMoviePlayer> _lqmusicPlayer;
    QString _musicPlayerPath;
    std::unique_ptr<RepeatingTimer> _audioTimer;
    bool _isaudioplaying = false;
    QString _coverStyle;
    LQTextField* _edittingPositionField = nullptr;
    LQTextField* _edittingPruneField = nullptr;
    QHash<const MusicInfo*, float> _levelsBeforeMute; // an item's volume while it is muted
};
