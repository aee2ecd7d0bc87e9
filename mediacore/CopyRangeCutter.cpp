#include "CopyRangeCutter.h"

#include <algorithm>

namespace mediacore {

namespace {
// Video this far past the piece's end without the sound reaching it: the sound has ended; stop reading.
constexpr int64_t kSoundWaitUs = 5'000'000;
// Sound this far before the start is not kept while the key frame that starts the piece is looked for.
constexpr int64_t kLongestGroupUs = 10'000'000;
} // namespace

CopyRangeCutter::CopyRangeCutter(int64_t startUs, int64_t stopUs, bool hasVideo, bool hasAudio)
    : _startUs(startUs), _stopUs(stopUs), _hasVideo(hasVideo), _hasAudio(hasAudio), _fromBeginning(startUs <= 0) {}

void CopyRangeCutter::push(uint64_t id, const Packet& packet, Decisions& out) {
    if (_phase == Phase::Done) {
        out.drop.push_back(id);
        return;
    }
    if (!_hasVideo) {
        if (packet.video)
            out.drop.push_back(id);
        else
            pushSoundOnly(id, packet, out);
        return;
    }
    if (packet.video)
        pushVideo(id, packet, out);
    else
        pushAudio(id, packet, out);
}

void CopyRangeCutter::pushSoundOnly(uint64_t id, const Packet& packet, Decisions& out) {
    int64_t mid = middle(packet);
    if (!_fromBeginning && mid < _startUs) {
        out.drop.push_back(id);
        return;
    }
    if (_stopUs != kToEnd && mid >= _stopUs) {
        out.drop.push_back(id);
        _phase = Phase::Done;
        return;
    }
    if (!_started)
        startPiece(packet.ptsUs);
    out.keep.push_back(id);
}

void CopyRangeCutter::startPiece(int64_t startUs) {
    _started = true;
    _pieceStartUs = startUs;
}

void CopyRangeCutter::pushVideo(uint64_t id, const Packet& packet, Decisions& out) {
    if (_phase == Phase::Ending) {
        out.drop.push_back(id);
        if (packet.ptsUs >= _pieceEndUs + kSoundWaitUs)
            _phase = Phase::Done;
        return;
    }
    if (!packet.key) {
        if (_haveGroup)
            _group.push_back({id, packet});
        else
            out.drop.push_back(id);
        return;
    }
    if (_phase == Phase::Running) {
        keyFrameWhileRunning(id, packet, out);
        return;
    }

    // Seeking: which key frame starts the piece?
    auto openGroup = [&](bool first) {
        _group.assign(1, Held{id, packet});
        _groupStartUs = packet.ptsUs;
        _haveGroup = true;
        _groupIsFirst = first;
    };
    auto run = [&](int64_t startUs) {
        startPiece(startUs);
        _phase = Phase::Running;
        _committedUs = _groupStartUs;
        releaseAudio(_committedUs, out);
    };
    if (_fromBeginning) {
        openGroup(true);
        run(std::min(packet.ptsUs, _earliestAudioUs));
    } else if (packet.ptsUs <= _startUs) {
        dropGroup(out);
        openGroup(false);
    } else if (!_haveGroup || packet.ptsUs - _startUs < _startUs - _groupStartUs) {
        dropGroup(out);
        openGroup(true);
        run(packet.ptsUs);
    } else {
        // The candidate before the start is nearer: it starts the piece, and this key frame is met while running.
        _groupIsFirst = true;
        run(_groupStartUs);
        keyFrameWhileRunning(id, packet, out);
    }
}

void CopyRangeCutter::keyFrameWhileRunning(uint64_t id, const Packet& packet, Decisions& out) {
    if (_stopUs == kToEnd || packet.ptsUs <= _stopUs) {
        releaseGroup(out);
        _group.assign(1, Held{id, packet});
        _groupStartUs = packet.ptsUs;
        _haveGroup = true;
        _groupIsFirst = false;
        _committedUs = _groupStartUs;
        releaseAudio(_committedUs, out);
        return;
    }
    // The first key frame past the stop: the piece ends here or at the open group's start, whichever is nearer.
    bool keepGroup = _groupIsFirst || packet.ptsUs - _stopUs < _stopUs - _groupStartUs;
    out.drop.push_back(id);
    endAt(keepGroup ? packet.ptsUs : _groupStartUs, keepGroup, out);
}

void CopyRangeCutter::endAt(int64_t endUs, bool keepGroup, Decisions& out) {
    if (keepGroup)
        releaseGroup(out);
    else
        dropGroup(out);
    _pieceEndUs = endUs;
    releaseAudio(endUs, out);
    if (!_audio.empty() || !_hasAudio) {
        // Sound already read past the end: nothing later can belong to the piece.
        for (const Held& held : _audio)
            out.drop.push_back(held.id);
        _audio.clear();
        _phase = Phase::Done;
    } else {
        _phase = Phase::Ending;
    }
}

void CopyRangeCutter::pushAudio(uint64_t id, const Packet& packet, Decisions& out) {
    _earliestAudioUs = std::min(_earliestAudioUs, packet.ptsUs);
    switch (_phase) {
    case Phase::Seeking: {
        _audio.push_back({id, packet});
        if (_fromBeginning)
            return;
        // The piece cannot start before the candidate key frame. Without one yet, the candidate still to come lies
        // within a group of pictures before the start; groups longer than kLongestGroupUs lose a little sound.
        int64_t earliest = _haveGroup ? _groupStartUs : _startUs - kLongestGroupUs;
        while (!_audio.empty() && middle(_audio.front().packet) < earliest) {
            out.drop.push_back(_audio.front().id);
            _audio.pop_front();
        }
        return;
    }
    case Phase::Running:
        _audio.push_back({id, packet});
        releaseAudio(_committedUs, out);
        return;
    case Phase::Ending:
        if (middle(packet) < _pieceEndUs) {
            if (_fromBeginning || middle(packet) >= _pieceStartUs)
                out.keep.push_back(id);
            else
                out.drop.push_back(id);
        } else {
            out.drop.push_back(id);
            _phase = Phase::Done;
        }
        return;
    case Phase::Done:
        out.drop.push_back(id);
        return;
    }
}

void CopyRangeCutter::releaseGroup(Decisions& out) {
    for (const Held& held : _group) {
        // Pictures shown before the piece's first key frame lean on the group before it.
        bool leading = _groupIsFirst && !held.packet.key && held.packet.ptsUs < _groupStartUs;
        (leading ? out.drop : out.keep).push_back(held.id);
    }
    _group.clear();
    _haveGroup = false;
}

void CopyRangeCutter::dropGroup(Decisions& out) {
    for (const Held& held : _group)
        out.drop.push_back(held.id);
    _group.clear();
    _haveGroup = false;
}

void CopyRangeCutter::releaseAudio(int64_t limitUs, Decisions& out) {
    while (!_audio.empty() && middle(_audio.front().packet) < limitUs) {
        const Held& held = _audio.front();
        if (_fromBeginning || middle(held.packet) >= _pieceStartUs)
            out.keep.push_back(held.id);
        else
            out.drop.push_back(held.id);
        _audio.pop_front();
    }
}

void CopyRangeCutter::finish(int64_t fileEndUs, Decisions& out) {
    if (_phase == Phase::Seeking && _hasVideo) {
        if (!_haveGroup) {
            // No key frame at all: nothing can be copied.
            for (const Held& held : _audio)
                out.drop.push_back(held.id);
            _audio.clear();
            _phase = Phase::Done;
            return;
        }
        _groupIsFirst = true;
        startPiece(_fromBeginning ? std::min(_groupStartUs, _earliestAudioUs) : _groupStartUs);
        _phase = Phase::Running;
    }
    if (_phase == Phase::Running) {
        bool toEnd = _stopUs == kToEnd || _stopUs >= fileEndUs;
        bool keepGroup = toEnd || _groupIsFirst || fileEndUs - _stopUs < _stopUs - _groupStartUs;
        if (keepGroup)
            releaseGroup(out);
        else
            dropGroup(out);
        _pieceEndUs = keepGroup ? std::max(fileEndUs, _groupStartUs) : _groupStartUs;
        // A piece that runs to the file's end keeps all its sound, also where it outlasts the picture.
        releaseAudio(keepGroup ? INT64_MAX : _pieceEndUs, out);
    }
    for (const Held& held : _audio)
        out.drop.push_back(held.id);
    _audio.clear();
    _phase = Phase::Done;
}

} // namespace mediacore
