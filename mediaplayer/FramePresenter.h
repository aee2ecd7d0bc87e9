#pragma once

#include "DecodedPicture.h"
#include "PlaybackStatistics.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

class PlaybackClock;
class VideoFrameQueue;

// Shows the queued pictures on the main thread in step with the playhead's clock: each when its time comes, the
// picture a seek asked for as soon as it is there (playing or paused), previews on the way to it likewise, and
// skips pictures that are already late.
// When the playhead reaches the end mark it stops and reports the end once.
//
// While paused nothing runs: no timer, no polling.
class FramePresenter : public QObject {
    Q_OBJECT
public:
    // hasPictures: the media has a picture, so the clock waits for the first one when playback starts.
    FramePresenter(VideoFrameQueue& queue, PlaybackClock& clock, bool hasPictures, QObject* parent = nullptr);

    std::function<void(const DecodedPicture&)> onShow;
    std::function<void()> onEnd;

    // A new seek generation. awaitResult: a seek result is coming and is shown before anything else; the
    // clock waits for it.
    void reset(uint64_t serial, bool awaitResult);
    uint64_t serial() const { return _serial; }
    bool awaitingResult() const { return _awaitingResult; }

    void play();
    void pause();
    bool playing() const { return _playing; }

    // From any thread: pictures have arrived.
    void wakeUp();
    // Blocks up to timeoutMs for the picture a seek asked for and shows it; true when none is pending any more.
    bool settle(int timeoutMs);

    const PlaybackStatistics& statistics() const { return _statistics; }

private:
    void tick();
    void schedule(int64_t delayUs);
    void show(const DecodedPicture& picture);
    void hold();

    VideoFrameQueue& _queue;
    PlaybackClock& _clock;
    QTimer _timer;
    uint64_t _serial = 0;
    bool _awaitingResult = false;
    bool _playing = false;
    const bool _hasPictures;
    bool _holding = false; // playing, but the clock waits for the first picture
    QElapsedTimer _held;   // since when
    PlaybackStatistics _statistics;
};
