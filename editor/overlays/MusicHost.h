#pragma once

#include <QString>

class LQMoviePlayer;
class QWidget;

// What the background-music panel needs of the editor window that hosts it.
class MusicHost {
public:
    virtual ~MusicHost() = default;
    // The main preview player; null until a file is open.
    virtual LQMoviePlayer* musicMainPlayer() const = 0;
    // The main preview plays (`_isPlaying`).
    virtual bool musicPreviewPlaying() const = 0;
    // The window's play and pause of the main preview (they call back addDubbingWithPlayer and the music
    // preview's stop), and the player's stop.
    virtual void musicPlayPreview() = 0;
    virtual void musicPausePreview() = 0;
    virtual void musicStopPreview() = 0;
    // Saves a still frame of the preview in MusicEditor::coverStyle()'s format.
    virtual void musicSaveStillFrame() = 0;
    // A plain warning with the text of a strings-table key.
    virtual void musicAlert(const QString& key) = 0;
    // The window the open panel belongs to.
    virtual QWidget* musicWindow() const = 0;
};
