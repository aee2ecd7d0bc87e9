#include "MusicTiming.h"

#include "MusicInfo.h"

#include <algorithm>

MusicItemTimes MusicItemTimes::of(const MusicInfo& music) {
    MusicItemTimes m;
    m.duration = music.duration();
    m.pruneStart = music.pruneStart();
    m.pruneDiration = music.pruneDiration();
    m.positionStart = music.positionStart();
    m.positionEnd = music.positionEnd();
    m.fadeIn = music.fadeIn();
    m.fadeOut = music.fadeOut();
    m.repeat = music.repeat();
    m.prune = music.prune();
    m.volume = music.volume();
    return m;
}

void MusicItemTimes::storeInto(MusicInfo& music) const {
    music.setDuration(duration);
    music.setPruneStart(pruneStart);
    music.setPruneDiration(pruneDiration);
    music.setPositionStart(positionStart);
    music.setPositionEnd(positionEnd);
    music.setFadeIn(fadeIn);
    music.setFadeOut(fadeOut);
    music.setRepeat(repeat);
    music.setPrune(prune);
    music.setVolume(volume);
}

MusicItemTimes MusicTiming::loaded(float musicLength, float videoLength) {
    MusicItemTimes m;
    m.duration = musicLength;
    m.pruneStart = 0;
    m.pruneDiration = std::min(musicLength, videoLength);
    m.positionStart = 0;
    m.positionEnd = videoLength;
    m.volume = 0.5f;
    return m;
}

void MusicTiming::capPruneToRange(MusicItemTimes& m) {
    const float range = m.positionEnd - m.positionStart;
    if (m.pruneDiration > range)
        m.pruneDiration = range;
}

void MusicTiming::pruneStartAt(MusicItemTimes& m, float t, float M) {
    const float end = m.pruneStart + m.pruneDiration;
    m.pruneStart = t;
    m.pruneDiration = end > t ? end - t : M - t;
}

namespace {

// A used part longer than its place widens the place, which is pushed back to end at the video's end (never
// before 0). True when the place changed.
bool widenPlaceToHoldPart(MusicItemTimes& m, float V) {
    if (m.pruneDiration <= m.positionEnd - m.positionStart)
        return false;
    m.positionEnd = m.positionStart + m.pruneDiration;
    if (m.positionStart + m.pruneDiration > V) {
        m.positionStart = std::max(0.0f, V - m.pruneDiration);
        m.positionEnd = V;
    }
    return true;
}

} // namespace

bool MusicTiming::pruneEndAt(MusicItemTimes& m, float t, float V) {
    if (m.pruneStart > t)
        m.pruneStart = 0;
    m.pruneDiration = t - m.pruneStart;
    return widenPlaceToHoldPart(m, V);
}

bool MusicTiming::pruneSliderMoved(MusicItemTimes& m, float lower, float upper, long long handle, float M, float V) {
    m.pruneStart = lower * M;
    m.pruneDiration = upper * M - lower * M;
    if (handle != 1 && handle != 2)
        return false;
    return widenPlaceToHoldPart(m, V);
}

MusicTiming::Commit MusicTiming::commit(MusicItemTimes& m, Field field, float T, float M) {
    if (T < 0)
        return {false, QStringLiteral("showmessageTime4")};
    switch (field) {
    case Field::PositionStart:
        if (T >= m.positionEnd)
            return {false, {}};
        m.positionStart = T;
        break;
    case Field::PositionEnd:
        if (m.positionStart >= T)
            return {false, QStringLiteral("showmessageTime3")};
        m.positionEnd = T;
        break;
    case Field::PruneStart: {
        const float end = m.pruneStart + m.pruneDiration;
        if (T >= end)
            return {false, QStringLiteral("showmessageTime5")};
        m.pruneStart = T;
        m.pruneDiration = std::min(M - T, end - T);
        break;
    }
    case Field::PruneEnd: {
        const float d = T - m.pruneStart;
        if (d <= 0)
            return {false, QStringLiteral("showmessageTime6")};
        // The part cannot run past the end of the music.
        m.pruneDiration = M > m.pruneStart ? std::min(d, M - m.pruneStart) : d;
        break;
    }
    }
    capPruneToRange(m);
    return {true, {}};
}

float MusicTiming::fieldValue(const MusicItemTimes& m, Field field) {
    switch (field) {
    case Field::PositionStart:
        return m.positionStart;
    case Field::PositionEnd:
        return m.positionEnd;
    case Field::PruneStart:
        return m.pruneStart;
    case Field::PruneEnd:
        return m.pruneStart + m.pruneDiration;
    }
    return 0;
}

void MusicTiming::step(MusicItemTimes& m, Field field, float T) {
    switch (field) {
    case Field::PositionStart:
        m.positionStart = T;
        break;
    case Field::PositionEnd:
        m.positionEnd = T;
        break;
    case Field::PruneStart:
        m.pruneStart = T;
        break;
    case Field::PruneEnd:
        m.pruneDiration = T - m.pruneStart;
        break;
    }
}

MusicTiming::SliderValues MusicTiming::sliderValues(const MusicItemTimes& m, float V, float M) {
    SliderValues s;
    if (V > 0) {
        s.lower = m.positionStart / V;
        s.upper = m.positionEnd / V;
        s.musicDuration = m.pruneDiration / V;
    }
    if (M > 0)
        s.musicLower = m.pruneStart / M;
    return s;
}

MusicSlice MusicTiming::slice(const MusicItemTimes& m) {
    MusicSlice s;
    const float place = m.positionEnd - m.positionStart;
    s.timelineIn = m.positionStart;
    s.timelineOut = (place > m.pruneDiration && !m.repeat) ? m.positionStart + m.pruneDiration : m.positionEnd;
    s.musicIn = m.prune ? m.pruneStart : 0.0f;
    s.musicOut = m.prune ? m.pruneStart + m.pruneDiration : std::min(place, m.duration);
    s.fadeIn = m.fadeIn ? 1.0 : 0.0;
    s.fadeOut = m.fadeOut ? 1.0 : 0.0;
    s.volume = static_cast<double>(m.volume);
    return s;
}

int64_t MusicTiming::microseconds(double seconds) {
    return static_cast<int64_t>(seconds * 1000000.0);
}
