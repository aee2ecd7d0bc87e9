#pragma once

#include <QString>

#include <cstdint>

class MusicInfo;

// The times and flags of one background-music item as plain values (MusicInfo itself cannot be copied), in float
// seconds; `duration` is the music file's own length.
struct MusicItemTimes {
    float duration = 0;
    float pruneStart = 0;
    float pruneDiration = 0;
    float positionStart = 0;
    float positionEnd = 0;
    bool fadeIn = false;
    bool fadeOut = false;
    bool repeat = false;
    bool prune = false;
    float volume = 0;

    static MusicItemTimes of(const MusicInfo& music);
    void storeInto(MusicInfo& music) const;
};

// Where an item's music plays, as the preview player and the export are both given it: the part [musicIn,
// musicOut) of the file placed at [timelineIn, timelineOut) of the video, faded in and out over the given lengths.
// Seconds, computed in single precision as the item's fields are, then widened.
struct MusicSlice {
    double musicIn = 0;
    double musicOut = 0;
    double timelineIn = 0;
    double timelineOut = 0;
    double fadeIn = 0;
    double fadeOut = 0;
    double volume = 0;
};

// The timing rules of a music item, without a widget: the values of a new item, the edits of the panel's
// buttons, fields and prune slider, and the slice that is played. V is the video's length, M the music's.
//
// The preview and the export share one rule for where an item's music ends (`slice`): the used part when the
// item is pruned, else the music up to the length of its place.
class MusicTiming {
public:
    // A freshly loaded item: the whole video as its place, the music's start as its part (as long as the music,
    // at most the video), volume 0.5, ticked.
    static MusicItemTimes loaded(float musicLength, float videoLength);

    // The used part is kept no longer than the place (a selection, a committed field).
    static void capPruneToRange(MusicItemTimes& m);

    // "【": the part starts at the music position t, keeping its end when that lies after t, else running to the
    // end of the music.
    static void pruneStartAt(MusicItemTimes& m, float t, float M);
    // "】": the part ends at the music position t (from 0 when t lies before its start); a part longer than the
    // place widens the place, pushed back to end at the video's end. True when the place changed.
    static bool pruneEndAt(MusicItemTimes& m, float t, float V);
    // A drag of the prune slider (values are fractions of the music). For the handles 1 and 2 a part longer than
    // the place widens it as "】" does. True when the place changed.
    static bool pruneSliderMoved(MusicItemTimes& m, float lower, float upper, long long handle, float M, float V);

    // A typed time, committed when its field's editing ends.
    enum class Field { PositionStart, PositionEnd, PruneStart, PruneEnd };
    struct Commit {
        bool accepted = false;
        QString refusalKey; // empty with a refusal that says nothing (a start at or after the end)
    };
    static Commit commit(MusicItemTimes& m, Field field, float T, float M);
    // The value a field group shows.
    static float fieldValue(const MusicItemTimes& m, Field field);
    // A stepped time: stored as it stands, without a check.
    static void step(MusicItemTimes& m, Field field, float T);

    // The slider's values for an item: the place as fractions of the video, the part's start as a fraction of the
    // music and its length as a fraction of the video.
    struct SliderValues {
        float lower = 0;
        float upper = 0;
        float musicLower = 0;
        float musicDuration = 0;
    };
    static SliderValues sliderValues(const MusicItemTimes& m, float V, float M);

    static MusicSlice slice(const MusicItemTimes& m);
    // Seconds to whole microseconds, truncated toward zero.
    static int64_t microseconds(double seconds);
};
