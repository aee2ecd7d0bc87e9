#pragma once

#include "MOQImageView.h"

class LabelField;
class LQTextField;
class MOQButton;
class QTextEdit;

// The crop mode's panel (`_cropView`): the source size, the crop's width and height, the keep-aspect box, the
// crop's top and left offsets and the reset button. It only holds and lays out its controls; CropRotateEditor
// gives them their work.
class CropPanel : public MOQImageView {
    Q_OBJECT
public:
    // Frame in `contentLeftView`: (5, 5, container width - 10, container height - 10).
    CropPanel(const ViewRect& frame, QWidget* parent);

    LabelField* _original_SizeLabel = nullptr;
    LQTextField* _cropWidthField = nullptr;
    LQTextField* _cropHeightField = nullptr;
    LQTextField* _cropLeftField = nullptr;
    LQTextField* _cropTopField = nullptr;
    MOQButton* _keepAspectBtn = nullptr;
    MOQButton* _edit_cropCancelBtn = nullptr;
    QTextEdit* descriptionView = nullptr;
};
