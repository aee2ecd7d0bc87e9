#pragma once

#include "ConvertSettings.h"
#include "Demuxer.h"
#include "JobRunGate.h"
#include "libMediaCore.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mediacore {

// A conversion job: one input, one output (apiMediaConvert*). The setters validate and store into the
// settings; start() runs the whole job on the calling thread; progress() and stop() may be called from any
// other thread meanwhile.
//
// Results: setters and start() return 1 on success and a negative AVERROR on failure (logged once with FFmpeg's
// reason). A stopped start() returns 1 and leaves no file. The output is written under a temporary name beside
// the target and renamed at the end, never replacing a file.
class ConvertJob {
public:
    ConvertJob() = default;
    ConvertJob(const ConvertJob&) = delete;
    ConvertJob& operator=(const ConvertJob&) = delete;
    // Stops a running start() and waits until it has returned.
    ~ConvertJob();

    // Runs a setter (or a stream-record read) unless the job is running: the settings belong to the run while
    // it lasts, so a call from another thread then is refused with AVERROR(EBUSY) instead of racing it.
    template <typename Work> int whileIdle(const char* operation, Work work) {
        std::optional<int> rc = _gate.whileIdle(work);
        return rc ? *rc : refuseBusy(operation);
    }

    int setInput(const std::string& path);
    int64_t durationUs() const;
    // The two-call form: records == nullptr sets *count; otherwise fills up to *count records and sets *count.
    int audioStreams(int* count, AUDIO_STREAM_INFO* records);
    int videoStreams(int* count, VIDEO_STREAM_INFO* records);

    int setCutTime(int64_t startUs, int64_t stopUs);
    int setSizeLimit(int64_t bytes);
    int setVideoCodec(const std::string& name);
    int setAudioCodec(const std::string& name);
    int setFrameSize(int width, int height);
    int setVideoBitrate(int kbps);
    int setAudioBitrate(int kbps);
    int setFrameRate(double fps);
    int setAudioFormat(int channels, int sampleRate);
    int setAudioStream(int streamIndex);
    int setMainAudioVolume(double volume);
    int disableMainAudio();

    // Picture and sound edits: stored here, turned into filters by FilterGraphBuilder.
    int setSubtitle(const SUBTITLE_PARAM& subtitle);
    int setCropMargins(const RECT& margins);
    int addImageWatermark(const IMAGE_WATERMARK_PARAM& watermark);
    int addTextWatermark(const TEXT_WATERMARK_PARAM& watermark);
    int addVideoWatermark(const VIDEO_WATERMARK_PARAM& watermark);
    int addImageEffect(int effectId);
    int adjustColour(int brightness, int contrast, int saturation);
    int setHorizontalFlip(bool on);
    int setVerticalFlip(bool on);
    int setRotateAngle(int degrees);
    int addMusic(const ConvertSettings::Music& music);

    int setOutputPath(const std::string& path);

    int start();
    int progress() const { return _progress.load(std::memory_order_relaxed); }
    // After a run that the size limit ended before the cut's end: where the file ends on the source's timeline
    // (µs). 0 when the run reached the cut's end, failed or has not run.
    int64_t limitedEndUs() const { return _limitedEndUs.load(); }
    // Stops a run in progress and returns once it has ended (closing the handle).
    void stopAndWait();
    int stop();

    const ConvertSettings& settings() const { return _settings; }

    // The draw-text callback shared by every conversion job (apiMediaConvertSetDrawTextCallback).
    static void setDrawTextCallback(DRAW_TEXT_CALLBACK callback);
    static DRAW_TEXT_CALLBACK drawTextCallback();

private:
    static int refuseBusy(const char* operation);
    int requireInput(const char* operation) const;
    const std::vector<int64_t>& bitRates();
    int run();
    // 0 when the cut was written by copying; SmartCut::kEncodeInstead when it is to be encoded; AVERROR_EXIT.
    int smartCut(const std::string& path);

    std::unique_ptr<Demuxer> _input;
    std::optional<std::vector<int64_t>> _bitRates;
    ConvertSettings _settings;

    std::atomic<bool> _stop{false};
    std::atomic<int> _progress{0};
    std::atomic<int64_t> _limitedEndUs{0};
    JobRunGate _gate;
};

} // namespace mediacore
