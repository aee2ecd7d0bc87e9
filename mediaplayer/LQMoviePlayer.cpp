#include "LQMoviePlayer.h"

#include "AudioOutput.h"
#include "Demuxer.h"
#include "Dispatch.h"
#include "FramePresenter.h"
#include "MoviePlayerView.h"
#include "PictureConverter.h"
#include "PlaybackWorker.h"
#include "WorkerRetirement.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <cmath>

namespace {
// How long Snapshot waits for the picture of a seek still being decoded.
constexpr int kSnapshotWaitMs = 2000;
} // namespace

LQMoviePlayer::LQMoviePlayer() {
    _view = new MoviePlayerView;
    _view->onResize = [this](QSize box) {
        _displayBox = box;
        if (_worker)
            _worker->setDisplayBox(box);
    };
}

LQMoviePlayer::LQMoviePlayer(const QString& path, const ViewRect& frame) : LQMoviePlayer() {
    initWithString(path, frame);
}

LQMoviePlayer::~LQMoviePlayer() {
    // The thread first. It may push into the queue until it is gone; the queue's wake-up reaches the presenter
    // only through a guard, checked on the main thread.
    retireWorker();
    _audio.reset();
    _presenter.reset();
    if (_view)
        delete _view.data();
}

LQMoviePlayer* LQMoviePlayer::initWithString(const QString& path, const ViewRect& frame) {
    _view->setFrameRect(frame);
    if (_hasMedia || _closed)
        return this;
    // The header alone where it tells the length and the streams: the decoding thread opens the file in full.
    auto probe = std::make_unique<mediacore::Demuxer>();
    if (probe->openHeader(path.toStdString()) < 0)
        return this; // no media: every call is ignored
    _path = path;
    _hasMedia = true;
    _durationUs = std::max<int64_t>(0, probe->durationUs());
    _hasVideo = probe->firstVideoStream() >= 0;
    _audioStreams = probe->audioStreams();
    if (!probe->headerOnly())
        _probe = std::move(probe);

    _presenter = std::make_unique<FramePresenter>(*_pictures, _clock, _hasVideo);
    _presenter->onShow = [this](const DecodedPicture& picture) { show(picture); };
    _presenter->onEnd = [this] { reachedEnd(); };
    // From the decoding thread, also one still ending after the player is gone.
    _pictures->setOnPushed([presenter = QPointer<FramePresenter>(_presenter.get())] {
        Dispatch::main([presenter] {
            if (presenter)
                presenter->wakeUp();
        });
    });
    _pictures->setOnPopped([this] {
        if (_worker)
            _worker->wake();
    });
    // Also for a file without sound: its background music plays through the output.
    _audio = AudioOutput::open(*_sound);
    if (_audio) {
        _audioFormat = _audio->format();
        _audio->onFailure = [guard = QPointer<LQMoviePlayer>(this)] {
            // Not from inside the output's own call: dropping the output deletes it.
            Dispatch::main([guard] {
                if (guard)
                    guard->dropAudio();
            });
        };
        _sound->setOnConsumed([guard = QPointer<LQMoviePlayer>(this)] {
            if (!guard)
                return;
            QMetaObject::invokeMethod(
                guard.data(),
                [guard] {
                    if (guard && guard->_worker)
                        guard->_worker->wake();
                },
                Qt::QueuedConnection);
        });
        _clock.setMaster([this]() -> std::optional<int64_t> { return _audio ? _audio->positionUs() : std::nullopt; });
    }
    newGeneration(_hasVideo);
    ensureWorker();
    return this;
}

QWidget* LQMoviePlayer::view() const {
    return _view.data();
}

void LQMoviePlayer::setFrame(const ViewRect& frame) {
    if (_view)
        _view->setFrameRect(frame);
}

