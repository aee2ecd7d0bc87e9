#include "PlaybackWorker.h"

#include "AudioSampleBuffer.h"
#include "AudioStage.h"
#include "Demuxer.h"
#include "EngineLog.h"
#include "MusicOnlyStage.h"
#include "VideoFrameQueue.h"
#include "VideoStage.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <chrono>

namespace {

// Sound decoded ahead of the playhead. Short, so a change of the sound edits is heard soon.
constexpr int64_t kSoundAheadUs = 300000;
// Compressed packets held for one stream while the other is being read for; beyond this the first stream is
// decoded ahead anyway, so a badly interleaved file cannot stall playback.
constexpr size_t kMaxBacklogBytes = 64u << 20;
// Packets read at most to find a seek's target frame (a key-frame interval of minutes at 60 fps).
constexpr int kMaxLookAheadPackets = 20000;
// A seek of a quick run shows the best frame decoded so far as soon as there is one not yet on screen, and
// decodes on to the exact frame at once when that lies this close ahead (dragging forward, the next move
// is likely to carry on from there), or else once no newer seek has come for a short rest.
constexpr int64_t kFollowUs = 500000;
constexpr auto kRestAfterPreview = std::chrono::milliseconds(80);
// A run of seeks closer together than this comes from a slider being dragged. While one runs, and for this long
// after its last seek, no picture is decoded ahead of the one asked for: the next move most likely asks for a
// picture a little further on, which decoding then carries on to instead of jumping back to a key frame.
constexpr auto kDragPace = std::chrono::milliseconds(120);
// A single seek whose exact frame is not there this soon shows the best frame decoded so far, when the picture on
// screen lies farther than kFollowUs from the target and that frame nearer (a click far along a slider); a step
// to a neighbour shows nothing before its own frame.
constexpr auto kSlowSeekPreviewAfter = std::chrono::milliseconds(20);
// Packets decoded past the first picture, beyond one for each of the decoder's threads, to have its first slow
// frames behind it before the first seek.
constexpr int kWarmUpExtraPackets = 4;

} // namespace

PlaybackWorker::PlaybackWorker(std::string path, std::unique_ptr<mediacore::Demuxer> opened, VideoFrameQueue& pictures,
                               AudioSampleBuffer& sound, std::optional<mediacore::AudioTarget> audioOutput)
    : _path(std::move(path)), _pictures(pictures), _sound(sound), _demuxer(std::move(opened)),
      _audioOutput(std::move(audioOutput)) {}

PlaybackWorker::~PlaybackWorker() {
    requestStop();
    if (_thread.joinable())
        _thread.join();
}

void PlaybackWorker::start(int64_t targetUs, uint64_t serial) {
    seek(targetUs, serial);
    _thread = std::thread([this] { run(); });
}

void PlaybackWorker::seek(int64_t targetUs, uint64_t serial) {
    {
        std::lock_guard lock(_mutex);
        _pendingSeek = Request{targetUs, serial, nullptr};
        _seekPending = true;
    }
    _wake.notify_all();
}

void PlaybackWorker::refresh(std::shared_ptr<AVFrame> decoded, int64_t ptsUs, uint64_t serial) {
    {
        std::lock_guard lock(_mutex);
        _pendingSeek = Request{ptsUs, serial, std::move(decoded)};
        _seekPending = true;
    }
    _wake.notify_all();
}

void PlaybackWorker::setEdits(const mediacore::ConvertSettings& edits, uint64_t pictureVersion, uint64_t soundVersion) {
    {
        std::lock_guard lock(_mutex);
        _pendingEdits = Edits{std::make_shared<const mediacore::ConvertSettings>(edits), pictureVersion, soundVersion};
    }
    _wake.notify_all();
}

void PlaybackWorker::dropAudio() {
    {
        std::lock_guard lock(_mutex);
        _pendingDropAudio = true;
    }
    _wake.notify_all();
}

