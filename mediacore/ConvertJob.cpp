#include "ConvertJob.h"

#include "ConvertPipeline.h"
#include "EditChecks.h"
#include "EngineLog.h"
#include "FilterGraphBuilder.h"
#include "OutputSettingChecks.h"
#include "SmartCut.h"
#include "StreamRecords.h"
#include "TemporaryOutput.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace mediacore {

namespace {
std::atomic<DRAW_TEXT_CALLBACK> sharedDrawText{nullptr};

constexpr int kOk = 1;

int refuse(const char* operation, const std::string& detail, int error = AVERROR(EINVAL)) {
    return EngineLog::failure(operation, error, detail);
}

// The picture watermark boxes are measured on, as far as the settings so far tell (0 x 0 without video).
std::pair<int, int> watermarkPicture(const Demuxer& input, const ConvertSettings& settings) {
    int stream = input.firstVideoStream();
    if (stream < 0)
        return {0, 0};
    VideoFrameFormat format;
    format.width = input.stream(stream)->codecpar->width;
    format.height = input.stream(stream)->codecpar->height;
    return FilterGraphBuilder(settings).pictureSize(format, VideoTarget());
}

template <typename Record>
int fillRecords(const std::vector<int>& streams, int* count, Record* records,
                void (*fill)(const Demuxer&, int, int64_t, Record&), const Demuxer& demuxer,
                const std::vector<int64_t>& rates) {
    if (!count)
        return refuse("read stream records", "no count given");
    if (!records) {
        *count = static_cast<int>(streams.size());
        return kOk;
    }
    int filled = std::min(*count, static_cast<int>(streams.size()));
    for (int i = 0; i < filled; ++i)
        fill(demuxer, streams[i], rates[streams[i]], records[i]);
    *count = std::max(filled, 0);
    return kOk;
}
} // namespace

ConvertJob::~ConvertJob() {
    stopAndWait();
}

void ConvertJob::stopAndWait() {
    _stop.store(true);
    _gate.waitUntilIdle();
}

void ConvertJob::setDrawTextCallback(DRAW_TEXT_CALLBACK callback) {
    sharedDrawText.store(callback);
}

DRAW_TEXT_CALLBACK ConvertJob::drawTextCallback() {
    return sharedDrawText.load();
}

int ConvertJob::refuseBusy(const char* operation) {
    return refuse(operation, "the job is running", AVERROR(EBUSY));
}

int ConvertJob::requireInput(const char* operation) const {
    return _input ? 0 : refuse(operation, "no input media set");
}

const std::vector<int64_t>& ConvertJob::bitRates() {
    if (!_bitRates)
        _bitRates = StreamRecords::bitRates(*_input);
    return *_bitRates;
}

int ConvertJob::setInput(const std::string& path) {
    auto input = std::make_unique<Demuxer>();
    int rc = input->open(path, &_stop);
    if (rc < 0)
        return rc;
    _input = std::move(input);
    _bitRates.reset();
    _settings.audioStreamIndex = -1;
    return kOk;
}

int64_t ConvertJob::durationUs() const {
    return _input ? _input->durationUs() : 0;
}

int ConvertJob::audioStreams(int* count, AUDIO_STREAM_INFO* records) {
    if (int rc = requireInput("read audio streams"); rc < 0)
        return rc;
    return fillRecords(_input->audioStreams(), count, records, &StreamRecords::fillAudio, *_input, bitRates());
}

int ConvertJob::videoStreams(int* count, VIDEO_STREAM_INFO* records) {
    if (int rc = requireInput("read video streams"); rc < 0)
        return rc;
    return fillRecords(_input->videoStreams(), count, records, &StreamRecords::fillVideo, *_input, bitRates());
}

int ConvertJob::setCutTime(int64_t startUs, int64_t stopUs) {
    if (int rc = requireInput("set cut time"); rc < 0)
        return rc;
    const int64_t duration = _input->durationUs();
    if (startUs < 0 || stopUs <= startUs)
        return refuse("set cut time", "range " + std::to_string(startUs) + ".." + std::to_string(stopUs) + " µs");
    if (duration > 0 && startUs >= duration)
        return refuse("set cut time",
                      "start " + std::to_string(startUs) + " µs is past the end (" + std::to_string(duration) + " µs)");
    // A stop past the end (a player's duration may exceed the container's by a frame) runs to the end.
    _settings.cutStartUs = startUs;
    _settings.cutStopUs = duration > 0 ? std::min(stopUs, duration) : stopUs;
    return kOk;
}

