#pragma once

#include "OutputSelection.h"
#include "SimpleData.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// What an editor export needs to know about the file, the trim and the output, copied when Start is pressed. The
// export works on this copy only: edits made while it runs reach the next export, never the running one.
//
// Panels that add their own part to the job (rotation and crop, effects, subtitles, watermarks, music) do so through
// their own contributions, each holding a copy of that panel's settings (see EditExportPlan).
struct EditExportSettings {
    // The source.
    QString sourcePath;
    QString sourceName;    // last path component; the output is named after it without its extension
    qint64 durationUs = 0; // the file's length
    int sourceWidth = 0;   // pixels of the stored picture (before the stream's rotation)
    int sourceHeight = 0;
    // The engine's stream index of the chosen audio track; none when the file has no audio.
    std::optional<int> audioStreamIndex;

    // The trim range, microseconds of the source. A stop of 0 means the whole file. Kept (the output is the range)
    // or inverted (the output is the file without the range).
    qint64 cutStartUs = 0;
    qint64 cutStopUs = 0;
    bool trimInverted = false;

    // The output: folder, extension (the target's, without the dot) and the stored choices as their display
    // titles, none (or blanks) meaning "keep the source's". The custom frame size is used when the resolution
    // title is "Custom" (0: keep that dimension of the target).
    QString outputFolder;
    QString extension;
    std::array<std::optional<QString>, OutputSelection::TitleCount> titles;
    int customWidth = 0;
    int customHeight = 0;
    int targetWidth = 0; // the target's frame size, the fallback of a custom size
    int targetHeight = 0;
    // Keep the source's aspect ratio: the output keeps the source's frame size (no scaling).
    bool keepAspectRatio = false;
    // The turn of the output picture, degrees clockwise: the user's rotation plus the stream's own.
    int totalRotation = 0;

    // The base of the output's name: the source's name without its extension.
    QString baseName() const;

    // Reads the editor's stored output choices (titles and custom frame size) into this snapshot, as every export
    // does when it starts.
    void readStoredOutputChoices();

    // The engine's stream index for the audio pop-up's selected item: the index of that stream when the file has
    // audio streams and the item is one of them; none otherwise.
    static std::optional<int> audioStreamIndexFor(const AudioStreamInfoList& streams, int selectedItem);

    // Fills the source, duration, audio index, extension and target size fields from a loaded file's record (the
    // source's extension and size where the target has none yet).
    void takeFile(const SimpleData& file, int selectedAudioItem);
};
