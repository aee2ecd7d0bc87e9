#pragma once

#include <cstdlib>

// What every test program sets before anything starts, unless the caller's environment says otherwise:
// - no display: test binaries also run at build time (test discovery), where there is none;
// - no sound server: no test plays through the machine's, nor starts one. The player finds no server unless a
//   test points it at a server of its own.
inline void prepareTestProcessEnvironment() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("PULSE_SERVER") == nullptr)
        setenv("PULSE_SERVER", "unix:/nonexistent/clipwright-tests-play-no-sound", 1);
}
