#pragma once

#include "ViewRect.h"

class LQMoviePlayer;
class QWidget;

// What the crop and rotate panels need of the editor window that hosts them.
class CropRotateHost {
public:
    // What changed the picture's geometry, so the window can reset what else is measured against it.
    enum class PictureChange {
        KeepAspect,    // the crop went back to the whole picture: the watermark overlay takes the size, shows nothing
        CropReset,     // the same, and the rotation and both mirrors were cleared (the picture may have turned back)
        Rotation,      // a quarter turn: also the single watermark record is reset and the subtitle dropped
        RotationReset, // the rotate panel's reset: as a rotation, and the watermark list is emptied
    };

    virtual ~CropRotateHost() = default;
    // The preview player; null until a file is open.
    virtual LQMoviePlayer* cropPlayer() const = 0;
    // The player's view, which shows the picture aspect-fit and centred: the crop overlay's parent.
    virtual QWidget* cropPlayerView() const = 0;
    // The open file's picture as the preview shows it before the user's rotation (the stream's own rotation
    // applied), in pixels; empty without a file.
    virtual ViewSize cropSourceSize() const = 0;
    // The stream's own clockwise rotation (0, 90, 180 or 270), which the export adds to the user's.
    virtual int cropSourceAngle() const = 0;
    virtual bool cropPreviewPlaying() const = 0;
    // The picture's geometry changed: `videoRect` is the picture's rectangle in the player's view, `videoSize` the
    // picture as now shown. The window re-lays the watermark overlay and resets what `change` names.
    virtual void cropPictureChanged(PictureChange change, const ViewRect& videoRect, const ViewSize& videoSize) = 0;
};
