#pragma once

#include "WatermarkRecordBuilder.h"
#include "WatermarkRendering.h"

// Adds watermark records to a conversion job. The draw-text callback is registered before each text watermark,
// since the engine holds one registration for every job.
class WatermarkJobSink : public WatermarkSink {
public:
    explicit WatermarkJobSink(CONVERT_HANDLE job) : _job(job) {}

    int addImage(const IMAGE_WATERMARK_PARAM& record) override {
        return apiMediaConvertAddImageWatermask(_job, record);
    }
    int addVideo(const VIDEO_WATERMARK_PARAM& record) override {
        return apiMediaConvertAddVideoWatermark(_job, record);
    }
    int addText(const TEXT_WATERMARK_PARAM& record) override {
        apiMediaConvertSetDrawTextCallback(&drawTextCallback);
        return apiMediaConvertAddTextWatermask(_job, record);
    }

private:
    CONVERT_HANDLE _job;
};
