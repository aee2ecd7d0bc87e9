#pragma once

#include "libMediaCore.h"

#include <cstdint>

// The functions the engine and the preview player call back to draw a text watermark and to read an image file.
//
// They keep no state and touch no window or widget: the engine calls drawTextCallback on its job thread and the
// player calls the other two on threads of its own, possibly several at once. Each call makes its own painter,
// font and buffers. A QGuiApplication must exist (fonts come from its font database).
//
// Text is shaped by Qt (any script; a character the font lacks comes from a fallback font), in the font named by
// szFontName (the default sans font when the name is unknown) at fontsize pixels. The baseline starts at
// (rect.left, rect.top), measured from the canvas's bottom-left corner with y up. The canvas is width x height
// pixels, rows top first without padding, bytes B, G, R, A with premultiplied alpha; the text is composited over
// what the canvas holds. fontclr is the colour word (red bits 24-31, green 16-23, blue 8-15) and transparence the
// percentage of transparency (0 opaque, 100 invisible). A text or font name without its NUL, or not valid UTF-8,
// draws nothing.
void drawTextCallback(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM param);
void playerDrawTextCallback(int32_t width, int32_t height, void* pixels, TEXT_WATERMARK_PARAM param);

// An image file's size in pixels (buffer null) or its pixels: exactly width x height x 4 bytes, B, G, R, A with
// premultiplied alpha, top row first, whatever the file's own layout or resolution. 1 on success; 0 when the path is
// null or not UTF-8, the file cannot be read as an image, or the buffer is smaller than the picture. A failed call
// writes neither the sizes nor the buffer.
int32_t playerLoadImageCallback(const char* path, int32_t* width, int32_t* height, int32_t bufferSize, void* buffer);
