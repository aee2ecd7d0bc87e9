#pragma once

#include "support/MediaFixtures.h"

#include <QImage>

#include <string>
#include <vector>

// AVI clips as cameras and older encoders wrote them: MPEG-4 Part 2 video with B-frames (stored plainly under an
// XviD tag, and "packed" as XviD itself packs them, several pictures in one chunk) and AC-3 sound. The first second
// is red and the rest blue, so a picture tells whether it is the file's first.
struct AviClip {
    std::string name;
    std::string path;
};

inline std::vector<AviClip> aviClips() {
    const std::string pictures = MediaFixtures::quote(
        "color=c=red:s=320x240:r=25:d=1[a];color=c=blue:s=320x240:r=25:d=2[b];[a][b]concat=n=2:v=1:a=0[out0]");
    const std::string sound = " -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 -c:a ac3 -b:a 192k";
    std::vector<AviClip> clips;
    for (const auto& [name, video] :
         {std::pair<std::string, std::string>{"xvid-tag", "-c:v mpeg4 -bf 2 -vtag XVID -q:v 4"},
          std::pair<std::string, std::string>{"xvid-packed", "-c:v libxvid -bf 2 -q:v 4"},
          std::pair<std::string, std::string>{"xvid-late", "-c:v libxvid -bf 2 -q:v 4"}})
        clips.push_back(
            {name, MediaFixtures::make("avi_" + name + "_ac3.avi",
                                       std::string(name == "xvid-late" ? "-itsoffset 0.5 " : "") + "-f lavfi -i " +
                                           pictures + sound + " " + video + " -shortest")});
    return clips;
}

// "red", "blue", "black" or "other": the colour of the picture's middle (a preview may have bars at its edges).
inline std::string firstPictureColour(const QImage& picture) {
    if (picture.isNull() || picture.width() < 4 || picture.height() < 4)
        return "none";
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = picture.height() * 3 / 8; y < picture.height() * 5 / 8; ++y)
        for (int x = picture.width() * 3 / 8; x < picture.width() * 5 / 8; ++x) {
            const QRgb p = picture.pixel(x, y);
            r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    r /= n, g /= n, b /= n;
    if (r < 40 && g < 40 && b < 40)
        return "black";
    if (r > 150 && g < 80 && b < 80)
        return "red";
    if (b > 150 && r < 80 && g < 80)
        return "blue";
    return "other";
}
