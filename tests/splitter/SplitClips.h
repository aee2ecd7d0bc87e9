#pragma once

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <cmath>
#include <string>
#include <vector>

// 3.5 s, 320x240, 20 fps with sound (70 frames). Two flat bands at the top name frame n: the first at grey
// 16 + 16 (n mod 12), the second at 16 + 16 floor(n / 12); steps of 16 survive any encoder (a finer step gets
// skipped as unchanged under a noisy picture). The rest of the picture is noise during the first half and flat
// afterwards: the bit rate is far from even, as in real recordings.
inline std::string splitLevelClip() {
    return MediaFixtures::make(
        "split_bands_3.5s_20fps.mp4",
        "-f lavfi -i \"nullsrc=size=320x240:rate=20:duration=3.5,"
        "geq=lum='if(lt(Y\\,50)\\,16+16*mod(N\\,12)\\,if(lt(Y\\,100)\\,16+16*floor(N/12)\\,"
        "if(lt(N\\,35)\\,random(1)*255\\,128)))':cb=128:cr=128\" "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3.5 "
        "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 20 -c:a aac -b:a 128k -shortest");
}

constexpr int kSplitClipFrames = 70;
constexpr double kSplitClipSeconds = 3.5;

// The source frame numbers of every frame of a file, in order, read from the two bands' luma as it is stored (-1
// when a band's level is not one of the clip's). Each frame is shrunk to two 2 x 2 blocks side by side: 8 bytes of
// luma, then 2 and 2 of chroma.
inline std::vector<int> sourceFrameNumbers(const std::string& path) {
    const std::string raw =
        captureOutput("ffmpeg -nostdin -hide_banner -loglevel error -i " + MediaFixtures::quote(path) +
                      " -map 0:v:0 -fps_mode passthrough -filter_complex "
                      "\"[0:v:0]split[a][b];[a]crop=300:30:10:10,scale=2:2:flags=area[x];"
                      "[b]crop=300:30:10:60,scale=2:2:flags=area[y];[x][y]hstack,format=yuv420p\" "
                      "-f rawvideo - 2>/dev/null");
    auto step = [](unsigned char level) {
        const double steps = (double(level) - 16.0) / 16.0;
        const long rounded = std::lround(steps);
        return std::abs(steps - double(rounded)) < 0.3 ? int(rounded) : -1;
    };
    std::vector<int> numbers;
    for (size_t i = 0; i + 12 <= raw.size(); i += 12) {
        const int low = step(static_cast<unsigned char>(raw[i]));
        const int high = step(static_cast<unsigned char>(raw[i + 2]));
        numbers.push_back(low < 0 || high < 0 || low > 11 ? -1 : high * 12 + low);
    }
    return numbers;
}
