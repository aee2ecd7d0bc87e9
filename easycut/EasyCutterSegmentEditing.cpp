// The easy cutter's segment list, time fields, trim-slider callbacks and nudges: the editing half of
// EasyCutterWindowcontroller (its set-up, preview and export are in EasyCutterWindowcontroller.cpp).
#include "EasyCutterWindowcontroller.h"

#include "Alert.h"
#include "ControlFont.h"
#include "CutItemView.h"
#include "Dispatch.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQScrollView.h"
#include "MOQView.h"
#include "ResourceBundle.h"
#include "SegmentListGeometry.h"
#include "SegmentTimes.h"
#include "ShownTime.h"
#include "TimeStepper.h"
#include "ViewFrame.h"

#include <QLabel>
#include <QScrollBar>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

constexpr double kFieldHeight = 16; // tall enough for the 11-point digits

} // namespace

// ---- Time rows ----

EasyCutterWindowcontroller::TimeRow EasyCutterWindowcontroller::buildRow(QWidget* parent, const ViewRect& back,
                                                                         const QString& imageName, bool segmentEditor) {
    TimeRow row;
    row.back = new QLabel(parent);
    ViewFrame::setFrame(row.back, back);
    row.back->setPixmap(QPixmap::fromImage(image(imageName)));
    row.back->setScaledContents(true);
    const double y0 = (back.height - kFieldHeight) / 2;
    const std::array<double, 4> xs =
        segmentEditor ? std::array<double, 4>{0, 30, 60, 90} : std::array<double, 4>{5, 35, 70, 105};
    const std::array<double, 4> ws =
        segmentEditor ? std::array<double, 4>{25, 25, 25, 30} : std::array<double, 4>{30, 30, 30, 30};
    const std::array<double, 3> seps =
        segmentEditor ? std::array<double, 3>{20, 50, 80} : std::array<double, 3>{30, 65, 100};
    for (double x : seps) {
        auto* sep = new QLabel(QStringLiteral(":"), row.back);
        ViewFrame::setFrame(sep, ViewRect{x, y0, 10, kFieldHeight});
        sep->setAlignment(Qt::AlignCenter);
        sep->setFont(ControlFont::system(11));
        sep->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
    }
    for (size_t i = 0; i < 4; ++i) {
        auto* field = new LQTextField(ViewRect{xs[i], y0, ws[i], kFieldHeight}, row.back);
        field->setFont(ControlFont::system(11));
        field->setAlignment(Qt::AlignCenter);
        field->setFrame(false);
        field->setStyleSheet(QStringLiteral("QLineEdit { color: black; background: transparent; }"));
        field->setStringValue(QStringLiteral("00"));
        field->setDelegate(this);
        field->setMouseDelegate(this);
        row.fields[i] = field;
    }
    const ViewRect stepperFrame =
        segmentEditor ? ViewRect{back.width - 15, 0, 15, back.height} : ViewRect{back.width - 20, 0, 20, back.height};
    row.stepper = new TimeStepper(stepperFrame, row.back);
    row.stepper->setAction([this](TimeStepper* s) { stepperAction(s); });
    row.stepper->setToolTip(localized(QStringLiteral("EasyCutTipStepper")));
    return row;
}

void EasyCutterWindowcontroller::initPlayerBottom() {
    auto backFor = [](QLabel* label) {
        const ViewRect f = ViewFrame::frame(label);
        return ViewRect{f.x + f.width, f.y - 5, 151, f.height + 10};
    };
    _startRow =
        buildRow(_itemContentView, backFor(_startTimeLabel), QStringLiteral("Resources/trim_textfield.png"), false);
    _stopRow =
        buildRow(_itemContentView, backFor(_endTimeLabel), QStringLiteral("Resources/trim_textfield.png"), false);
}

