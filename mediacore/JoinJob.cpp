#include "JoinJob.h"

#include "CodecCatalog.h"
#include "Demuxer.h"
#include "EncodingJoin.h"
#include "EngineLog.h"
#include "ExactCopyPieces.h"
#include "JoinError.h"
#include "OutputSettingChecks.h"
#include "StreamCopyJoin.h"
#include "TemporaryOutput.h"

#include <algorithm>
#include <cmath>

namespace mediacore {

namespace {
constexpr int kOk = 1;
// A stop this far past the file's end still counts as its end: callers compute it from a duration in float
// seconds, which may round up by a little.
constexpr int64_t kRangeSlackUs = 100'000;
// Of a copy join's progress, the part spent cutting ranged clips into exact pieces (encoding their edges).
constexpr double kPiecesProgressShare = 80.0;

int refuse(const char* operation, const std::string& detail, int error = AVERROR(EINVAL)) {
    return EngineLog::failure(operation, error, detail);
}

bool isCopy(const std::string& name) {
    CodecCatalog::Choice choice;
    return !name.empty() && CodecCatalog::resolve(name, AVMEDIA_TYPE_VIDEO, choice) && choice.copy;
}
} // namespace

JoinJob::~JoinJob() {
    stopAndWait();
}

void JoinJob::stopAndWait() {
    _stop.store(true);
    _gate.waitUntilIdle();
}

int JoinJob::refuseWhileRunning(const char* operation) const {
    return _gate.running() ? refuse(operation, "the job is running", kJoinBusy) : 0;
}

JoinClip* JoinJob::findClip(const void* handle) {
    for (JoinClip& clip : _settings.clips)
        if (&clip == handle)
            return &clip;
    return nullptr;
}

JoinClip* JoinJob::addClip(const std::string& path, int64_t startUs, int64_t stopUs) {
    auto refused = [this](int code) -> JoinClip* {
        if (_refusal == 0)
            _refusal = code;
        return nullptr;
    };
    if (int rc = refuseWhileRunning("add clip"); rc < 0)
        return nullptr;
    Demuxer input;
    if (int rc = input.open(path, &_stop); rc < 0)
        return refused(rc);
    JoinClip clip;
    clip.path = path;
    clip.fileDurationUs = input.durationUs();
    clip.hasVideo = input.firstVideoStream() >= 0;
    clip.hasAudio = input.firstAudioStream() >= 0;
    const int64_t duration = clip.fileDurationUs;
    const std::string range = std::to_string(startUs) + ".." + std::to_string(stopUs) + " µs";
    if (startUs == 0 && stopUs == 0) {
        // Its length is measured when the job runs: a header may declare years for a file of seconds, a truncated
        // file more than it holds, a live recording nothing at all.
        clip.wholeFile = true;
        clip.stopUs = std::max<int64_t>(duration, 1);
    } else if (startUs < 0 || stopUs <= startUs) {
        return refused(refuse("add clip", "range " + range + " of " + path, kJoinBadRange));
    } else if (duration > 0 && (startUs >= duration || stopUs > duration + kRangeSlackUs)) {
        return refused(refuse("add clip",
                              "range " + range + " outside " + path + " (" + std::to_string(duration) + " µs)",
                              kJoinBadRange));
    } else {
        clip.startUs = startUs;
        clip.stopUs = duration > 0 ? std::min(stopUs, duration) : stopUs;
    }
    if (clip.lengthUs() <= 0)
        return refused(refuse("add clip", "nothing to join in " + path, kJoinBadRange));
    _settings.clips.push_back(std::move(clip));
    return &_settings.clips.back();
}

int JoinJob::setTransition(const void* handle, int type, int64_t durationUs) {
    if (int rc = refuseWhileRunning("set transition"); rc < 0)
        return rc;
    JoinClip* clip = findClip(handle);
    if (!clip)
        return refuse("set transition", "unknown clip handle", kJoinBadClip);
    if (type == JoinClip::kNone) {
        clip->transition = JoinClip::kNone;
        clip->transitionUs = 0;
        return kOk;
    }
    if (type < JoinClip::kSlideLeft || type > JoinClip::kFade || durationUs <= 0)
        return refuse("set transition", "kind " + std::to_string(type) + ", " + std::to_string(durationUs) + " µs",
                      kJoinBadTransition);
    clip->transition = type;
    clip->transitionUs = durationUs;
    return kOk;
}

int JoinJob::setVolume(const void* handle, double factor) {
    if (int rc = refuseWhileRunning("set audio volume"); rc < 0)
        return rc;
    JoinClip* clip = findClip(handle);
    if (!clip)
        return refuse("set audio volume", "unknown clip handle", kJoinBadClip);
    if (!std::isfinite(factor) || factor < 0 || factor > 10)
        return refuse("set audio volume", std::to_string(factor));
    clip->volume = factor;
    return kOk;
}

// Each output setter: refused while the job runs, then checked like a conversion's, then stored.
template <typename Check, typename Store> int JoinJob::setOutputValue(const char* operation, Check check, Store store) {
    if (int rc = refuseWhileRunning(operation); rc < 0)
        return rc;
    if (int rc = check(); rc < 0)
        return rc;
    store();
    return kOk;
}

int JoinJob::setVideoCodec(const std::string& name) {
    const char* op = "set video codec";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::videoCodec(op, name); }, [&] { _settings.videoCodec = name; });
}

