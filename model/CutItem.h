#pragma once

#include "RecordProperty.h"

#include <QImage>

// One marked segment of the easy cutter, in seconds of the source.
class CutItem {
public:
    CutItem() = default;
    CutItem(const CutItem&) = delete;
    CutItem& operator=(const CutItem&) = delete;

    RECORD_PROPERTY(bool, selected, setSelected, false)
    RECORD_PROPERTY(float, startTime, setStartTime, 0)
    RECORD_PROPERTY(float, endTime, setEndTime, 0)
    RECORD_PROPERTY(QImage, thumbImage, setThumbImage, {})
};