void EasyCutterWindowcontroller::initSelectItemTimeChangeView() {
    const double listWidth = ViewFrame::frame(_fileItemListView).width;
    _selectedItemTimeChangeView = new MOQImageView(SegmentListGeometry::editorFrame(listWidth), _filesContentView);
    _selectedItemTimeChangeView->setNormalBackGroundImage(image(QStringLiteral("Cut/imgActionBottom.bmp")));
    auto caption = [this](const ViewRect& frame, const QString& key) {
        auto* label = new QLabel(localized(key), _selectedItemTimeChangeView);
        ViewFrame::setFrame(label, frame);
        label->setFont(ControlFont::system(10));
        label->setStyleSheet(QStringLiteral("color: black; background: transparent;"));
        return label;
    };
    caption(ViewRect{2, 26, 28, 16}, QStringLiteral("StartFieldLabelstringValue"));
    caption(ViewRect{2, 4, 28, 16}, QStringLiteral("stopFieldLabelstringValue"));
    _startItemRow = buildRow(_selectedItemTimeChangeView, ViewRect{30, 25, 135, 22},
                             QStringLiteral("Cut/imgWelcome_center.bmp"), true);
    _stopItemRow = buildRow(_selectedItemTimeChangeView, ViewRect{30, 1, 135, 22},
                            QStringLiteral("Cut/imgWelcome_center.bmp"), true);
    _selectedItemTimeChangeView->hide();
}

void EasyCutterWindowcontroller::writeRow(const TimeRow& row, float seconds) {
    const std::array<QString, 4> texts = SegmentTimes::fieldTexts(seconds);
    for (size_t i = 0; i < 4; ++i)
        row.fields[i]->setStringValue(texts[i]);
}

float EasyCutterWindowcontroller::readRow(const TimeRow& row) const {
    return SegmentTimes::read(row.fields[0]->integerValue(), row.fields[1]->integerValue(),
                              row.fields[2]->integerValue(), row.fields[3]->integerValue());
}

void EasyCutterWindowcontroller::showRangeDuration() {
    const double d = duration();
    _durationValueLabel->setText(ShownTime::durationText(double(_cutprogressView->lowerValue()) * d,
                                                         double(_cutprogressView->upperValue()) * d));
}

void EasyCutterWindowcontroller::setButtonsOff() {
    _selectedLeftBtn->setEnabled(false);
    _selectedRightBtn->setEnabled(false);
}

// ---- Segment list ----

void EasyCutterWindowcontroller::applyMoveButtons() {
    // The edit lock of an export wins over the selection's rule; an empty list has nothing to move (Clear keeps
    // the selection's index).
    const SegmentList::MoveButtons buttons = _segments.moveButtons();
    const bool any = _segments.count() > 0 && !isRunning();
    _upMoveItemBtn->setEnabled(buttons.up && any);
    _downMoveItemBtn->setEnabled(buttons.down && any);
}

void EasyCutterWindowcontroller::placeOverlay(CutItemView* tile) {
    _itemSelectView->setParent(tile);
    ViewFrame::setFrame(_itemSelectView,
                        ViewRect{0, 0, SegmentListGeometry::kTileWidth, SegmentListGeometry::kTileHeight});
    _itemSelectView->raise();
}

CutItemView* EasyCutterWindowcontroller::makeTile() {
    // The two background pictures are read from the bundle once, not for every tile of every refresh.
    static const QImage normal = image(QStringLiteral("Cut/ListBottom_Normal.bmp"));
    static const QImage selected = image(QStringLiteral("Cut/ListBottom_Select.bmp"));
    auto* tile = new CutItemView(ViewRect{0, 0, SegmentListGeometry::kTileWidth, SegmentListGeometry::kTileHeight},
                                 _filesContentView);
    tile->setNbackGroundImage(normal);
    tile->setSbackGroundImage(selected);
    tile->setCornerRadius(5);
    tile->setNbordColor(QColor(90, 216, 238));
    tile->setSbordColor(QColor(33, 176, 235));
    tile->setBorderWidth(2);
    tile->setAction([this](CutItemView* t) { fileItemAction(t); });
    QPointer<EasyCutterWindowcontroller> self(this);
    tile->setMouseEntered([self](CutItemView* t, ViewPoint) {
        Dispatch::main([self, t = QPointer<CutItemView>(t)] {
            if (self && t)
                self->tileEntered(t);
        });
    });
    tile->setMouseExited([self](CutItemView* t, ViewPoint) {
        Dispatch::main([self, t = QPointer<CutItemView>(t)] {
            if (self && t)
                self->tileExited(t);
        });
    });
    tile->show();
    tile->lower();
    return tile;
}