int ConvertJob::setSizeLimit(int64_t bytes) {
    if (bytes <= 0)
        return refuse("set size limit", std::to_string(bytes) + " bytes");
    _settings.sizeLimitBytes = bytes;
    return kOk;
}

int ConvertJob::setVideoCodec(const std::string& name) {
    if (int rc = OutputSettingChecks::videoCodec("set video codec", name); rc < 0)
        return rc;
    _settings.videoCodec = name;
    return kOk;
}

int ConvertJob::setAudioCodec(const std::string& name) {
    if (int rc = OutputSettingChecks::audioCodec("set audio codec", name); rc < 0)
        return rc;
    _settings.audioCodec = name;
    return kOk;
}

int ConvertJob::setFrameSize(int width, int height) {
    if (int rc = OutputSettingChecks::frameSize("set frame size", width, height); rc < 0)
        return rc;
    _settings.width = width;
    _settings.height = height;
    return kOk;
}

int ConvertJob::setVideoBitrate(int kbps) {
    if (int rc = OutputSettingChecks::bitRate("set video bit rate", kbps); rc < 0)
        return rc;
    _settings.videoBitrateKbps = kbps;
    return kOk;
}

int ConvertJob::setAudioBitrate(int kbps) {
    if (int rc = OutputSettingChecks::bitRate("set audio bit rate", kbps); rc < 0)
        return rc;
    _settings.audioBitrateKbps = kbps;
    return kOk;
}

int ConvertJob::setFrameRate(double fps) {
    if (int rc = OutputSettingChecks::frameRate("set frame rate", fps); rc < 0)
        return rc;
    _settings.fps = fps;
    return kOk;
}

int ConvertJob::setAudioFormat(int channels, int sampleRate) {
    if (int rc = OutputSettingChecks::audioFormat("set audio format", channels, sampleRate); rc < 0)
        return rc;
    _settings.audioChannels = channels;
    _settings.audioSampleRate = sampleRate;
    return kOk;
}

int ConvertJob::setAudioStream(int streamIndex) {
    if (int rc = requireInput("set audio stream"); rc < 0)
        return rc;
    for (int index : _input->audioStreams())
        if (index == streamIndex) {
            _settings.audioStreamIndex = streamIndex;
            return kOk;
        }
    return refuse("set audio stream", "stream " + std::to_string(streamIndex) + " is not an audio stream",
                  AVERROR_STREAM_NOT_FOUND);
}

int ConvertJob::setMainAudioVolume(double volume) {
    if (!std::isfinite(volume) || volume < 0 || volume > 10)
        return refuse("set main audio volume", std::to_string(volume));
    _settings.mainAudioVolume = volume;
    return kOk;
}

int ConvertJob::disableMainAudio() {
    _settings.mainAudioDisabled = true;
    return kOk;
}

// The edit setters store what EditChecks accepts (clamped where it clamps); a refused record changes nothing.
int ConvertJob::setSubtitle(const SUBTITLE_PARAM& subtitle) {
    if (subtitle.path[0] == '\0') {
        _settings.subtitle.reset();
        return kOk;
    }
    SUBTITLE_PARAM checked = subtitle;
    if (int rc = EditChecks::subtitle(checked); rc < 0)
        return rc;
    _settings.subtitle = checked;
    return kOk;
}

int ConvertJob::setCropMargins(const RECT& margins) {
    RECT checked = margins;
    if (int rc = EditChecks::cropMargins(checked); rc < 0)
        return rc;
    _settings.cropMargins = checked;
    return kOk;
}

int ConvertJob::addImageWatermark(const IMAGE_WATERMARK_PARAM& watermark) {
    IMAGE_WATERMARK_PARAM checked = watermark;
    auto [width, height] = _input ? watermarkPicture(*_input, _settings) : std::pair<int, int>{0, 0};
    if (int rc = EditChecks::imageWatermark(checked, width, height); rc < 0)
        return rc;
    _settings.imageWatermarks.push_back(checked);
    return kOk;
}

int ConvertJob::addTextWatermark(const TEXT_WATERMARK_PARAM& watermark) {
    TEXT_WATERMARK_PARAM checked = watermark;
    if (int rc = EditChecks::textWatermark(checked); rc < 0)
        return rc;
    _settings.textWatermarks.push_back(checked);
    return kOk;
}

