#pragma once

#include "JoinSettings.h"

#include <atomic>
#include <string>

struct AVOutputFormat;

namespace mediacore {

// Makes a stream-copy join keep exactly the range of each clip. A copy can only start at a key frame, so a clip
// with a range is first cut on its own with SmartCut (encoded edges, copied groups of pictures) into a private
// temporary folder, and the join then copies that piece whole. The pieces keep the source's stream record, so
// they still join by copy with the clips taken whole.
//
// Clips whose every picture is a key frame, and sound without pictures, are already cut exactly by the copy
// (CopyRangeCutter) and are left as they are. A ranged clip that SmartCut cannot cut (another codec, another
// container) makes the join an encoded one: it never writes a range it was not given.
class ExactCopyPieces {
public:
    explicit ExactCopyPieces(const std::atomic<bool>& stop);
    ~ExactCopyPieces(); // removes the pieces and their folder
    ExactCopyPieces(const ExactCopyPieces&) = delete;
    ExactCopyPieces& operator=(const ExactCopyPieces&) = delete;

    // Returned by prepare() when a clip's range cannot be cut exactly by copying (reason() says why).
    static constexpr int kNeedsEncoding = 1;

    // Fills `cut` with `settings`, each ranged clip replaced by its exact piece taken whole. Progress runs from 0
    // to `progressShare` percent as the pieces are made. 0, kNeedsEncoding, AVERROR_EXIT when stopped, or another
    // negative AVERROR (logged).
    int prepare(const JoinSettings& settings, const AVOutputFormat* format, JoinSettings& cut,
                std::atomic<double>& progress, double progressShare);
    const std::string& reason() const { return _reason; }
    // How many clips were cut into pieces by the last prepare().
    int piecesMade() const { return _made; }

private:
    // Whether `clip` needs a piece; kNeedsEncoding when it needs one that cannot be made, else 0 or an error.
    int needsPiece(const JoinClip& clip, const AVOutputFormat* format, bool& needed);
    int makePiece(const JoinClip& clip, JoinClip& piece);
    int makeFolder();

    const std::atomic<bool>& _stop;
    std::string _folder;
    std::string _reason;
    int _made = 0;
};

} // namespace mediacore
