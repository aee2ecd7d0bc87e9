#include "Encoder.h"

#include "EngineLog.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

#include <string>

namespace mediacore {

namespace {
// Speed settings: exports should finish in reasonable time on a desktop machine.
void addSpeedOptions(const AVCodec* codec, bool fastest, const std::string& profile, AVDictionary** options) {
    std::string name = codec->name;
    if (name == "libx264") {
        av_dict_set(options, "preset", fastest ? "ultrafast" : "veryfast", 0);
        // The fastest preset turns off the tools that make Main and High profile (and much of the quality at a
        // bit rate); they cost little, and the profile asked for is the one the stream continues.
        if (fastest && profile != "baseline")
            av_dict_set(options, "x264-params", profile == "main" ? "cabac=1" : "cabac=1:8x8dct=1", 0);
    } else if (name == "libx265") {
        // x265's fastest preset saves little over the next one and loses visibly more.
        av_dict_set(options, "preset", fastest ? "superfast" : "veryfast", 0);
        av_dict_set(options, "x265-params", "log-level=error", 0);
    } else if (name == "libvpx-vp9" || name == "libvpx") {
        av_dict_set(options, "deadline", "good", 0);
        av_dict_set(options, "cpu-used", "5", 0);
        av_dict_set(options, "row-mt", "1", 0);
    } else if (name == "libsvtav1") {
        av_dict_set(options, "preset", "10", 0);
    }
}
} // namespace

int Encoder::finishOpen(CodecContextPtr context, const AVCodec* codec, AVDictionary** options) {
    int rc = avcodec_open2(context.get(), codec, options);
    av_dict_free(options);
    if (rc < 0)
        return EngineLog::failure("open encoder", rc, codec->name);
    _context = std::move(context);
    return 0;
}

int Encoder::open(const Video& video) {
    CodecContextPtr context(avcodec_alloc_context3(video.codec));
    if (!context)
        return EngineLog::failure("allocate encoder", AVERROR(ENOMEM));
    context->width = video.width;
    context->height = video.height;
    context->pix_fmt = video.pixelFormat;
    context->time_base = video.timeBase;
    context->framerate = video.frameRate;
    context->sample_aspect_ratio = video.sampleAspect;
    if (video.bitRate > 0)
        context->bit_rate = video.bitRate;
    context->thread_count = 0;
    if (video.globalHeader)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (video.maxBFrames >= 0)
        context->max_b_frames = video.maxBFrames;
    context->color_range = video.colorRange;
    context->color_primaries = video.colorPrimaries;
    context->color_trc = video.colorTransfer;
    context->colorspace = video.colorSpace;
    context->chroma_sample_location = video.chromaLocation;
    AVDictionary* options = nullptr;
    addSpeedOptions(video.codec, video.fastest, video.profile, &options);
    if (video.inPresentationOrder) {
        context->max_b_frames = 0;
        if (std::string(video.codec->name) == "libx265")
            av_dict_set(&options, "x265-params", "log-level=error:bframes=0", 0);
    }
    if (!video.profile.empty())
        av_dict_set(&options, "profile", video.profile.c_str(), 0);
    return finishOpen(std::move(context), video.codec, &options);
}

int Encoder::open(const Audio& audio) {
    CodecContextPtr context(avcodec_alloc_context3(audio.codec));
    if (!context)
        return EngineLog::failure("allocate encoder", AVERROR(ENOMEM));
    context->sample_rate = audio.sampleRate;
    context->sample_fmt = audio.sampleFormat;
    av_channel_layout_default(&context->ch_layout, audio.channels);
    context->time_base = AVRational{1, audio.sampleRate};
    if (audio.bitRate > 0)
        context->bit_rate = audio.bitRate;
    context->thread_count = 0;
    if (audio.globalHeader)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    return finishOpen(std::move(context), audio.codec, &options);
}

int Encoder::frameSize() const {
    if (_context->codec_type != AVMEDIA_TYPE_AUDIO)
        return 0;
    if (_context->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
        return 0;
    return _context->frame_size;
}

int Encoder::push(AVFrame* frame, AVRational frameTimeBase) {
    if (!frame)
        return avcodec_send_frame(_context.get(), nullptr);
    // Lives until the frame has been sent: the encoder reads the padded copy, not the caller's frame.
    FramePtr padded;
    if (_context->codec_type == AVMEDIA_TYPE_AUDIO) {
        if (_nextSamplePts == AV_NOPTS_VALUE)
            _nextSamplePts =
                frame->pts == AV_NOPTS_VALUE ? 0 : av_rescale_q(frame->pts, frameTimeBase, _context->time_base);
        int required = frameSize();
        // An encoder without a short last frame gets the tail padded with silence.
        if (required > 0 && frame->nb_samples < required &&
            !(_context->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
            padded = makeFrame();
            padded->format = frame->format;
            padded->sample_rate = frame->sample_rate;
            av_channel_layout_copy(&padded->ch_layout, &frame->ch_layout);
            padded->nb_samples = required;
            int rc = av_frame_get_buffer(padded.get(), 0);
            if (rc < 0)
                return rc;
            av_samples_set_silence(padded->extended_data, 0, required, padded->ch_layout.nb_channels,
                                   static_cast<AVSampleFormat>(padded->format));
            av_samples_copy(padded->extended_data, frame->extended_data, 0, 0, frame->nb_samples,
                            frame->ch_layout.nb_channels, static_cast<AVSampleFormat>(frame->format));
            frame = padded.get();
        }
        frame->pts = _nextSamplePts;
        _nextSamplePts += frame->nb_samples;
    } else if (frame->pts != AV_NOPTS_VALUE) {
        frame->pts = av_rescale_q(frame->pts, frameTimeBase, _context->time_base);
    }
    // Frames leave the filter graph marked with their source picture type; let the encoder decide.
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    int rc = avcodec_send_frame(_context.get(), frame);
    if (rc >= 0)
        ++_framesIn;
    return rc;
}

int Encoder::pull(AVPacket* packet) {
    int rc = avcodec_receive_packet(_context.get(), packet);
    if (rc >= 0)
        ++_packetsOut;
    return rc;
}

} // namespace mediacore
