#include "SmartCutPlan.h"

#include <algorithm>

namespace mediacore {

namespace {
constexpr int64_t kNone = INT64_MAX;

bool inside(int64_t pts, int64_t from, int64_t to) {
    return pts >= from && pts < to;
}

// The packets [0, n) showing pictures in [from, to): their count and first and last index; false when none.
bool span(const std::vector<SmartCutPlan::Packet>& packets, size_t first, int64_t from, int64_t to, size_t& firstFound,
          size_t& lastFound, int64_t& count) {
    count = 0;
    for (size_t i = first; i < packets.size(); ++i) {
        if (!inside(packets[i].pts, from, to))
            continue;
        if (count++ == 0)
            firstFound = i;
        lastFound = i;
    }
    return count > 0;
}

// Whether a copy can start at packet k: a decoder starts there, nothing decoded before it shows after it, and
// everything decoded after it that shows before it may be left out.
bool copyCanStartAt(const std::vector<SmartCutPlan::Packet>& packets, size_t k, int64_t earlierMax) {
    if (!packets[k].decoderStart || earlierMax >= packets[k].pts)
        return false;
    for (size_t j = k + 1; j < packets.size(); ++j)
        if (packets[j].pts < packets[k].pts && !packets[j].leading)
            return false;
    return true;
}
} // namespace

SmartCutPlan SmartCutPlan::refuse(const std::string& reason) {
    SmartCutPlan plan;
    plan._reason = reason;
    return plan;
}

bool SmartCutPlan::copyKeeps(size_t index) const {
    return index >= _copyFirst && index < _copyEnd &&
           std::find(_leftOut.begin(), _leftOut.end(), index) == _leftOut.end();
}

size_t SmartCutPlan::lastPacket() const {
    size_t last = _copyEnd > 0 ? _copyEnd - 1 : 0;
    if (_head.present)
        last = std::max(last, _head.lastPacket);
    if (_tail.present)
        last = std::max(last, _tail.lastPacket);
    return last;
}

SmartCutPlan SmartCutPlan::make(const std::vector<Packet>& packets, int64_t startTicks, int64_t stopTicks) {
    const size_t n = packets.size();
    if (n == 0)
        return refuse("no video in the range");
    if (!packets[0].decoderStart)
        return refuse("the video does not start from a picture a decoder can start from");

    // The picture on screen at the start: the last one shown at or before it (the first one when none is).
    int64_t origin = INT64_MIN;
    int64_t first = kNone;
    for (const Packet& p : packets) {
        if (p.pts <= startTicks)
            origin = std::max(origin, p.pts);
        first = std::min(first, p.pts);
    }
    if (origin == INT64_MIN)
        origin = first;
    else if (stopTicks != INT64_MAX)
        stopTicks -= startTicks - origin;
    if (origin >= stopTicks)
        return refuse("no picture in the range");

    SmartCutPlan plan;
    plan._originPts = origin;
    plan._endPts = stopTicks;

    // The copy starts at the first picture from the origin on where it can.
    size_t k = n;
    int64_t earlierMax = INT64_MIN;
    for (size_t i = 0; i < n; ++i) {
        if (inside(packets[i].pts, origin, stopTicks) && copyCanStartAt(packets, i, earlierMax)) {
            k = i;
            break;
        }
        earlierMax = std::max(earlierMax, packets[i].pts);
    }
    if (k == n)
        return refuse("no picture inside the range that a copy can start from");
    plan._copyFirst = k;
    std::vector<bool> leftOut(n, false);
    for (size_t j = k + 1; j < n; ++j)
        if (packets[j].pts < packets[k].pts) {
            leftOut[j] = true;
            plan._leftOut.push_back(j);
        }

    Encoded& head = plan._head;
    if (packets[k].pts > origin) {
        head.present = span(packets, 0, origin, packets[k].pts, head.firstPacket, head.lastPacket, head.pictures);
        head.firstPacket = 0;
        head.fromPts = origin;
        head.toPts = packets[k].pts;
    }

    // The copy ends at the furthest point E where what it holds shows before everything it leaves out.
    std::vector<int64_t> laterMin(n + 1, kNone);
    for (size_t i = n; i-- > k;)
        laterMin[i] = leftOut[i] ? laterMin[i + 1] : std::min(laterMin[i + 1], packets[i].pts);
    std::vector<int64_t> copyMax(n + 1, INT64_MIN);
    for (size_t i = k; i < n; ++i)
        copyMax[i + 1] = leftOut[i] ? copyMax[i] : std::max(copyMax[i], packets[i].pts);
    size_t end = k + 1;
    for (size_t e = n; e > k; --e)
        if (copyMax[e] < std::min(stopTicks, laterMin[e])) {
            end = e;
            break;
        }
    plan._copyEnd = end;
    for (size_t i = k; i < end; ++i)
        plan._copied += leftOut[i] ? 0 : 1;

    const int64_t copyEndPts = std::min(stopTicks, laterMin[end]);
    Encoded& tail = plan._tail;
    size_t tailFirst = 0;
    if (copyEndPts < stopTicks &&
        span(packets, end, copyEndPts, stopTicks, tailFirst, tail.lastPacket, tail.pictures)) {
        // The decoder starts at the last picture it can start from before the tail, whose own leading pictures
        // (skipped by a decoder starting there) are not among the tail's.
        size_t d = std::min(tailFirst, end - 1);
        for (;; --d) {
            bool fits = packets[d].decoderStart;
            for (size_t j = d + 1; fits && j <= tail.lastPacket; ++j)
                if (inside(packets[j].pts, copyEndPts, stopTicks) && packets[j].pts < packets[d].pts)
                    fits = false;
            if (fits || d == k)
                break;
        }
        tail.present = true;
        tail.firstPacket = d;
        tail.fromPts = copyEndPts;
        tail.toPts = stopTicks;
    }
    plan._possible = true;
    return plan;
}

} // namespace mediacore
