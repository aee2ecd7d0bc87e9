// The C interface of model/libMediaCore.h for join jobs: converts handles, checks arguments and calls JoinJob.
#include "libMediaCore.h"

#include "EngineLog.h"
#include "HandleRegistry.h"
#include "JoinJob.h"

extern "C" {
#include <libavutil/error.h>
}

#include <new>

using mediacore::EngineLog;
using mediacore::HandleRegistry;
using mediacore::JoinJob;

namespace {
HandleRegistry<JoinJob>& joinJobs() {
    static HandleRegistry<JoinJob> registry;
    return registry;
}

int badHandle(const char* call) {
    return EngineLog::failure(call, AVERROR(EINVAL), "unknown or closed handle");
}

int badArgument(const char* call, const char* what) {
    return EngineLog::failure(call, AVERROR(EINVAL), what);
}

// Runs `work` on the job behind `h`, or refuses an unknown handle.
template <typename Work> int withJob(JOIN_HANDLE h, const char* call, Work work) {
    std::shared_ptr<JoinJob> job = joinJobs().find(h);
    return job ? work(*job) : badHandle(call);
}
} // namespace

extern "C" {

JOIN_HANDLE apiMediaJoinCreate(void) {
    EngineLog::initialise();
    auto job = std::unique_ptr<JoinJob>(new (std::nothrow) JoinJob);
    return job ? joinJobs().adopt(std::move(job)) : nullptr;
}

JOIN_CLIP_HANDLE apiMediaJoinAddMediaClip(JOIN_HANDLE h, const char* path, int64_t start, int64_t stop) {
    std::shared_ptr<JoinJob> job = joinJobs().find(h);
    if (!job) {
        badHandle("apiMediaJoinAddMediaClip");
        return nullptr;
    }
    if (!path) {
        badArgument("apiMediaJoinAddMediaClip", "no path");
        return nullptr;
    }
    return job->addClip(path, start, stop);
}

int apiMediaJoinSetTransition(JOIN_HANDLE h, JOIN_CLIP_HANDLE clip, int type, int64_t duration) {
    return withJob(h, "apiMediaJoinSetTransition",
                   [&](JoinJob& job) { return job.setTransition(clip, type, duration); });
}

int apiMediaJoinSetAudioVolumn(JOIN_HANDLE h, JOIN_CLIP_HANDLE clip, double factor) {
    return withJob(h, "apiMediaJoinSetAudioVolumn", [&](JoinJob& job) { return job.setVolume(clip, factor); });
}

int apiMediaJoinSetAudioCodec(JOIN_HANDLE h, const char* name) {
    if (!name)
        return badArgument("apiMediaJoinSetAudioCodec", "no codec name");
    return withJob(h, "apiMediaJoinSetAudioCodec", [&](JoinJob& job) { return job.setAudioCodec(name); });
}

int apiMediaJoinSetVideoCodec(JOIN_HANDLE h, const char* name) {
    if (!name)
        return badArgument("apiMediaJoinSetVideoCodec", "no codec name");
    return withJob(h, "apiMediaJoinSetVideoCodec", [&](JoinJob& job) { return job.setVideoCodec(name); });
}

int apiMediaJoinSetAudioBitrate(JOIN_HANDLE h, int kbps) {
    return withJob(h, "apiMediaJoinSetAudioBitrate", [&](JoinJob& job) { return job.setAudioBitrate(kbps); });
}

int apiMediaJoinSetVideoBitrate(JOIN_HANDLE h, int kbps) {
    return withJob(h, "apiMediaJoinSetVideoBitrate", [&](JoinJob& job) { return job.setVideoBitrate(kbps); });
}

int apiMediaJoinSetVideoFps(JOIN_HANDLE h, double fps) {
    return withJob(h, "apiMediaJoinSetVideoFps", [&](JoinJob& job) { return job.setFrameRate(fps); });
}

int apiMediaJoinSetVideoFrameSize(JOIN_HANDLE h, int width, int height) {
    return withJob(h, "apiMediaJoinSetVideoFrameSize", [&](JoinJob& job) { return job.setFrameSize(width, height); });
}

int apiMediaJoinSetAudioEncodeContext(JOIN_HANDLE h, int channels, int sampleRate) {
    return withJob(h, "apiMediaJoinSetAudioEncodeContext",
                   [&](JoinJob& job) { return job.setAudioFormat(channels, sampleRate); });
}

int apiMediaJoinSetOutputPath(JOIN_HANDLE h, const char* path) {
    if (!path)
        return badArgument("apiMediaJoinSetOutputPath", "no path");
    return withJob(h, "apiMediaJoinSetOutputPath", [&](JoinJob& job) { return job.setOutputPath(path); });
}

int apiMediaJoinStart(JOIN_HANDLE h) {
    return withJob(h, "apiMediaJoinStart", [](JoinJob& job) { return job.start(); });
}

double apiMediaJoinGetProgress(JOIN_HANDLE h) {
    std::shared_ptr<JoinJob> job = joinJobs().find(h);
    return job ? job->progress() : 0.0;
}

int apiMediaJoinStop(JOIN_HANDLE h) {
    return withJob(h, "apiMediaJoinStop", [](JoinJob& job) { return job.stop(); });
}

int apiMediaJoinClose(JOIN_HANDLE h) {
    std::shared_ptr<JoinJob> job = joinJobs().release(h);
    if (!job)
        return badHandle("apiMediaJoinClose");
    // A Start running on another thread holds its own reference: it is stopped and waited for here, and the
    // job ends when the last reference goes.
    job->stopAndWait();
    return 1;
}

} // extern "C"