int JoinJob::setAudioCodec(const std::string& name) {
    const char* op = "set audio codec";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::audioCodec(op, name); }, [&] { _settings.audioCodec = name; });
}

int JoinJob::setVideoBitrate(int kbps) {
    const char* op = "set video bit rate";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::bitRate(op, kbps); }, [&] { _settings.videoBitrateKbps = kbps; });
}

int JoinJob::setAudioBitrate(int kbps) {
    const char* op = "set audio bit rate";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::bitRate(op, kbps); }, [&] { _settings.audioBitrateKbps = kbps; });
}

int JoinJob::setFrameRate(double fps) {
    const char* op = "set frame rate";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::frameRate(op, fps); }, [&] { _settings.fps = fps; });
}

int JoinJob::setFrameSize(int width, int height) {
    const char* op = "set frame size";
    // The joiner passes its reference clip's own size, which may be odd: it is taken, and the output rounds it
    // down to even numbers as it does a source's size.
    auto check = [&] { return OutputSettingChecks::frameSize(op, width + (width & 1), height + (height & 1)); };
    return setOutputValue(op, check, [&] {
        _settings.width = width;
        _settings.height = height;
    });
}

int JoinJob::setAudioFormat(int channels, int sampleRate) {
    const char* op = "set audio format";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::audioFormat(op, channels, sampleRate); },
        [&] {
            _settings.audioChannels = channels;
            _settings.audioSampleRate = sampleRate;
        });
}

int JoinJob::setOutputPath(const std::string& path) {
    const char* op = "set output path";
    return setOutputValue(
        op, [&] { return OutputSettingChecks::outputPath(op, path); }, [&] { _settings.outputPath = path; });
}

int JoinJob::copyMode(bool& copy) const {
    copy = false;
    bool anyVideo = !CodecCatalog::isAudioOnly(_settings.outputPath) &&
                    std::any_of(_settings.clips.begin(), _settings.clips.end(), [](auto& c) { return c.hasVideo; });
    bool anyAudio = std::any_of(_settings.clips.begin(), _settings.clips.end(), [](auto& c) { return c.hasAudio; });
    bool videoCopy = anyVideo && isCopy(_settings.videoCodec);
    bool audioCopy = anyAudio && isCopy(_settings.audioCodec);
    if (!videoCopy && !audioCopy)
        return 0;
    // The stream that is not copied must not ask for an encoder: a join copies everything or nothing.
    bool videoEncoded = anyVideo && !videoCopy && !_settings.videoCodec.empty();
    bool audioEncoded = anyAudio && !audioCopy && !_settings.audioCodec.empty();
    if (videoEncoded || audioEncoded)
        return refuse("start", "one stream copied and the other encoded", kJoinCopyNeedsEncoding);
    for (size_t i = 0; i < _settings.clips.size(); ++i) {
        const JoinClip& clip = _settings.clips[i];
        if (clip.transition != JoinClip::kNone)
            return refuse("start", "a transition needs encoding, not \"copy\": " + clip.path, kJoinCopyNeedsEncoding);
        if (anyAudio && clip.volume != 1.0)
            return refuse("start", "a volume change needs encoding, not \"copy\": " + clip.path,
                          kJoinCopyNeedsEncoding);
    }
    copy = true;
    return 0;
}

