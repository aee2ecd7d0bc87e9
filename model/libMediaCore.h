// The media engine's C interface: probing, snapshots, conversion jobs and join jobs.
//
// Handles are opaque. Paths and codec names are UTF-8, times are int64 microseconds, bit rates kbit/s,
// sample rates Hz, angles degrees. Records are little-endian with the natural alignment of a 64-bit target;
// their sizes and offsets are fixed (checked below) because callers build them byte for byte.
#ifndef CLIPWRIGHT_LIBMEDIACORE_H
#define CLIPWRIGHT_LIBMEDIACORE_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* MEDIA_HANDLE;
typedef void* CONVERT_HANDLE;
typedef void* JOIN_HANDLE;
typedef void* JOIN_CLIP_HANDLE;

// One audio stream as the engine reports it. exist == 0 means "no audio stream".
typedef struct AUDIO_STREAM_INFO {
    int32_t exist;
    int32_t index;         // stream index in the container; chooses the stream in the audio-index calls
    char codec[128];
    int32_t samplerate;    // Hz
    int32_t channel;
    int32_t bitrate;       // bit/s
    int32_t fmt;           // sample-format code
    char lang[128];
    char title[256];
    char apsect[64];
} AUDIO_STREAM_INFO;

// One video stream as the engine reports it. exist == 0 means "no video stream".
typedef struct VIDEO_STREAM_INFO {
    int32_t exist;
    int32_t index;
    char vcodec[64];
    char vcodecTag[64];
    int32_t width;
    int32_t height;
    double fps;            // average frame rate
    int32_t bitrate;       // bit/s
    int32_t padding0;
    double aspect;         // display aspect ratio
    int32_t angle;         // clockwise rotation stored with the stream: 0, 90, 180 or 270
    char lang[128];
    char title[256];
    char apsect[64];
    int32_t padding1;
} VIDEO_STREAM_INFO;

// Pixels of the video frame. Watermark boxes: origin top-left, y down. Crop: margins cut from each edge.
typedef struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} RECT;

typedef struct IMAGE_WATERMARK_PARAM {
    char path[260];
    RECT rect;
    int32_t transparence;  // percent, 0 opaque .. 100 invisible
    int64_t start_time;    // µs on the source timeline
    int64_t end_time;
} IMAGE_WATERMARK_PARAM;

typedef struct TEXT_WATERMARK_PARAM {
    char text[260];
    RECT rect;             // only left/top are used: the text origin from the bottom-left corner, y up
    char szFontFile[260];
    char szFontName[260];
    int32_t fontsize;      // pixels of the video frame
    uint32_t fontclr;      // colour word: red bits 24-31, green 16-23, blue 8-15, low byte 0
    int32_t transparence;
    int64_t start_time;
    int64_t end_time;
} TEXT_WATERMARK_PARAM;

typedef struct VIDEO_WATERMARK_PARAM {
    char path[260];
    RECT rect;
    int32_t padding0;
    int64_t start_time;
    int64_t end_time;
    int64_t file_start_time;  // the used part of the watermark video, µs of that file
    int64_t file_end_time;
    int32_t reserved0;
    char reserved1[16];
    int32_t reserved2;
    int32_t reserved3;
    int32_t transparence;
    int32_t reserved4;
    int32_t padding1;
} VIDEO_WATERMARK_PARAM;

typedef struct SUBTITLE_PARAM {
    char path[260];        // .srt, .ass or .ssa; empty for none
    int32_t position;      // pixel row of the subtitle, -1 for the default place
    char szFontFile[260];
    char reserved[260];
    int32_t fontsize;
    int32_t shadow;        // 1 draws a shadow
    uint32_t fontclr;
    uint32_t shadowclr;
} SUBTITLE_PARAM;

// Draws one text watermark over a width x height canvas: rows top first, bytes B,G,R,A premultiplied.
typedef void (*DRAW_TEXT_CALLBACK)(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM param);

