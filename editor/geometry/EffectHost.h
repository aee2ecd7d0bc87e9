#pragma once

class LQMoviePlayer;

// What the effect panel needs of the editor window that hosts it.
class EffectHost {
public:
    virtual ~EffectHost() = default;
    // The preview player; null until a file is open.
    virtual LQMoviePlayer* effectPlayer() const = 0;
    virtual bool effectPreviewPlaying() const = 0;
    // The level the export gives the file's own sound without the effect panel (0..1): the music panel's level
    // of the original sound, 1 when it has none.
    virtual double effectMainAudioLevel() const = 0;
};
