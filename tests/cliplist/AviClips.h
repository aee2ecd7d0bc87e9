#pragma once

#include "support/MediaFixtures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

// AVI clips as cameras and older encoders wrote them: MPEG-4 Part 2 video with B-frames (stored plainly under an
// XviD tag, and "packed" as XviD itself packs them, several pictures in one chunk) and AC-3 sound. The first second
// is red and the rest blue, so a picture tells whether it is the file's first.
struct AviClip {
    std::string name;
    std::string path;
};

// What other AVI writers leave in a file and ffmpeg's own writer does not: video chunks before the first picture
// that hold nothing (frames a capture dropped, an encoder's delay frames), and an index that marks no key frame.
// UndecodablePictures: every video chunk's bytes zeroed, so no picture can be decoded from it.
enum class AviRewrite { DroppedFirstFrames, NoKeyFlags, UndecodablePictures };

// The AVI at `source` written again through libavformat with the change (once per fixture folder, under a temporary
// name renamed at the end); its path, or "" (and a failed test) when it could not be written.
inline std::string rewrittenAvi(const std::string& source, const std::string& name, AviRewrite rewrite) {
    namespace fs = std::filesystem;
    const fs::path target = fs::path(MediaFixtures::dir()) / name;
    if (fs::exists(target) && fs::file_size(target) > 0)
        return target.string();
    const fs::path temp = fs::path(MediaFixtures::dir()) / (".tmp-" + std::to_string(getpid()) + "-" + name);
    AVFormatContext* in = nullptr;
    AVFormatContext* out = nullptr;
    AVPacket* packet = av_packet_alloc();
    bool ok = packet && source.size() && avformat_open_input(&in, source.c_str(), nullptr, nullptr) >= 0 &&
              avformat_find_stream_info(in, nullptr) >= 0 &&
              avformat_alloc_output_context2(&out, nullptr, "avi", temp.c_str()) >= 0;
    const int video = ok ? av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    for (unsigned i = 0; ok && i < in->nb_streams; ++i) {
        AVStream* stream = avformat_new_stream(out, nullptr);
        ok = stream && avcodec_parameters_copy(stream->codecpar, in->streams[i]->codecpar) >= 0;
        if (ok)
            stream->time_base = in->streams[i]->time_base;
    }
    ok = ok && video >= 0 && avio_open(&out->pb, temp.c_str(), AVIO_FLAG_WRITE) >= 0 &&
         avformat_write_header(out, nullptr) >= 0;
    // Two empty chunks take the places of the first two frames; the pictures follow them.
    const int64_t dropped = rewrite == AviRewrite::DroppedFirstFrames ? 2 : 0;
    for (int64_t i = 0; ok && i < dropped; ++i) {
        AVPacket* empty = av_packet_alloc();
        empty->stream_index = video;
        empty->dts = empty->pts = i;
        empty->duration = 1;
        ok = av_write_frame(out, empty) >= 0;
        av_packet_free(&empty);
    }
    while (ok && av_read_frame(in, packet) >= 0) {
        const int index = packet->stream_index;
        if (index == video) {
            if (rewrite == AviRewrite::NoKeyFlags)
                packet->flags &= ~AV_PKT_FLAG_KEY;
            if (rewrite == AviRewrite::UndecodablePictures && av_packet_make_writable(packet) >= 0)
                std::fill(packet->data, packet->data + packet->size, uint8_t(0));
            for (int64_t* time : {&packet->dts, &packet->pts})
                if (*time != AV_NOPTS_VALUE)
                    *time += dropped;
        }
        av_packet_rescale_ts(packet, in->streams[index]->time_base, out->streams[index]->time_base);
        ok = av_interleaved_write_frame(out, packet) >= 0;
        av_packet_unref(packet);
    }
    ok = ok && av_write_trailer(out) >= 0;
    if (out && out->pb)
        avio_closep(&out->pb);
    avformat_free_context(out);
    avformat_close_input(&in);
    av_packet_free(&packet);
    std::error_code ec;
    if (ok)
        fs::rename(temp, target, ec);
    if (!ok || ec) {
        fs::remove(temp, ec);
        ADD_FAILURE() << "could not rewrite " << source << " as " << name;
        return "";
    }
    return target.string();
}

inline std::vector<AviClip> aviClips() {
    const std::string pictures = MediaFixtures::quote(
        "color=c=red:s=320x240:r=25:d=1[a];color=c=blue:s=320x240:r=25:d=2[b];[a][b]concat=n=2:v=1:a=0[out0]");
    const std::string sound = " -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 -c:a ac3 -b:a 192k";
    std::vector<AviClip> clips;
    for (const auto& [name, video] :
         {std::pair<std::string, std::string>{"xvid-tag", "-c:v mpeg4 -bf 2 -vtag XVID -q:v 4"},
          std::pair<std::string, std::string>{"xvid-packed", "-c:v libxvid -bf 2 -q:v 4"},
          std::pair<std::string, std::string>{"xvid-late", "-c:v libxvid -bf 2 -q:v 4"}})
        clips.push_back(
            {name, MediaFixtures::make("avi_" + name + "_ac3.avi",
                                       std::string(name == "xvid-late" ? "-itsoffset 0.5 " : "") + "-f lavfi -i " +
                                           pictures + sound + " " + video + " -shortest")});
    const std::string plain = clips.front().path;
    clips.push_back(
        {"dropped-first", rewrittenAvi(plain, "avi_dropped-first_ac3.avi", AviRewrite::DroppedFirstFrames)});
    clips.push_back({"no-key-flags", rewrittenAvi(plain, "avi_no-key-flags_ac3.avi", AviRewrite::NoKeyFlags)});
    return clips;
}

// "red", "blue", "black" or "other": the colour of the picture's middle (a preview may have bars at its edges).
inline std::string firstPictureColour(const QImage& picture) {
    if (picture.isNull() || picture.width() < 4 || picture.height() < 4)
        return "none";
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = picture.height() * 3 / 8; y < picture.height() * 5 / 8; ++y)
        for (int x = picture.width() * 3 / 8; x < picture.width() * 5 / 8; ++x) {
            const QRgb p = picture.pixel(x, y);
            r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    r /= n, g /= n, b /= n;
    if (r < 40 && g < 40 && b < 40)
        return "black";
    if (r > 150 && g < 80 && b < 80)
        return "red";
    if (b > 150 && r < 80 && g < 80)
        return "blue";
    return "other";
}

// The colour of the first picture ffmpeg itself decodes from the file, to hold ours against.
inline std::string ffmpegFirstPictureColour(const std::string& path) {
    const std::string picture = MediaFixtures::freshDir("avi-first") + "/first.png";
    MediaFixtures::run("ffmpeg -nostdin -loglevel error -y -i " + MediaFixtures::quote(path) + " -frames:v 1 " +
                       MediaFixtures::quote(picture) + " 2>/dev/null");
    return firstPictureColour(QImage(QString::fromStdString(picture)));
}
