#include "WatermarkRecordBuilder.h"

#include "HelpClass.h"

#include <QLoggingCategory>

#include <cmath>
#include <cstring>

Q_LOGGING_CATEGORY(lcWatermark, "clipwright.watermark")

namespace {

bool setField(char* field, size_t size, const QString& text) {
    return MediaRecordSetText(field, size, text.toUtf8().constData()) != 0;
}

} // namespace

WatermarkRecordBuilder::Kind WatermarkRecordBuilder::kindOf(const WaterParam& watermark) {
    if (watermark.waterType() == WaterParam::File && !watermark.waterImagePath().isEmpty())
        return watermark.isVideo() ? Kind::Video : Kind::Image;
    if (watermark.waterType() == WaterParam::Text && !watermark.waterText().isEmpty())
        return Kind::Text;
    return Kind::None;
}

RECT WatermarkRecordBuilder::imageRect(const ViewRect& f, double W, double H) {
    // Rounded, not cut: the fractions come from single-precision boxes, and a box the size fields give as 200
    // pixels is written 200 pixels wide, not 199.
    RECT r;
    r.left = static_cast<int32_t>(std::lround(f.x * W));
    r.top = static_cast<int32_t>(std::lround((1 - (f.y + f.height)) * H));
    r.right = static_cast<int32_t>(std::lround((f.x + f.width) * W));
    r.bottom = static_cast<int32_t>(std::lround((1 - f.y) * H));
    return r;
}

RECT WatermarkRecordBuilder::textRect(const ViewRect& f, double W, double H) {
    RECT r;
    r.left = static_cast<int32_t>(f.x * W);
    r.right = static_cast<int32_t>((f.x + f.width) * W);
    r.top = static_cast<int32_t>(f.y * H);
    r.bottom = static_cast<int32_t>(r.top + f.height * H);
    return r;
}

int64_t WatermarkRecordBuilder::microseconds(float seconds) {
    return static_cast<int64_t>(static_cast<double>(seconds) * 1000000.0);
}

int64_t WatermarkRecordBuilder::endTime(float startTime, float duration) {
    const float end = startTime + duration;
    return microseconds(end);
}

int32_t WatermarkRecordBuilder::fontSize(double videoWidth, double overlayWidth, float size) {
    if (overlayWidth <= 0)
        return static_cast<int32_t>(size);
    return static_cast<int32_t>(videoWidth / overlayWidth * size);
}

bool WatermarkRecordBuilder::fitsField(const QString& text) {
    return text.toUtf8().size() <= 259;
}

QString WatermarkRecordBuilder::overflowKey(const WaterParam& watermark) {
    switch (kindOf(watermark)) {
    case Kind::Image:
    case Kind::Video:
        return fitsField(watermark.waterImagePath()) ? QString() : QStringLiteral("watermarkPathTooLong");
    case Kind::Text:
        if (!fitsField(watermark.waterText()))
            return QStringLiteral("watermarkTextTooLong");
        return fitsField(watermark.waterFontName()) ? QString() : QStringLiteral("watermarkFontTooLong");
    case Kind::None:
        break;
    }
    return {};
}

bool WatermarkRecordBuilder::image(const WaterParam& watermark, const WatermarkGeometry& g,
                                   IMAGE_WATERMARK_PARAM& record, QString* refusalKey) {
    std::memset(&record, 0, sizeof record);
    if (!setField(record.path, sizeof record.path, watermark.waterImagePath())) {
        if (refusalKey)
            *refusalKey = QStringLiteral("watermarkPathTooLong");
        return false;
    }
    record.rect = imageRect(watermark.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    record.transparence = static_cast<int32_t>(watermark.waterAlph());
    record.start_time = microseconds(watermark.startTime());
    record.end_time = endTime(watermark.startTime(), watermark.duration());
    return true;
}

bool WatermarkRecordBuilder::video(const WaterParam& watermark, const WatermarkGeometry& g,
                                   VIDEO_WATERMARK_PARAM& record, QString* refusalKey) {
    std::memset(&record, 0, sizeof record);
    if (!setField(record.path, sizeof record.path, watermark.waterImagePath())) {
        if (refusalKey)
            *refusalKey = QStringLiteral("watermarkPathTooLong");
        return false;
    }
    record.rect = imageRect(watermark.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    record.start_time = microseconds(watermark.startTime());
    record.end_time = endTime(watermark.startTime(), watermark.duration());
    record.file_start_time = microseconds(watermark.fileStartTime());
    record.file_end_time = microseconds(watermark.fileEndTime());
    record.transparence = static_cast<int32_t>(watermark.waterAlph());
    return true;
}

bool WatermarkRecordBuilder::text(WaterParam& watermark, const WatermarkGeometry& g, TEXT_WATERMARK_PARAM& record,
                                  QString* refusalKey) {
    std::memset(&record, 0, sizeof record);
    const QString key = !fitsField(watermark.waterText())       ? QStringLiteral("watermarkTextTooLong")
                        : !fitsField(watermark.waterFontName()) ? QStringLiteral("watermarkFontTooLong")
                                                                : QString();
    if (!key.isEmpty()) {
        if (refusalKey)
            *refusalKey = key;
        return false;
    }
    setField(record.text, sizeof record.text, watermark.waterText());
    setField(record.szFontName, sizeof record.szFontName, watermark.waterFontName());
    record.rect = textRect(watermark.waterPercentClipRect(), g.videoWidth, g.videoHeight);
    record.fontsize = fontSize(g.videoWidth, g.overlayWidth, watermark.waterFontSize());
    if (!watermark.waterFontColor().isValid())
        watermark.setWaterFontColor(Qt::white);
    record.fontclr = HelpClass::retDwordColorVolue(watermark.waterFontColor());
    record.transparence = static_cast<int32_t>(watermark.waterAlph());
    record.start_time = microseconds(watermark.startTime());
    record.end_time = endTime(watermark.startTime(), watermark.duration());
    return true;
}

WatermarkRecordBuilder::Sent WatermarkRecordBuilder::send(const WaterMarkList& list, int selectedIndex, bool editing,
                                                          const WatermarkGeometry& geometry, WatermarkSink& sink) {
    Sent sent;
    for (qsizetype i = 0; i < list.size(); ++i) {
        WaterParam* watermark = list.at(i).get();
        if (watermark == nullptr || !watermark->selected())
            continue;
        if (editing && i == selectedIndex) {
            sent.selectedShown = true;
            continue;
        }
        QString refusal;
        int result = 0;
        switch (kindOf(*watermark)) {
        case Kind::Image: {
            IMAGE_WATERMARK_PARAM record;
            if (!image(*watermark, geometry, record, &refusal))
                break;
            result = sink.addImage(record);
            ++sent.records;
            break;
        }
        case Kind::Video: {
            VIDEO_WATERMARK_PARAM record;
            if (!video(*watermark, geometry, record, &refusal))
                break;
            result = sink.addVideo(record);
            ++sent.records;
            break;
        }
        case Kind::Text: {
            TEXT_WATERMARK_PARAM record;
            if (!text(*watermark, geometry, record, &refusal))
                break;
            result = sink.addText(record);
            ++sent.records;
            break;
        }
        case Kind::None:
            continue;
        }
        if (!refusal.isEmpty())
            sent.refusalKeys.append(refusal);
        else
            qCInfo(lcWatermark, "suc:%d", result);
    }
    return sent;
}
