#pragma once

#include "CutItem.h"
#include "ViewPoint.h"
#include "ViewRect.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>

#include <functional>
#include <memory>

class QLabel;

// One tile of the easy cutter's segment list: the segment's thumbnail and its start and end as the title, over a
// background picture that changes when the tile is selected. A click calls the action; the pointer entering and
// leaving go to two closures, only while the tile is enabled, with the pointer in the tile's own coordinates.
class CutItemView : public QAbstractButton {
    Q_OBJECT
public:
    using HoverBlock = std::function<void(CutItemView*, ViewPoint)>;

    CutItemView(const ViewRect& frame, QWidget* parent);
    ~CutItemView() override;

    qint64 tag() const { return _tag; }
    void setTag(qint64 tag) { _tag = tag; }

    bool selected() const { return _selected; }
    void setSelected(bool selected);
    std::shared_ptr<CutItem> item() const { return _item; }
    void setItem(std::shared_ptr<CutItem> item);

    void setNbackGroundColor(const QColor& color) { _nbackGroundColor = color; }
    void setSbackGroundColor(const QColor& color) { _sbackGroundColor = color; }
    void setNbackGroundImage(const QImage& image);
    void setSbackGroundImage(const QImage& image);
    void setNbordColor(const QColor& color);
    void setSbordColor(const QColor& color);
    void setCornerRadius(float radius) { _cornerRadius = radius; }
    void setBorderWidth(float width) { _borderWidth = width; }

    QLabel* backView() const { return _backView; }
    QLabel* iconView() const { return _iconView; }
    QLabel* titleField() const { return _titleField; }
    QString title() const;

    void setAction(std::function<void(CutItemView*)> action) { _action = std::move(action); }
    void setMouseEntered(HoverBlock block) { _mouseEntered = std::move(block); }
    void setMouseExited(HoverBlock block) { _mouseExited = std::move(block); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void hover(const HoverBlock& block);
    void showBackground();

    qint64 _tag = 0;
    bool _selected = false;
    std::shared_ptr<CutItem> _item;
    qint64 _shownThumbKey = 0; // the picture on the icon (QImage::cacheKey), 0 for none
    QColor _nbackGroundColor;
    QColor _sbackGroundColor;
    QImage _nbackGroundImage;
    QImage _sbackGroundImage;
    QColor _nbordColor;
    QColor _sbordColor;
    float _cornerRadius = 0;
    float _borderWidth = 0;
    QLabel* _backView;
    QLabel* _iconView;
    QLabel* _titleField;
    std::function<void(CutItemView*)> _action;
    HoverBlock _mouseEntered;
    HoverBlock _mouseExited;
};
