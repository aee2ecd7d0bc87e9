#pragma once

#include "RecordProperty.h"

#include <QString>

// One background-music item, in float seconds. Not copyable.
class MusicInfo {
public:
    MusicInfo() = default;
    MusicInfo(const MusicInfo&) = delete;
    MusicInfo& operator=(const MusicInfo&) = delete;
    ~MusicInfo();

    RECORD_PROPERTY(QString, path, setPath, {})
    RECORD_PROPERTY(float, duration, setDuration, 0)           // the shorter of the music's and the video's length
    RECORD_PROPERTY(float, pruneStart, setPruneStart, 0)       // into the music, with prune
    RECORD_PROPERTY(float, pruneDiration, setPruneDiration, 0) // length of the used part
    RECORD_PROPERTY(float, positionStart, setPositionStart, 0) // on the video's timeline
    RECORD_PROPERTY(float, positionEnd, setPositionEnd, 0)
    RECORD_PROPERTY(bool, fadeIn, setFadeIn, false) // 1 s
    RECORD_PROPERTY(bool, fadeOut, setFadeOut, false)
    RECORD_PROPERTY(bool, repeat, setRepeat, false)
    RECORD_PROPERTY(bool, prune, setPrune, false)
    RECORD_PROPERTY(bool, selected, setSelected, false)
    RECORD_PROPERTY(float, volume, setVolume, 0) // 0 .. 1
};
