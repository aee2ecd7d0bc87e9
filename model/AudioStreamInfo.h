#pragma once

#include "RecordProperty.h"

#include <QString>

// One audio stream of an input, for the editor's choice of audio track. The texts start empty (not null).
class AudioStreamInfo {
public:
    AudioStreamInfo() = default;
    AudioStreamInfo(const AudioStreamInfo&) = delete;
    AudioStreamInfo& operator=(const AudioStreamInfo&) = delete;
    ~AudioStreamInfo();

    RECORD_PROPERTY(int, channel, setChannel, 0)
    RECORD_PROPERTY(int, bitrate, setBitrate, 0) // bit/s, not divided
    RECORD_PROPERTY(int, fmt, setFmt, 0)
    RECORD_PROPERTY(int, exist, setExist, 0)
    RECORD_PROPERTY(int, sample, setSample, 0) // Hz
    RECORD_PROPERTY(int, index, setIndex, 0)   // stream index in the container
    RECORD_PROPERTY(QString, lang, setLang, QStringLiteral(""))
    RECORD_PROPERTY(QString, title, setTitle, QStringLiteral(""))
    RECORD_PROPERTY(QString, psect, setPsect, QStringLiteral(""))
    RECORD_PROPERTY(QString, codec, setCodec, QStringLiteral(""))
};
