#pragma once

#include <string>

// Tiny media generated at test time with the ffmpeg program (testsrc2 + sine). Each file is made once and kept
// in a shared temporary folder, so parallel test processes reuse it; it is written under a temporary name and
// renamed, so a reader never sees half a file.
class MediaFixtures {
public:
    // The folder the fixtures live in (CLIPWRIGHT_FIXTURE_DIR, else a folder under the system's temp folder).
    static std::string dir();

    static std::string mp4();            // 2 s, 320x240, 25 fps, H.264 + AAC 44.1 kHz stereo
    static std::string mp3WithCover();   // 2 s audio-only mp3 with an attached cover picture
    static std::string rotated90();      // as mp4(), display matrix turned 90 degrees counter-clockwise (270 clockwise)
    static std::string twoAudioMkv();    // 2 s H.264 + two audio tracks (440 Hz stereo, 880 Hz mono 48 kHz)
    static std::string noAudio();        // 2 s H.264 without audio
    static std::string png();            // 64x48 PNG image
    static std::string srt();            // two cues: 0.5-1.0 s and 1.2-1.8 s

    // Makes (once) a file named `name` in dir() with `ffmpeg -y <args> <output>`; returns its path.
    // Fails the calling test (and returns "") when ffmpeg fails.
    static std::string make(const std::string& name, const std::string& ffmpegArgs);

    // A fresh empty folder for one test's outputs, removed with its contents when the test program ends
    // (kept when CLIPWRIGHT_KEEP_TEST_DIRS=1).
    static std::string freshDir(const std::string& prefix);

    // Runs a shell command, returns its exit status.
    static int run(const std::string& command);

    // Quotes a string for the shell.
    static std::string quote(const std::string& text);
};
