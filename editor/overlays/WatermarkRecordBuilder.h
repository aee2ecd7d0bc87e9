#pragma once

#include "ViewRect.h"
#include "WaterParam.h"
#include "libMediaCore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

using WaterMarkList = QList<std::shared_ptr<WaterParam>>;

// Where the engine's records come from: the picture the boxes are measured on and the overlay the user placed
// them on.
struct WatermarkGeometry {
    double videoWidth = 0; // pixels of the picture as the preview shows it (swapped for a quarter turn)
    double videoHeight = 0;
    double overlayWidth = 0; // points; text sizes are given in overlay points
};

// Receives the records of one walk over the watermark list: the preview player or a conversion job.
class WatermarkSink {
public:
    virtual ~WatermarkSink() = default;
    virtual int addImage(const IMAGE_WATERMARK_PARAM& record) = 0;
    virtual int addVideo(const VIDEO_WATERMARK_PARAM& record) = 0;
    virtual int addText(const TEXT_WATERMARK_PARAM& record) = 0;
};

// Turns watermarks (WaterParam) into the engine's fixed records.
//
// Boxes come from the watermark's fractions of the overlay (origin bottom-left): an image or video box becomes
// pixels with a top-left origin; a text box keeps its bottom-left origin (its `top` is the baseline's height above
// the picture's bottom edge, where the draw-text callback starts the text). Times are float seconds turned into
// µs; a watermark's end is its start plus its duration, added in single precision.
class WatermarkRecordBuilder {
public:
    enum class Kind { None, Image, Video, Text };

    // Ticked or not: image or video for a file watermark with a path, text for a text watermark with text.
    static Kind kindOf(const WaterParam& watermark);

    static RECT imageRect(const ViewRect& fractions, double videoWidth, double videoHeight);
    static RECT textRect(const ViewRect& fractions, double videoWidth, double videoHeight);
    static int64_t microseconds(float seconds);
    static int64_t endTime(float startTime, float duration);
    // The text's size in overlay points scaled to video pixels.
    static int32_t fontSize(double videoWidth, double overlayWidth, float size);

    // The strings-table key of the message for a text, path or font name that does not fit its 260-byte record
    // field (259 bytes of UTF-8 and the NUL); empty when everything fits.
    static QString overflowKey(const WaterParam& watermark);
    static bool fitsField(const QString& text);

    // Each fills a zeroed record; false (record left zeroed) with the refusal's key when a string does not fit.
    static bool image(const WaterParam& watermark, const WatermarkGeometry& geometry, IMAGE_WATERMARK_PARAM& record,
                      QString* refusalKey = nullptr);
    static bool video(const WaterParam& watermark, const WatermarkGeometry& geometry, VIDEO_WATERMARK_PARAM& record,
                      QString* refusalKey = nullptr);
    // A text watermark without a colour is given white (stored in the watermark) before its record is made.
    static bool text(WaterParam& watermark, const WatermarkGeometry& geometry, TEXT_WATERMARK_PARAM& record,
                     QString* refusalKey = nullptr);

    struct Sent {
        int records = 0;            // records handed to the sink
        bool selectedShown = false; // the selected watermark was left to the overlay
        QStringList refusalKeys;    // one per watermark whose record could not be made
    };
    // Hands every ticked watermark to the sink in list order. With `editing`, the selected ticked watermark is not
    // sent (the overlay shows it while the user edits). A sink result is only logged.
    static Sent send(const WaterMarkList& list, int selectedIndex, bool editing, const WatermarkGeometry& geometry,
                     WatermarkSink& sink);
};
