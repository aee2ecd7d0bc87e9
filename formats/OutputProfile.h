#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The parsed form of one ".pf" profile: the container extension and, for each of the eight encoder parameters,
// a default and a list of options.
class OutputProfile {
public:
    enum Parameter {
        VideoCodec,   // "vcodec"
        FrameSize,    // "s": width "x" height, pixels
        FrameRate,    // "r": frames per second
        VideoBitRate, // "b": kbit/s
        AudioCodec,   // "acodec"
        Channels,     // "ac": a count, possibly followed by "(Stereo)"
        SampleRate,   // "ar": Hz
        AudioBitRate, // "ab": kbit/s
        ParameterCount
    };

    struct Entry {
        std::optional<QString> defaultValue;
        std::optional<QStringList> options;
    };

    // The key of a parameter in the section "Parameter".
    static QByteArray profileKey(Parameter parameter);
    static bool isVideoParameter(Parameter parameter) { return parameter <= VideoBitRate; }

    // Reads the profile at `path`. A profile of the "Audio" category (`audioOnly`) is read for its extension and
    // the four audio parameters only. A file that cannot be read gives an empty profile.
    static OutputProfile read(const QString& path, bool audioOnly);

    // The raw value of one parameter as the file holds it (empty when missing).
    static QString rawValue(const QString& path, Parameter parameter);

    QString extName; // blanks cut from both ends, every tab removed
    std::array<Entry, ParameterCount> entries;

    const Entry& entry(Parameter parameter) const { return entries[parameter]; }
};
