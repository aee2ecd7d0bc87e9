#include "FileAccess.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace mediacore {

namespace {
// Containers and elementary streams of sound and pictures that read only the file they are given. Left out on
// purpose: concat, hls, dash, imf (they open what the file names), lavfi (a filter graph that can open files),
// vobsub (opens its .sub), devices and network demuxers.
constexpr const char* kImageDemuxers =
    "image2,apng,gif,gif_pipe,bmp_pipe,dds_pipe,exr_pipe,j2k_pipe,jpeg_pipe,jpegls_pipe,jpegxl_pipe,pam_pipe,"
    "pbm_pipe,pcx_pipe,pgm_pipe,pgmyuv_pipe,phm_pipe,photocd_pipe,pictor_pipe,png_pipe,ppm_pipe,psd_pipe,"
    "qdraw_pipe,qoi_pipe,sgi_pipe,sunrast_pipe,svg_pipe,tiff_pipe,webp_pipe,xbm_pipe,xpm_pipe,xwd_pipe";
constexpr const char* kMediaDemuxers =
    "mov,matroska,avi,asf,flv,live_flv,mpegts,mpegtsraw,mpeg,mpegvideo,mxf,nut,nuv,ogg,rm,swf,wtv,dv,ivf,obu,"
    "smjpeg,yuv4mpegpipe,h261,h263,h264,hevc,m4v,mjpeg,mjpeg_2000,vc1,dirac,dnxhd,cavsvideo,avs2,avs3,av1,"
    "aac,ac3,eac3,dts,dtshd,truehd,mlp,loas,mp3,mpc,mpc8,flac,wav,w64,aiff,caf,au,voc,amr,amrnb,amrwb,ape,tak,"
    "tta,wv,oma,gsm,g722,g723_1,g726,g726le,g729,ilbc,s337m,xwma";
constexpr const char* kSubtitleDemuxers = "ass,srt,webvtt,subviewer,subviewer1,microdvd,mpl2,jacosub,sami,realtext,"
                                          "pjs,vplayer,stl,lrc,aqtitle,scc,mpsub";
} // namespace

std::string FileAccess::url(const std::string& path) {
    return "file:" + path;
}

int FileAccess::openInput(AVFormatContext** context, const std::string& path, Kind kind, AVDictionary** options) {
    AVDictionary* local = nullptr;
    AVDictionary** dictionary = options ? options : &local;
    av_dict_set(dictionary, "protocol_whitelist", "file", 0);
    std::string formats;
    switch (kind) {
    case Kind::Media:
        // A picture opened as media (a still as a clip) is probed like any other file.
        formats = std::string(kMediaDemuxers) + "," + kImageDemuxers;
        break;
    case Kind::Image:
        formats = kImageDemuxers;
        break;
    case Kind::Subtitle:
        formats = kSubtitleDemuxers;
        break;
    }
    av_dict_set(dictionary, "format_whitelist", formats.c_str(), 0);
    // image2 would read "%d" in a name as a numbered sequence of other files.
    av_dict_set(dictionary, "pattern_type", "none", 0);
    const int rc = avformat_open_input(context, url(path).c_str(), nullptr, dictionary);
    av_dict_free(&local);
    return rc;
}

int FileAccess::openOutput(AVIOContext** io, const std::string& path, const AVIOInterruptCB* interrupt) {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int rc = avio_open2(io, url(path).c_str(), AVIO_FLAG_WRITE, interrupt, &options);
    av_dict_free(&options);
    return rc;
}

} // namespace mediacore
