#pragma once

#include "RecordProperty.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>

// A subtitle file and its style. copy() makes a new record carrying all nine properties; object values (the
// font list) are shared with the original, not duplicated.
class SubtitleParam {
public:
    SubtitleParam() = default;
    SubtitleParam(const SubtitleParam&) = delete;
    SubtitleParam& operator=(const SubtitleParam&) = delete;
    ~SubtitleParam();

    std::shared_ptr<SubtitleParam> copy() const;
    std::shared_ptr<SubtitleParam> mutableCopy() const { return copy(); }

    RECORD_PROPERTY(double, subtitleAlph, setSubtitleAlph, 1.0)
    RECORD_PROPERTY(int, shadow, setShadow, 1)
    RECORD_PROPERTY(int, positon, setPositon, -1) // video pixels; -1 = not placed
    RECORD_PROPERTY(QString, subtitlePath, setSubtitlePath, {})
    RECORD_PROPERTY(QString, fontPath, setFontPath, {})
    RECORD_PROPERTY(QColor, fontColor, setFontColor, QColor(255, 255, 255, 255))
    RECORD_PROPERTY(int, fontSize, setFontSize, 30)
    RECORD_PROPERTY(std::shared_ptr<QStringList>, fontPathList, setFontPathList, nullptr)
    RECORD_PROPERTY(qint64, fontSelectIndex, setFontSelectIndex, 0)
};
