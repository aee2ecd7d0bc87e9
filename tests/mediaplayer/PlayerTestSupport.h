#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LQMoviePlayer;

// Clips and measurements shared by the player's tests.
namespace PlayerTestSupport {

// 4 s, 320x240, 25 fps, H.264 with B-frames and a single key frame, AAC: every seek decodes from the start.
std::string longGopClip();
// 6 s, 960x540, 25 fps, H.264 with B-frames and a single key frame, no sound: an exact seek near its end takes a
// while, so seeks in quick succession overtake one another.
std::string draggingClip();

// Runs the event loop until the picture of the player's latest seek or refresh is shown (or timeoutMs passed).
bool waitUntilShown(const LQMoviePlayer& player, int timeoutMs = 10000);
// Runs the event loop for ms milliseconds.
void runFor(int ms);

// The player's Snapshot at width x height (B,G,R,A); empty when it wrote nothing.
std::vector<uint8_t> snapshot(LQMoviePlayer& player, int width, int height);
// The engine's MediaSnapshot of `path` at `seconds`; empty on failure.
std::vector<uint8_t> engineSnapshot(const std::string& path, double seconds, int width, int height);

// Mean absolute difference of the colour channels of two B,G,R,A pictures of the same size (255 when they differ
// in size).
double meanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
// The same between B,G,R,A and R,G,B pixels.
double meanDifferenceToRgb(const std::vector<uint8_t>& bgra, const std::vector<unsigned char>& rgb);

// Threads of this process now.
int threadCount();

} // namespace PlayerTestSupport
