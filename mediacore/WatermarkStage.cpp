#include "WatermarkStage.h"

#include "Demuxer.h"
#include "EngineLog.h"
#include "ImageLoader.h"
#include "StreamRecords.h"
#include "TextWatermarkCanvas.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace mediacore {

namespace {
double opacity(int transparence) {
    return 1.0 - std::clamp(transparence, 0, 100) / 100.0;
}

// The part [x, x + w) x [y, y + h) of a packed RGBA picture.
FramePtr cropPicture(const AVFrame* source, int x, int y, int w, int h) {
    FramePtr part = makeFrame();
    part->width = w;
    part->height = h;
    part->format = source->format;
    if (av_frame_get_buffer(part.get(), 0) < 0)
        return nullptr;
    for (int row = 0; row < h; ++row)
        std::memcpy(part->data[0] + static_cast<ptrdiff_t>(row) * part->linesize[0],
                    source->data[0] + static_cast<ptrdiff_t>(y + row) * source->linesize[0] + x * 4,
                    static_cast<size_t>(w) * 4);
    return part;
}

std::shared_ptr<AVFrame> shared(FramePtr frame) {
    return std::shared_ptr<AVFrame>(frame.release(), FrameDeleter());
}
} // namespace

WatermarkStage::WatermarkStage(const ConvertSettings& settings, int width, int height)
    : _settings(settings), _width(width), _height(height) {}

void WatermarkStage::append(FilterGraphPlan& plan) const {
    for (const IMAGE_WATERMARK_PARAM& watermark : _settings.imageWatermarks)
        appendImage(plan, watermark);
    for (const VIDEO_WATERMARK_PARAM& watermark : _settings.videoWatermarks)
        appendVideo(plan, watermark);
    for (const TEXT_WATERMARK_PARAM& watermark : _settings.textWatermarks)
        appendText(plan, watermark);
}

std::string WatermarkStage::enableExpression(int64_t startUs, int64_t endUs) const {
    const int64_t from = startUs - _settings.cutStartUs, to = endUs - _settings.cutStartUs;
    if (to <= 0 || to <= from)
        return {};
    return "gte(t," + FilterGraphPlan::seconds(from) + ")*lt(t," + FilterGraphPlan::seconds(to) + ")";
}

bool WatermarkStage::visible(const RECT& box, const char* what) const {
    if (box.right > 0 && box.bottom > 0 && box.left < _width && box.top < _height && box.right > box.left &&
        box.bottom > box.top)
        return true;
    EngineLog::failure("place watermark", AVERROR(EINVAL),
                       std::string(what) + " box (" + std::to_string(box.left) + ", " + std::to_string(box.top) + ", " +
                           std::to_string(box.right) + ", " + std::to_string(box.bottom) + ") lies outside the " +
                           std::to_string(_width) + "x" + std::to_string(_height) + " picture; left out");
    return false;
}

void WatermarkStage::overlay(FilterGraphPlan& plan, int picture, int x, int y, const std::string& enable,
                             FilterGraphPlan::Options extra) const {
    FilterGraphPlan::Options options = {{"x", std::to_string(x)}, {"y", std::to_string(y)}, {"format", "auto"}};
    options.insert(options.end(), extra.begin(), extra.end());
    options.push_back({"enable", enable});
    const int main = plan.tail();
    const int node = plan.add("overlay", std::move(options));
    plan.link(main, node, 0, 0);
    plan.link(picture, node, 0, 1);
    plan.setTail(node);
}

void WatermarkStage::appendImage(FilterGraphPlan& plan, const IMAGE_WATERMARK_PARAM& watermark) const {
    const std::string enable = enableExpression(watermark.start_time, watermark.end_time);
    if (enable.empty() || !visible(watermark.rect, "image watermark"))
        return;
    const RECT& box = watermark.rect;
    FramePtr picture;
    if (ImageLoader::load(watermark.path, box.right - box.left, box.bottom - box.top, opacity(watermark.transparence),
                          picture) < 0)
        return; // logged; the watermark is left out
    // Only the part inside the picture is kept, so each frame blends no more than it shows.
    const int x = std::max(0, -box.left), y = std::max(0, -box.top);
    const int w = std::min(picture->width - x, _width - std::max(0, box.left));
    const int h = std::min(picture->height - y, _height - std::max(0, box.top));
    if (x > 0 || y > 0 || w < picture->width || h < picture->height)
        picture = cropPicture(picture.get(), x, y, w, h);
    if (!picture)
        return;
    overlay(plan, plan.addStill(shared(std::move(picture))), std::max(0, box.left), std::max(0, box.top), enable);
}

