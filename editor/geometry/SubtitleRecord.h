#pragma once

#include "libMediaCore.h"

#include <QColor>
#include <QString>

#include <optional>

class SubtitleParam;

// The subtitle as the player and the conversion job take it: a plain value copied from the panel's
// SubtitleParam, and the 800-byte record made from it.
struct SubtitleSettings {
    QString subtitlePath; // empty: no subtitle
    QString fontPath;
    QColor fontColor = QColor(255, 255, 255);
    int fontSize = 30;
    int shadow = 1;
    int positon = -1; // video pixel row; -1 = the renderer's own place

    static SubtitleSettings from(const SubtitleParam& param);

    // Whether both paths fit the record (259 bytes of UTF-8 each).
    bool fits() const;
    // The record: the paths, position, size, the shadow flag, the text colour's word and a black shadow. Null
    // when a path does not fit.
    std::optional<SUBTITLE_PARAM> record() const;
    // The same record without a subtitle file (the style kept): what removes the subtitle from the preview.
    SUBTITLE_PARAM emptyRecord() const;

    // Hands the record to a conversion job when there is a subtitle; 1 when there is none, else the engine's
    // code (a path too long gives -1).
    int applyTo(CONVERT_HANDLE job) const;
};
