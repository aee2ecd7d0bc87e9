#pragma once

#include "JobRunGate.h"
#include "JoinSettings.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace mediacore {

// A join job: several clips, one output (apiMediaJoin*). The setters validate and store into the settings;
// start() runs the whole job on the calling thread; progress() and stop() may be called from any other thread
// meanwhile.
//
// Results: setters return 1 on success and a negative code on failure (an AVERROR or a JoinError, logged once).
// addClip() returns the clip's handle, nullptr when the clip is refused; a job with a refused clip then fails
// to start with the refusal's code rather than writing a join without it. start() returns 1 when the file is
// written and also after a stop, which leaves no file. The output is written under a temporary name beside the
// target and renamed at the end, never replacing a file.
//
// With "copy" for both codecs (or for the one stream the output holds) the clips' packets are copied
// (StreamCopyJoin); otherwise every clip is decoded, fitted to the output's shape and encoded (EncodingJoin).
class JoinJob {
public:
    JoinJob() = default;
    JoinJob(const JoinJob&) = delete;
    JoinJob& operator=(const JoinJob&) = delete;
    // Stops a running start() and waits until it has returned.
    ~JoinJob();

    // (0, 0) is the whole file. Opens the file to check it and the range.
    JoinClip* addClip(const std::string& path, int64_t startUs, int64_t stopUs);
    int setTransition(const void* clip, int type, int64_t durationUs);
    int setVolume(const void* clip, double factor);

    int setVideoCodec(const std::string& name);
    int setAudioCodec(const std::string& name);
    int setVideoBitrate(int kbps);
    int setAudioBitrate(int kbps);
    int setFrameRate(double fps);
    int setFrameSize(int width, int height);
    int setAudioFormat(int channels, int sampleRate);
    int setOutputPath(const std::string& path);

    int start();
    double progress() const { return _progress.load(std::memory_order_relaxed); }
    // Stops a run in progress and returns once it has ended (closing the handle).
    void stopAndWait();
    int stop();

    const JoinSettings& settings() const { return _settings; }

    // Whether the settings ask for a stream-copy join, and whether that is consistent; 0 or a negative code.
    int copyMode(bool& copy) const;

private:
    JoinClip* findClip(const void* handle);
    int refuseWhileRunning(const char* operation) const;
    template <typename Check, typename Store> int setOutputValue(const char* operation, Check check, Store store);
    // Whole-file clips end where their content ends, measured here (on the job's thread) rather than trusted.
    int measureWholeClips();
    int validate() const;
    int run();

    JoinSettings _settings;
    int _refusal = 0; // the first refused clip's code

    std::atomic<bool> _stop{false};
    std::atomic<double> _progress{0};
    JobRunGate _gate;
};

} // namespace mediacore
