#pragma once

#include "RecordProperty.h"
#include "ViewRect.h"

#include <QColor>
#include <QString>

#include <memory>

// One watermark: an image, a video file or a text, with its box, style and time range (float seconds).
// copy() carries ten properties (kind, transparency, both boxes, text, file, font name, size and colour and the
// overlay width); selection, the video flags and all times start again at their defaults in the copy.
class WaterParam {
public:
    enum Kind : qint64 { None = 1, File = 2, Text = 4 };

    WaterParam() = default;
    WaterParam(const WaterParam&) = delete;
    WaterParam& operator=(const WaterParam&) = delete;
    ~WaterParam();

    std::shared_ptr<WaterParam> copy() const;
    std::shared_ptr<WaterParam> mutableCopy() const { return copy(); }

    RECORD_PROPERTY(qint64, waterType, setWaterType, None)
    RECORD_PROPERTY(double, waterAlph, setWaterAlph, 0)                          // transparency, percent
    RECORD_PROPERTY(ViewRect, waterRect, setWaterRect, {})                       // overlay points, origin bottom-left
    RECORD_PROPERTY(ViewRect, waterPercentClipRect, setWaterPercentClipRect, {}) // fractions of the overlay
    RECORD_PROPERTY(QString, waterText, setWaterText, {})
    RECORD_PROPERTY(QString, waterImagePath, setWaterImagePath, {})
    RECORD_PROPERTY(QString, waterFontName, setWaterFontName, QStringLiteral("Tahoma"))
    RECORD_PROPERTY(QColor, waterFontColor, setWaterFontColor, QColor(0, 0, 255, 255)) // invalid: use white
    RECORD_PROPERTY(float, waterFontSize, setWaterFontSize, 34.0f)                     // overlay points
    RECORD_PROPERTY(float, waterViewFrameWidth, setWaterViewFrameWidth, 0)
    RECORD_PROPERTY(bool, selected, setSelected, false)
    RECORD_PROPERTY(bool, isVideo, setIsVideo, false)
    RECORD_PROPERTY(bool, keepaspectRatio, setKeepaspectRatio, false)
    RECORD_PROPERTY(float, fileDuration, setFileDuration, 0)
    RECORD_PROPERTY(float, fileStartTime, setFileStartTime, 0) // seconds of the watermark video
    RECORD_PROPERTY(float, fileEndTime, setFileEndTime, 0)
    RECORD_PROPERTY(float, startTime, setStartTime, 0) // seconds on the video's timeline
    RECORD_PROPERTY(float, duration, setDuration, 0)
};
