#pragma once

#include "EngineTestSupport.h"
#include "libMediaCore.h"

#include "support/Ffprobe.h"
#include "support/MediaFixtures.h"

#include <string>
#include <vector>

// Helpers shared by the join job tests: a handle closed at the end of the scope, the join clips, and checks of
// what a join wrote.
namespace jointest {

struct Join {
    JOIN_HANDLE h = apiMediaJoinCreate();
    ~Join() {
        if (h)
            apiMediaJoinClose(h);
    }
    JOIN_CLIP_HANDLE add(const std::string& path, double startSeconds = 0, double stopSeconds = 0) {
        return apiMediaJoinAddMediaClip(h, path.c_str(), static_cast<int64_t>(startSeconds * 1e6),
                                        static_cast<int64_t>(stopSeconds * 1e6));
    }
};

// 6 s, 320x240, 25 fps, a key frame every second, H.264 + AAC 44.1 kHz stereo.
inline std::string sixSeconds() {
    return MediaFixtures::make("join_320x240_6s.mp4",
                               "-f lavfi -i testsrc2=size=320x240:rate=25:duration=6 "
                               "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=6 "
                               "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -keyint_min 25 "
                               "-sc_threshold 0 -c:a aac -b:a 128k -shortest");
}

// As sixSeconds() in shape and codec set-up, 4 s of another picture and tone.
inline std::string fourSecondsOther() {
    return MediaFixtures::make("join_320x240_4s_other.mp4",
                               "-f lavfi -i smptebars=size=320x240:rate=25:duration=4 "
                               "-f lavfi -i sine=frequency=660:sample_rate=44100:duration=4 "
                               "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -keyint_min 25 "
                               "-sc_threshold 0 -c:a aac -b:a 128k -shortest");
}

// Another shape altogether: 640x360 (16:9), 30 fps, 3 s, mono 48 kHz.
inline std::string wideThirty() {
    return MediaFixtures::make("join_640x360_30fps_3s.mp4",
                               "-f lavfi -i testsrc2=size=640x360:rate=30:duration=3 "
                               "-f lavfi -i sine=frequency=330:sample_rate=48000:duration=3 "
                               "-ac 1 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 30 -c:a aac -shortest");
}

using enginetest::filesIn;

} // namespace jointest
