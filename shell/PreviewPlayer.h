#pragma once

#include <memory>

class LQMoviePlayer;

// What every window's preview does with its player alike, whoever holds it.
class PreviewPlayer {
public:
    // Stops the player, hides its picture and lets it go; nothing without a player.
    static void takeDown(std::unique_ptr<LQMoviePlayer>& player);
    // The player's length and place in seconds; 0 without a player.
    static double duration(const LQMoviePlayer* player);
    static double currentTime(const LQMoviePlayer* player);
};
