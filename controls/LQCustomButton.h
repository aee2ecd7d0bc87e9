#pragma once

#include "LQTitleButtonDelegate.h"
#include "ViewRect.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

class ImageLayerView;
class LQCustomButtonDelegate;
class LQTitleButton;

// A tile of three layers: a back image over the whole tile, an icon and a caption. Three looks (normal, selected,
// disabled), each a back image, an icon and a caption colour, applied by setSelected(); an optional pressed back
// image; five placements of the icon. The click goes to the delegate: on the press, or on the release when a
// pressed back image is set. Colour and image setters only store; nothing shows until setSelected().
class LQCustomButton : public QWidget, public LQTitleButtonDelegate {
    Q_OBJECT
public:
    explicit LQCustomButton(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQCustomButton() override;

    ImageLayerView* imageView() const { return _imageView; }
    LQTitleButton* titleBtn() const { return _titleBtn; }
    ImageLayerView* backView() const { return _backView; }

    void setTitle(const QString& title) { _title = title; }
    QString title() const { return _title; }
    void setNormalTitleColor(const QColor& color) { _normalTitleColor = color; }
    void setSelectedTitleColor(const QColor& color) { _selectedTitleColor = color; }
    void setDisableTitleColor(const QColor& color) { _disableTitleColor = color; }
    void setNormalBackImage(const QImage& image) { _normalBackImage = image; }
    void setSelectedBackImage(const QImage& image) { _selectedBackImage = image; }
    void setDisableBackImage(const QImage& image) { _disableBackImage = image; }
    void setNormalImage(const QImage& image) { _normalImage = image; }
    void setSelectedImage(const QImage& image) { _selectedImage = image; }
    void setDisableImage(const QImage& image) { _disableImage = image; }
    QImage hightideBackImage() const { return _hightideBackImage; }
    void setHightideBackImage(const QImage& image) { _hightideBackImage = image; }

    // The colours as stored; a look applied without its colour stores a default into it.
    QColor normalTitleColor() const { return _normalTitleColor; }
    QColor selectedTitleColor() const { return _selectedTitleColor; }
    QColor disableTitleColor() const { return _disableTitleColor; }

    bool selected() const { return _selected; }
    void setSelected(bool selected);
    // The tile's enabled flag is the widget's; a change shows at the next setSelected().
    bool enabled() const { return isEnabled(); }
    bool titleLab() const { return _titleLab; }
    void setTitleLab(bool titleLab) { _titleLab = titleLab; }
    int index() const { return _index; }
    void setIndex(int index) { _index = index; }
    int fontsize() const { return _fontsize; }
    void setFontsize(int size) { _fontsize = size; }
    QString fontname() const { return _fontname; }
    void setFontname(const QString& name) { _fontname = name; }
    LQCustomButtonDelegate* delegate() const { return _delegate; }
    void setDelegate(LQCustomButtonDelegate* delegate) { _delegate = delegate; }
    unsigned long long cellTextPosition() const { return _cellTextPosition; }
    void setCellTextPosition(unsigned long long position);

    // Builds the caption from the text, colour, the tile's font name and size, and the alignment (the toolkit's
    // values: 2 centred).
    void setTitle(const QString& title, const QColor& color, unsigned alignment);
    void setTitleRect(const ViewRect& rect);

    // The caption's press and release, handled as the tile's own.
    void actionMouseUpForTitleButtonBlock(LQTitleButton*) override;
    void actionMouseDownForTitleButtonBlock(LQTitleButton*) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void pressed();
    void released();
    void reportClick();

    ImageLayerView* _backView;
    ImageLayerView* _imageView;
    LQTitleButton* _titleBtn;
    QString _title;
    QColor _normalTitleColor;
    QColor _selectedTitleColor;
    QColor _disableTitleColor;
    QImage _normalBackImage;
    QImage _selectedBackImage;
    QImage _disableBackImage;
    QImage _normalImage;
    QImage _selectedImage;
    QImage _disableImage;
    QImage _hightideBackImage;
    bool _selected = false;
    bool _titleLab = false;
    int _index = 0;
    int _fontsize = 12;
    QString _fontname;
    LQCustomButtonDelegate* _delegate = nullptr;
    unsigned long long _cellTextPosition = 0;
};
