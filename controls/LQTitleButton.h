#pragma once

#include "ButtonTitle.h"

#include <QColor>
#include <QFont>
#include <QPushButton>

#include <optional>

class LQTitleButtonDelegate;

// A button that draws its own titles: a styled title centred in the bounds, then its plain title in its own font
// and colour over its own fill. Press and release go to the delegate instead of the button's own tracking, so it
// never highlights or fires by itself. The composite tile uses it as its caption.
class LQTitleButton : public QPushButton {
    Q_OBJECT
public:
    explicit LQTitleButton(QWidget* parent = nullptr);

    QColor backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(const QColor& color) { _backgroundColor = color; }
    std::optional<QFont> titleFont() const { return _titleFont; }
    void setTitleFont(const std::optional<QFont>& font);
    QColor titleColor() const { return _titleColor; }
    void setTitleColor(const QColor& color) { _titleColor = color; }
    std::optional<ButtonTitle> attributedStringTitle() const { return _attributedStringTitle; }
    void setAttributedStringTitle(const std::optional<ButtonTitle>& title);
    LQTitleButtonDelegate* delegate() const { return _delegate; }
    void setDelegate(LQTitleButtonDelegate* delegate) { _delegate = delegate; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor _backgroundColor;
    std::optional<QFont> _titleFont;
    QColor _titleColor;
    std::optional<ButtonTitle> _attributedStringTitle;
    LQTitleButtonDelegate* _delegate = nullptr;
};
