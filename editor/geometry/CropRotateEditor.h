#pragma once

#include "CropGeometry.h"
#include "CropRotateSettings.h"
#include "LQUICliperDelegate.h"
#include "NSTextFieldDelegate.h"
#include "ViewRect.h"
#include "libMediaCore.h"

#include <QObject>
#include <QPointer>

#include <functional>

class AdjustPanel;
class CropPanel;
class CropRotateHost;
class LQMoviePlayer;
class LQUICliper;
class MOQButton;
class MediaJob;

// The editor's crop and rotation: the crop panel and its overlay over the preview, the rotate panel, and the
// window's geometry state (`videoSize`, `editVideoClipRect`, `convertCropSize`, `playerRotateAngle`, `hFlip`,
// `vFlip`). It shows every change in the preview player at once and hands the export a copy of it. Main thread
// only.
//
// The crop the export writes is always the one the overlay shows: a drag, a typed value, a left-right mirror and a
// refit after a resize all take the crop again from the overlay's box (a resize keeps the box on the same part of
// the picture). Rotations and the resets start the crop afresh over the whole picture. The crop panel's reset
// clears the rotation and both mirrors throughout (player and export alike).
class CropRotateEditor : public QObject, public LQUICliperDelegate, public NSTextFieldDelegate {
    Q_OBJECT
public:
    explicit CropRotateEditor(CropRotateHost& host, QObject* parent = nullptr);
    ~CropRotateEditor() override;

    // Build the panels, each filling its mode's host (`cropView`, `adjustView` of the window), which the window
    // shows and hides with the mode.
    void initCropView(QWidget* host);
    void initAdjustView(QWidget* host);
    CropPanel* cropView() const;
    AdjustPanel* adjustView() const;

    // A new crop overlay over the whole picture for a newly opened file (hidden until the crop mode shows it).
    void initPlayerCliper();
    LQUICliper* cliper() const;
    // Gives a new preview player the kept rotation and mirrors.
    void applyToPlayer(LQMoviePlayer& player) const;

    // The crop mode: shows the overlay on top of the player's view and reads the sizes into the panel.
    void cropReadOut();
    // Other modes and playing: hides the overlay.
    void hideOverlay();
    // Entering the rotate mode: the overlay's box becomes the crop again.
    void commitCropFromOverlay();
    // The player's view changed size: the overlay is laid over the new picture rectangle, its box on the same part
    // of the picture, and the crop taken from it.
    void refitVideo();
    // Enables or disables the panels' fields and buttons.
    void enableEdit(bool enabled);

    ViewSize videoSize() const { return _videoSize; }
    // The picture's rectangle in the player's view.
    ViewRect videoRect() const;
    ViewRect editVideoClipRect() const { return _editVideoClipRect; }
    RECT convertCropSize() const { return _convertCropSize; }
    int playerRotateAngle() const { return _playerRotateAngle; }
    int hFlip() const { return _hFlip; }
    int vFlip() const { return _vFlip; }
    // The kept rotation and mirrors (a file's record read back); applied to the player by applyToPlayer().
    void setRotationState(int angle, int hFlip, int vFlip);

    // What the export takes at Start, and the job setters made from that copy.
    CropRotateSettings exportSettings() const;
    std::function<int(MediaJob&)> exportContribution() const { return exportSettings().contribution(); }

    // The panels' actions (the buttons post them to the main queue).
    void keepAspectAction();
    void resetCropAction();
    void rotateRightAction();
    void rotateLeftAction();
    void mirrorLeftRightAction();
    void mirrorTopBottomAction();
    void resetRotateTouchUp(); // posts resetRotate()
    void resetRotate();

    // Overlay and field delegates.
    void actionMovedForLQUICliperBlock(LQUICliper* overlay, const ViewRect& box) override;
    void actionMoveEndForLQUICliperBlock(LQUICliper* overlay, const ViewRect& fractions) override;
    bool controlTextShouldEndEditing(LQTextField* field) override;

private:
    ViewSize sourceSize() const;
    ViewRect wholePicture() const { return {0, 0, _videoSize.width, _videoSize.height}; }
    void clearCrop();
    // The crop, its margins and the four fields from a box of the overlay (its points).
    void takeBox(const ViewRect& box);
    void showFields(const ViewRect& clipRect);
    void showWholePictureFields();
    void rotate(int angle, MOQButton* button);
    // The overlay over the picture's rectangle again, with the whole picture as its box.
    void resetOverlay(const ViewRect& rect, bool frame);
    void refreshIfPaused();

    CropRotateHost& _host;
    QPointer<CropPanel> _cropView;
    QPointer<AdjustPanel> _adjustView;
    QPointer<LQUICliper> _cliper;
    bool _overlayShown = false;

    ViewSize _videoSize;
    ViewRect _editVideoClipRect;
    RECT _convertCropSize{};
    int _playerRotateAngle = 0;
    int _hFlip = 0;
    int _vFlip = 0;
};
