#pragma once

#include <QString>

class LQCutProgressView;

// What the trim panel needs of the editor window that hosts it: the preview player, its play state and the trim bar
// under it (both the window's), and plain warnings.
class TrimHost {
public:
    virtual ~TrimHost() = default;
    // The preview player's length and position in seconds; 0 without a player.
    virtual double trimDuration() const = 0;
    virtual double trimCurrentTime() const = 0;
    virtual void trimSeek(double seconds) = 0;
    // Whether the preview plays (the window's play flag).
    virtual bool trimIsPlaying() const = 0;
    // Starts the preview afresh: the play flag cleared, then play.
    virtual void trimPlay() = 0;
    // Pauses the preview (pause: the player, the follow timer, the play button).
    virtual void trimPause() = 0;
    // Pauses the player itself and stops the follow timer, leaving the play flag (a release on a playing bar).
    virtual void trimHoldPlayer() = 0;
    // The trim panel's play button: pauses the player, then the window's play/pause action.
    virtual void trimPlayPause() = 0;
    // The trim bar under the player; null until a file is loaded.
    virtual LQCutProgressView* trimBar() const = 0;
    // A plain warning with the text of a strings-table key.
    virtual void trimAlert(const QString& key) = 0;
};
