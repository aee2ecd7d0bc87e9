#pragma once

#include <string>

struct AVFormatContext;
struct AVIOContext;
struct AVIOInterruptCB;
struct AVDictionary;

namespace mediacore {

// Inputs and outputs are files on disk and nothing else. FFmpeg reads a name such as "pipe:0.mp4" or
// "http://host/a.mp4" as a URL, and some of its demuxers open further files or URLs named inside a file (concat
// lists, HLS and DASH playlists, subtitle index files); a file that is not what its name says could so read other
// files of its folder, standard input or the network. Every open goes through here: the name is always a file's
// ("file:" in front), only the file protocol is allowed, and only demuxers that read the one file they are given.
class FileAccess {
public:
    enum class Kind { Media, Image, Subtitle };

    // avformat_open_input on the file `path`, with the demuxers that suit `kind`. `options` as for
    // avformat_open_input (may be null). On failure `*context` is freed and null.
    static int openInput(AVFormatContext** context, const std::string& path, Kind kind,
                         AVDictionary** options = nullptr);

    // avio_open2 for writing the file `path`.
    static int openOutput(AVIOContext** io, const std::string& path, const AVIOInterruptCB* interrupt);

    // The URL FFmpeg reads as the file `path` whatever its name.
    static std::string url(const std::string& path);
};

} // namespace mediacore
