#pragma once

#include "LQProgressSliderDelegate.h"
#include "ViewRect.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class LQProgressSlider;
class MOQImageView;

// The splitter's timeline: a position slider for the playhead, a begin marker above it that the user drags to
// where the next manual split point goes, and the split points hanging below it as small markers. It holds the
// split plan: points are fractions of the duration, kept in the order they were added and sorted by every query.
//
// Geometry in view coordinates (y up), W x H the timeline's size: the track at y (H - 17) / 2, 17 high and W wide;
// the begin marker (17 x 17) 12 above the track's bottom, at x = fraction x (W - 17); the points 12 below it.
// While a point is selected, every redisplay brings the begin marker back onto it.
class SplitProgressView : public QWidget, public LQProgressSliderDelegate {
    Q_OBJECT
public:
    using SliderBlock = std::function<void(float progress)>;
    static constexpr double kMarkerSide = 17;

    SplitProgressView(const ViewRect& frame, QWidget* parent = nullptr);
    ~SplitProgressView() override;

    float progress() const { return _progress; }
    void setProgress(float progress);
    bool disable() const { return _disable; }
    void setDisable(bool disable);
    bool hiddenTick() const { return _hiddenTick; }
    void setHiddenTick(bool hidden);
    qint64 selectedSplitIndex() const { return _selectedSplitIndex; }
    // Selects the point at i of the sorted list and moves the begin marker, the playhead and progress() onto it
    // one main-queue turn later; an index outside the list changes nothing.
    void setSelectedSplitIndex(qint64 i);

    // Adds a point at the begin marker / at p, unchecked, appended unsorted and selected.
    void addSplitItemTime();
    void addSplitItemTime(float p);
    // Removes every point and puts the begin marker back at the start.
    void removeAllSplitItem();
    // Removes the point at i in the list's present order (an index outside it is ignored).
    void removeSplitItemTAtIndex(qint64 i);
    // Sort, then the value at i (0 outside the list).
    float getProgressForIndex(qint64 i);
    // Sort, then the values followed by 1.0.
    std::vector<float> getTimeProgresses();
    // The points' values in the list's present order.
    std::vector<float> splitValues() const;
    qint64 splitCount() const { return qint64(_times.size()); }
    // The begin marker's place as a fraction of the track.
    float beginProgress() const;

    SliderBlock MouseUpForSliderBlock;
    SliderBlock MouseDownForSliderBlock;
    SliderBlock ProgressForSliderBlock;
    SliderBlock SplitBtnMouseMoveForSliderBlock;

    LQProgressSlider* slider() const { return _slider; }
    MOQImageView* beginBtn() const { return _beginBtn; }
    const std::vector<MOQImageView*>& times() const { return _times; }

    // LQProgressSliderDelegate
    void actionMouseUpForProgressSliderBlock(LQProgressSlider*, float progress) override;
    void actionMouseDownForProgressSliderBlock(LQProgressSlider*, float progress) override;
    void actionProgressForProgressSliderBlock(LQProgressSlider*, float progress) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double trackY() const;
    double usableWidth() const;
    void sortTimes();
    void placeMarkers();
    // What a redisplay does besides drawing: the begin marker follows the selected point.
    void redisplay();
    void beginDragged();

    LQProgressSlider* _slider = nullptr;
    MOQImageView* _beginBtn = nullptr;
    std::vector<MOQImageView*> _times;
    bool _disable = false;
    bool _hiddenTick = false;
    float _progress = 0;
    qint64 _selectedSplitIndex = 0;
};