void PlaybackWorker::setDisplayBox(QSize box) {
    const uint64_t packed =
        (static_cast<uint64_t>(std::max(0, box.width())) << 32) | static_cast<uint32_t>(std::max(0, box.height()));
    _displayBox = packed;
}

QSize PlaybackWorker::displayBox() const {
    const uint64_t packed = _displayBox.load();
    return QSize(static_cast<int>(packed >> 32), static_cast<int>(packed & 0xffffffffu));
}

void PlaybackWorker::requestStop() {
    {
        std::lock_guard lock(_mutex);
        _quit = true;
    }
    _stop = true;
    _wake.notify_all();
}

void PlaybackWorker::setPlaying(bool playing) {
    {
        std::lock_guard lock(_mutex);
        _playing = playing;
        _kick = true;
    }
    _wake.notify_all();
}

void PlaybackWorker::wake() {
    {
        std::lock_guard lock(_mutex);
        _kick = true;
    }
    _wake.notify_all();
}

int PlaybackWorker::chosenAudioStream(const mediacore::ConvertSettings* edits) const {
    const std::vector<int> streams = _demuxer->audioStreams();
    if (edits && std::find(streams.begin(), streams.end(), edits->audioStreamIndex) != streams.end())
        return edits->audioStreamIndex;
    return streams.empty() ? -1 : streams.front();
}

bool PlaybackWorker::openStages() {
    if (_demuxer) {
        _demuxer->setStop(&_stop); // opened by the player: its reads end when this thread is told to
    } else {
        auto demuxer = std::make_unique<mediacore::Demuxer>();
        if (demuxer->open(_path, &_stop) < 0)
            return false;
        _demuxer = std::move(demuxer);
    }
    if (int index = _demuxer->firstVideoStream(); index >= 0) {
        _video = std::make_unique<VideoStage>(*_demuxer, index, _pictures);
        _video->setDisplayBox([this] { return displayBox(); });
        if (_video->open() < 0)
            _video.reset();
    }
    _soundStream = chosenAudioStream(_edits.settings.get());
    if (_audioOutput) {
        if (int index = _soundStream; index >= 0) {
            _audio = std::make_unique<AudioStage>(*_demuxer, index, _sound);
            if (_audio->open(*_audioOutput) < 0)
                _audio.reset();
        } else {
            _musicOnly = std::make_unique<MusicOnlyStage>(_sound, *_audioOutput, _demuxer->durationUs());
        }
    }
    return true;
}

void PlaybackWorker::applyEdits(const Edits& edits) {
    _edits = edits;
    if (_video)
        _video->setEdits(edits.settings, edits.pictureVersion);
    if (_demuxer)
        _soundStream = chosenAudioStream(edits.settings.get());
    if (_audioOutput && _demuxer) {
        // Another sound track: a new decoder, brought in step by the seek the player sends with the change.
        const int index = _soundStream;
        if (index >= 0 && (!_audio || _audio->streamIndex() != index)) {
            _audio = std::make_unique<AudioStage>(*_demuxer, index, _sound);
            if (_audio->open(*_audioOutput) < 0)
                _audio.reset();
            _audioPackets.clear();
            _audioBytes = 0;
        }
    }
    if (_audio)
        _audio->setEdits(edits.settings, edits.soundVersion);
    if (_musicOnly)
        _musicOnly->setEdits(edits.settings, edits.soundVersion);
}

