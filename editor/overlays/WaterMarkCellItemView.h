#pragma once

#include "ViewRect.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

#include <functional>

class MOQButton;
class QLineEdit;

// One row of the watermark list: a check box (whether the watermark is used) and its title, the text of a text
// watermark or a file's path. The title of the selected text row is editable, and each change of it is reported.
// A click on the row elsewhere than the check box runs `action`.
class WaterMarkCellItemView : public QWidget {
    Q_OBJECT
public:
    explicit WaterMarkCellItemView(const ViewRect& frame, QWidget* parent = nullptr);
    ~WaterMarkCellItemView() override;

    MOQButton* checkBtn() const { return _checkBtn; }
    QLineEdit* titleLabel() const { return _titleLabel; }

    QString titleStringValue() const { return _titleStringValue; }
    void setTitleStringValue(const QString& title);
    void setTitleFont(const QFont& font);
    void setNormalTextColor(const QColor& color) {
        _normalTextColor = color;
        refresh();
    }
    void setSelectTextColor(const QColor& color) {
        _selectTextColor = color;
        refresh();
    }
    void setBackgroundColor(const QColor& color) {
        _backgroundColor = color;
        update();
    }
    void setSelectedBackgroundColor(const QColor& color) {
        _selectedBackgroundColor = color;
        update();
    }
    bool check() const { return _check; }
    void setCheck(bool check);
    bool selected() const { return _selected; }
    void setSelected(bool selected);
    int row() const { return _row; }
    void setRow(int row) { _row = row; }
    int type() const { return _type; }
    void setType(int type) {
        _type = type;
        refresh();
    }

    std::function<void(bool, int)> CheckWateMarkBlock;           // the user toggled the check box
    std::function<void(const QString&, int)> EditWaterTextBlock; // each change of the title's text
    std::function<void(WaterMarkCellItemView*)> action;          // a click on the row

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void layOut();

    MOQButton* _checkBtn;
    QLineEdit* _titleLabel;
    QString _titleStringValue;
    QFont _titleFont;
    bool _hasTitleFont = false;
    QColor _normalTextColor;
    QColor _selectTextColor;
    QColor _backgroundColor;
    QColor _selectedBackgroundColor;
    bool _check = false;
    bool _selected = false;
    int _row = 0;
    int _type = 0;
};