void EasyCutterWindowcontroller::refresFileListView() {
    // The overlay leaves with the tile that holds it.
    _itemSelectView->hide();
    _itemSelectView->setParent(_filesContentView);
    const qint64 n = _segments.count();
    // The tiles there are show the list again; only those missing are made and those left over go. Making every
    // tile anew at each Cut held the window longer the longer the list grew.
    while (qint64(_cutItemViews.size()) > n) {
        CutItemView* tile = _cutItemViews.back();
        _cutItemViews.pop_back();
        tile->hide();
        tile->deleteLater();
    }
    while (qint64(_cutItemViews.size()) < n)
        _cutItemViews.push_back(makeTile());

    const qint64 s = _segments.selectedCutIndex();
    const ViewSize scroll{double(_itemsScrollview->width()), double(_itemsScrollview->height())};
    const ViewSize doc = SegmentListGeometry::documentSize(scroll, n);
    _filesContentView->resize(int(doc.width), int(doc.height));
    const bool enabled = !isRunning();
    for (qint64 i = 0; i < n; ++i) {
        CutItemView* tile = _cutItemViews[size_t(i)];
        tile->setTag(i + 1);
        tile->setItem(_segments.at(i));
        tile->setSelected(i == s);
        if (i == s) {
            placeOverlay(tile);
            _itemSelectView->show();
            _segments.setOverlayIndex(s);
            _selectedItemTimeChangeView->setVisible(_segments.editorOpen());
        }
        tile->setEnabled(enabled);
    }
    layoutTiles();
    _selectedItemTimeChangeView->raise();
    applyMoveButtons();
    if (n == 0) {
        _itemSelectView->hide();
        _selectedItemTimeChangeView->hide();
    }
    scrollToSelectItem();
}

void EasyCutterWindowcontroller::layoutTiles() {
    const qint64 s = _segments.selectedCutIndex();
    const bool editor = _segments.editorOpen() && s >= 0 && s < qint64(_cutItemViews.size());
    const ViewSize doc{double(_filesContentView->width()), double(_filesContentView->height())};
    for (size_t i = 0; i < _cutItemViews.size(); ++i)
        ViewFrame::setFrame(_cutItemViews[i], SegmentListGeometry::tileFrame(qint64(i), doc, editor ? s : -1));
    if (s >= 0 && s < qint64(_cutItemViews.size())) {
        ViewRect frame = ViewFrame::frame(_selectedItemTimeChangeView);
        frame.y = SegmentListGeometry::editorY(ViewFrame::frame(_cutItemViews[size_t(s)]));
        ViewFrame::setFrame(_selectedItemTimeChangeView, frame);
    }
}

void EasyCutterWindowcontroller::scrollToSelectItem() {
    const qint64 s = _segments.selectedCutIndex();
    if (_cutItemViews.empty() || s < 0 || s >= qint64(_cutItemViews.size()))
        return;
    const ViewRect tile = ViewFrame::frame(_cutItemViews[size_t(s)]);
    const double top = SegmentListGeometry::scrollTopForTile(tile, _filesContentView->height(),
                                                             _itemsScrollview->viewport()->height());
    _itemsScrollview->verticalScrollBar()->setValue(int(std::lround(top)));
}

void EasyCutterWindowcontroller::showSegmentTile(qint64 index) {
    if (_segments.contains(index) && index < qint64(_cutItemViews.size()))
        _cutItemViews[size_t(index)]->setItem(_segments.at(index));
}

