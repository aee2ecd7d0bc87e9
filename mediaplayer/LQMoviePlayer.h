#pragma once

#include "AudioSampleBuffer.h"
#include "DecodedPicture.h"
#include "FilterGraphBuilder.h"
#include "MediaTime.h"
#include "PlaybackClock.h"
#include "PlaybackStatistics.h"
#include "PlayerEdits.h"
#include "ViewRect.h"
#include "VideoFrameQueue.h"
#include "libMediaCore.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace mediacore {
class Demuxer;
}
class AudioOutput;
class FramePresenter;
class MoviePlayerView;
class PlaybackWorker;
class QWidget;

// The preview player: shows one media file in a view, plays it with its sound and shows the same picture and
// sound edits an export would write (they go through the engine's filter-graph builder).
//
// Every call comes from the main thread and returns at once; decoding runs on a thread of the player's own. The
// picture is upright (the stream's rotation applied) and then turned by SetRotateAngle. A file that cannot be
// opened gives a player without media (playerStatus 0, duration 0) that ignores its calls.
class LQMoviePlayer : public QObject {
    Q_OBJECT
public:
    // playerStatus values.
    enum Status { NoMedia = 0, Playing = 1, Paused = 2 };

    LQMoviePlayer();
    // The same as LQMoviePlayer() followed by initWithString(path, frame).
    LQMoviePlayer(const QString& path, const ViewRect& frame);
    ~LQMoviePlayer() override;

    // Opens `path` paused at its start, with `duration` known on return; `frame` is the view's frame in its host.
    LQMoviePlayer* initWithString(const QString& path, const ViewRect& frame);

    // The view to add to the host; the player deletes it unless the host deleted it first.
    QWidget* view() const;
    void setFrame(const ViewRect& frame);

    void play();
    void pause();
    // Pauses and lets go of the decoding thread, its decoders and the sound device; a later seek or play opens
    // them again. Returns at once: the thread is told to end and is joined on a thread of its own.
    void stop();
    // Shows the exact frame on screen at `time`, playing or paused; past the end the last frame.
    void seekTime(MediaTime time);
    MediaTime currentTime() const; // µs timescale; clamped to 0..duration
    MediaTime duration() const;
    int playerStatus() const;
    // Runs on the main thread, once each time playback reaches the end of the media.
    void setPlayerDidEndBlock(std::function<void()> block);
    // Ends the player for good (stop, and the player has no media from then on).
    void closePlayer();

    // The shown picture scaled to *width x *height as B,G,R,A bytes, premultiplied, top row first. When the
    // asked shape does not match the picture's, it is fitted inside and *width, *height are lowered to the size
    // written; they are never raised. 1 when written, 0 when there is nothing to write.
    int Snapshot(int* width, int* height, unsigned char* buffer);

    // A gain on the file's own sound (1 = its level, 0 = silent, up to 2) on top of SetMainAudioVolume; the
    // dubbing music keeps its level.
    void SetVolume(double gain);

    void SetRotateAngle(int degrees);
    void SetHFlip(int on);
    void SetVFlip(int on);
    void SetBCS(int brightness, int contrast, int saturation);
    void ClearImageEffect();
    void AddImageEffect(int effectId);
    void SetSubtitle(SUBTITLE_PARAM subtitle);
    void UpdateSubtitleFontFile(const char* path);
    void UpdateSubtitlePos(int position);
    void UpdateSubtitleFontClr(uint32_t colour, int shadow, uint32_t shadowColour);
    void ClearWatermask();
    int AddImageWatermask(IMAGE_WATERMARK_PARAM watermark);
    int AddVideoWatermask(VIDEO_WATERMARK_PARAM watermark);
    int AddTextWatermask(TEXT_WATERMARK_PARAM watermark);
    void SetDrawTextCallback(DRAW_TEXT_CALLBACK callback);
    void SetLoadImageCallback(LOAD_IMAGE_CALLBACK callback);
    void ClearDubbingMusic();
    // Music part [start, end) of `path`, placed at [timelineStart, timelineEnd) with fades and a volume factor.
    int AddDubbingMusic(const char* path, MediaTime start, MediaTime end, MediaTime timelineStart,
                        MediaTime timelineEnd, MediaTime fadeIn, MediaTime fadeOut, double factor);
    void SetMainAudioVolume(double volume);
    void DisableMainAudio(bool disabled);
    void SetAudioIndex(int streamIndex);
    // Shows the paused picture again with the current edits.
    void Refresh();

    // Our additions, for tests and the benchmark.
    const PlaybackStatistics& statistics() const;
    bool hasMedia() const { return _hasMedia && !_closed; }
    double volume() const { return _volume; } // as SetVolume last gave it
    bool hasDecodingThread() const { return _worker != nullptr; }
    bool hasSoundOutput() const { return _audio != nullptr; }
    // The time of the picture on screen; -1 when none is shown.
    int64_t shownPictureUs() const { return _shown ? _shown->ptsUs : -1; }
    // A seek's or a refresh's picture is still on its way.
    bool isSeeking() const;
    const PlayerEdits& edits() const { return _edits; }

private:
    bool usable() const { return _hasMedia && !_closed; }
    void ensureWorker();
    uint64_t newGeneration(bool awaitResult);
    void editsChanged();
    void soundChanged();
    // Runs `change` on the edits when there is media; when it took, hands the edits on. True when it took.
    bool pictureEdit(const std::function<bool()>& change);
    bool soundEdit(const std::function<bool()>& change);
    void show(const DecodedPicture& picture);
    void reachedEnd();
    void dropAudio();
    void releaseDecoding();
    void retireWorker();
    int chosenAudioStream(int streamIndex) const;

    QPointer<MoviePlayerView> _view;
    QString _path;
    bool _hasMedia = false;
    bool _closed = false;
    bool _hasVideo = false;
    int64_t _durationUs = 0;
    QSize _displayBox;
    std::unique_ptr<mediacore::Demuxer> _probe; // handed to the first decoding thread

    PlayerEdits _edits;
    uint64_t _queuedPictureVersion = 0; // the edits the queued pictures were made with
    std::vector<int> _audioStreams;     // container indices of the file's audio streams
    double _volume = 1.0;

    // Shared with a decoding thread that is being ended off the main thread: it may still write into them.
    std::shared_ptr<VideoFrameQueue> _pictures = std::make_shared<VideoFrameQueue>(6);
    std::shared_ptr<AudioSampleBuffer> _sound = std::make_shared<AudioSampleBuffer>();
    PlaybackClock _clock;
    std::optional<mediacore::AudioTarget> _audioFormat;
    std::unique_ptr<FramePresenter> _presenter;
    std::unique_ptr<AudioOutput> _audio;
    std::unique_ptr<PlaybackWorker> _worker;
    uint64_t _serial = 0;
    std::optional<DecodedPicture> _shown;
    std::function<void()> _didEnd;
};
