#pragma once

#include "PanelView.h"
#include "ViewRect.h"

// A plain panel: a fill colour, curved corners and a border. Every setter redraws.
class MOQView : public PanelView {
    Q_OBJECT
public:
    explicit MOQView(QWidget* parent = nullptr);
    MOQView(const ViewRect& frame, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