void EasyCutterWindowcontroller::fileItemAction(CutItemView* tile) {
    if (tile == nullptr)
        return;
    const qint64 index = tile->tag() - 1;
    _segments.select(index);
    placeOverlay(tile);
    _itemSelectView->show();
    _segments.setOverlayIndex(index);
    for (CutItemView* t : _cutItemViews)
        t->setSelected(t->tag() == tile->tag());
    _selectedItemTimeChangeView->hide();
    layoutTiles();
    applyMoveButtons();
    refresSelectTrimTime(true, true);
}

void EasyCutterWindowcontroller::tileEntered(CutItemView* tile) {
    if (!_selectedItemTimeChangeView->isVisible()) {
        placeOverlay(tile);
        _segments.setOverlayIndex(tile->tag() - 1);
    }
    _itemSelectView->show();
}

void EasyCutterWindowcontroller::tileExited(CutItemView*) {
    if (_segments.editorOpen())
        return;
    _itemSelectView->hide();
    _itemSelectView->setParent(_filesContentView);
    _segments.setOverlayIndex(_segments.selectedCutIndex());
}

void EasyCutterWindowcontroller::cutAction() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const float start = float(double(_cutprogressView->lowerValue()) * d);
    const float end = float(double(_cutprogressView->upperValue()) * d);
    seekTo(start);
    _segments.cut(start, end, QImage());
    getCurrentThumbImage(_segments.at(_segments.count() - 1));
    refresFileListView();
}

void EasyCutterWindowcontroller::copyAction() {
    _segments.copyAt(_segments.overlayIndex());
    refresFileListView();
}

void EasyCutterWindowcontroller::modifyAction() {
    const qint64 index = _segments.overlayIndex();
    if (!_segments.contains(index) || index >= qint64(_cutItemViews.size()))
        return;
    _segments.modify(index);
    for (CutItemView* t : _cutItemViews)
        t->setSelected(t->tag() == index + 1);
    applyMoveButtons();
    refresSelectTrimTime(true, true);
    layoutTiles();
    _selectedItemTimeChangeView->setVisible(_segments.editorOpen());
    _selectedItemTimeChangeView->raise();
    // The list rests the selected tile on its bottom edge; an editor opened below it is brought into view.
    if (_segments.editorOpen())
        _itemsScrollview->ensureWidgetVisible(_selectedItemTimeChangeView, 0, 0);
}

void EasyCutterWindowcontroller::deletedAction() {
    _segments.deleteAt(_segments.overlayIndex());
    refresFileListView();
}

void EasyCutterWindowcontroller::moveUpAction() {
    if (_segments.moveUp())
        refresFileListView();
}

void EasyCutterWindowcontroller::moveDownAction() {
    if (_segments.moveDown())
        refresFileListView();
}

void EasyCutterWindowcontroller::clearAction() {
    if (_segments.count() == 0)
        return;
    // Every segment goes at once and cannot be brought back: ask first.
    AlertRequest request;
    request.style = AlertRequest::Style::Warning;
    request.messageText = localized(QStringLiteral("EasyCut_Title"));
    request.informativeText = _segments.count() == 1
                                  ? localized(QStringLiteral("EasyCutClearQuestionOne"))
                                  : localized(QStringLiteral("EasyCutClearQuestion")).arg(_segments.count());
    request.buttons = {localized(QStringLiteral("EasyCutClearButton")), localized(QStringLiteral("CancelBtn"))};
    if (Alert::run(request, window()) != 0)
        return;
    _itemSelectView->hide();
    _itemSelectView->setParent(_filesContentView);
    for (CutItemView* tile : _cutItemViews) {
        tile->hide();
        tile->deleteLater();
    }
    _cutItemViews.clear();
    _segments.clear();
    applyMoveButtons();
}

void EasyCutterWindowcontroller::setStartAction() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const double t = currentTime();
    seekTo(t);
    _cutprogressView->setProgress(float(t / d));
    _cutprogressView->setLowerValue(float(t / d));
    if (_segments.editorOpen()) {
        if (SegmentList::Item item = _segments.selectedItem())
            item->setStartTime(float(t));
    }
    writeRow(_startRow, float(double(_cutprogressView->lowerValue()) * d));
    setButtonsOff();
    showRangeDuration();
}

