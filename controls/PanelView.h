#pragma once

#include "LayerStyle.h"

#include <QColor>
#include <QWidget>

class QPainter;

// What the kit's panel views share: a fill colour and a backing layer with curved corners (masking to the
// bounds) and a border. Every setter redraws. A subclass paints between beginPanel() and endPanel().
class PanelView : public QWidget {
    Q_OBJECT
public:
    explicit PanelView(QWidget* parent = nullptr) : QWidget(parent) {}

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
    // Brings the layer up to date (a nil border colour keeps the layer's colour) and clips the painter to it.
    void beginPanel(QPainter& painter);
    void fillPanel(QPainter& painter) const;
    // Draws the layer's border over everything painted.
    void endPanel(QPainter& painter) const;

private:
    QColor _backGroundColor;
    QColor _bordColor;
    float _cornerRadius = 0;
    float _borderWidth = 0;
    LayerStyle _layer;
};
