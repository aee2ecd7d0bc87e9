#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // No test plays through the machine's sound server, nor starts one: Qt Multimedia finds no device unless a
    // test points it at a server of its own.
    if (std::getenv("PULSE_SERVER") == nullptr)
        setenv("PULSE_SERVER", "unix:/nonexistent/clipwright-tests-play-no-sound", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
