#pragma once

#include "LQMoviePlayer.h"
#include "WatermarkRecordBuilder.h"

// Gives watermark records to the preview player, which keeps them until its next ClearWatermask.
class WatermarkPlayerSink : public WatermarkSink {
public:
    explicit WatermarkPlayerSink(LQMoviePlayer& player) : _player(player) {}

    int addImage(const IMAGE_WATERMARK_PARAM& record) override { return _player.AddImageWatermask(record); }
    int addVideo(const VIDEO_WATERMARK_PARAM& record) override { return _player.AddVideoWatermask(record); }
    int addText(const TEXT_WATERMARK_PARAM& record) override { return _player.AddTextWatermask(record); }

private:
    LQMoviePlayer& _player;
};