// Image loading for the player's image watermarks. A null buffer asks for the size only (returns 1).
typedef int32_t (*LOAD_IMAGE_CALLBACK)(const char* path, int32_t* width, int32_t* height, int32_t bufferSize,
                                       void* buffer);

// Copies text into a fixed char[fieldSize] record field with its NUL. Refuses (returns 0, writes nothing) when
// the text needs more than fieldSize - 1 bytes; returns 1 on success.
static inline int MediaRecordSetText(char* field, size_t fieldSize, const char* text) {
    if (field == NULL || fieldSize == 0)
        return 0;
    if (text == NULL)
        text = "";
    size_t length = strlen(text);
    if (length + 1 > fieldSize)
        return 0;
    memcpy(field, text, length + 1);
    return 1;
}

// ---- Media: probing and snapshots ----
MEDIA_HANDLE MediaOpen(const char* path);
int MediaGetInfo(MEDIA_HANDLE h, AUDIO_STREAM_INFO* audio, VIDEO_STREAM_INFO* video);  // < 0 fails
int64_t MediaGetDuration(MEDIA_HANDLE h);                                                // µs
// Fills width x height BGRA premultiplied pixels, top row first, upright. timeUs is the time of the frame.
int MediaSnapshot(MEDIA_HANDLE h, int64_t timeUs, int width, int height, void* pixels, int flags);
void MediaClose(MEDIA_HANDLE h);

// ---- Conversion jobs: one input, one output. Setters fail at <= 0. ----
CONVERT_HANDLE apiMediaConvertCreate(void);
int apiMediaConvertSetInputMedia(CONVERT_HANDLE h, const char* path);
int64_t apiMediaConvertGetDuration(CONVERT_HANDLE h);
int apiMediaConvertGetAudioStreamInfo(CONVERT_HANDLE h, int* count, AUDIO_STREAM_INFO* records);
int apiMediaConvertGetVideoStreamInfo(CONVERT_HANDLE h, int* count, VIDEO_STREAM_INFO* records);
int apiMediaConvertSetCutTime(CONVERT_HANDLE h, int64_t start, int64_t stop);
int apiMediaConvertSetLimitFileSize(CONVERT_HANDLE h, int64_t bytes);
int apiMediaConvertSetVcodec(CONVERT_HANDLE h, const char* name);
int apiMediaConvertSetAcodec(CONVERT_HANDLE h, const char* name);
int apiMediaConvertSetVideoFrameSize(CONVERT_HANDLE h, int width, int height);
int apiMediaConvertSetVideoBitrate(CONVERT_HANDLE h, int kbps);
int apiMediaConvertSetAudioBitrate(CONVERT_HANDLE h, int kbps);
int apiMediaConvertSetVideoFps(CONVERT_HANDLE h, double fps);
int apiMediaConvertSetAudioEncodeContext(CONVERT_HANDLE h, int channels, int sampleRate);
int apiMediaConvertSetAudioIndex(CONVERT_HANDLE h, int streamIndex);
int apiMediaConvertSetMaineAudioVolume(CONVERT_HANDLE h, double volume);
int apiMediaConvertDisableMainAudio(CONVERT_HANDLE h);
int apiMediaConvertSetSubtitle(CONVERT_HANDLE h, SUBTITLE_PARAM param);
int apiMediaConvertSetCropSize(CONVERT_HANDLE h, RECT margins);
int apiMediaConvertAddImageWatermask(CONVERT_HANDLE h, IMAGE_WATERMARK_PARAM param);
int apiMediaConvertAddTextWatermask(CONVERT_HANDLE h, TEXT_WATERMARK_PARAM param);
int apiMediaConvertAddVideoWatermark(CONVERT_HANDLE h, VIDEO_WATERMARK_PARAM param);
int apiMediaConvertSetDrawTextCallback(DRAW_TEXT_CALLBACK callback);  // process-wide
int apiMediaConvertAddImageEffect(CONVERT_HANDLE h, int effectId);
int apiMediaConvertAdjustBCS(CONVERT_HANDLE h, int brightness, int contrast, int saturation);
int apiMediaConvertHFlipStatus(CONVERT_HANDLE h, int on);
int apiMediaConvertVFlipStatus(CONVERT_HANDLE h, int on);
int apiMediaConvertSetRotateAngle(CONVERT_HANDLE h, int degrees);
// Music range [musicStart, musicEnd) of the file placed at [timelineStart, timelineEnd); < 0 fails.
int apiMediaConvertAddDubbingMusic(CONVERT_HANDLE h, const char* path, int64_t musicStart, int64_t musicEnd,
                                   int64_t timelineStart, int64_t timelineEnd, int64_t fadeIn, int64_t fadeOut,
                                   double volume);
