// The C interface of model/libMediaCore.h for media handles and conversion jobs: converts handles, checks
// arguments and calls MediaFile or ConvertJob. Join jobs live in JoinApi.cpp.
#include "libMediaCore.h"

#include "ConvertJob.h"
#include "EngineLog.h"
#include "HandleRegistry.h"
#include "MediaFile.h"

extern "C" {
#include <libavutil/error.h>
}

#include <new>
#include <string>

using mediacore::ConvertJob;
using mediacore::ConvertSettings;
using mediacore::EngineLog;
using mediacore::HandleRegistry;
using mediacore::MediaFile;

namespace {
HandleRegistry<MediaFile>& mediaFiles() {
    static HandleRegistry<MediaFile> registry;
    return registry;
}

HandleRegistry<ConvertJob>& convertJobs() {
    static HandleRegistry<ConvertJob> registry;
    return registry;
}

int badHandle(const char* call) {
    return EngineLog::failure(call, AVERROR(EINVAL), "unknown or closed handle");
}

int badArgument(const char* call, const char* what) {
    return EngineLog::failure(call, AVERROR(EINVAL), what);
}

// Runs `work` on the job behind `h`, or refuses an unknown handle.
template <typename Work> int withJob(CONVERT_HANDLE h, const char* call, Work work) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(h);
    return job ? work(*job) : badHandle(call);
}

// The same for setters and record reads, which are refused while the job runs.
template <typename Work> int withIdleJob(CONVERT_HANDLE h, const char* call, Work work) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(h);
    return job ? job->whileIdle(call, [&] { return work(*job); }) : badHandle(call);
}
} // namespace

extern "C" {

MEDIA_HANDLE MediaOpen(const char* path) {
    EngineLog::initialise();
    if (!path) {
        badArgument("MediaOpen", "no path");
        return nullptr;
    }
    auto file = std::unique_ptr<MediaFile>(new (std::nothrow) MediaFile);
    if (!file || file->open(path) < 0)
        return nullptr;
    return mediaFiles().adopt(std::move(file));
}

int MediaGetInfo(MEDIA_HANDLE h, AUDIO_STREAM_INFO* audio, VIDEO_STREAM_INFO* video) {
    std::shared_ptr<MediaFile> file = mediaFiles().find(h);
    return file ? file->info(audio, video) : badHandle("MediaGetInfo");
}

int64_t MediaGetDuration(MEDIA_HANDLE h) {
    std::shared_ptr<MediaFile> file = mediaFiles().find(h);
    if (!file) {
        badHandle("MediaGetDuration");
        return 0;
    }
    return file->durationUs();
}

int MediaSnapshot(MEDIA_HANDLE h, int64_t timeUs, int width, int height, void* pixels, int /*flags*/) {
    std::shared_ptr<MediaFile> file = mediaFiles().find(h);
    if (!file)
        return badHandle("MediaSnapshot");
    int rc = file->snapshot(timeUs, width, height, static_cast<uint8_t*>(pixels));
    return rc < 0 ? rc : 1;
}

void MediaClose(MEDIA_HANDLE h) {
    if (h && !mediaFiles().release(h))
        badHandle("MediaClose");
}

CONVERT_HANDLE apiMediaConvertCreate(void) {
    EngineLog::initialise();
    auto job = std::unique_ptr<ConvertJob>(new (std::nothrow) ConvertJob);
    return job ? convertJobs().adopt(std::move(job)) : nullptr;
}

int apiMediaConvertSetInputMedia(CONVERT_HANDLE h, const char* path) {
    if (!path)
        return badArgument("apiMediaConvertSetInputMedia", "no path");
    return withIdleJob(h, "apiMediaConvertSetInputMedia", [&](ConvertJob& job) { return job.setInput(path); });
}

int64_t apiMediaConvertGetDuration(CONVERT_HANDLE h) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(h);
    if (!job) {
        badHandle("apiMediaConvertGetDuration");
        return 0;
    }
    return job->durationUs();
}

int apiMediaConvertGetAudioStreamInfo(CONVERT_HANDLE h, int* count, AUDIO_STREAM_INFO* records) {
    return withIdleJob(h, "apiMediaConvertGetAudioStreamInfo",
                       [&](ConvertJob& job) { return job.audioStreams(count, records); });
}

