#pragma once

#include "ViewSize.h"

#include <QString>

class LQMoviePlayer;
class QWidget;

// What the subtitle panel needs of the editor window that hosts it.
class SubtitleHost {
public:
    virtual ~SubtitleHost() = default;
    // The preview player; null until a file is open.
    virtual LQMoviePlayer* subtitlePlayer() const = 0;
    virtual bool subtitlePreviewPlaying() const = 0;
    // The picture's size in pixels as the preview shows it (swapped for a quarter turn).
    virtual ViewSize subtitleVideoSize() const = 0;
    // Whether a source file is open (the subtitle pop-up does nothing without one).
    virtual bool subtitleFileOpen() const = 0;
    // A plain warning with the text of a strings-table key.
    virtual void subtitleAlert(const QString& key) = 0;
    // The window the open panel and the colour chooser belong to.
    virtual QWidget* subtitleWindow() const = 0;
};
