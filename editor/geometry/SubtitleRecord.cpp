#include "SubtitleRecord.h"

#include "HelpClass.h"
#include "SubtitleParam.h"

#include <cstring>

namespace {

// The shadow under the text: black, whatever the text's colour.
constexpr uint32_t kShadowColour = 0x00000000;

bool fitsField(const QString& text) {
    return text.toUtf8().size() < 260;
}

SUBTITLE_PARAM styleRecord(const SubtitleSettings& s) {
    SUBTITLE_PARAM record;
    std::memset(&record, 0, sizeof record);
    record.position = s.positon;
    MediaRecordSetText(record.szFontFile, sizeof record.szFontFile, s.fontPath.toUtf8().constData());
    record.fontsize = s.fontSize;
    record.shadow = s.shadow;
    record.fontclr = HelpClass::retDwordColorVolue(s.fontColor);
    record.shadowclr = kShadowColour;
    return record;
}

} // namespace

SubtitleSettings SubtitleSettings::from(const SubtitleParam& param) {
    SubtitleSettings s;
    s.subtitlePath = param.subtitlePath();
    s.fontPath = param.fontPath();
    s.fontColor = param.fontColor().isValid() ? param.fontColor() : QColor(255, 255, 255);
    s.fontSize = param.fontSize();
    s.shadow = param.shadow();
    s.positon = param.positon();
    return s;
}

bool SubtitleSettings::fits() const {
    return fitsField(subtitlePath) && fitsField(fontPath);
}

std::optional<SUBTITLE_PARAM> SubtitleSettings::record() const {
    if (!fits())
        return std::nullopt;
    SUBTITLE_PARAM r = styleRecord(*this);
    MediaRecordSetText(r.path, sizeof r.path, subtitlePath.toUtf8().constData());
    return r;
}

SUBTITLE_PARAM SubtitleSettings::emptyRecord() const {
    return styleRecord(*this);
}

int SubtitleSettings::applyTo(CONVERT_HANDLE job) const {
    if (subtitlePath.isEmpty())
        return 1;
    const auto r = record();
    if (!r)
        return -1;
    return apiMediaConvertSetSubtitle(job, *r);
}
