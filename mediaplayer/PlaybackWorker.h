#pragma once

#include "ConvertSettings.h"
#include "FfmpegOwners.h"
#include "FilterGraphBuilder.h"

#include <QSize>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace mediacore {
class Demuxer;
}
class AudioSampleBuffer;
class AudioStage;
class MusicOnlyStage;
class VideoFrameQueue;
class VideoStage;

// The player's decoding thread: reads the file, decodes and renders ahead of the playhead into the picture
// queue and the sound buffer, and stops when both are full, so a paused player costs no CPU.
//
// Every public call comes from the main thread and returns at once; the thread picks the request up between
// packets. A newer seek replaces one not yet started and cuts short the read-ahead of one in progress.
//
// A run of seeks close together (a slider being dragged) is answered quickly: when the exact frame is not there
// soon, the best frame decoded so far (the key frame before the target, or a frame on the way) is queued as a
// preview, and the exact frame is decoded once no newer seek has come for a short rest.
// Destroying the worker ends the thread and frees its demuxer, decoders and filter graphs.
class PlaybackWorker {
public:
    // `opened` is the demuxer the player probed the file with (handed over, so the file is not opened twice);
    // null: the thread opens the file itself. `sound` is fed only when an audio output format is given.
    PlaybackWorker(std::string path, std::unique_ptr<mediacore::Demuxer> opened, VideoFrameQueue& pictures,
                   AudioSampleBuffer& sound, std::optional<mediacore::AudioTarget> audioOutput);
    ~PlaybackWorker();
    PlaybackWorker(const PlaybackWorker&) = delete;
    PlaybackWorker& operator=(const PlaybackWorker&) = delete;

    // Starts the thread with a seek to targetUs (its picture is the first one queued).
    void start(int64_t targetUs, uint64_t serial);

    // Pictures and sound from targetUs on, tagged with `serial`; the picture on screen at targetUs is queued as a
    // seek result.
    void seek(int64_t targetUs, uint64_t serial);
    // Renders `decoded` (the picture on screen, at ptsUs) again with the current edits as a seek result, then
    // carries on with the frames after it.
    void refresh(std::shared_ptr<AVFrame> decoded, int64_t ptsUs, uint64_t serial);
    void setEdits(const mediacore::ConvertSettings& edits, uint64_t pictureVersion, uint64_t soundVersion);
    // Stops feeding the sound buffer (the audio output failed).
    void dropAudio();
    void setDisplayBox(QSize box);
    // Something was consumed: there may be room to decode ahead again.
    void wake();
    // Paused (false), no picture is decoded ahead of the one asked for, so a step forward carries on from there
    // (where no sound was decoded past it either); playing (the default), pictures are decoded ahead of the
    // playhead. Sound is decoded ahead either way, so playing starts with sound at hand.
    void setPlaying(bool playing);
    // Asks the thread to end at once (between packets; a blocking read is interrupted). Destroying the worker
    // then only waits for that.
    void requestStop();

private:
    struct Request {
        int64_t targetUs = 0;
        uint64_t serial = 0;
        std::shared_ptr<AVFrame> still; // a refresh: the picture to render again
    };
    struct Edits {
        std::shared_ptr<const mediacore::ConvertSettings> settings;
        uint64_t pictureVersion = 0;
        uint64_t soundVersion = 0;
    };

    void run();
    bool openStages();
    void applyEdits(const Edits& edits);
    void handleSeek(const Request& request);
    void jumpTo(int64_t targetUs);
    void beginSeek(const Request& request);
    int64_t lookAhead(int64_t targetUs);
    void findTarget();
    void previewIfDue();
    const AVPacket* readPacket();
    bool step();
    void pushEnd();
    int chosenAudioStream(const mediacore::ConvertSettings* edits) const;
    QSize displayBox() const;

    const std::string _path;
    VideoFrameQueue& _pictures;
    AudioSampleBuffer& _sound;

    // Shared with the main thread, under _mutex.
    std::mutex _mutex;
    std::condition_variable _wake;
    bool _quit = false;
    bool _kick = false;
    std::optional<Request> _pendingSeek;
    std::optional<Edits> _pendingEdits;
    bool _pendingDropAudio = false;
    std::atomic<bool> _seekPending{false};
    std::atomic<bool> _stop{false}; // interrupts blocking reads
    std::atomic<bool> _playing{true};
    std::atomic<uint64_t> _displayBox{0};

    // The thread's own.
    std::unique_ptr<mediacore::Demuxer> _demuxer;
    std::optional<mediacore::AudioTarget> _audioOutput;
    std::unique_ptr<VideoStage> _video;
    std::unique_ptr<AudioStage> _audio;
    std::unique_ptr<MusicOnlyStage> _musicOnly; // a file without sound: its music alone
    Edits _edits;
    std::deque<mediacore::PacketPtr> _videoPackets; // nullptr marks the end of the file
    std::deque<mediacore::PacketPtr> _audioPackets;
    size_t _videoBytes = 0;
    size_t _audioBytes = 0;
    int64_t _audioSkipBefore = 0;           // ticks: sound packets ending before a seek's target are not decoded
    int64_t _audioSkipBeforeUs = INT64_MIN; // the same in µs on the file's timeline
    bool _audioFromJump = false;            // the demuxer jumped and no sound has been decoded since
    // A quick seek: the best frame so far is shown, then decoding may rest until _restUntil.
    bool _quick = false;
    Request _current;         // the seek being decoded
    bool _targetFound = true; // its target's packets were looked for
    bool _resting = false;
    std::chrono::steady_clock::time_point _restUntil;
    std::chrono::steady_clock::time_point _lastSeekAt;     // when the last seek was picked up
    int _closeSeeks = 0;                                   // seeks in a row, each close behind the one before
    std::chrono::steady_clock::time_point _holdAheadUntil; // no decoding ahead of a seek's picture before this
    // Paused after the first picture, a few packets are decoded past it all the same: a decoder's threads and
    // picture buffers are slow on their first frames, which the first seek or drag would otherwise wait for.
    int _warmUpPackets = 0;
    bool _firstRequest = true;
    bool _slowPreview = false; // a single seek: its best frame so far is shown at _slowPreviewAt if nearer
    std::chrono::steady_clock::time_point _slowPreviewAt;
    uint64_t _serial = 0;
    bool _demuxDone = false;
    bool _endPushed = false;
    int64_t _endUs = 0;    // where the packets read so far end
    int _soundStream = -1; // the audio stream the player plays (or would, with an output)
    std::thread _thread;
};