int apiMediaConvertGetVideoStreamInfo(CONVERT_HANDLE h, int* count, VIDEO_STREAM_INFO* records) {
    return withIdleJob(h, "apiMediaConvertGetVideoStreamInfo",
                       [&](ConvertJob& job) { return job.videoStreams(count, records); });
}

int apiMediaConvertSetCutTime(CONVERT_HANDLE h, int64_t start, int64_t stop) {
    return withIdleJob(h, "apiMediaConvertSetCutTime", [&](ConvertJob& job) { return job.setCutTime(start, stop); });
}

int apiMediaConvertSetLimitFileSize(CONVERT_HANDLE h, int64_t bytes) {
    return withIdleJob(h, "apiMediaConvertSetLimitFileSize", [&](ConvertJob& job) { return job.setSizeLimit(bytes); });
}

int apiMediaConvertSetVcodec(CONVERT_HANDLE h, const char* name) {
    if (!name)
        return badArgument("apiMediaConvertSetVcodec", "no codec name");
    return withIdleJob(h, "apiMediaConvertSetVcodec", [&](ConvertJob& job) { return job.setVideoCodec(name); });
}

int apiMediaConvertSetAcodec(CONVERT_HANDLE h, const char* name) {
    if (!name)
        return badArgument("apiMediaConvertSetAcodec", "no codec name");
    return withIdleJob(h, "apiMediaConvertSetAcodec", [&](ConvertJob& job) { return job.setAudioCodec(name); });
}

int apiMediaConvertSetVideoFrameSize(CONVERT_HANDLE h, int width, int height) {
    return withIdleJob(h, "apiMediaConvertSetVideoFrameSize",
                       [&](ConvertJob& job) { return job.setFrameSize(width, height); });
}

int apiMediaConvertSetVideoBitrate(CONVERT_HANDLE h, int kbps) {
    return withIdleJob(h, "apiMediaConvertSetVideoBitrate", [&](ConvertJob& job) { return job.setVideoBitrate(kbps); });
}

int apiMediaConvertSetAudioBitrate(CONVERT_HANDLE h, int kbps) {
    return withIdleJob(h, "apiMediaConvertSetAudioBitrate", [&](ConvertJob& job) { return job.setAudioBitrate(kbps); });
}

int apiMediaConvertSetVideoFps(CONVERT_HANDLE h, double fps) {
    return withIdleJob(h, "apiMediaConvertSetVideoFps", [&](ConvertJob& job) { return job.setFrameRate(fps); });
}

int apiMediaConvertSetAudioEncodeContext(CONVERT_HANDLE h, int channels, int sampleRate) {
    return withIdleJob(h, "apiMediaConvertSetAudioEncodeContext",
                       [&](ConvertJob& job) { return job.setAudioFormat(channels, sampleRate); });
}

int apiMediaConvertSetAudioIndex(CONVERT_HANDLE h, int streamIndex) {
    return withIdleJob(h, "apiMediaConvertSetAudioIndex",
                       [&](ConvertJob& job) { return job.setAudioStream(streamIndex); });
}

int apiMediaConvertSetMaineAudioVolume(CONVERT_HANDLE h, double volume) {
    return withIdleJob(h, "apiMediaConvertSetMaineAudioVolume",
                       [&](ConvertJob& job) { return job.setMainAudioVolume(volume); });
}

int apiMediaConvertDisableMainAudio(CONVERT_HANDLE h) {
    return withIdleJob(h, "apiMediaConvertDisableMainAudio", [&](ConvertJob& job) { return job.disableMainAudio(); });
}

int apiMediaConvertSetSubtitle(CONVERT_HANDLE h, SUBTITLE_PARAM param) {
    return withIdleJob(h, "apiMediaConvertSetSubtitle", [&](ConvertJob& job) { return job.setSubtitle(param); });
}

int apiMediaConvertSetCropSize(CONVERT_HANDLE h, RECT margins) {
    return withIdleJob(h, "apiMediaConvertSetCropSize", [&](ConvertJob& job) { return job.setCropMargins(margins); });
}

int apiMediaConvertAddImageWatermask(CONVERT_HANDLE h, IMAGE_WATERMARK_PARAM param) {
    return withIdleJob(h, "apiMediaConvertAddImageWatermask",
                       [&](ConvertJob& job) { return job.addImageWatermark(param); });
}

