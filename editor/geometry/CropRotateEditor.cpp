#include "CropRotateEditor.h"

#include "AdjustPanel.h"
#include "CropPanel.h"
#include "CropRotateHost.h"
#include "LQMoviePlayer.h"
#include "LQTextField.h"
#include "LQUICliper.h"
#include "LabelField.h"
#include "Later.h"
#include "MOQButton.h"
#include "ViewFrame.h"

#include <QLoggingCategory>

namespace {
const QLoggingCategory& cropLog() {
    static const QLoggingCategory category("clipwright.crop");
    return category;
}

// A panel fills its mode's host, which the window shows and hides with the mode.
ViewRect panelFrame(QWidget* host) {
    return ViewFrame::bounds(host);
}
} // namespace

CropRotateEditor::CropRotateEditor(CropRotateHost& host, QObject* parent) : QObject(parent), _host(host) {}

CropRotateEditor::~CropRotateEditor() {
    // The overlay lives in the player's view; it goes with the panel group.
    delete _cliper.data();
}

CropPanel* CropRotateEditor::cropView() const {
    return _cropView;
}

AdjustPanel* CropRotateEditor::adjustView() const {
    return _adjustView;
}

LQUICliper* CropRotateEditor::cliper() const {
    return _cliper;
}

// ----- set-up -----

void CropRotateEditor::initCropView(QWidget* host) {
    _cropView = new CropPanel(panelFrame(host), host);
    _cropView->show();
    for (LQTextField* field :
         {_cropView->_cropWidthField, _cropView->_cropHeightField, _cropView->_cropTopField, _cropView->_cropLeftField})
        field->setDelegate(this);
    _cropView->_keepAspectBtn->setMouseDownAction(later(this, &CropRotateEditor::keepAspectAction));
    _cropView->_edit_cropCancelBtn->setMouseDownAction(later(this, &CropRotateEditor::resetCropAction));
}

void CropRotateEditor::initAdjustView(QWidget* host) {
    _adjustView = new AdjustPanel(panelFrame(host), host);
    _adjustView->show();
    _adjustView->_left_ratioBtn->setMouseDownAction(later(this, &CropRotateEditor::rotateLeftAction));
    _adjustView->_right_ratioBtn->setMouseDownAction(later(this, &CropRotateEditor::rotateRightAction));
    _adjustView->_horizontal_mirrorBtn->setMouseDownAction(later(this, &CropRotateEditor::mirrorLeftRightAction));
    _adjustView->_vertical_mirrorBtn->setMouseDownAction(later(this, &CropRotateEditor::mirrorTopBottomAction));
    _adjustView->_resetRotateBtn->setMouseDownAction([this](MOQButton*) { resetRotateTouchUp(); });
}

void CropRotateEditor::enableEdit(bool enabled) {
    if (_cropView) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 _cropView->_edit_cropCancelBtn, _cropView->_cropWidthField, _cropView->_cropHeightField,
                 _cropView->_cropTopField, _cropView->_cropLeftField, _cropView->_keepAspectBtn})
            control->setEnabled(enabled);
    }
    if (_adjustView) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 _adjustView->_left_ratioBtn, _adjustView->_right_ratioBtn, _adjustView->_vertical_mirrorBtn,
                 _adjustView->_horizontal_mirrorBtn, _adjustView->_resetRotateBtn})
            control->setEnabled(enabled);
    }
}

// ----- geometry state -----

ViewSize CropRotateEditor::sourceSize() const {
    return _host.cropSourceSize();
}

ViewRect CropRotateEditor::videoRect() const {
    QWidget* playerView = _host.cropPlayerView();
    const ViewRect bounds = playerView ? ViewFrame::bounds(playerView) : ViewRect{};
    if (!_host.cropPlayer())
        return bounds;
    return CropGeometry::videoRectInside(_videoSize, bounds);
}

void CropRotateEditor::setRotationState(int angle, int hFlip, int vFlip) {
    _playerRotateAngle = angle;
    _hFlip = hFlip;
    _vFlip = vFlip;
}

void CropRotateEditor::applyToPlayer(LQMoviePlayer& player) const {
    player.SetRotateAngle(_playerRotateAngle);
    player.SetHFlip(_hFlip);
    player.SetVFlip(_vFlip);
}

