#pragma once

#include "ConvertSettings.h"
#include "Encoder.h"
#include "FfmpegOwners.h"
#include "Muxer.h"
#include "NalUnits.h"
#include "SmartCutPlan.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace mediacore {

class Decoder;
class Demuxer;

// A frame-accurate cut at about the speed of a copy, for a job that changes nothing but the range: the video
// packets of the groups of pictures inside the range are copied, only the pictures before the first copied key
// frame and after the last copied packet are decoded and encoded again (SmartCutPlan), with the source's codec,
// profile, pixel format, size, rate and about its bit rate; the sound's packets covering the range are copied.
//
// The copy keeps the source's stream record (avcC / hvcC). The encoded pictures carry their own parameter sets in
// the stream, and every copied picture a decoder can start from, after such pictures, gets the source's put back
// in front of it, so a decoder finds the right ones wherever it starts.
//
// Each stretch of encoded pictures is decoded and encoded on two threads side by side; the pictures after the
// copy on threads of their own, from a second reader of the file, while the head and the copy are written. The
// encoded packets wait in memory (a few seconds of pictures) until their place in the file comes.
//
// H.264 and HEVC in MP4, MOV or Matroska only. Anything else, or what the plan cannot cut this way, is left to
// ConvertPipeline: suits() and run() say so before anything is written, with the reason.
class SmartCut {
public:
    SmartCut(const ConvertSettings& settings, Demuxer& source, const std::vector<int64_t>& bitRates,
             const std::atomic<bool>& stop, std::atomic<int>& progress);
    ~SmartCut();

    // Whether the job keeps the source's codecs, edits nothing, has a range and writes a container that takes
    // the streams as they are; reason() says why not.
    bool suits();

    // Returned by run() when the cut cannot be made this way (reason() says why): nothing usable is written.
    static constexpr int kEncodeInstead = 1;

    // 0 when the file is complete; kEncodeInstead; AVERROR_EXIT when stopped; another negative AVERROR (logged).
    int run(const std::string& outputFile);

    const std::string& reason() const { return _reason; }
    // What the run did, for the job's log.
    std::string summary() const;

private:
    struct Segment; // a stretch of pictures decoded and encoded again

    int scan();
    int openOutput(const std::string& outputFile);
    int writeRange();
    int videoPacket(size_t index, AVPacket* packet);
    int encodeTail();
    int writeTail();
    int audioPacket(AVPacket* packet);
    int copyVideo(size_t index, AVPacket* packet);
    int feed(Segment& segment, size_t index, const AVPacket* packet);
    int refuse(Segment& segment, const std::string& reason);
    int settle(const Segment& segment, int rc);
    int decodeInto(Segment& segment, const AVPacket* packet);
    int encodePicture(Segment& segment, AVFrame* frame);
    int openEncoder(Segment& segment, const AVFrame* frame);
    int handOver(Segment& segment, AVFrame* frame);
    void encodeQueued(Segment& segment);
    int finishSegment(Segment& segment);
    int writeKept(Segment& segment);
    int64_t copyDelay() const;
    int pullEncoded(Segment& segment);
    int writeVideo(AVPacket* packet, AVRational timeBase);
    int encodeInstead(const std::string& reason);

    const ConvertSettings& _settings;
    Demuxer& _source;
    const std::vector<int64_t>& _bitRates;
    const std::atomic<bool>& _stop;
    std::atomic<int>& _progress;

    std::string _reason;
    int _video = -1;
    int _audio = -1;
    NalUnits _units;
    std::vector<SmartCutPlan::Packet> _packets; // the video packets read by scan(), in decoding order
    std::vector<int64_t> _decodeTimes;          // their decoding times as read (source ticks)
    size_t _changeAt = SIZE_MAX;                // the first of them whose parameters differ from the stream's
    SmartCutPlan _plan;
    int64_t _startTicks = 0;
    int64_t _stopTicks = INT64_MAX;
    int64_t _seekUs = -1; // where the scan's reading started (DecodableSeek)

    Muxer _muxer;
    int _videoOut = -1;
    int _audioOut = -1;
    std::unique_ptr<Segment> _head;
    std::unique_ptr<Segment> _tail;
    std::future<int> _tailRun;          // encodeTail(), running from the start of writeRange()
    std::atomic<bool> _tailStop{false}; // ends it early when the cut is abandoned
    std::deque<PacketPtr> _waiting;     // copied packets read while the head was still being encoded
    int64_t _lastDts = AV_NOPTS_VALUE;  // of the video written so far, on the output stream's clock
    int64_t _audioStart = 0;            // the output's time 0 on the sound's clock
    int64_t _audioStop = INT64_MAX;
    bool _videoDone = false;
    bool _audioDone = true;
};

} // namespace mediacore
