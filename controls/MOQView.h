#pragma once

#include "LayerStyle.h"
#include "SpecRect.h"

#include <QColor>
#include <QWidget>

// A plain panel: a fill colour, curved corners and a border. Every setter redraws.
class MOQView : public QWidget {
    Q_OBJECT
public:
    explicit MOQView(QWidget* parent = nullptr);
    MOQView(const SpecRect& frame, QWidget* parent);

    QColor backGroundColor() const { return _backGroundColor; }
    void setBackGroundColor(const QColor& color);
    QColor bordColor() const { return _bordColor; }
    void setBordColor(const QColor& color);
    float cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(float radius);
    float borderWidth() const { return _borderWidth; }
    void setBorderWidth(float width);

    const LayerStyle& layer() const { return _layer; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor _backGroundColor;
    QColor _bordColor;
    float _cornerRadius = 0;
    float _borderWidth = 0;
    LayerStyle _layer;
};