int apiMediaConvertSetOutputPath(CONVERT_HANDLE h, const char* path);
int apiMediaConvertStart(CONVERT_HANDLE h);        // blocking; > 0 also after a stop
int apiMediaConvertGetProgress(CONVERT_HANDLE h);  // 0..100, any thread
// After a Start that the size limit ended before the cut's stop: where the written file ends on the source's
// timeline (µs), so that a next cut can start there; 0 when the job reached its stop (or did not run).
int64_t apiMediaConvertGetLimitedEnd(CONVERT_HANDLE h);
int apiMediaConvertStop(CONVERT_HANDLE h);         // any thread
int apiMediaConvertClose(CONVERT_HANDLE h);

// ---- Join jobs: several clips, one output. ----
JOIN_HANDLE apiMediaJoinCreate(void);
JOIN_CLIP_HANDLE apiMediaJoinAddMediaClip(JOIN_HANDLE h, const char* path, int64_t start, int64_t stop);  // 0 fails
int apiMediaJoinSetTransition(JOIN_HANDLE h, JOIN_CLIP_HANDLE clip, int type, int64_t duration);
int apiMediaJoinSetAudioVolumn(JOIN_HANDLE h, JOIN_CLIP_HANDLE clip, double factor);
int apiMediaJoinSetAudioCodec(JOIN_HANDLE h, const char* name);
int apiMediaJoinSetVideoCodec(JOIN_HANDLE h, const char* name);
int apiMediaJoinSetAudioBitrate(JOIN_HANDLE h, int kbps);
int apiMediaJoinSetVideoBitrate(JOIN_HANDLE h, int kbps);
int apiMediaJoinSetVideoFps(JOIN_HANDLE h, double fps);
int apiMediaJoinSetVideoFrameSize(JOIN_HANDLE h, int width, int height);
int apiMediaJoinSetAudioEncodeContext(JOIN_HANDLE h, int channels, int sampleRate);
int apiMediaJoinSetOutputPath(JOIN_HANDLE h, const char* path);
int apiMediaJoinStart(JOIN_HANDLE h);          // blocking; < 0 fails, >= 0 succeeds (also after a stop)
double apiMediaJoinGetProgress(JOIN_HANDLE h); // 0..100
int apiMediaJoinStop(JOIN_HANDLE h);
int apiMediaJoinClose(JOIN_HANDLE h);

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(AUDIO_STREAM_INFO) == 600);
static_assert(offsetof(AUDIO_STREAM_INFO, index) == 4);
static_assert(offsetof(AUDIO_STREAM_INFO, codec) == 8);
static_assert(offsetof(AUDIO_STREAM_INFO, samplerate) == 136);
static_assert(offsetof(AUDIO_STREAM_INFO, channel) == 140);
static_assert(offsetof(AUDIO_STREAM_INFO, bitrate) == 144);
static_assert(offsetof(AUDIO_STREAM_INFO, fmt) == 148);
static_assert(offsetof(AUDIO_STREAM_INFO, lang) == 152);
static_assert(offsetof(AUDIO_STREAM_INFO, title) == 280);
static_assert(offsetof(AUDIO_STREAM_INFO, apsect) == 536);

