#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// What every test program sets before anything starts, unless the caller's environment says otherwise:
// - no display: test binaries also run at build time (test discovery), where there is none;
// - no sound server: no test plays through the machine's, nor starts one. The player finds no server unless a
//   test points it at a server of its own;
// - settings of its own: the windows remember choices (formats, folders, the open panel's last folder) in the
//   user's settings, and a test must neither read what the person at the machine chose nor leave its choices to the
//   next test program. Each process gets a fresh settings folder, removed when it ends.
inline void prepareTestProcessEnvironment() {
    static std::string configFolder =
        (std::filesystem::temp_directory_path() / "clipwright-test-config-XXXXXX").string();
    if (mkdtemp(configFolder.data()) != nullptr) {
        setenv("XDG_CONFIG_HOME", configFolder.c_str(), 1);
        atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(configFolder, ignored);
        });
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("PULSE_SERVER") == nullptr)
        setenv("PULSE_SERVER", "unix:/nonexistent/clipwright-tests-play-no-sound", 1);
}
