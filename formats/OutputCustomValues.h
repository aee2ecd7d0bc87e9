#pragma once

#include <QString>

// The custom frame size and custom video bit rate typed in the settings dialog, shared by the joiner and the
// editor in the user-defaults store as integers. 0 (or a missing key) means "not set": the target keeps its size
// or rate. Values are kept within ranges an encoder accepts, and frame dimensions are even (4:2:0 video needs it).
class OutputCustomValues {
public:
    static const QString kWidthKey;   // "resolutionSelectCustom-Width", pixels
    static const QString kHeightKey;  // "resolutionSelectCustom-Height", pixels
    static const QString kBitRateKey; // "bitSelectCustom-Value", kbit/s (the joiner only)

    static constexpr int kMinFrameDimension = 16;
    static constexpr int kMaxFrameDimension = 8192;
    static constexpr int kMinBitRate = 16;     // kbit/s
    static constexpr int kMaxBitRate = 200000; // kbit/s
    static constexpr int kMaxFieldDigits = 6;  // what a custom field accepts

    // 0 or less gives 0; anything else is clamped and (frame dimensions) rounded down to even.
    static int sanitizeFrameDimension(qint64 pixels);
    static int sanitizeBitRate(qint64 kbps);

    // The number a custom field's text stands for: its digits read as a decimal number; 0 for a text without any.
    static qint64 fieldNumber(const QString& text);

    // Stored values, sanitized on reading too (a store edited by hand may hold anything).
    static int width();
    static int height();
    static int bitRate();
    static void setFrameSize(qint64 width, qint64 height);
    static void setBitRate(qint64 kbps);
    static void removeFrameSize();
};
