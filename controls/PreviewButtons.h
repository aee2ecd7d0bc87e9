#pragma once

class MOQButton;
class QWidget;
struct ViewRect;

// The two buttons under a preview player that the clip windows and the splitter draw alike. The owner wires their
// presses; the play button shows the pause picture while selected (playing).
class PreviewButtons {
public:
    static MOQButton* playPause(const ViewRect& frame, QWidget* parent);
    static MOQButton* stop(const ViewRect& frame, QWidget* parent);
};
