#pragma once

#include "ViewRect.h"
#include "WaterViewModel.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

class LQCropTmpView;
class QPainter;
class LQWaterViewDelegate;

// The transparent overlay laid over the preview's video rectangle in the watermark mode. It shows the selected
// watermark (its image, or one line of text) in a box that the user moves by dragging inside it and, for images,
// resizes with eight handles. The box arithmetic is WaterViewModel's; the four clear edge views show the box's
// sides. Geometry is in the overlay's points, origin bottom-left, y up.
class LQWaterView : public QWidget {
    Q_OBJECT
public:
    LQWaterView(const ViewRect& frame, QWidget* parent = nullptr);
    ~LQWaterView() override;

    LQWaterViewDelegate* delegate() const { return _delegate; }
    void setDelegate(LQWaterViewDelegate* delegate) { _delegate = delegate; }

    int scale_Type() const { return _model.scale_Type(); }
    void setScale_Type(int type);
    QImage waterMark() const { return _waterMark; }
    void setWaterMark(const QImage& image);
    QString waterMarkString() const { return _waterMarkString; }
    void setWaterMarkString(const QString& text);
    QFont waterMarkFont() const { return _waterMarkFont; }
    bool hasWaterMarkFont() const { return _hasFont; }
    void setWaterMarkFont(const QFont& font);
    QColor waterMarkColor() const { return _waterMarkColor; }
    void setWaterMarkColor(const QColor& color) { _waterMarkColor = color; }
    int waterMarkAlph() const { return _waterMarkAlph; }
    void setWaterMarkAlph(int alph);
    int markWaterType() const { return _model.markWaterType(); }
    void setMarkWaterType(int type);
    bool enabled() const { return _model.enabled(); }
    void setEnabled(bool enabled) { _model.setEnabled(enabled); }

    // The overlay's frame in its parent; the box keeps its points.
    void setFrameRect(const ViewRect& frame);
    void setVideoSize(const ViewSize& size) { _model.setVideoSize(size); }
    ViewSize videoSize() const { return _model.videoSize(); }

    void setClipRect(const ViewRect& rect);
    ViewRect getclipRectFrame() const { return _model.getclipRectFrame(); }
    ViewRect getclipRect() const { return _model.getclipRect(); }
    ViewRect getPercentImageClipRect() const { return _model.getPercentImageClipRect(); }
    ViewRect getPercentTextClipRect() const { return _model.getPercentTextClipRect(); }
    ViewRect getCheckClipRect(const ViewRect& rect) const { return _model.getCheckClipRect(rect); }

    // The crop the export makes, in the overlay's points: the picture outside it is shaded, and a box reaching
    // out of it carries `outsideText`. An empty rectangle: no crop.
    void setCropOutline(const ViewRect& crop, const QString& outsideText);
    ViewRect cropOutline() const { return _cropOutline; }
    // The box reaches outside the crop, so part or all of the watermark is not written.
    bool boxOutsideCrop() const;

    const WaterViewModel& model() const { return _model; }
    std::array<LQCropTmpView*, 4> edgeViews() const { return {_leftView, _topView, _rightView, _bottomView}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void contentChanged();
    void layEdgeViews();
    void applyCursor(WaterViewModel::Cursor cursor);
    void paintCropOutline(QPainter& painter);

    WaterViewModel _model;
    LQWaterViewDelegate* _delegate = nullptr;
    QImage _waterMark;
    QString _waterMarkString;
    QFont _waterMarkFont;
    bool _hasFont = false;
    QColor _waterMarkColor;
    int _waterMarkAlph = 0;
    ViewRect _cropOutline;
    QString _outsideText;
    LQCropTmpView* _leftView;
    LQCropTmpView* _topView;
    LQCropTmpView* _rightView;
    LQCropTmpView* _bottomView;
};
