#pragma once

class LQCutProgressView;

// What the trim-range slider reports. Every method is optional: a delegate leaves out a method by not
// overriding it, and may say so through respondsTo().
class LQCutProgressViewDelegate {
public:
    enum class Method { MouseUp, MouseDown, MouseMoved, SeekToTime };

    virtual ~LQCutProgressViewDelegate() = default;
    virtual bool respondsTo(Method) const { return true; }

    // Release, with the playhead's position as a fraction of the track.
    virtual void actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float) {}
    // Every press, after any playhead move, with the playhead's position.
    virtual void actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float) {}
    // After every handle movement by the pointer: the range's start and stop and the handle (1 left, 2 right).
    virtual void actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float, float, long long) {}
    // A press beside the handles, and every playhead drag, with the new playhead position.
    virtual void actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float) {}
};