int apiMediaConvertAddTextWatermask(CONVERT_HANDLE h, TEXT_WATERMARK_PARAM param) {
    return withIdleJob(h, "apiMediaConvertAddTextWatermask",
                       [&](ConvertJob& job) { return job.addTextWatermark(param); });
}

int apiMediaConvertAddVideoWatermark(CONVERT_HANDLE h, VIDEO_WATERMARK_PARAM param) {
    return withIdleJob(h, "apiMediaConvertAddVideoWatermark",
                       [&](ConvertJob& job) { return job.addVideoWatermark(param); });
}

int apiMediaConvertSetDrawTextCallback(DRAW_TEXT_CALLBACK callback) {
    ConvertJob::setDrawTextCallback(callback);
    return 1;
}

int apiMediaConvertAddImageEffect(CONVERT_HANDLE h, int effectId) {
    return withIdleJob(h, "apiMediaConvertAddImageEffect",
                       [&](ConvertJob& job) { return job.addImageEffect(effectId); });
}

int apiMediaConvertAdjustBCS(CONVERT_HANDLE h, int brightness, int contrast, int saturation) {
    return withIdleJob(h, "apiMediaConvertAdjustBCS",
                       [&](ConvertJob& job) { return job.adjustColour(brightness, contrast, saturation); });
}

int apiMediaConvertHFlipStatus(CONVERT_HANDLE h, int on) {
    return withIdleJob(h, "apiMediaConvertHFlipStatus",
                       [&](ConvertJob& job) { return job.setHorizontalFlip(on != 0); });
}

int apiMediaConvertVFlipStatus(CONVERT_HANDLE h, int on) {
    return withIdleJob(h, "apiMediaConvertVFlipStatus", [&](ConvertJob& job) { return job.setVerticalFlip(on != 0); });
}

int apiMediaConvertSetRotateAngle(CONVERT_HANDLE h, int degrees) {
    return withIdleJob(h, "apiMediaConvertSetRotateAngle",
                       [&](ConvertJob& job) { return job.setRotateAngle(degrees); });
}

int apiMediaConvertAddDubbingMusic(CONVERT_HANDLE h, const char* path, int64_t musicStart, int64_t musicEnd,
                                   int64_t timelineStart, int64_t timelineEnd, int64_t fadeIn, int64_t fadeOut,
                                   double volume) {
    if (!path)
        return badArgument("apiMediaConvertAddDubbingMusic", "no path");
    ConvertSettings::Music music;
    music.path = path;
    music.musicStartUs = musicStart;
    music.musicEndUs = musicEnd;
    music.timelineStartUs = timelineStart;
    music.timelineEndUs = timelineEnd;
    music.fadeInUs = fadeIn;
    music.fadeOutUs = fadeOut;
    music.volume = volume;
    return withIdleJob(h, "apiMediaConvertAddDubbingMusic", [&](ConvertJob& job) { return job.addMusic(music); });
}

int apiMediaConvertSetOutputPath(CONVERT_HANDLE h, const char* path) {
    if (!path)
        return badArgument("apiMediaConvertSetOutputPath", "no path");
    return withIdleJob(h, "apiMediaConvertSetOutputPath", [&](ConvertJob& job) { return job.setOutputPath(path); });
}

int apiMediaConvertStart(CONVERT_HANDLE h) {
    return withJob(h, "apiMediaConvertStart", [](ConvertJob& job) { return job.start(); });
}

int apiMediaConvertGetProgress(CONVERT_HANDLE h) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(h);
    return job ? job->progress() : 0;
}

int64_t apiMediaConvertGetLimitedEnd(CONVERT_HANDLE h) {
    std::shared_ptr<ConvertJob> job = convertJobs().find(h);
    return job ? job->limitedEndUs() : 0;
}

int apiMediaConvertStop(CONVERT_HANDLE h) {
    return withJob(h, "apiMediaConvertStop", [](ConvertJob& job) { return job.stop(); });
}

int apiMediaConvertClose(CONVERT_HANDLE h) {
    std::shared_ptr<ConvertJob> job = convertJobs().release(h);
    if (!job)
        return badHandle("apiMediaConvertClose");
    // A Start running on another thread holds its own reference: it is stopped and waited for here, and the
    // job ends when the last reference goes.
    job->stopAndWait();
    return 1;
}

} // extern "C"
