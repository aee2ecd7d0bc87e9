#include "SubtitleParam.h"

#include "ModelLog.h"

SubtitleParam::~SubtitleParam() {
    qCDebug(lcModel, "-[SubtitleParam dealloc]");
}

std::shared_ptr<SubtitleParam> SubtitleParam::copy() const {
    auto result = std::make_shared<SubtitleParam>();
    result->setSubtitleAlph(_subtitleAlph);
    result->setShadow(_shadow);
    result->setPositon(_positon);
    result->setSubtitlePath(_subtitlePath);
    result->setFontPath(_fontPath);
    result->setFontColor(_fontColor);
    result->setFontSize(_fontSize);
    result->setFontPathList(_fontPathList);
    result->setFontSelectIndex(_fontSelectIndex);
    return result;
}