static_assert(sizeof(VIDEO_STREAM_INFO) == 624);
static_assert(offsetof(VIDEO_STREAM_INFO, index) == 4);
static_assert(offsetof(VIDEO_STREAM_INFO, vcodec) == 8);
static_assert(offsetof(VIDEO_STREAM_INFO, vcodecTag) == 72);
static_assert(offsetof(VIDEO_STREAM_INFO, width) == 136);
static_assert(offsetof(VIDEO_STREAM_INFO, height) == 140);
static_assert(offsetof(VIDEO_STREAM_INFO, fps) == 144);
static_assert(offsetof(VIDEO_STREAM_INFO, bitrate) == 152);
static_assert(offsetof(VIDEO_STREAM_INFO, aspect) == 160);
static_assert(offsetof(VIDEO_STREAM_INFO, angle) == 168);
static_assert(offsetof(VIDEO_STREAM_INFO, lang) == 172);
static_assert(offsetof(VIDEO_STREAM_INFO, title) == 300);
static_assert(offsetof(VIDEO_STREAM_INFO, apsect) == 556);

static_assert(sizeof(RECT) == 16);
static_assert(offsetof(RECT, top) == 4);
static_assert(offsetof(RECT, right) == 8);
static_assert(offsetof(RECT, bottom) == 12);

static_assert(sizeof(IMAGE_WATERMARK_PARAM) == 296);
static_assert(offsetof(IMAGE_WATERMARK_PARAM, rect) == 260);
static_assert(offsetof(IMAGE_WATERMARK_PARAM, transparence) == 276);
static_assert(offsetof(IMAGE_WATERMARK_PARAM, start_time) == 280);
static_assert(offsetof(IMAGE_WATERMARK_PARAM, end_time) == 288);

static_assert(sizeof(TEXT_WATERMARK_PARAM) == 824);
static_assert(offsetof(TEXT_WATERMARK_PARAM, rect) == 260);
static_assert(offsetof(TEXT_WATERMARK_PARAM, szFontFile) == 276);
static_assert(offsetof(TEXT_WATERMARK_PARAM, szFontName) == 536);
static_assert(offsetof(TEXT_WATERMARK_PARAM, fontsize) == 796);
static_assert(offsetof(TEXT_WATERMARK_PARAM, fontclr) == 800);
static_assert(offsetof(TEXT_WATERMARK_PARAM, transparence) == 804);
static_assert(offsetof(TEXT_WATERMARK_PARAM, start_time) == 808);
static_assert(offsetof(TEXT_WATERMARK_PARAM, end_time) == 816);

static_assert(sizeof(VIDEO_WATERMARK_PARAM) == 352);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, rect) == 260);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, start_time) == 280);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, end_time) == 288);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, file_start_time) == 296);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, file_end_time) == 304);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, reserved0) == 312);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, reserved1) == 316);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, reserved2) == 332);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, reserved3) == 336);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, transparence) == 340);
static_assert(offsetof(VIDEO_WATERMARK_PARAM, reserved4) == 344);

static_assert(sizeof(SUBTITLE_PARAM) == 800);
static_assert(offsetof(SUBTITLE_PARAM, position) == 260);
static_assert(offsetof(SUBTITLE_PARAM, szFontFile) == 264);
static_assert(offsetof(SUBTITLE_PARAM, reserved) == 524);
static_assert(offsetof(SUBTITLE_PARAM, fontsize) == 784);
static_assert(offsetof(SUBTITLE_PARAM, shadow) == 788);
static_assert(offsetof(SUBTITLE_PARAM, fontclr) == 792);
static_assert(offsetof(SUBTITLE_PARAM, shadowclr) == 796);
#endif

#endif  // CLIPWRIGHT_LIBMEDIACORE_H
