#pragma once

#include <string>
#include <vector>

// Checks a benchmark's output, with the ffprobe and ffmpeg programs, against the ffmpeg program's output for the
// same work, or against what it must hold. Every check prints each difference on a line starting "MISMATCH" and
// returns false, so that the bench can exit non-zero.
class OutputCheck {
public:
    struct Stream {
        std::string type; // "video", "audio", ...
        std::string codec, profile, pixelFormat;
        int width = 0, height = 0, sampleRate = 0, channels = 0;
        long packets = 0;      // counted by reading the file: a video stream's pictures
        double duration = -1;  // seconds; -1 when the file does not say
    };
    struct Facts {
        std::vector<Stream> streams;
        double duration = -1; // the container's
        bool ok = false;      // false when ffprobe could not read the file
    };

    // What ffprobe reads in the file (packets counted).
    static Facts probe(const std::string& path);

    // One checksum per stream of the decoded pictures and samples, in stream order ("0,v,MD5=...").
    static std::vector<std::string> decodedHashes(const std::string& path);

    // One checksum per stream of the packets as stored (for stream copies).
    static std::vector<std::string> packetHashes(const std::string& path);

    // The same work done by both, each run several times: every stream of one of the engine's outputs decodes to
    // the same pictures and samples as one of the ffmpeg program's. Any pair will do: on a busy machine held to
    // few cores, now and then one run of either program encodes from some picture on otherwise than the others,
    // so one run's pair may differ. It says how many outputs came out otherwise; when no pair is alike it names the
    // first picture that differs in the last runs and prints both files' stream facts.
    static bool sameDecoded(const std::string& what, const std::vector<std::string>& engine,
                            const std::vector<std::string>& ffmpeg);

    struct Slack {
        long pictures;  // in each video stream's picture count
        double seconds; // in each stream's and the container's duration
        Slack(long pictures = 0, double seconds = 0.05) : pictures(pictures), seconds(seconds) {}
    };

    // A stream copy done twice: the same packets in every stream, and the same stream facts.
    static bool samePackets(const std::string& what, const std::string& engine, const std::string& ffmpeg,
                            Slack slack = Slack());

    // The same kind of result made in different ways: the same streams, codecs, profiles, pixel formats, sizes,
    // sample rates and channels, picture counts and durations within `slack`.
    static bool sameShape(const std::string& what, const std::string& engine, const std::string& ffmpeg,
                          Slack slack = Slack());

    // Outputs on their own (the pieces of one export, or one file): `pictures` pictures in their video streams
    // together, the video streams `seconds` long together, and no file longer than its video (within `slack`
    // each; copied sound ends at a whole compressed frame).
    static bool holds(const std::string& what, const std::vector<std::string>& paths, long pictures, double seconds,
                      Slack slack = Slack());

    // The video files under `folder` and its subfolders, sorted.
    static std::vector<std::string> videoFilesUnder(const std::string& folder);
    // Those of them that are not in `before`: what an export just wrote.
    static std::vector<std::string> added(const std::string& folder, const std::vector<std::string>& before);

    // One line of the facts: "h264 High yuv420p 1280x720 500 pictures 20.000 s, aac LC 44100 Hz 2 ch 20.015 s".
    static std::string describe(const Facts& facts);
};