void PlaybackWorker::run() {
    {
        std::lock_guard lock(_mutex);
        if (_pendingSeek)
            _serial = _pendingSeek->serial;
        if (_pendingEdits)
            _edits = *_pendingEdits;
        _pendingEdits.reset();
    }
    if (!openStages()) {
        // The file went away since it was probed: nothing more to show.
        pushEnd();
        return;
    }
    applyEdits(_edits);
    bool idle = false;
    while (true) {
        std::optional<Request> seekRequest;
        std::optional<Edits> edits;
        bool dropAudioNow = false;
        {
            std::unique_lock lock(_mutex);
            auto asked = [this] { return _quit || _kick || _pendingSeek || _pendingEdits || _pendingDropAudio; };
            if (_resting)
                _wake.wait_until(lock, _restUntil, asked);
            else if (idle && std::chrono::steady_clock::now() < _holdAheadUntil)
                _wake.wait_until(lock, _holdAheadUntil, asked);
            else if (idle)
                _wake.wait(lock, asked);
            _kick = false;
            if (_quit)
                break;
            seekRequest.swap(_pendingSeek);
            edits.swap(_pendingEdits);
            std::swap(dropAudioNow, _pendingDropAudio);
            _seekPending = false;
        }
        if (edits)
            applyEdits(*edits);
        if (dropAudioNow) {
            _audioOutput.reset();
            _audio.reset();
            _musicOnly.reset();
            _audioPackets.clear();
            _audioBytes = 0;
        }
        if (seekRequest) {
            handleSeek(*seekRequest);
            previewIfDue();
        } else if (_resting && std::chrono::steady_clock::now() >= _restUntil)
            _resting = false; // no newer seek came: on to the exact frame
        if (_resting)
            continue;
        if (!_quick)
            findTarget();
        idle = !step();
        previewIfDue();
    }
}

void PlaybackWorker::handleSeek(const Request& request) {
    // A run of seeks close together (a slider being dragged): each may be superseded before its exact frame is
    // there, so a picture is shown at once and the exact one may wait for the seeks to rest.
    const auto now = std::chrono::steady_clock::now();
    _closeSeeks = now - _lastSeekAt < kDragPace ? _closeSeeks + 1 : 0;
    _lastSeekAt = now;
    // Two seeks are a run already when the first is still being decoded as the second comes.
    const bool overtaking = _closeSeeks >= 1 && _video && _video->seeking();
    _quick = !request.still && _video && (_resting || _closeSeeks >= 2 || overtaking);
    _resting = false;
    _holdAheadUntil = _closeSeeks >= 1 ? now + kDragPace : std::chrono::steady_clock::time_point();
    _slowPreview = !_quick && !request.still && _video;
    _slowPreviewAt = now + kSlowSeekPreviewAfter;

    // Only from the file's start: a step forward then jumps back no farther than its first frame.
    _warmUpPackets =
        _firstRequest && _video && request.targetUs <= 0 ? _video->decoderThreads() + kWarmUpExtraPackets : 0;
    _firstRequest = false;
    _serial = request.serial;
    _endPushed = false;
    if (_video)
        _video->setSerial(_serial);
    if (_audio)
        _audio->setSerial(_serial);
    if (request.still && _video)
        _video->renderStill(request.still);

    const int64_t target = request.targetUs;
    bool carryOn = !_demuxDone;
    if (_video)
        carryOn = carryOn && _video->canContinueTo(target);
    if (_audio) {
        // Sound packets ending before the last target were not kept: carrying on from behind it would lose them.
        const int64_t decoded = _audio->decodedEndUs();
        const bool inStep = decoded == INT64_MIN ? _audioFromJump && _video
                                                 : decoded <= target && (_video || target - decoded < 1000000);
        carryOn = carryOn && inStep && target >= _audioSkipBeforeUs;
    }
    if (!_video && !_audio)
        carryOn = false;
    // A quick seek carries on even when a frame skipped on the way to the seek before may be the one it asks
    // for (jumping back would show the key frame, far behind): it shows what it decodes as previews, and finding
    // its exact frame once the seeks rest starts again from the key frame if that frame was skipped.
    if (!carryOn)
        jumpTo(target);
    beginSeek(request);
    _current = request;
    // A quick seek shows the first frames it decodes: finding the exact frame's packets waits until it rests.
    _targetFound = false;
    if (!_quick)
        findTarget();
}