int ConvertJob::addVideoWatermark(const VIDEO_WATERMARK_PARAM& watermark) {
    VIDEO_WATERMARK_PARAM checked = watermark;
    auto [width, height] = _input ? watermarkPicture(*_input, _settings) : std::pair<int, int>{0, 0};
    if (int rc = EditChecks::videoWatermark(checked, width, height); rc < 0)
        return rc;
    _settings.videoWatermarks.push_back(checked);
    return kOk;
}

int ConvertJob::addImageEffect(int effectId) {
    if (int rc = EditChecks::effect(effectId); rc < 0)
        return rc;
    _settings.effects.push_back(effectId);
    return kOk;
}

int ConvertJob::adjustColour(int brightness, int contrast, int saturation) {
    EditChecks::colour(brightness, contrast, saturation);
    _settings.brightness = brightness;
    _settings.contrast = contrast;
    _settings.saturation = saturation;
    return kOk;
}

int ConvertJob::setHorizontalFlip(bool on) {
    _settings.hFlip = on;
    return kOk;
}

int ConvertJob::setVerticalFlip(bool on) {
    _settings.vFlip = on;
    return kOk;
}

int ConvertJob::setRotateAngle(int degrees) {
    // Callers add the stream's own angle to the user's turn, so 360 and more arrive; any multiple of 90 is
    // taken mod 360.
    if (degrees % 90 != 0)
        return refuse("set rotate angle", std::to_string(degrees) + " degrees is not a multiple of 90");
    _settings.rotateAngle = ((degrees % 360) + 360) % 360;
    return kOk;
}

int ConvertJob::addMusic(const ConvertSettings::Music& music) {
    ConvertSettings::Music checked = music;
    if (int rc = EditChecks::music(checked); rc < 0)
        return rc;
    _settings.music.push_back(std::move(checked));
    return kOk;
}

int ConvertJob::setOutputPath(const std::string& path) {
    if (int rc = OutputSettingChecks::outputPath("set output path", path); rc < 0)
        return rc;
    _settings.outputPath = path;
    return kOk;
}

int ConvertJob::start() {
    if (!_gate.enter())
        return refuse("start", "the job has run already");
    int result = run();
    _gate.leave();
    return result;
}

int ConvertJob::run() {
    if (int rc = requireInput("start"); rc < 0)
        return rc;
    if (_settings.outputPath.empty())
        return refuse("start", "no output path set");
    if (_stop.load())
        return kOk;
    _settings.drawText = drawTextCallback();
    int rc = TemporaryOutput::produce(_settings.outputPath, _stop, [&](const std::string& path) {
        if (int copied = smartCut(path); copied != SmartCut::kEncodeInstead)
            return copied;
        ConvertPipeline pipeline(_settings, *_input, bitRates(), _stop, _progress);
        const int result = pipeline.run(path);
        _limitedEndUs.store(result >= 0 && pipeline.limitReached() ? pipeline.writtenEndUs() : 0);
        return result;
    });
    if (rc < 0)
        return rc;
    if (rc > 0)
        _progress.store(100);
    return kOk;
}

namespace {
bool storageFailure(int rc) {
    for (int error : {EIO, ENOSPC, EDQUOT, EFBIG, EROFS})
        if (rc == AVERROR(error))
            return true;
    return false;
}
} // namespace

// A cut that changes nothing else copies what it can (SmartCut); the log says which way each cut went.
int ConvertJob::smartCut(const std::string& path) {
    const bool cut = _settings.cutStartUs > 0 || _settings.cutStopUs > 0;
    SmartCut smart(_settings, *_input, bitRates(), _stop, _progress);
    if (!smart.suits()) {
        if (cut)
            EngineLog::note("cut encoded: " + smart.reason());
        return SmartCut::kEncodeInstead;
    }
    int rc = smart.run(path);
    if (rc == 0) {
        EngineLog::note(smart.summary());
        return rc;
    }
    // The file that could not be read or written whole would fail the encoding just the same, after all its work.
    if (rc == AVERROR_EXIT || storageFailure(rc))
        return rc;
    EngineLog::note("cut encoded: " + (rc == SmartCut::kEncodeInstead
                                           ? smart.reason()
                                           : "copying failed (" + EngineLog::reason(rc) + ")"));
    _progress.store(0);
    return SmartCut::kEncodeInstead;
}

int ConvertJob::stop() {
    _stop.store(true);
    return kOk;
}

} // namespace mediacore
