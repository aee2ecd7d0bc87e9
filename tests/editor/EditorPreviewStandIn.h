#pragma once

#include "LQMoviePlayer.h"
#include "ViewFrame.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

// The parts of the editor window a panel group sees, for the panels' tests: an 820 x 560 window with a left
// column (310 x 560) for the panels and a real preview player on `source` in a 480 x 360 view at the right.
struct EditorPreviewStandIn {
    explicit EditorPreviewStandIn(std::string clip, bool withPlayer = true) : source(std::move(clip)) {
        window = std::make_unique<QWidget>();
        window->resize(820, 560);
        left = new QWidget(window.get());
        ViewFrame::setFrame(left, {0, 0, 310, 560});
        playerHost = new QWidget(window.get());
        playerHost->setStyleSheet("background: black");
        ViewFrame::setFrame(playerHost, {320, 100, 480, 360});
        if (withPlayer)
            openPlayer();
    }
    void openPlayer() {
        player = std::make_unique<LQMoviePlayer>(QString::fromStdString(source), ViewRect{0, 0, 480, 360});
        player->view()->setParent(playerHost);
        ViewFrame::setFrame(player->view(), {0, 0, 480, 360});
    }

    std::string source;
    std::unique_ptr<QWidget> window;
    QWidget* left;
    QWidget* playerHost;
    std::unique_ptr<LQMoviePlayer> player;
    QStringList alerts; // the keys of the alerts shown
};