uint64_t LQMoviePlayer::newGeneration(bool awaitResult) {
    ++_serial;
    _pictures->clear();
    _sound->clear();
    if (_audio)
        _audio->flush(_serial);
    _queuedPictureVersion = _edits.pictureVersion();
    if (_presenter)
        _presenter->reset(_serial, awaitResult);
    return _serial;
}

void LQMoviePlayer::ensureWorker() {
    if (_worker || !usable())
        return;
    _worker = std::make_unique<PlaybackWorker>(_path.toStdString(), std::move(_probe), *_pictures, *_sound,
                                               _audio ? _audioFormat : std::nullopt);
    _worker->setDisplayBox(_displayBox);
    _worker->setEdits(_edits.settings(), _edits.pictureVersion(), _edits.soundVersion());
    _worker->setPlaying(_presenter && _presenter->playing());
    _worker->start(_clock.positionUs(), _serial);
}

void LQMoviePlayer::retireWorker() {
    if (!_worker)
        return;
    WorkerRetirement::retire(
        std::move(_worker),
        std::make_shared<std::pair<std::shared_ptr<VideoFrameQueue>, std::shared_ptr<AudioSampleBuffer>>>(_pictures,
                                                                                                          _sound));
}

void LQMoviePlayer::releaseDecoding() {
    retireWorker();
    if (_audio)
        _audio->pause();
    // Pictures and sound still queued belong to the thread just ended; the shown picture stays.
    newGeneration(false);
}

void LQMoviePlayer::play() {
    if (!usable() || _presenter->playing())
        return;
    if (!_worker) {
        newGeneration(_hasVideo);
        ensureWorker();
    } else if (_queuedPictureVersion != _edits.pictureVersion() && _shown && _shown->decoded) {
        // Edits changed while paused without a Refresh: the pictures decoded ahead show the old ones.
        Refresh();
    }
    if (_worker)
        _worker->setPlaying(true);
    _presenter->play();
    if (_audio)
        _audio->play();
}

void LQMoviePlayer::pause() {
    if (!usable())
        return;
    _presenter->pause();
    if (_worker)
        _worker->setPlaying(false);
    if (_audio)
        _audio->pause();
}

void LQMoviePlayer::stop() {
    if (!usable())
        return;
    pause();
    releaseDecoding();
}

void LQMoviePlayer::closePlayer() {
    if (!usable())
        return;
    stop();
    _audio.reset();
    _closed = true;
}

void LQMoviePlayer::seekTime(MediaTime time) {
    if (!usable() || !time.isValid())
        return;
    const int64_t target = std::clamp<int64_t>(time.microseconds(), 0, _durationUs);
    _clock.pause();
    _clock.setPosition(target);
    const uint64_t serial = newGeneration(_hasVideo);
    if (_worker)
        _worker->seek(target, serial);
    else
        ensureWorker();
}

MediaTime LQMoviePlayer::currentTime() const {
    if (!usable())
        return MediaTime::withMicroseconds(0);
    return MediaTime::withMicroseconds(std::clamp<int64_t>(_clock.positionUs(), 0, _durationUs));
}

MediaTime LQMoviePlayer::duration() const {
    return MediaTime::withMicroseconds(_hasMedia ? _durationUs : 0);
}

int LQMoviePlayer::playerStatus() const {
    if (!usable())
        return NoMedia;
    return _presenter->playing() ? Playing : Paused;
}

void LQMoviePlayer::setPlayerDidEndBlock(std::function<void()> block) {
    _didEnd = std::move(block);
}

const PlaybackStatistics& LQMoviePlayer::statistics() const {
    static const PlaybackStatistics none;
    return _presenter ? _presenter->statistics() : none;
}

bool LQMoviePlayer::isSeeking() const {
    return usable() && _presenter->awaitingResult();
}

void LQMoviePlayer::show(const DecodedPicture& picture) {
    _shown = picture;
    if (_view && !picture.image.isNull())
        _view->setPicture(picture.image);
}