void CropRotateEditor::clearCrop() {
    _convertCropSize = RECT{};
    _editVideoClipRect = wholePicture();
}

void CropRotateEditor::showFields(const ViewRect& clipRect) {
    if (!_cropView)
        return;
    const CropGeometry::Fields f = CropGeometry::fields(CropGeometry::evenMargins(clipRect, _videoSize), _videoSize);
    _cropView->_cropWidthField->setStringValue(f.width);
    _cropView->_cropHeightField->setStringValue(f.height);
    _cropView->_cropLeftField->setStringValue(f.left);
    _cropView->_cropTopField->setStringValue(f.top);
}

void CropRotateEditor::showWholePictureFields() {
    if (!_cropView)
        return;
    // The whole picture: margins 0, and the fields show its size with the top field counted from its height.
    showFields(wholePicture());
}

void CropRotateEditor::takeBox(const ViewRect& box) {
    if (!_cliper)
        return;
    _editVideoClipRect = CropGeometry::clipRectFromBox(box, _cliper->oFrame().size(), _videoSize);
    qCDebug(cropLog, "v_x: %f v_y: %f v_w: %f v_h: %f", _editVideoClipRect.x, _editVideoClipRect.y,
            _editVideoClipRect.width, _editVideoClipRect.height);
    _convertCropSize = CropGeometry::evenMargins(_editVideoClipRect, _videoSize);
    showFields(_editVideoClipRect);
}

void CropRotateEditor::resetOverlay(const ViewRect& rect, bool frame) {
    if (!_cliper)
        return;
    if (frame)
        _cliper->setFrameRect(rect);
    _cliper->setClipRect(CropGeometry::boxFromClipRect(wholePicture(), _videoSize, rect.size()));
}

void CropRotateEditor::refreshIfPaused() {
    if (LQMoviePlayer* player = _host.cropPlayer(); player && !_host.cropPreviewPlaying())
        player->Refresh();
}

CropRotateSettings CropRotateEditor::exportSettings() const {
    CropRotateSettings s;
    s.rotateAngle = _playerRotateAngle;
    s.hFlip = _hFlip;
    s.vFlip = _vFlip;
    s.clipRect = _editVideoClipRect;
    s.convertCropSize = _convertCropSize;
    s.sourceAngle = _host.cropSourceAngle();
    return s;
}

// ----- the overlay per file, the modes and the layout -----

void CropRotateEditor::initPlayerCliper() {
    const ViewSize source = sourceSize();
    if (source.width <= 0 || source.height <= 0)
        return;
    _videoSize = CropGeometry::videoSizeFor(source, _playerRotateAngle);
    const ViewRect rect = videoRect();
    qCDebug(cropLog, "videoRect: %lf %lf %lf %lf", rect.x, rect.y, rect.width, rect.height);
    clearCrop();
    // The fields start over the whole picture with the overlay, Top and Left included.
    showWholePictureFields();
    delete _cliper.data();
    _cliper = new LQUICliper(rect, _host.cropPlayerView());
    _cliper->setVideoSize(_videoSize);
    _cliper->setFrameRect(rect);
    _cliper->setDelegate(this);
    resetOverlay(rect, false);
    _cliper->setVisible(_overlayShown);
}

void CropRotateEditor::cropReadOut() {
    _overlayShown = true;
    if (_cliper) {
        _cliper->show();
        _cliper->raise();
    }
    if (!_cropView)
        return;
    const ViewSize source = CropGeometry::videoSizeFor(sourceSize(), _playerRotateAngle);
    _cropView->_original_SizeLabel->setStringValue(
        QString::asprintf("%d x %d", static_cast<int>(source.width), static_cast<int>(source.height)));
    showFields(_editVideoClipRect);
}

void CropRotateEditor::hideOverlay() {
    _overlayShown = false;
    if (_cliper)
        _cliper->hide();
}

void CropRotateEditor::commitCropFromOverlay() {
    if (_cliper)
        _cliper->setClipRect(_cliper->getclipRectFrame());
    showFields(_editVideoClipRect);
    if (_cliper)
        takeBox(_cliper->getclipRectFrame());
}