void PlaybackWorker::findTarget() {
    if (_targetFound)
        return;
    _targetFound = true;
    const int64_t targetPts = lookAhead(_current.targetUs);
    if (_video && ((targetPts != AV_NOPTS_VALUE && _video->wasSkipped(targetPts)) || _video->parked())) {
        // The frame asked for went by undecoded on the way to the seek before: start again from its key frame.
        jumpTo(_current.targetUs);
        beginSeek(_current);
        lookAhead(_current.targetUs);
    }
}

void PlaybackWorker::jumpTo(int64_t targetUs) {
    _demuxer->seek(targetUs);
    _videoPackets.clear();
    _audioPackets.clear();
    _videoBytes = _audioBytes = 0;
    _demuxDone = false;
    _endUs = 0;
    if (_video)
        _video->reset(targetUs);
    if (_audio)
        _audio->reset();
    _audioFromJump = true;
}

void PlaybackWorker::beginSeek(const Request& request) {
    const int64_t target = request.targetUs;
    if (_video)
        _video->beginSeek(target, request.still == nullptr);
    if (_audio) {
        _audio->beginSeek(target);
        _audioSkipBefore = _demuxer->toTicks(_audio->streamIndex(), target);
        _audioSkipBeforeUs = target;
    }
    if (_musicOnly) {
        _musicOnly->setSerial(_serial);
        _musicOnly->beginSeek(target);
    }
}

void PlaybackWorker::previewIfDue() {
    if (_slowPreview && (!_video->seeking() || (std::chrono::steady_clock::now() >= _slowPreviewAt &&
                                                _video->queuePreviewIfNearer(kFollowUs))))
        _slowPreview = false;
    if (!_quick)
        return;
    if (!_video || !_video->seeking()) {
        _quick = false; // the exact frame came first
        return;
    }
    if (!_video->queuePreview()) {
        // Nothing new to show: decoding goes on towards the target, or, where it cannot, looks for the exact frame.
        if (_video->parked() || _video->finished())
            _quick = false;
        return;
    }
    _quick = false;
    if (!_video->candidateWithin(kFollowUs)) {
        _resting = true;
        _restUntil = std::chrono::steady_clock::now() + kRestAfterPreview;
    }
}

