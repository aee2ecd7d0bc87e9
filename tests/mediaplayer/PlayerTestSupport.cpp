#include "PlayerTestSupport.h"

#include "Dispatch.h"
#include "LQMoviePlayer.h"
#include "libMediaCore.h"
#include "support/MediaFixtures.h"

#include <QElapsedTimer>

#include <cstdlib>
#include <filesystem>

namespace PlayerTestSupport {

std::string longGopClip() {
    return MediaFixtures::make("player_long_gop.mp4",
                               "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
                               "-c:v libx264 -preset veryfast -bf 3 -g 1000 -keyint_min 1000 -sc_threshold 0 "
                               "-pix_fmt yuv420p -c:a aac -b:a 96k -shortest");
}

std::string draggingClip() {
    return MediaFixtures::make("player_dragging.mp4", "-f lavfi -i testsrc2=size=960x540:rate=25:duration=6 "
                                                      "-c:v libx264 -preset veryfast -bf 3 -g 1000 -keyint_min 1000 "
                                                      "-sc_threshold 0 -pix_fmt yuv420p");
}

bool waitUntilShown(const LQMoviePlayer& player, int timeoutMs) {
    return Dispatch::runUntil([&] { return !player.isSeeking(); }, timeoutMs);
}

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    Dispatch::runUntil([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

std::vector<uint8_t> snapshot(LQMoviePlayer& player, int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0);
    int w = width, h = height;
    if (player.Snapshot(&w, &h, pixels.data()) != 1 || w != width || h != height)
        return {};
    return pixels;
}

std::vector<uint8_t> engineSnapshot(const std::string& path, double seconds, int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0);
    MEDIA_HANDLE media = MediaOpen(path.c_str());
    if (!media)
        return {};
    const int rc = MediaSnapshot(media, static_cast<int64_t>(seconds * 1e6), width, height, pixels.data(), 0);
    MediaClose(media);
    return rc < 0 ? std::vector<uint8_t>() : pixels;
}

double meanDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty())
        return 255;
    double sum = 0;
    size_t count = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        for (size_t c = 0; c < 3; ++c, ++count)
            sum += std::abs(int(a[i + c]) - int(b[i + c]));
    return sum / count;
}

double meanDifferenceToRgb(const std::vector<uint8_t>& bgra, const std::vector<unsigned char>& rgb) {
    if (bgra.empty() || bgra.size() / 4 != rgb.size() / 3)
        return 255;
    double sum = 0;
    const size_t pixels = rgb.size() / 3;
    for (size_t p = 0; p < pixels; ++p)
        for (size_t c = 0; c < 3; ++c)
            sum += std::abs(int(bgra[p * 4 + 2 - c]) - int(rgb[p * 3 + c]));
    return sum / (pixels * 3);
}

int threadCount() {
    int count = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator("/proc/self/task", ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++count;
    return count;
}

} // namespace PlayerTestSupport
