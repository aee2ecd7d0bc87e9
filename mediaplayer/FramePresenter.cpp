#include "FramePresenter.h"

#include "PlaybackClock.h"
#include "VideoFrameQueue.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>

namespace {
// While the decoder is behind, the queue is looked at again after this long even without a wake-up.
constexpr int64_t kStarvedPollUs = 20000;
// The clock waits this long at most for the first picture, so a stream that gives none cannot stall playback.
constexpr int kMaxHoldMs = 1000;
} // namespace

FramePresenter::FramePresenter(VideoFrameQueue& queue, PlaybackClock& clock, bool hasPictures, QObject* parent)
    : QObject(parent), _queue(queue), _clock(clock), _hasPictures(hasPictures) {
    _timer.setSingleShot(true);
    _timer.setTimerType(Qt::PreciseTimer);
    connect(&_timer, &QTimer::timeout, this, [this] { tick(); });
}

void FramePresenter::reset(uint64_t serial, bool awaitResult) {
    _serial = serial;
    _awaitingResult = awaitResult;
    if (_playing) {
        // The clock stands still until the new position's first picture is there.
        _clock.pause();
        hold();
    }
    tick();
}

void FramePresenter::hold() {
    _holding = _hasPictures;
    _held.start();
}

void FramePresenter::play() {
    if (_playing)
        return;
    _playing = true;
    hold();
    tick();
}

void FramePresenter::pause() {
    _playing = false;
    _holding = false;
    _clock.pause();
    _timer.stop();
}

void FramePresenter::wakeUp() {
    QMetaObject::invokeMethod(
        this, [this] { tick(); }, Qt::QueuedConnection);
}

bool FramePresenter::settle(int timeoutMs) {
    if (_awaitingResult) {
        _queue.waitFor(
            _serial, [](const DecodedPicture& p) { return p.seekResult || p.isEnd(); },
            std::chrono::milliseconds(timeoutMs));
        tick();
    }
    return !_awaitingResult;
}

void FramePresenter::show(const DecodedPicture& picture) {
    if (onShow)
        onShow(picture);
}

void FramePresenter::schedule(int64_t delayUs) {
    const int ms = static_cast<int>(std::clamp<int64_t>((delayUs + 999) / 1000, 1, 100));
    _timer.start(ms);
}

void FramePresenter::tick() {
    if (_awaitingResult) {
        while (std::optional<DecodedPicture> front = _queue.front(_serial)) {
            if (front->isEnd()) {
                _awaitingResult = false; // nothing to show for this position
                break;
            }
            _queue.pop();
            if (front->seekResult) {
                _awaitingResult = false;
                ++_statistics.seekResults;
                show(*front);
                break;
            }
            if (front->preview) {
                // On the way to the exact picture, which is still awaited.
                ++_statistics.seekPreviews;
                show(*front);
            }
        }
        if (_awaitingResult)
            return; // the worker wakes us when the picture is there
    }
    if (!_playing)
        return;
    if (_holding && !_queue.front(_serial) && _held.elapsed() < kMaxHoldMs) {
        schedule(kStarvedPollUs);
        return;
    }
    _holding = false;
    _clock.start();
    const int64_t now = _clock.positionUs();
    while (std::optional<DecodedPicture> front = _queue.front(_serial)) {
        if (front->isEnd()) {
            if (now >= front->endUs) {
                // The end mark stays queued: playing again from here ends again at once.
                _playing = false;
                _holding = false;
                _clock.pause();
                _timer.stop();
                if (onEnd)
                    onEnd();
                return;
            }
            schedule(front->endUs - now);
            return;
        }
        if (front->ptsUs > now) {
            schedule(front->ptsUs - now);
            return;
        }
        _queue.pop();
        std::optional<DecodedPicture> next = _queue.front(_serial);
        if (next && !next->isEnd() && next->ptsUs <= now) {
            ++_statistics.dropped;
            continue;
        }
        ++_statistics.presented;
        show(*front);
    }
    schedule(kStarvedPollUs);
}