void LQMoviePlayer::reachedEnd() {
    if (_audio)
        _audio->pause();
    _clock.setPosition(_durationUs);
    // Posted, so the block may stop, seek or even drop this player.
    Dispatch::main([guard = QPointer<LQMoviePlayer>(this)] {
        if (!guard || !guard->_didEnd)
            return;
        std::function<void()> block = guard->_didEnd;
        block();
    });
}

void LQMoviePlayer::dropAudio() {
    if (!_audio)
        return;
    _clock.setMaster(nullptr);
    _audio.reset();
    if (_worker)
        _worker->dropAudio();
}

int LQMoviePlayer::Snapshot(int* width, int* height, unsigned char* buffer) {
    if (!width || !height || !buffer || *width <= 0 || *height <= 0 || !usable())
        return 0;
    _presenter->settle(kSnapshotWaitMs);
    if (!_shown || !_shown->edited)
        return 0;
    const AVFrame* frame = _shown->edited.get();
    const QSize natural = PictureConverter::fittedSize(frame, QSize());
    int w = *width, h = *height;
    // A buffer of another shape gets the picture fitted inside it rather than stretched.
    const QSize fitted = PictureConverter::fittedSize(frame, QSize(w, h));
    const double askedAspect = double(w) / h;
    const double aspect = double(natural.width()) / natural.height();
    if (std::abs(askedAspect - aspect) * std::min(w, h) > 1.0) {
        w = std::min(w, fitted.width());
        h = std::min(h, fitted.height());
    }
    PictureConverter converter(PictureConverter::Quality::Still);
    if (converter.toBgra(frame, w, h, buffer, w * 4) < 0)
        return 0;
    *width = w;
    *height = h;
    return 1;
}

void LQMoviePlayer::SetVolume(double gain) {
    if (!usable())
        return;
    _volume = std::isfinite(gain) ? std::clamp(gain, 0.0, 2.0) : 1.0;
    // The file's own sound only: the music under it keeps its level, as the export writes it.
    _edits.setMainGain(_volume);
    soundChanged();
}

void LQMoviePlayer::editsChanged() {
    if (_worker)
        _worker->setEdits(_edits.settings(), _edits.pictureVersion(), _edits.soundVersion());
}

void LQMoviePlayer::soundChanged() {
    editsChanged();
    // The volume is in the sound edits; the output only mutes at once what has nothing to play.
    if (_audio)
        _audio->setGain(_edits.silent() ? 0.0 : 1.0);
}

bool LQMoviePlayer::pictureEdit(const std::function<bool()>& change) {
    if (!usable() || !change())
        return false;
    editsChanged();
    return true;
}

bool LQMoviePlayer::soundEdit(const std::function<bool()>& change) {
    if (!usable() || !change())
        return false;
    soundChanged();
    return true;
}

void LQMoviePlayer::SetRotateAngle(int degrees) {
    pictureEdit([&] { return _edits.setRotateAngle(degrees); });
}

void LQMoviePlayer::SetHFlip(int on) {
    pictureEdit([&] {
        _edits.setHFlip(on);
        return true;
    });
}

void LQMoviePlayer::SetVFlip(int on) {
    pictureEdit([&] {
        _edits.setVFlip(on);
        return true;
    });
}

void LQMoviePlayer::SetBCS(int brightness, int contrast, int saturation) {
    pictureEdit([&] {
        _edits.setBCS(brightness, contrast, saturation);
        return true;
    });
}

void LQMoviePlayer::ClearImageEffect() {
    pictureEdit([&] {
        _edits.clearImageEffect();
        return true;
    });
}

void LQMoviePlayer::AddImageEffect(int effectId) {
    pictureEdit([&] { return _edits.addImageEffect(effectId); });
}

void LQMoviePlayer::SetSubtitle(SUBTITLE_PARAM subtitle) {
    pictureEdit([&] { return _edits.setSubtitle(subtitle); });
}

void LQMoviePlayer::UpdateSubtitleFontFile(const char* path) {
    pictureEdit([&] { return _edits.updateSubtitleFontFile(path); });
}

