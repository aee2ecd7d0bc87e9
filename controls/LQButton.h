#pragma once

#include "ButtonStateImages.h"
#include "ViewRect.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>

class ImageLayerView;
class LQButtonDelegate;
class LabelField;

// A text button drawn as a back image with a centred label over it. While held it shows a pressed back image and
// a pressed label colour; released, it marks itself selected and reports the click. It stays selected until its
// owner deselects it. Its enabled flag is the widget's.
class LQButton : public QWidget, public ButtonStateImages {
    Q_OBJECT
public:
    explicit LQButton(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQButton() override;

    ImageLayerView* backgroundView() const { return _backgroundView; }
    LabelField* titleLabel() const { return _titleLabel; }
    QString title() const { return _title; }
    void setTitle(const QString& title);
    std::optional<QFont> font() const { return _font; }
    void setFont(const std::optional<QFont>& font);
    QImage backImage() const { return _backImage; }
    void setBackImage(const QImage& image);
    QImage heightBackImage() const { return _heightBackImage; }
    void setHeightBackImage(const QImage& image);

    QColor normalColor() const { return _normalColor; }
    void setNormalColor(const QColor& color);
    QColor heightedColor() const { return _heightedColor; }
    void setHeightedColor(const QColor& color) { _heightedColor = color; }
    QColor selectedColor() const { return _selectedColor; }
    void setSelectedColor(const QColor& color) { _selectedColor = color; }
    QColor disabledColor() const { return _disabledColor; }
    void setDisabledColor(const QColor& color) { _disabledColor = color; }
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    ViewRect titleLabelFrame() const { return _titleLabelFrame; }
    void setTitleLabelFrame(const ViewRect& frame);
    LQButtonDelegate* delegate() const { return _delegate; }
    void setDelegate(LQButtonDelegate* delegate) { _delegate = delegate; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QColor stateColor() const;

    ImageLayerView* _backgroundView;
    LabelField* _titleLabel;
    QString _title;
    std::optional<QFont> _font;
    QImage _backImage;
    QImage _heightBackImage;
    QColor _normalColor;
    QColor _heightedColor;
    QColor _selectedColor;
    QColor _disabledColor;
    bool _selected = false;
    ViewRect _titleLabelFrame;
    LQButtonDelegate* _delegate = nullptr;
};