void CropRotateEditor::refitVideo() {
    const ViewSize source = sourceSize();
    if (source.width <= 0 || source.height <= 0)
        return;
    _videoSize = CropGeometry::videoSizeFor(source, _playerRotateAngle);
    if (!_cliper)
        return;
    const ViewRect rect = videoRect();
    // The box stays on the same part of the picture: the crop the user set survives the resize.
    const ViewRect box = CropGeometry::boxFromClipRect(_editVideoClipRect, _videoSize, rect.size());
    _cliper->setFrameRect(rect);
    _cliper->setVideoSize(_videoSize);
    _cliper->setClipRect(box);
    takeBox(_cliper->getclipRectFrame());
}

// ----- the crop panel -----

void CropRotateEditor::actionMovedForLQUICliperBlock(LQUICliper* overlay, const ViewRect& box) {
    if (overlay != _cliper)
        return;
    takeBox(box);
}

void CropRotateEditor::actionMoveEndForLQUICliperBlock(LQUICliper* overlay, const ViewRect& f) {
    if (overlay != _cliper)
        return;
    const ViewSize frame = _cliper->oFrame().size();
    takeBox({f.x * frame.width, f.y * frame.height, f.width * frame.width, f.height * frame.height});
}

bool CropRotateEditor::controlTextShouldEndEditing(LQTextField* field) {
    if (!_cropView)
        return true;
    const ViewSize frame = _cliper ? _cliper->oFrame().size() : ViewSize{};
    CropGeometry::Typed typed;
    if (field == _cropView->_cropWidthField || field == _cropView->_cropHeightField) {
        typed = CropGeometry::typedSize(_editVideoClipRect, _videoSize, frame,
                                        static_cast<double>(_cropView->_cropWidthField->integerValue()),
                                        static_cast<double>(_cropView->_cropHeightField->integerValue()));
    } else if (field == _cropView->_cropLeftField) {
        typed =
            CropGeometry::typedLeft(_editVideoClipRect, _videoSize, frame, static_cast<double>(field->integerValue()));
    } else if (field == _cropView->_cropTopField) {
        typed =
            CropGeometry::typedTop(_editVideoClipRect, _videoSize, frame, static_cast<double>(field->integerValue()));
    } else {
        return true;
    }
    _editVideoClipRect = typed.clipRect;
    if (_cliper) {
        // What the overlay shows, within its limits, is what the export crops.
        _cliper->setClipRect(typed.box);
        takeBox(_cliper->getclipRectFrame());
    } else {
        showFields(_editVideoClipRect);
    }
    return true;
}

void CropRotateEditor::keepAspectAction() {
    if (!_cropView)
        return;
    MOQButton* box = _cropView->_keepAspectBtn;
    box->setSelected(!box->selected());
    if (!_cliper)
        return;
    if (!box->selected()) {
        _cliper->setCropType(1);
        return;
    }
    if (_cliper->crop_Type() != LQUICliperModel::KeepAspect) {
        const ViewRect rect = videoRect();
        qCDebug(cropLog, "videoRect: %lf %lf %lf %lf", rect.x, rect.y, rect.width, rect.height);
        _cliper->setFrameRect(rect);
        clearCrop();
        _cliper->setVideoSize(_videoSize);
        _host.cropPictureChanged(CropRotateHost::PictureChange::KeepAspect, rect, _videoSize);
        resetOverlay(rect, false);
        showWholePictureFields();
    }
    _cliper->setCropType(LQUICliperModel::KeepAspect);
}

void CropRotateEditor::resetCropAction() {
    if (_cropView)
        _cropView->_edit_cropCancelBtn->setSelected(false);
    // The rotation and both mirrors go back to none, in the player and in what the export reads.
    _playerRotateAngle = 0;
    _hFlip = 0;
    _vFlip = 0;
    if (LQMoviePlayer* player = _host.cropPlayer())
        applyToPlayer(*player);
    const ViewSize source = sourceSize();
    if (source.width > 0 && source.height > 0) {
        _videoSize = source;
        const ViewRect rect = videoRect();
        qCDebug(cropLog, "videoRect: %lf %lf %lf %lf", rect.x, rect.y, rect.width, rect.height);
        clearCrop();
        if (_cliper) {
            _cliper->setFrameRect(rect);
            _cliper->setVideoSize(_videoSize);
        }
        _host.cropPictureChanged(CropRotateHost::PictureChange::CropReset, rect, _videoSize);
        resetOverlay(rect, false);
        showWholePictureFields();
    }
    refreshIfPaused();
}

