#pragma once

#include "MOQImageView.h"

class MOQButton;
class QTextEdit;

// The rotate mode's panel (`_adjustView`): rotate left, rotate right, mirror left-right and mirror top-bottom in a
// strip at the top, a grey box with the description, and the reset button. It only holds and lays out its
// controls; CropRotateEditor gives them their work.
class AdjustPanel : public MOQImageView {
    Q_OBJECT
public:
    // Frame in `contentLeftView`: (5, 5, container width - 10, container height - 10).
    AdjustPanel(const ViewRect& frame, QWidget* parent);

    MOQImageView* _adjusttopView = nullptr;
    MOQButton* _left_ratioBtn = nullptr;
    MOQButton* _right_ratioBtn = nullptr;
    MOQButton* _horizontal_mirrorBtn = nullptr;
    MOQButton* _vertical_mirrorBtn = nullptr;
    MOQImageView* _rotateBackImageV = nullptr;
    QTextEdit* descriptionView = nullptr;
    MOQButton* _resetRotateBtn = nullptr;
};
