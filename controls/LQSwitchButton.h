#pragma once

#include "ViewRect.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class ImageLayerView;
class LabelField;
class LQSwitchButtonDelegate;

// A square image with a title that flips between two looks on every click and tells its delegate. It has no
// enabled flag of its own and always reacts.
class LQSwitchButton : public QWidget {
    Q_OBJECT
public:
    explicit LQSwitchButton(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQSwitchButton() override;

    ImageLayerView* imageView() const { return _imageView; }
    LabelField* titleLabel() const { return _titleLabel; }
    QString title() const { return _title; }
    void setTitle(const QString& title) { _title = title; }
    QImage normalImage() const { return _normalImage; }
    void setNormalImage(const QImage& image) { _normalImage = image; }
    QImage heightedImage() const { return _heightedImage; }
    void setHeightedImage(const QImage& image) { _heightedImage = image; }
    QImage selectedImage() const { return _selectedImage; }
    void setSelectedImage(const QImage& image) { _selectedImage = image; }
    QColor normalColor() const { return _normalColor; }
    void setNormalColor(const QColor& color) { _normalColor = color; }
    QColor heightedColor() const { return _heightedColor; }
    void setHeightedColor(const QColor& color) { _heightedColor = color; }
    QColor selectedColor() const { return _selectedColor; }
    void setSelectedColor(const QColor& color) { _selectedColor = color; }
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    LQSwitchButtonDelegate* delegate() const { return _delegate; }
    void setDelegate(LQSwitchButtonDelegate* delegate) { _delegate = delegate; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ImageLayerView* _imageView;
    LabelField* _titleLabel;
    QString _title;
    QImage _normalImage;
    QImage _heightedImage;
    QImage _selectedImage;
    QColor _normalColor;
    QColor _heightedColor;
    QColor _selectedColor;
    bool _selected = false;
    LQSwitchButtonDelegate* _delegate = nullptr;
};
