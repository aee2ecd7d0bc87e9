#pragma once

#include "FeatureWindowController.h"
#include "MOQButton.h"

#include <QList>

// A feature window with nothing but the frame and a start button, recording what the frame asks of it.
class FrameTestWindow : public FeatureWindowController {
public:
    explicit FrameTestWindow(MediaJobFactory& factory) : FeatureWindowController(factory) {}

    MOQButton* start() const { return _startExportBtn; }
    QList<bool> editStates;
    QList<QPair<int, double>> progress;
    int playersStopped = 0;

    void enableEdit(bool enabled) override { editStates << enabled; }

protected:
    void windowDidLoad() override {
        setUpFrame();
        window()->resize(600, 400);
        _startExportBtn = new MOQButton(ViewRect{480, 20, 100, 30}, window());
        installOutputPopUp(window(), ViewRect{120, 20, 200, 26});
    }
    QString finishedMessageKey() const override { return QStringLiteral("Editfinishedstring"); }
    MOQButton* startButton() const override { return _startExportBtn; }
    void stopPlayers() override { ++playersStopped; }
    void jobProgress(int step, double percent) override { progress << qMakePair(step, percent); }

private:
    MOQButton* _startExportBtn = nullptr;
};