int64_t PlaybackWorker::lookAhead(int64_t targetUs) {
    if (!_video || !_video->seeking())
        return AV_NOPTS_VALUE;
    const int stream = _video->streamIndex();
    const int64_t target = _demuxer->toTicks(stream, targetUs);
    // Frames leave the decoder in presentation order, so every frame shown at or before the target is among the
    // packets decoded before the first one whose decoding time lies past the target.
    const int reorder = std::max(1, _demuxer->stream(stream)->codecpar->video_delay) + 1;
    int64_t best = _video->latestAtOrBefore(target);
    bool past = false;
    int laterWithoutDts = 0;
    auto consider = [&](const AVPacket* packet) {
        if (!packet) {
            past = true;
            return;
        }
        if (packet->pts != AV_NOPTS_VALUE && packet->pts <= target)
            best = best == AV_NOPTS_VALUE ? packet->pts : std::max(best, packet->pts);
        if (packet->dts != AV_NOPTS_VALUE) {
            if (packet->dts > target)
                past = true;
        } else if (packet->pts != AV_NOPTS_VALUE && packet->pts > target && ++laterWithoutDts >= reorder) {
            past = true;
        }
    };
    for (const mediacore::PacketPtr& packet : _videoPackets)
        consider(packet.get());
    for (int read = 0; !past && !_demuxDone && !_seekPending.load() && !_stop.load() && read < kMaxLookAheadPackets;
         ++read) {
        const size_t before = _videoPackets.size();
        readPacket();
        if (_videoPackets.size() > before)
            consider(_videoPackets.back().get());
    }
    if (!past || best == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    _video->setTargetPts(best);
    return best;
}

const AVPacket* PlaybackWorker::readPacket() {
    mediacore::PacketPtr packet = mediacore::makePacket();
    int rc = _demuxer->read(packet.get());
    if (rc < 0) {
        // A file that breaks off plays up to the break.
        if (rc != AVERROR_EOF && rc != AVERROR_EXIT)
            mediacore::EngineLog::failure("playback: read", rc, _path);
        _demuxDone = true;
        _videoPackets.push_back(nullptr);
        _audioPackets.push_back(nullptr);
        return nullptr;
    }
    const int index = packet->stream_index;
    const bool isVideo = _video && index == _video->streamIndex();
    const bool isAudio = index == _soundStream;
    if ((isVideo || isAudio) && packet->pts != AV_NOPTS_VALUE)
        _endUs =
            std::max(_endUs, _demuxer->toMicroseconds(index, packet->pts + std::max<int64_t>(0, packet->duration)));
    if (isVideo) {
        _videoBytes += static_cast<size_t>(packet->size);
        _videoPackets.push_back(std::move(packet));
        return _videoPackets.back().get();
    }
    if (_audio && index == _audio->streamIndex()) {
        if (packet->pts != AV_NOPTS_VALUE && packet->duration > 0 && packet->pts + packet->duration <= _audioSkipBefore)
            return nullptr;
        _audioBytes += static_cast<size_t>(packet->size);
        _audioPackets.push_back(std::move(packet));
        return _audioPackets.back().get();
    }
    return nullptr;
}

bool PlaybackWorker::step() {
    if (!_video && !_audio && !_musicOnly) {
        pushEnd();
        return false;
    }
    // While a slider is dragged nothing is decoded ahead of the picture asked for, nor sound; paused, no picture
    // (the sound is, so playing starts with sound at hand).
    const bool dragging = std::chrono::steady_clock::now() < _holdAheadUntil;
    const bool warming = _warmUpPackets > 0 && _video && !_video->seeking();
    const bool holdAhead = (!_playing.load() && !warming) || dragging;
    if (_musicOnly && !_musicOnly->finished() && !dragging && _sound.bufferedUs(_serial) < kSoundAheadUs &&
        _musicOnly->produce())
        return true;
    const bool videoWants = _video && !_video->finished() &&
                            ((_video->seeking() && !_video->parked()) || (!holdAhead && !_pictures.full(_serial)) ||
                             _videoBytes > kMaxBacklogBytes);
    const bool audioWants =
        _audio && !_audio->finished() &&
        ((!dragging && _sound.bufferedUs(_serial) < kSoundAheadUs) || _audioBytes > kMaxBacklogBytes);
    // Decodes the oldest packet of one stream's queue.
    auto decodeNext = [](std::deque<mediacore::PacketPtr>& packets, size_t& bytes, auto& stage) {
        mediacore::PacketPtr packet = std::move(packets.front());
        packets.pop_front();
        if (packet)
            bytes -= static_cast<size_t>(packet->size);
        stage.decode(packet.get());
    };
    if (videoWants && !_videoPackets.empty()) {
        if (warming)
            --_warmUpPackets;
        decodeNext(_videoPackets, _videoBytes, *_video);
        return true;
    }
    if (audioWants && !_audioPackets.empty()) {
        _audioFromJump = false;
        decodeNext(_audioPackets, _audioBytes, *_audio);
        return true;
    }
    if ((videoWants || audioWants) && !_demuxDone) {
        readPacket();
        return true;
    }
    if (_demuxDone && (!_video || (_video->finished() && !_video->seeking())) && (!_audio || _audio->finished()) &&
        (!_musicOnly || _musicOnly->finished()))
        pushEnd();
    return false;
}

void PlaybackWorker::pushEnd() {
    if (_endPushed)
        return;
    _endPushed = true;
    DecodedPicture end;
    end.kind = DecodedPicture::Kind::End;
    end.serial = _serial;
    end.endUs = _endUs;
    if ((!_video && !_audio) && _demuxer)
        end.endUs = _demuxer->durationUs(); // nothing is decoded: the media runs for its stated length
    _pictures.push(std::move(end));
}
