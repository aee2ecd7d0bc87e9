#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <string>

namespace mediacore {

// Codec and container names: maps the names profiles use ("H264", "HEVC", "MPEG4", "VP9", "AAC", "MP3",
// "OPUS", "FLAC", "PCM", ... in any letter case, or FFmpeg encoder names such as "libx264") to encoders, picks
// the encoder we prefer for a codec, and knows which containers take which codecs.
class CodecCatalog {
public:
    struct Choice {
        bool copy = false;                // "copy": keep the stream's packets as they are
        const AVCodec* encoder = nullptr; // otherwise the encoder to use
    };

    // Resolves a name for a stream of `type`. False for an unknown name, a name without an encoder here, and a
    // codec of the other media type.
    static bool resolve(const std::string& name, AVMediaType type, Choice& choice);

    // The encoder we use for a codec: the library encoders of choice (libx264, libmp3lame, libopus, ...), else
    // FFmpeg's default encoder for it when that is neither hardware-bound nor experimental; nullptr when none.
    static const AVCodec* encoderFor(AVCodecID id);

    // The container an output path's extension names; nullptr when unknown.
    static const AVOutputFormat* containerFor(const std::string& path);
    // Whether a container can store a codec (containers that cannot tell are taken to accept it).
    static bool accepts(const AVOutputFormat* container, AVCodecID id);
    // The container's usual codec for a media type (AV_CODEC_ID_NONE for audio-only containers' video).
    static AVCodecID defaultCodec(const AVOutputFormat* container, AVMediaType type);
    // Whether a container stores a stream's display rotation (the MP4 family does; Matroska, WebM, AVI, MPEG-TS
    // and the rest here do not).
    static bool storesRotation(const AVOutputFormat* container);
    // Containers that hold sound only (mp3, m4a, wav, flac, ...), named by the output path's extension.
    static bool isAudioOnly(const std::string& path);
};

} // namespace mediacore