int JoinJob::measureWholeClips() {
    for (JoinClip& clip : _settings.clips) {
        if (!clip.wholeFile)
            continue;
        Demuxer input;
        int rc = input.open(clip.path, &_stop);
        if (rc < 0)
            return rc;
        const int64_t end = input.measureContentEndUs();
        if (end < 0)
            return static_cast<int>(end);
        if (end <= 0)
            return refuse("start", "nothing readable in " + clip.path, kJoinNothingToWrite);
        if (clip.fileDurationUs <= 0 || std::llabs(end - clip.fileDurationUs) > kRangeSlackUs)
            EngineLog::note(clip.path + " declares " + std::to_string(clip.fileDurationUs) + " µs and holds " +
                            std::to_string(end) + " µs: joined as it holds");
        clip.stopUs = end;
    }
    return 0;
}

int JoinJob::validate() const {
    if (_settings.clips.empty())
        return refuse("start", "no clips", kJoinNoClips);
    if (_settings.outputPath.empty())
        return refuse("start", "no output path set");
    if (_settings.clips.back().transition != JoinClip::kNone)
        return refuse("start", "a transition on the last clip", kJoinTransitionOnLastClip);
    return 0;
}

int JoinJob::start() {
    if (!_gate.enter())
        return refuse("start", "the job has run already", kJoinBusy);
    int result = run();
    _gate.leave();
    return result;
}

int JoinJob::run() {
    if (_refusal < 0)
        return refuse("start", "a clip was refused when it was added", _refusal);
    if (int rc = validate(); rc < 0)
        return rc;
    if (int rc = measureWholeClips(); rc < 0)
        return rc == AVERROR_EXIT ? kOk : rc;
    bool copy = false;
    if (int rc = copyMode(copy); rc < 0)
        return rc;
    // A stop that came before the worker got here: the user's cancel, not a failure.
    if (_stop.load())
        return kOk;
    const AVOutputFormat* format = CodecCatalog::containerFor(_settings.outputPath);
    int rc = TemporaryOutput::produce(_settings.outputPath, _stop, [&](const std::string& path) {
        if (copy) {
            // Ranges are cut exactly first; the copy then takes each piece whole.
            ExactCopyPieces pieces(_stop);
            JoinSettings exact;
            const int cut = pieces.prepare(_settings, format, exact, _progress, kPiecesProgressShare);
            if (cut < 0)
                return cut;
            std::string reason = pieces.reason();
            if (cut == 0) {
                StreamCopyJoin copier(exact, _stop, _progress);
                copier.setProgressFrom(pieces.piecesMade() > 0 ? kPiecesProgressShare : 0);
                const int copied = copier.run(path, format);
                if (copied != StreamCopyJoin::kNeedsEncoding)
                    return copied;
                reason = copier.encodingReason();
            }
            _progress.store(0);
            EngineLog::note(reason + ": the join is encoded instead of copied");
            JoinSettings encoded = _settings;
            encoded.videoCodec.clear();
            encoded.audioCodec.clear();
            return EncodingJoin(encoded, _stop, _progress).run(path, format);
        }
        return EncodingJoin(_settings, _stop, _progress).run(path, format);
    });
    if (rc < 0)
        return rc;
    if (rc > 0)
        _progress.store(100);
    return kOk;
}

int JoinJob::stop() {
    _stop.store(true);
    return kOk;
}

} // namespace mediacore
