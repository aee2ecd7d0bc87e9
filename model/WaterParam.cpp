#include "WaterParam.h"

#include "ModelLog.h"

WaterParam::~WaterParam() {
    qCDebug(lcModel, "-[WaterParam dealloc]");
}

std::shared_ptr<WaterParam> WaterParam::copy() const {
    auto result = std::make_shared<WaterParam>();
    result->setWaterAlph(_waterAlph);
    result->setWaterImagePath(_waterImagePath);
    result->setWaterRect(_waterRect);
    result->setWaterText(_waterText);
    result->setWaterType(_waterType);
    result->setWaterPercentClipRect(_waterPercentClipRect);
    result->setWaterFontName(_waterFontName);
    result->setWaterFontSize(_waterFontSize);
    result->setWaterFontColor(_waterFontColor);
    result->setWaterViewFrameWidth(_waterViewFrameWidth);
    return result;
}
