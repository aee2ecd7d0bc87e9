#pragma once

#include "RecordProperty.h"

#include <QString>

// The description of one media file: its first video stream and its first audio stream. Every field starts at 0
// or null. A record is never copied; holders share it through std::shared_ptr.
class FileData {
public:
    FileData() = default;
    FileData(const FileData&) = delete;
    FileData& operator=(const FileData&) = delete;
    ~FileData();

    RECORD_PROPERTY(int, angle, setAngle, 0) // degrees stored with the video stream
    RECORD_PROPERTY(int, width, setWidth, 0) // pixels; 0 without video
    RECORD_PROPERTY(int, height, setHeight, 0)
    RECORD_PROPERTY(double, aspect, setAspect, 0) // display aspect ratio
    RECORD_PROPERTY(int, bitrate, setBitrate, 0)  // video kbit/s (bit/s / 1000, truncated)
    RECORD_PROPERTY(double, fps, setFps, 0)       // probed: whole frames per second only
    RECORD_PROPERTY(int, exist, setExist, 0)
    RECORD_PROPERTY(int, index, setIndex, 0)
    RECORD_PROPERTY(float, duration, setDuration, 0)      // seconds
    RECORD_PROPERTY(QString, extension, setExtension, {}) // without the dot
    RECORD_PROPERTY(float, fileSize, setFileSize, 0)      // decimal megabytes
    RECORD_PROPERTY(double, a_aspect, setA_aspect, 0)
    RECORD_PROPERTY(int, a_bitrate, setA_bitrate, 0) // audio kbit/s
    RECORD_PROPERTY(int, a_exist, setA_exist, 0)
    RECORD_PROPERTY(int, a_index, setA_index, 0)
    RECORD_PROPERTY(int, a_channel, setA_channel, 0)
    RECORD_PROPERTY(int, a_fmt, setA_fmt, 0)
    RECORD_PROPERTY(int, a_samplerate, setA_samplerate, 0) // Hz
    RECORD_PROPERTY(QString, a_codec, setA_codec, {})
    RECORD_PROPERTY(QString, a_lang, setA_lang, {})
    RECORD_PROPERTY(QString, a_title, setA_title, {})
    RECORD_PROPERTY(QString, a_apsect, setA_apsect, {})
    RECORD_PROPERTY(QString, metadata_vcodec, setMetadata_vcodec, {})
    RECORD_PROPERTY(QString, metadata_vcodecTag, setMetadata_vcodecTag, {})
    RECORD_PROPERTY(QString, metadata_lang, setMetadata_lang, {})
    RECORD_PROPERTY(QString, metadata_title, setMetadata_title, {})
    RECORD_PROPERTY(QString, metadata_apsect, setMetadata_apsect, {})
};