void EasyCutterWindowcontroller::setEndAction() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const double t = currentTime();
    seekTo(t);
    _cutprogressView->setProgress(float(t / d));
    _cutprogressView->setUpperValue(float(t / d));
    if (_segments.editorOpen()) {
        if (SegmentList::Item item = _segments.selectedItem())
            item->setEndTime(float(t));
    }
    writeRow(_stopRow, float(double(_cutprogressView->upperValue()) * d));
    setButtonsOff();
    showRangeDuration();
}

void EasyCutterWindowcontroller::rangePreviewAction() {
    if (!_lqPlayer)
        return;
    const double d = duration();
    const double t = double(_cutprogressView->lowerValue()) * d;
    _playOrpauseSelectBtn->setSelected(!_playOrpauseSelectBtn->selected());
    seekTo(t);
    _cutprogressView->setProgress(d > 0 ? float(_selectStartPlayTime / d) : 0.0f);
    _playOrpauseSelectBtn->setOnImage(image(QStringLiteral("Cut/btnPreview_On.png")));
    _playOrpauseSelectBtn->setDownImage(image(QStringLiteral("Cut/btnPreview_Down.png")));
    _isPlaySelectedCut = _playOrpauseSelectBtn->selected();
    if (_isPlaySelectedCut)
        _lqPlayer->play();
    else
        _lqPlayer->pause();
    showPlaying(_isPlaySelectedCut);
    _playOrpauseBtn->setEnabled(!_isPlaySelectedCut);
    _playOrpauseSelectBtn->setEnabled(true);
}

// ---- Showing the selected segment ----

void EasyCutterWindowcontroller::refresSelectTrimTime(bool startChanged, bool endChanged) {
    const double d = duration();
    float start = 0;
    float end = 0;
    if (SegmentList::Item item = _segments.selectedItem()) {
        start = item->startTime();
        end = item->endTime();
        if (_segments.editorOpen())
            showSegmentTile(_segments.selectedCutIndex());
    } else {
        start = float(double(_cutprogressView->lowerValue()) * d);
        end = float(double(_cutprogressView->upperValue()) * d);
    }
    seekTo(start);
    writeRow(_startItemRow, start);
    writeRow(_stopItemRow, end);
    setButtonsOff();
    if (!startChanged && !endChanged)
        return;
    if (d > 0) {
        _cutprogressView->setProgress(float(double(start) / d));
        if (startChanged && endChanged) {
            _cutprogressView->setLowerValueUpperValue(float(double(start) / d), float(double(end) / d));
        } else if (startChanged) {
            _cutprogressView->setLowerValue(float(double(start) / d));
        } else {
            seekTo(end);
            _cutprogressView->setUpperValue(float(double(end) / d));
        }
    }
    writeRow(_startRow, start);
    writeRow(_stopRow, end);
    setButtonsOff();
    _durationValueLabel->setText(ShownTime::durationText(start, end));
}

// ---- Typed times and steppers ----

void EasyCutterWindowcontroller::actionMouseDownForTextFieldBlock(LQTextField* field) {
    auto in = [field](const TimeRow& row) {
        return std::find(row.fields.begin(), row.fields.end(), field) != row.fields.end();
    };
    if (in(_startRow)) {
        _edittingField = field;
        _startRow.stepper->setIntegerValue(field->integerValue());
    } else if (in(_stopRow)) {
        _edittingField = field;
        _stopRow.stepper->setIntegerValue(field->integerValue());
    } else if (in(_startItemRow)) {
        _edittingItemField = field;
        _startItemRow.stepper->setIntegerValue(field->integerValue());
    } else if (in(_stopItemRow)) {
        _edittingItemField = field;
        _stopItemRow.stepper->setIntegerValue(field->integerValue());
    }
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
}

