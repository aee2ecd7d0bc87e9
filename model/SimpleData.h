#pragma once

#include "AudioStreamInfo.h"
#include "FileData.h"
#include "RecordProperty.h"
#include "ViewRect.h"
#include "SubtitleParam.h"
#include "WaterParam.h"
#include "libMediaCore.h"

#include <QImage>
#include <QList>
#include <QString>

#include <memory>

using AudioStreamInfoList = QList<std::shared_ptr<AudioStreamInfo>>;

// One input file with its probe results and all of its edit and export state. Never copied: windows and clip
// rows share the same record through std::shared_ptr. A new record owns its own empty source and target
// FileData, WaterParam, SubtitleParam and audio-stream list.
class SimpleData {
public:
    SimpleData() = default;
    SimpleData(const SimpleData&) = delete;
    SimpleData& operator=(const SimpleData&) = delete;
    ~SimpleData();

    RECORD_PROPERTY(bool, defaultFormat, setDefaultFormat, false)
    RECORD_PROPERTY(QImage, thumbImage, setThumbImage, {})
    RECORD_PROPERTY(QString, name, setName, {}) // last path component
    RECORD_PROPERTY(QString, path, setPath, {})
    RECORD_PROPERTY(std::shared_ptr<FileData>, sourceData, setSourceData, std::make_shared<FileData>())
    RECORD_PROPERTY(std::shared_ptr<FileData>, targetData, setTargetData, std::make_shared<FileData>())
    RECORD_PROPERTY(QString, exportStatues, setExportStatues, {})
    RECORD_PROPERTY(qint64, cutTimeRange_start, setCutTimeRange_start, 0) // microseconds of the source
    RECORD_PROPERTY(qint64, cutTimeRange_stop, setCutTimeRange_stop, 0)
    RECORD_PROPERTY(ViewRect, clipRect, setClipRect, {})           // video pixels, origin bottom-left; zero = no crop
    RECORD_PROPERTY(RECT, convertCropSize, setConvertCropSize, {}) // margins in video pixels, each even
    RECORD_PROPERTY(int, convertRateAngle, setConvertRateAngle, 0) // degrees, multiple of 90
    RECORD_PROPERTY(bool, keepAspectratio, setKeepAspectratio, false)
    RECORD_PROPERTY(bool, isTrimFanxuan, setIsTrimFanxuan, false) // inverted trim
    RECORD_PROPERTY(int, brightness, setBrightness, 0)            // -255 .. 255
    RECORD_PROPERTY(int, contrast, setContrast, 0)                // -100 .. 100
    RECORD_PROPERTY(int, saturation, setSaturation, 0)            // -100 .. 100
    RECORD_PROPERTY(double, volume, setVolume, 1.0)               // gain 0 .. 2
    RECORD_PROPERTY(int, hFlip, setHFlip, 0)
    RECORD_PROPERTY(int, vFlip, setVFlip, 0)
    RECORD_PROPERTY(std::shared_ptr<QList<int>>, effectTypes, setEffectTypes, nullptr)
    RECORD_PROPERTY(std::shared_ptr<WaterParam>, waterParam, setWaterParam, std::make_shared<WaterParam>())
    RECORD_PROPERTY(std::shared_ptr<SubtitleParam>, subtitleParam, setSubtitleParam, std::make_shared<SubtitleParam>())
    RECORD_PROPERTY(QString, exportPath, setExportPath, {})
    RECORD_PROPERTY(QString, exportbeforPath, setExportbeforPath, {})
    RECORD_PROPERTY(QString, exportbehandPath, setExportbehandPath, {})
    RECORD_PROPERTY(int, transitionEffect, setTransitionEffect, 0) // 0 none, 1 left, 2 top, 3 fade
    RECORD_PROPERTY(bool, selected, setSelected, true)
    RECORD_PROPERTY(std::shared_ptr<AudioStreamInfoList>, audioStreamInfos, setAudioStreamInfos,
                    std::make_shared<AudioStreamInfoList>())
};
