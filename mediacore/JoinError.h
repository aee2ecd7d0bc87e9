#pragma once

namespace mediacore {

// Failures particular to join jobs. Others carry FFmpeg's AVERROR codes as the rest of the engine does
// (AVERROR(ENOENT) for a missing clip, AVERROR(EINVAL) for a bad value, AVERROR_ENCODER_NOT_FOUND for an unknown
// codec name, AVERROR_MUXER_NOT_FOUND for an unknown container); these stay clear of both kinds of AVERROR.
enum JoinError : int {
    kJoinNoClips = -30001,              // Start without a clip
    kJoinBadRange = -30002,             // a clip range outside its file, or stop <= start other than (0, 0)
    kJoinTransitionOnLastClip = -30003, // the last clip has a transition into nothing
    kJoinBadTransition = -30004,        // a transition kind other than 1, 2, 3 (0 clears it), or a length <= 0
    kJoinBadClip = -30005,              // a clip handle this job did not hand out
    kJoinCodecNotInContainer = -30006,  // the output container cannot store the codec
    kJoinCopyParametersDiffer = -30007, // "copy" asked for clips whose streams differ (codec, size, set-up ...)
    kJoinCopyNeedsEncoding = -30008,    // "copy" with transitions or volume changes, or only one stream copied
    kJoinNothingToWrite = -30009,       // no stream the output could hold, or nothing in a clip's range
    kJoinBusy = -30010,                 // a setter or Start while the job runs, or Start a second time
};

// The text of a join failure for the log; nullptr for any other code.
inline const char* joinErrorText(int code) {
    switch (code) {
    case kJoinNoClips:
        return "no clips to join";
    case kJoinBadRange:
        return "clip range outside the file or empty";
    case kJoinTransitionOnLastClip:
        return "transition on the last clip";
    case kJoinBadTransition:
        return "unknown transition or length";
    case kJoinBadClip:
        return "unknown clip handle";
    case kJoinCodecNotInContainer:
        return "codec not storable in the container";
    case kJoinCopyParametersDiffer:
        return "clips differ, cannot copy them into one stream";
    case kJoinCopyNeedsEncoding:
        return "needs encoding, not copy";
    case kJoinNothingToWrite:
        return "nothing to write";
    case kJoinBusy:
        return "job busy or run already";
    default:
        return nullptr;
    }
}

} // namespace mediacore
