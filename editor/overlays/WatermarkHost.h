#pragma once

#include "ViewRect.h"

#include <QString>

class LQMoviePlayer;
class QWidget;

// What the watermark panel needs of the editor window that hosts it.
class WatermarkHost {
public:
    virtual ~WatermarkHost() = default;
    // The preview player; null until a file is open.
    virtual LQMoviePlayer* watermarkPlayer() const = 0;
    // The view the player's picture is shown in (aspect-fit and centred): the overlay's parent.
    virtual QWidget* watermarkPlayerView() const = 0;
    // The picture's size in pixels as the preview shows it (swapped for a quarter turn).
    virtual ViewSize watermarkVideoSize() const = 0;
    virtual bool watermarkPreviewPlaying() const = 0;
    // A plain warning with the text of a strings-table key.
    virtual void watermarkAlert(const QString& key) = 0;
    // The window the open panel and the font and colour choosers belong to.
    virtual QWidget* watermarkWindow() const = 0;
    // A press on the transparency slider holds a playing preview still until the release, as the seek slider does.
    virtual void watermarkHoldPreview() {}
    virtual void watermarkResumePreview() {}
    // The crop the export makes, in pixels of the picture (origin bottom-left); empty for none. A watermark is
    // drawn before the crop, so what lies outside it is not written.
    virtual ViewRect watermarkCropRect() const { return {}; }
};
