#include "SplitProgressView.h"

#include "Dispatch.h"
#include "ImageLayerView.h"
#include "LQProgressSlider.h"
#include "MOQImageView.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "ViewFrame.h"

#include <QPointer>

#include <algorithm>

SplitProgressView::SplitProgressView(const ViewRect& frame, QWidget* parent) : QWidget(parent) {
    ViewFrame::setFrame(this, frame);
    resize(int(frame.width), int(frame.height));
    _slider = new LQProgressSlider(ViewRect{0, trackY(), frame.width, kMarkerSide}, this);
    _slider->setDelegate(this);
    _beginBtn = new MOQImageView(ViewRect{0, trackY() + kMarkerSide - 5, kMarkerSide, kMarkerSide}, this);
    _beginBtn->setNormalImage(ResourceBundle::imageWithfileName(QStringLiteral("Split/imgBegin_1.bmp")));
    _beginBtn->setDownImage(ResourceBundle::imageWithfileName(QStringLiteral("Split/imgBegin_2.bmp")));
    _beginBtn->setMouseDraggedBlock([this](MOQImageView*) {
        QPointer<SplitProgressView> self(this);
        Dispatch::main([self] {
            if (self)
                self->beginDragged();
        });
    });
}

SplitProgressView::~SplitProgressView() = default;

double SplitProgressView::trackY() const {
    return (height() - kMarkerSide) / 2;
}

double SplitProgressView::usableWidth() const {
    return std::max(1.0, width() - kMarkerSide);
}

float SplitProgressView::beginProgress() const {
    return float(ViewFrame::frame(_beginBtn).x / usableWidth());
}

void SplitProgressView::setProgress(float progress) {
    _progress = progress;
    _slider->setProgress(progress);
    redisplay();
}

void SplitProgressView::setDisable(bool disable) {
    _disable = disable;
    _beginBtn->setEnabled(!disable);
    _slider->setDisable(disable);
    _beginBtn->setHidden(disable);
}

void SplitProgressView::setHiddenTick(bool hidden) {
    _hiddenTick = hidden;
    _slider->tickMarkView()->setHidden(hidden);
}

void SplitProgressView::setSelectedSplitIndex(qint64 i) {
    if (quint64(i) >= quint64(_times.size()))
        return;
    _selectedSplitIndex = i;
    sortTimes();
    QPointer<MOQImageView> marker(_times[size_t(i)]);
    QPointer<SplitProgressView> self(this);
    Dispatch::main([self, marker] {
        if (!self || !marker)
            return;
        self->_progress = marker->value();
        ViewRect begin = ViewFrame::frame(self->_beginBtn);
        begin.x = ViewFrame::frame(marker).x;
        ViewFrame::setFrame(self->_beginBtn, begin);
        self->_slider->setProgress(marker->value());
    });
    redisplay();
}

void SplitProgressView::addSplitItemTime() {
    addSplitItemTime(beginProgress());
}

void SplitProgressView::addSplitItemTime(float p) {
    qCInfo(lcShell, "index:%d progress:%f", int(_times.size()) + 1, double(p));
    auto* marker = new MOQImageView(ViewRect{usableWidth() * p, trackY() - 12, kMarkerSide, kMarkerSide}, this);
    const QImage image = ResourceBundle::imageWithfileName(QStringLiteral("Split/btnExample_2.bmp"));
    marker->setNormalImage(image);
    marker->setDownImage(image);
    marker->setValue(p);
    _selectedSplitIndex = qint64(_times.size());
    _times.push_back(marker);
    marker->show();
    _beginBtn->raise();
    redisplay();
}

void SplitProgressView::removeAllSplitItem() {
    ViewRect begin = ViewFrame::frame(_beginBtn);
    begin.x = 0;
    ViewFrame::setFrame(_beginBtn, begin);
    for (MOQImageView* marker : _times) {
        marker->hide();
        marker->deleteLater();
    }
    _times.clear();
    update();
}

void SplitProgressView::removeSplitItemTAtIndex(qint64 i) {
    if (quint64(i) >= quint64(_times.size()))
        return;
    MOQImageView* marker = _times[size_t(i)];
    marker->hide();
    marker->deleteLater();
    _times.erase(_times.begin() + i);
    redisplay();
}

float SplitProgressView::getProgressForIndex(qint64 i) {
    sortTimes();
    if (quint64(i) >= quint64(_times.size()))
        return 0;
    return _times[size_t(i)]->value();
}

std::vector<float> SplitProgressView::getTimeProgresses() {
    sortTimes();
    std::vector<float> values = splitValues();
    values.push_back(1.0f);
    return values;
}

std::vector<float> SplitProgressView::splitValues() const {
    std::vector<float> values;
    values.reserve(_times.size());
    for (const MOQImageView* marker : _times)
        values.push_back(marker->value());
    return values;
}

void SplitProgressView::sortTimes() {
    std::stable_sort(_times.begin(), _times.end(),
                     [](const MOQImageView* a, const MOQImageView* b) { return a->value() < b->value(); });
}

void SplitProgressView::placeMarkers() {
    _slider->setFrame(ViewRect{0, trackY(), double(width()), kMarkerSide});
    ViewRect begin = ViewFrame::frame(_beginBtn);
    begin.y = trackY() + kMarkerSide - 5;
    begin.x = std::clamp(begin.x, 0.0, usableWidth());
    ViewFrame::setFrame(_beginBtn, begin);
    for (MOQImageView* marker : _times)
        ViewFrame::setFrame(marker, ViewRect{usableWidth() * marker->value(), trackY() - 12, kMarkerSide, kMarkerSide});
}

void SplitProgressView::redisplay() {
    if (!_times.empty() && quint64(_selectedSplitIndex) < quint64(_times.size())) {
        ViewRect begin = ViewFrame::frame(_beginBtn);
        begin.x = ViewFrame::frame(_times[size_t(_selectedSplitIndex)]).x;
        ViewFrame::setFrame(_beginBtn, begin);
    }
    update();
}

void SplitProgressView::beginDragged() {
    _progress = beginProgress();
    _slider->setProgress(_progress);
    if (SplitBtnMouseMoveForSliderBlock)
        SplitBtnMouseMoveForSliderBlock(_progress);
}

void SplitProgressView::resizeEvent(QResizeEvent*) {
    placeMarkers();
}

void SplitProgressView::actionMouseUpForProgressSliderBlock(LQProgressSlider*, float progress) {
    _progress = progress;
    if (MouseUpForSliderBlock)
        MouseUpForSliderBlock(progress);
}

void SplitProgressView::actionMouseDownForProgressSliderBlock(LQProgressSlider*, float progress) {
    _progress = progress;
    if (MouseDownForSliderBlock)
        MouseDownForSliderBlock(progress);
}

void SplitProgressView::actionProgressForProgressSliderBlock(LQProgressSlider*, float progress) {
    _progress = progress;
    if (ProgressForSliderBlock)
        ProgressForSliderBlock(progress);
}