bool EasyCutterWindowcontroller::controlTextShouldEndEditing(LQTextField* field) {
    auto in = [field](const TimeRow& row) {
        return std::find(row.fields.begin(), row.fields.end(), field) != row.fields.end();
    };
    const bool rangeStart = in(_startRow);
    const bool rangeEnd = in(_stopRow);
    const bool itemStart = in(_startItemRow);
    const bool itemEnd = in(_stopItemRow);
    if (!rangeStart && !rangeEnd && !itemStart && !itemEnd)
        return true;
    // The warning's alert takes the focus, and losing it asks again: the check in progress answers for the field.
    if (_checkingTypedTime)
        return false;
    const bool range = rangeStart || rangeEnd;
    const bool startRow = rangeStart || itemStart;
    const float tStart = readRow(range ? _startRow : _startItemRow);
    const float tEnd = readRow(range ? _stopRow : _stopItemRow);
    const float d = float(duration());
    const SegmentTimes::Checked checked =
        startRow ? SegmentTimes::checkStart(tStart, tEnd) : SegmentTimes::checkEnd(tStart, tEnd, d);
    _checkingTypedTime = true;
    for (const QString& key : checked.messageKeys)
        showSimpleAlert(localized(key), 2);
    _checkingTypedTime = false;
    if (!checked.accepted)
        return false;

    // With the editor open a typed range time belongs to the overlay's segment; when there is none (after Clear)
    // it moves the handle as it does with the editor closed.
    const bool editor = _segments.editorOpen() && _segments.contains(_segments.overlayIndex());
    if (range && !editor) {
        if (d > 0) {
            if (startRow)
                _cutprogressView->setLowerValue(checked.start / d);
            else
                _cutprogressView->setUpperValue(checked.end / d);
        }
        (startRow ? _startRow : _stopRow).stepper->setIntegerValue((long long)field->floatValue());
        writeRow(_startRow, float(double(_cutprogressView->lowerValue()) * d));
        writeRow(_stopRow, float(double(_cutprogressView->upperValue()) * d));
        setButtonsOff();
        showRangeDuration();
        return true;
    }
    // A typed range time with the editor open writes the overlay's segment, the segment rows the selected one.
    // Neither is written when no segment stands at that index (after Clear).
    const qint64 index = range ? _segments.overlayIndex() : _segments.selectedCutIndex();
    if (SegmentList::Item item = _segments.at(index)) {
        if (startRow)
            item->setStartTime(checked.start);
        else
            item->setEndTime(checked.end);
        showSegmentTile(index);
    }
    (startRow ? _startItemRow : _stopItemRow).stepper->setIntegerValue((long long)field->floatValue());
    refresSelectTrimTime(startRow, !startRow);
    return true;
}

void EasyCutterWindowcontroller::stepperAction(TimeStepper* stepper) {
    const bool range = stepper == _startRow.stepper || stepper == _stopRow.stepper;
    const bool startStepper = stepper == _startRow.stepper || stepper == _startItemRow.stepper;
    LQTextField* active = range ? _edittingField : _edittingItemField;
    if (active)
        active->setStringValue(QString::asprintf("%02lld", stepper->integerValue()));
    const TimeRow& startRow = range ? _startRow : _startItemRow;
    const TimeRow& stopRow = range ? _stopRow : _stopItemRow;
    const float tStart = readRow(startRow);
    const float tEnd = readRow(stopRow);
    const float d = float(duration());
    SegmentTimes::Checked checked =
        startStepper ? SegmentTimes::checkStart(tStart, tEnd) : SegmentTimes::checkEnd(tStart, tEnd, d);
    if (!checked.accepted) {
        // A stepper never goes below 0; a negative start typed earlier counts as 0.
        checked.accepted = true;
        checked.start = 0;
    }
    for (const QString& key : checked.messageKeys)
        showSimpleAlert(localized(key), 2);
    if (!checked.messageKeys.isEmpty())
        writeRow(startStepper ? startRow : stopRow, startStepper ? checked.start : checked.end);
    if (range) {
        if (d > 0) {
            if (startStepper)
                _cutprogressView->setLowerValue(checked.start / d);
            else
                _cutprogressView->setUpperValue(checked.end / d);
        }
        return;
    }
    const qint64 index = _segments.selectedCutIndex();
    if (SegmentList::Item item = _segments.at(index)) {
        if (startStepper)
            item->setStartTime(checked.start);
        else
            item->setEndTime(checked.end);
        showSegmentTile(index);
    }
}

