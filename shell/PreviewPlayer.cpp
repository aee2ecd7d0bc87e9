#include "PreviewPlayer.h"

#include "LQMoviePlayer.h"

#include <QWidget>

void PreviewPlayer::takeDown(std::unique_ptr<LQMoviePlayer>& player) {
    if (!player)
        return;
    player->stop();
    if (QWidget* view = player->view())
        view->hide();
    player.reset();
}

double PreviewPlayer::duration(const LQMoviePlayer* player) {
    return player ? player->duration().seconds() : 0.0;
}

double PreviewPlayer::currentTime(const LQMoviePlayer* player) {
    return player ? player->currentTime().seconds() : 0.0;
}
