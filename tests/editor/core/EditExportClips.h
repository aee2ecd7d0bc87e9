#pragma once

#include "support/MediaFixtures.h"

#include <string>

// 4 s, 320x240, 20 fps with a 440 Hz tone; frame n is one flat grey level, 20 + (37 n mod 200), so a frame's
// pixels tell which source frame it is, and frame times are exact in binary.
inline std::string editLevelClip() {
    return MediaFixtures::make(
        "editor_levels_4s_20fps.mp4",
        "-f lavfi -i \"nullsrc=size=320x240:rate=20:duration=4,geq=lum='20+mod(N*37\\,200)':cb=128:cr=128\" "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
        "-ac 2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 20 -c:a aac -b:a 128k -shortest");
}

// The ffmpeg program picks the first frame that starts at or after the time asked: a little before a frame's
// start names that frame.
inline double editFrameAt(double t) {
    return t < 0.005 ? 0.0 : t - 0.005;
}

#include "EditExportRun.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

// The system's temporary folder pointed at a fresh folder of one test, so that the export's private piece folders
// can be counted without the other programs and tests that share the machine's own.
class PrivateTempFolder {
public:
    PrivateTempFolder()
        : _saved(qgetenv("TMPDIR")), _hadValue(qEnvironmentVariableIsSet("TMPDIR")),
          _path(QString::fromStdString(MediaFixtures::freshDir("editor-tmp"))) {
        qputenv("TMPDIR", _path.toUtf8());
    }
    ~PrivateTempFolder() {
        if (_hadValue)
            qputenv("TMPDIR", _saved);
        else
            qunsetenv("TMPDIR");
        QDir(_path).removeRecursively();
    }
    QString path() const { return _path; }
    QStringList pieceFolders() const {
        return QDir(_path).entryList({EditExportRun::kPieceFolderPrefix + "*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    }

private:
    QByteArray _saved;
    bool _hadValue;
    QString _path;
};