void WatermarkStage::appendVideo(FilterGraphPlan& plan, const VIDEO_WATERMARK_PARAM& watermark) const {
    const std::string enable = enableExpression(watermark.start_time, watermark.end_time);
    if (enable.empty() || !visible(watermark.rect, "video watermark"))
        return;
    // The part of the file shown: from file_start_time on, no longer than the window; a window that began
    // before the cut starts that much later in the part.
    const int64_t windowStart = watermark.start_time - _settings.cutStartUs;
    const int64_t skipped = std::max<int64_t>(0, -windowStart);
    const int64_t partStart = watermark.file_start_time + skipped;
    const int64_t partEnd =
        std::min(watermark.file_end_time, watermark.file_start_time + (watermark.end_time - watermark.start_time));
    if (partStart >= partEnd)
        return;
    Demuxer file;
    if (file.open(watermark.path) < 0 || file.firstVideoStream() < 0) {
        EngineLog::failure("open video watermark", AVERROR_STREAM_NOT_FOUND, std::string(watermark.path));
        return;
    }
    // The movie source gives the file's own timestamps, which start at its start time.
    const int64_t origin = file.originUs();
    FilterGraphPlan::Options source = {{"filename", watermark.path}, {"si", std::to_string(file.firstVideoStream())}};
    if (partStart > 0)
        source.push_back({"seek_point", FilterGraphPlan::seconds(partStart)});
    int chain = plan.add("movie", std::move(source));
    // The part begins with the frame on screen at its start, which may have begun up to a frame before it: cut
    // at the start itself, a part starting between two frames would begin with the next, and the picture would
    // show without the watermark until then.
    const int64_t frameUs = StreamRecords::frameLengthUs(file.stream(file.firstVideoStream()));
    const int64_t keepFrom = frameUs > 1 ? std::max<int64_t>(0, partStart - frameUs + 1) : partStart;
    chain = plan.appendTo(
        chain, "trim",
        {{"start", FilterGraphPlan::seconds(origin + keepFrom)}, {"end", FilterGraphPlan::seconds(origin + partEnd)}});
    // Onto the graph's timeline: the part's first frame at the window's start (or at 0 after a cut).
    chain = plan.appendTo(
        chain, "setpts",
        {{"expr",
          "PTS+(" + FilterGraphPlan::seconds(std::max<int64_t>(0, windowStart) - origin - partStart) + ")/TB"}});
    chain = plan.appendTo(chain, "scale",
                          {{"w", std::to_string(watermark.rect.right - watermark.rect.left)},
                           {"h", std::to_string(watermark.rect.bottom - watermark.rect.top)}});
    if (watermark.transparence > 0) {
        chain = plan.appendTo(chain, "format", {{"pix_fmts", "yuva420p"}});
        char alpha[64];
        std::snprintf(alpha, sizeof alpha, "val*%.4f", opacity(watermark.transparence));
        chain = plan.appendTo(chain, "lutyuv", {{"a", alpha}});
    }
    // After the part ends the picture shows through again.
    overlay(plan, chain, watermark.rect.left, watermark.rect.top, enable, {{"eof_action", "pass"}});
}

void WatermarkStage::appendText(FilterGraphPlan& plan, const TEXT_WATERMARK_PARAM& watermark) const {
    const std::string enable = enableExpression(watermark.start_time, watermark.end_time);
    if (enable.empty())
        return;
    TextWatermarkCanvas::Drawn drawn;
    if (!TextWatermarkCanvas::draw(_settings.drawText, watermark, _width, _height, drawn))
        return;
    overlay(plan, plan.addStill(shared(std::move(drawn.picture))), drawn.x, drawn.y, enable,
            {{"alpha", "premultiplied"}});
}

} // namespace mediacore