// ---- Trim range slider ----

void EasyCutterWindowcontroller::actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float) {
    if (_lqPlayer)
        _lqPlayer->pause();
    removeTimer();
}

void EasyCutterWindowcontroller::actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float) {
    resumeIfPlaying();
    if (_isPlaying) {
        _playOrpauseBtn->setEnabled(!_isPlaySelectedCut);
        _playOrpauseSelectBtn->setEnabled(_isPlaySelectedCut);
    }
}

void EasyCutterWindowcontroller::actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float progress) {
    seekTo(duration() * double(progress));
    setHandleButtons(progress);
}

void EasyCutterWindowcontroller::actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float lower, float upper,
                                                                         long long handle) {
    const double d = duration();
    const float start = float(double(lower) * d);
    const float end = float(double(upper) * d);
    if (handle == 1) {
        _selectStartPlayTime = start;
        seekTo(start);
    } else if (handle == 2) {
        _selectStartPlayTime = end;
        seekTo(end);
    }
    SegmentList::Item item = _segments.editorOpen() ? _segments.selectedItem() : nullptr;
    if (!item) {
        writeRow(_startRow, start);
        writeRow(_stopRow, end);
        setButtonsOff();
    } else {
        item->setStartTime(start);
        item->setEndTime(end);
        if (handle == 1)
            refresSelectTrimTime(true, false);
        else if (handle == 2)
            refresSelectTrimTime(false, true);
    }
    _durationValueLabel->setText(ShownTime::durationText(start, end));
}

void EasyCutterWindowcontroller::resumeIfPlaying() {
    if (_isPlaying && _lqPlayer) {
        _lqPlayer->play();
        addTimer();
    }
}

// ---- Keyboard: play/pause and the nudges ----

void EasyCutterWindowcontroller::playOrPauseVideo() {
    if (!_lqPlayer)
        return;
    // Space ends a range preview as its own button does; otherwise it is the play button.
    if (_isPlaySelectedCut) {
        _lqPlayer->pause();
        setPlayButtonsStopped();
        return;
    }
    playOrPauseAction();
}

void EasyCutterWindowcontroller::kuaituiAction() {
    nudge(false);
}

void EasyCutterWindowcontroller::kuaijinAction() {
    nudge(true);
}

void EasyCutterWindowcontroller::nudge(bool forward) {
    if (!_lqPlayer)
        return;
    if (_isPlaying)
        _lqPlayer->pause();
    const double d = duration();
    const bool endSide = _cutprogressView->handleType() == 2;
    float x = 0;
    SegmentList::Item item = _segments.editorOpen() ? _segments.selectedItem() : nullptr;
    if (item) {
        if (endSide) {
            x = SegmentTimes::nudge(item->endTime(), forward, item->startTime(), d);
            item->setEndTime(x);
            refresSelectTrimTime(false, true);
        } else {
            x = SegmentTimes::nudge(item->startTime(), forward, 0, item->endTime());
            item->setStartTime(x);
            refresSelectTrimTime(true, false);
        }
        seekTo(x);
    } else {
        const double c = currentTime();
        if (endSide) {
            x = SegmentTimes::nudge(c, forward, double(_cutprogressView->lowerValue()) * d, d);
            if (d > 0)
                _cutprogressView->setUpperValue(float(x / d));
        } else {
            x = SegmentTimes::nudge(c, forward, 0, double(_cutprogressView->upperValue()) * d);
            if (d > 0)
                _cutprogressView->setLowerValue(float(x / d));
        }
        seekTo(x);
        if (d > 0)
            _cutprogressView->setProgress(float(x / d));
        writeRow(_startRow, float(double(_cutprogressView->lowerValue()) * d));
        writeRow(_stopRow, float(double(_cutprogressView->upperValue()) * d));
        setButtonsOff();
        showRangeDuration();
    }
    resumeIfPlaying();
}
