#pragma once

#include "ViewRect.h"

#include <QPushButton>

class ImageLayerView;

// A two-position switch: a background image with a knob image covering one half. setselected() moves the knob;
// setSelected() only stores. Clicks are the platform button's own.
class MergeButton : public QPushButton {
    Q_OBJECT
public:
    explicit MergeButton(const ViewRect& frame, QWidget* parent = nullptr);
    ~MergeButton() override;

    ImageLayerView* knobView() const { return _knobView; }
    bool selected() const { return _selected; }
    void setSelected(bool selected) { _selected = selected; }
    // Stores the value and moves the knob to the right half (true) or the left half (false) of the button's
    // current size.
    void setselected(bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ImageLayerView* _knobView;
    QImage _background;
    bool _selected = false;
};