// ----- the rotate panel -----

void CropRotateEditor::rotate(int angle, MOQButton* button) {
    if (button)
        button->setSelected(false);
    _playerRotateAngle = angle;
    if (LQMoviePlayer* player = _host.cropPlayer())
        player->SetRotateAngle(_playerRotateAngle);
    const ViewSize source = sourceSize();
    if (source.width > 0 && source.height > 0) {
        _videoSize = CropGeometry::videoSizeFor(source, _playerRotateAngle);
        const ViewRect rect = videoRect();
        if (_cliper)
            _cliper->setVideoSize(_videoSize);
        _host.cropPictureChanged(CropRotateHost::PictureChange::Rotation, rect, _videoSize);
        if (_cliper) {
            resetOverlay(rect, true);
            _cliper->setCropType(1);
        }
        clearCrop();
        showWholePictureFields();
    } else if (_cropView) {
        _cropView->_cropTopField->setStringValue("0");
        _cropView->_cropLeftField->setStringValue("0");
    }
    refreshIfPaused();
}

void CropRotateEditor::rotateRightAction() {
    rotate(CropGeometry::rotatedRight(_playerRotateAngle), _adjustView ? _adjustView->_right_ratioBtn : nullptr);
}

void CropRotateEditor::rotateLeftAction() {
    rotate(CropGeometry::rotatedLeft(_playerRotateAngle), _adjustView ? _adjustView->_left_ratioBtn : nullptr);
}

void CropRotateEditor::mirrorLeftRightAction() {
    if (_adjustView)
        _adjustView->_horizontal_mirrorBtn->setSelected(false);
    // The mirrors act on the picture before the rotation: on its side, left-right is the source's top-bottom.
    LQMoviePlayer* player = _host.cropPlayer();
    if (_playerRotateAngle == 90 || _playerRotateAngle == 270) {
        _vFlip = _vFlip == 0 ? 1 : 0;
        if (player)
            player->SetVFlip(_vFlip);
    } else {
        _hFlip = _hFlip == 0 ? 1 : 0;
        if (player)
            player->SetHFlip(_hFlip);
    }
    // The overlay's box stays where it is over the mirrored picture, and so does the crop.
    if (_cliper)
        takeBox(_cliper->getclipRectFrame());
    refreshIfPaused();
}

void CropRotateEditor::mirrorTopBottomAction() {
    if (_adjustView)
        _adjustView->_vertical_mirrorBtn->setSelected(false);
    LQMoviePlayer* player = _host.cropPlayer();
    if (_playerRotateAngle == 90 || _playerRotateAngle == 270) {
        _hFlip = _hFlip == 0 ? 1 : 0;
        if (player)
            player->SetHFlip(_hFlip);
    } else {
        _vFlip = _vFlip == 0 ? 1 : 0;
        if (player)
            player->SetVFlip(_vFlip);
    }
    refreshIfPaused();
}

void CropRotateEditor::resetRotateTouchUp() {
    later(this, [this] { resetRotate(); });
}

void CropRotateEditor::resetRotate() {
    _playerRotateAngle = 0;
    if (_adjustView)
        _adjustView->_horizontal_mirrorBtn->setSelected(false);
    _vFlip = 0;
    _hFlip = 0;
    LQMoviePlayer* player = _host.cropPlayer();
    if (player) {
        player->SetVFlip(0);
        player->SetHFlip(0);
        player->SetRotateAngle(0);
    }
    const ViewSize source = sourceSize();
    if (source.width > 0 && source.height > 0) {
        _videoSize = source;
        const ViewRect rect = videoRect();
        if (_cliper)
            _cliper->setVideoSize(_videoSize);
        _host.cropPictureChanged(CropRotateHost::PictureChange::RotationReset, rect, _videoSize);
        if (_cliper) {
            resetOverlay(rect, true);
            _cliper->setCropType(1);
        }
        clearCrop();
    }
    refreshIfPaused();
}
