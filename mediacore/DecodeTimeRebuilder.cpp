#include "DecodeTimeRebuilder.h"

#include <utility>

namespace mediacore {

int64_t DecodeTimeRebuilder::next(int64_t pts, int64_t duration) {
    if (_delay == 0)
        return pts;
    if (!_started) {
        // Before the first packet the window holds times one picture apart leading up to it.
        for (int i = 1; i <= _delay; ++i)
            _window[i] = pts + (i - _delay - 1) * duration;
        _started = true;
    }
    // The oldest entry leaves, the new time enters, and one bubble pass keeps the window sorted: the window's
    // smallest time then comes out first.
    _window[0] = pts;
    for (int i = 0; i < _delay && _window[i] > _window[i + 1]; ++i)
        std::swap(_window[i], _window[i + 1]);
    return _window[0];
}

} // namespace mediacore