void LQMoviePlayer::UpdateSubtitlePos(int position) {
    pictureEdit([&] {
        _edits.updateSubtitlePos(position);
        return true;
    });
}

void LQMoviePlayer::UpdateSubtitleFontClr(uint32_t colour, int shadow, uint32_t shadowColour) {
    pictureEdit([&] {
        _edits.updateSubtitleFontClr(colour, shadow, shadowColour);
        return true;
    });
}

void LQMoviePlayer::ClearWatermask() {
    pictureEdit([&] {
        _edits.clearWatermask();
        return true;
    });
}

int LQMoviePlayer::AddImageWatermask(IMAGE_WATERMARK_PARAM watermark) {
    return pictureEdit([&] { return _edits.addImageWatermask(watermark) == 1; }) ? 1 : 0;
}

int LQMoviePlayer::AddVideoWatermask(VIDEO_WATERMARK_PARAM watermark) {
    return pictureEdit([&] { return _edits.addVideoWatermask(watermark) == 1; }) ? 1 : 0;
}

int LQMoviePlayer::AddTextWatermask(TEXT_WATERMARK_PARAM watermark) {
    return pictureEdit([&] { return _edits.addTextWatermask(watermark) == 1; }) ? 1 : 0;
}

void LQMoviePlayer::SetDrawTextCallback(DRAW_TEXT_CALLBACK callback) {
    pictureEdit([&] {
        _edits.setDrawTextCallback(callback);
        return true;
    });
}

void LQMoviePlayer::SetLoadImageCallback(LOAD_IMAGE_CALLBACK callback) {
    if (usable())
        _edits.setLoadImageCallback(callback);
}

void LQMoviePlayer::ClearDubbingMusic() {
    soundEdit([&] {
        _edits.clearDubbingMusic();
        return true;
    });
}

int LQMoviePlayer::AddDubbingMusic(const char* path, MediaTime start, MediaTime end, MediaTime timelineStart,
                                   MediaTime timelineEnd, MediaTime fadeIn, MediaTime fadeOut, double factor) {
    return soundEdit([&] {
        return _edits.addDubbingMusic(path, start.microseconds(), end.microseconds(), timelineStart.microseconds(),
                                      timelineEnd.microseconds(), fadeIn.microseconds(), fadeOut.microseconds(),
                                      factor) == 1;
    })
               ? 1
               : 0;
}

void LQMoviePlayer::SetMainAudioVolume(double volume) {
    soundEdit([&] {
        _edits.setMainAudioVolume(volume);
        return true;
    });
}

void LQMoviePlayer::DisableMainAudio(bool disabled) {
    soundEdit([&] {
        _edits.disableMainAudio(disabled);
        return true;
    });
}

int LQMoviePlayer::chosenAudioStream(int streamIndex) const {
    if (std::find(_audioStreams.begin(), _audioStreams.end(), streamIndex) != _audioStreams.end())
        return streamIndex;
    return _audioStreams.empty() ? -1 : _audioStreams.front();
}

void LQMoviePlayer::SetAudioIndex(int streamIndex) {
    if (!usable())
        return;
    const bool otherTrack = chosenAudioStream(streamIndex) != chosenAudioStream(_edits.settings().audioStreamIndex);
    _edits.setAudioIndex(streamIndex);
    soundChanged();
    // Another track starts with a new decoder: bring it in step at the playhead.
    if (otherTrack && _worker && _audio)
        seekTime(currentTime());
}

void LQMoviePlayer::Refresh() {
    if (!usable() || _presenter->playing())
        return;
    // A seek on its way: its picture is the one to show with the new edits, not the one shown before it.
    if (!_worker || !_shown || !_shown->decoded || _presenter->awaitingResult()) {
        seekTime(currentTime());
        return;
    }
    const uint64_t serial = newGeneration(true);
    _worker->refresh(_shown->decoded, _shown->ptsUs, serial);
}
