#pragma once

#include "ButtonLook.h"
#include "LayerStyle.h"
#include "ViewRect.h"

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QString>

#include <functional>
#include <memory>

class MOQPosition;

// The image button of every window. It draws itself from the images and colours its owner supplies: an image
// and a background image for each of five looks (normal, hover, pressed, selected, disabled), an optional title
// with its own colour, and an optional underline that makes it a link. The click is reported on the release of
// the mouse button, when the pointer is over the button and it is enabled; the pointer entering and leaving go to
// two more closures. Setting an image, a colour or a closure only stores it; the next redraw shows it.
class MOQButton : public QPushButton {
    Q_OBJECT
public:
    using Action = std::function<void(MOQButton*)>;

    explicit MOQButton(QWidget* parent = nullptr);
    MOQButton(const ViewRect& frame, QWidget* parent);
    ~MOQButton() override;

    QColor backGroundColor() const { return _backGroundColor; }
    void setBackGroundColor(const QColor& color) { _backGroundColor = color; }
    QColor disAblebackGroundColor() const { return _disAblebackGroundColor; }
    void setDisAblebackGroundColor(const QColor& color) { _disAblebackGroundColor = color; }
    QColor bordColor() const { return _bordColor; }
    void setBordColor(const QColor& color) { _bordColor = color; }
    QColor contentColor() const { return _contentColor; }
    void setContentColor(const QColor& color) { _contentColor = color; }
    qint64 index() const { return _index; }
    void setIndex(qint64 index) { _index = index; }
    float cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(float radius) { _cornerRadius = radius; }
    float borderWidth() const { return _borderWidth; }
    void setBorderWidth(float width) { _borderWidth = width; }
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    bool isCheckType() const { return _isCheckType; }
    void setIsCheckType(bool checkType) { _isCheckType = checkType; }
    QString contentTitle() const { return _contentTitle; }
    void setContentTitle(const QString& title);

    QImage onImage() const { return _images[ButtonLook::On]; }
    void setOnImage(const QImage& image) { _images[ButtonLook::On] = image; }
    QImage downImage() const { return _images[ButtonLook::Down]; }
    void setDownImage(const QImage& image) { _images[ButtonLook::Down] = image; }
    QImage normalImage() const { return _images[ButtonLook::Normal]; }
    void setNormalImage(const QImage& image) { _images[ButtonLook::Normal] = image; }
    QImage disAbleImage() const { return _images[ButtonLook::Disabled]; }
    void setDisAbleImage(const QImage& image) { _images[ButtonLook::Disabled] = image; }
    QImage selectedImage() const { return _images[ButtonLook::Selected]; }
    void setSelectedImage(const QImage& image) { _images[ButtonLook::Selected] = image; }
    QImage onBackgroundImage() const { return _backgrounds[ButtonLook::On]; }
    void setOnBackgroundImage(const QImage& image) { _backgrounds[ButtonLook::On] = image; }
    QImage downBackgroundImage() const { return _backgrounds[ButtonLook::Down]; }
    void setDownBackgroundImage(const QImage& image) { _backgrounds[ButtonLook::Down] = image; }
    QImage normalBackgroundImage() const { return _backgrounds[ButtonLook::Normal]; }
    void setNormalBackgroundImage(const QImage& image) { _backgrounds[ButtonLook::Normal] = image; }
    QImage disAbleBackgroundImage() const { return _backgrounds[ButtonLook::Disabled]; }
    void setDisAbleBackgroundImage(const QImage& image) { _backgrounds[ButtonLook::Disabled] = image; }
    QImage selectedBackgroundImage() const { return _backgrounds[ButtonLook::Selected]; }
    void setSelectedBackgroundImage(const QImage& image) { _backgrounds[ButtonLook::Selected] = image; }

    // 0 (or anything but 1 and 2): image then title, centred as a group; 1: image at the left edge, title after
    // it (the check-box look); 2: image flush right, title where the centred group would start.
    qint64 contentImagePosition() const { return _contentImagePosition; }
    void setContentImagePosition(qint64 position) { _contentImagePosition = position; }
    // Title insets, used only when no image is drawn; left and right are read.
    std::shared_ptr<MOQPosition> titlePosition() const { return _titlePosition; }
    void setTitlePosition(std::shared_ptr<MOQPosition> position) { _titlePosition = std::move(position); }

    Action mouseDownAction() const { return _mouseDownAction; }
    void setMouseDownAction(Action action) { _mouseDownAction = std::move(action); }
    Action mouseExited() const { return _mouseExited; }
    void setMouseExited(Action action) { _mouseExited = std::move(action); }
    Action mouseEntered() const { return _mouseEntered; }
    void setMouseEntered(Action action) { _mouseEntered = std::move(action); }
    bool underLine() const { return _underLine; }
    void setUnderLine(bool underLine) { _underLine = underLine; }

    // The platform button's own look and state.
    void setBordered(bool bordered) { setFlat(!bordered); }
    bool isBordered() const { return !isFlat(); }
    void setImage(const QImage& image);
    int state() const { return _state; }
    void setState(int state) { _state = state; }

    // The interaction state and the look it gives.
    bool isPointerOver() const { return _isUp; }
    bool isPressed() const { return _isDown; }
    ButtonLook::Slot currentLook() const;
    const LayerStyle& layer() const { return _layer; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Tab reaches the button and shows a focus ring; Space, Return and Enter press it.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void pointerEntered();
    void pointerExited();
    void paintTitleAndImage(QPainter& painter);

    QColor _backGroundColor;
    QColor _disAblebackGroundColor;
    QColor _bordColor;
    QColor _contentColor;
    qint64 _index = 0;
    float _cornerRadius = 0;
    float _borderWidth = 0;
    bool _selected = false;
    bool _isCheckType = false;
    QString _contentTitle;
    std::array<QImage, ButtonLook::SlotCount> _images;
    std::array<QImage, ButtonLook::SlotCount> _backgrounds;
    qint64 _contentImagePosition = 0;
    std::shared_ptr<MOQPosition> _titlePosition;
    Action _mouseDownAction;
    Action _mouseExited;
    Action _mouseEntered;
    bool _underLine = false;
    int _state = 0;

    bool _isDown = false;
    bool _keyboardFocus = false; // focus came from the keyboard: the ring shows
    bool _isUp = false;         // pointer over the button: chooses the hover looks
    bool _isCanMouseUp = false; // pointer over the button: arms the click
    LayerStyle _layer;
};
