#pragma once

#include "ButtonStateImages.h"
#include "ViewRect.h"

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
class LQRadioButton : public QWidget, public ButtonStateImages {
    Q_OBJECT
public:
    explicit LQRadioButton(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQRadioButton() override;

    ImageLayerView* backgroundView() const { return _backgroundView; }
    QRadioButton* iconView() const { return _iconView; }
    LabelField* titleLabel() const { return _titleLabel; }
    std::optional<QFont> font() const { return _font; }
    void setFont(const std::optional<QFont>& font);
    QString title() const { return _title; }
    void setTitle(const QString& title) { _title = title; }
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
    QColor _normalColor;
    QColor _heightedColor;
    QColor _selectedColor;
    QColor _disabledColor;
    bool _selected = false;
    LQRadioButtonDelegate* _delegate = nullptr;
};
