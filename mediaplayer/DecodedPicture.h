#pragma once

#include <QImage>

#include <cstdint>
#include <memory>

struct AVFrame;

// One entry of the picture queue between the decoding thread and the main thread: a picture ready to be shown,
// or the mark that the media ends.
//
// Times are µs on the file's timeline (0 = the file's start).
struct DecodedPicture {
    enum class Kind { Picture, End };

    Kind kind = Kind::Picture;
    uint64_t serial = 0;         // the seek generation it belongs to; pictures of an older one are dropped
    uint64_t pictureVersion = 0; // the edits it was rendered with
    int64_t ptsUs = 0;
    int64_t durationUs = 0;
    // The exact picture a seek or a refresh asked for: shown at once, also while paused.
    bool seekResult = false;
    // A picture on the way to a seek's exact one (the nearest key frame or a frame decoded already), shown while
    // a newer seek keeps the exact one from being finished; the seek result still follows.
    bool preview = false;

    QImage image; // scaled for the view: BGRA bytes, premultiplied (QImage::Format_ARGB32_Premultiplied)
    std::shared_ptr<AVFrame> edited;  // full-size output of the edits, for snapshots
    std::shared_ptr<AVFrame> decoded; // the decoded frame it was made from, for re-rendering with new edits

    int64_t endUs = 0; // Kind::End: where the media ends (the end of its last frame or sample)

    bool isEnd() const { return kind == Kind::End; }
};
