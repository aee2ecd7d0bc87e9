#pragma once

#include "ViewRect.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <optional>

class EffectTableCellViewDelegate;
class LabelField;
class QPushButton;

// One row of a check list (the editor's effect and music lists): a 15 x 15 check box and a title on a white
// background, with an optional highlight of the whole row. A click changes nothing in the row: it tells the
// delegate what was clicked, and the delegate calls selected() or setSelectedRow().
class EffectTableCellView : public QWidget {
    Q_OBJECT
public:
    // A row with this number draws no background.
    static constexpr long long NoBackgroundRow = 1000000;

    explicit EffectTableCellView(const ViewRect& frame, QWidget* parent = nullptr);
    ~EffectTableCellView() override;

    QPushButton* checkView() const { return _checkView; }
    LabelField* titleLabel() const { return _titleLabel; }
    QImage normalImage() const { return _normalImage; }
    void setNormalImage(const QImage& image);
    QImage heightedImage() const { return _heightedImage; }
    void setHeightedImage(const QImage& image) { _heightedImage = image; }
    QImage selectedImage() const { return _selectedImage; }
    void setSelectedImage(const QImage& image);
    QColor normalColor() const { return _normalColor; }
    void setNormalColor(const QColor& color);
    QColor heightedColor() const { return _heightedColor; }
    void setHeightedColor(const QColor& color) { _heightedColor = color; }
    QColor selectedColor() const { return _selectedColor; }
    void setSelectedColor(const QColor& color);
    std::optional<QFont> font() const { return _font; }
    void setFont(const std::optional<QFont>& font) { _font = font; }
    long long row() const { return _row; }
    void setRow(long long row) { _row = row; }
    bool isMusicCellType() const { return _isMusicCellType; }
    void setIsMusicCellType(bool music) { _isMusicCellType = music; }
    bool enable() const { return _enable; }
    void setEnable(bool enable);
    EffectTableCellViewDelegate* delegate() const { return _delegate; }
    void setDelegate(EffectTableCellViewDelegate* delegate) { _delegate = delegate; }

    // The check state: setSelected() stores and shows it; selected(bool) also lays out and reports (to a delegate
    // that takes the state message but not the check-box click).
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    void selected(bool selected);
    // The highlight: stored, then reported to a delegate that takes both the check-box click and the state
    // message.
    bool selectedRow() const { return _selectedRow; }
    void setSelectedRow(bool highlighted);

    // The title colour the row shows now.
    QColor titleColor() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();
    void applyLook();
    void checkAction();

    QPushButton* _checkView;
    LabelField* _titleLabel;
    QImage _normalImage;
    QImage _heightedImage;
    QImage _selectedImage;
    QColor _normalColor;
    QColor _heightedColor;
    QColor _selectedColor;
    std::optional<QFont> _font;
    long long _row = 0;
    bool _isMusicCellType = false;
    bool _selected = false;
    bool _selectedRow = false;
    bool _enable = true;
    EffectTableCellViewDelegate* _delegate = nullptr;
};
