#pragma once

#include "SpecRect.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>

class ImageLayerView;
class LabelField;
class LQRadioButtonDelegate;
class QRadioButton;

// A radio circle with a title that selects itself when clicked and tells its delegate. Selecting one does not
// deselect another: keeping a group exclusive is the owner's task. Its enabled flag is the widget's.
class LQRadioButton : public QWidget {
    Q_OBJECT
public:
    explicit LQRadioButton(const SpecRect& frame, QWidget* parent = nullptr);
    ~LQRadioButton() override;

    ImageLayerView* backgroundView() const { return _backgroundView; }
    QRadioButton* iconView() const { return _iconView; }
    LabelField* titleLabel() const { return _titleLabel; }
    std::optional<QFont> font() const { return _font; }
    void setFont(const std::optional<QFont>& font);
    QString title() const { return _title; }
    void setTitle(const QString& title) { _title = title; }
    // Only heightedImage is ever shown (in the circle, from the first press on); the others are stored only.
    QImage normalImage() const { return _normalImage; }
    void setNormalImage(const QImage& image) { _normalImage = image; }
    QImage heightedImage() const { return _heightedImage; }
    void setHeightedImage(const QImage& image) { _heightedImage = image; }
    QImage selectedHeightedImage() const { return _selectedHeightedImage; }
    void setSelectedHeightedImage(const QImage& image) { _selectedHeightedImage = image; }
    QImage selectedImage() const { return _selectedImage; }
    void setSelectedImage(const QImage& image) { _selectedImage = image; }
    QImage disabledImage() const { return _disabledImage; }
    void setDisabledImage(const QImage& image) { _disabledImage = image; }
    QImage selectedDisabledImage() const { return _selectedDisabledImage; }
    void setSelectedDisabledImage(const QImage& image) { _selectedDisabledImage = image; }
    QColor normalColor() const { return _normalColor; }
    void setNormalColor(const QColor& color) { _normalColor = color; }
    QColor heightedColor() const { return _heightedColor; }
    void setHeightedColor(const QColor& color) { _heightedColor = color; }
    QColor selectedColor() const { return _selectedColor; }
    void setSelectedColor(const QColor& color) { _selectedColor = color; }
    QColor disabledColor() const { return _disabledColor; }
    void setDisabledColor(const QColor& color) { _disabledColor = color; }
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    LQRadioButtonDelegate* delegate() const { return _delegate; }
    void setDelegate(LQRadioButtonDelegate* delegate) { _delegate = delegate; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyLook();
    void click();

    ImageLayerView* _backgroundView;
    QRadioButton* _iconView;
    LabelField* _titleLabel;
    std::optional<QFont> _font;
    QString _title;
    QImage _normalImage;
    QImage _heightedImage;
    QImage _selectedHeightedImage;
    QImage _selectedImage;
    QImage _disabledImage;
    QImage _selectedDisabledImage;
    QColor _normalColor;
    QColor _heightedColor;
    QColor _selectedColor;
    QColor _disabledColor;
    bool _selected = false;
    LQRadioButtonDelegate* _delegate = nullptr;
};
