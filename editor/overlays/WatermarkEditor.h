#pragma once

#include "LQProgressSliderDelegate.h"
#include "LQTextFieldDelegate.h"
#include "LQWaterView.h"
#include "LQWaterViewDelegate.h"
#include "NSTextFieldDelegate.h"
#include "WatermarkEditRules.h"
#include "WatermarkRecordBuilder.h"
#include "libMediaCore.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class LQMoviePlayer;
class LQTextField;
class QSpinBox;
class WaterMarkCellItemView;
class WatermarkHost;
class WatermarkPanel;

// The editor's watermarks: the list (`waterMarkList`, `selectedWaterMarkIndex`), its panel and the overlay that
// places the selected watermark over the preview, and the walks that hand the ticked watermarks to the preview
// player and to a conversion job. Main thread only.
//
// Values the user types or steps are checked by WatermarkEditRules: a refused value is not stored and an alert
// says why. A file that cannot be read, or a text, path or font name too long for the engine's records, is refused
// with a message when it is added or typed.
class WatermarkEditor : public QObject,
                        public LQWaterViewDelegate,
                        public LQTextFieldDelegate,
                        public NSTextFieldDelegate,
                        public LQProgressSliderDelegate {
    Q_OBJECT
public:
    explicit WatermarkEditor(WatermarkHost& host, QObject* parent = nullptr);
    ~WatermarkEditor() override;

    // Builds the panel inside the editor's left content view, hidden: frame (5, 5, w - 10, h - 10).
    void initWaterView(QWidget* contentLeftView);
    WatermarkPanel* waterView() const { return _panel; }
    // A new overlay over the video rectangle of the player's view, for a newly opened file (hidden).
    void initWatermarkView();
    LQWaterView* watermarkView() const { return _watermarkView; }
    // Re-frames the overlay after the window's layout changed.
    void setOverlayFrame(const ViewRect& videoRect, const ViewSize& videoSize);
    // Shows the export's crop over the overlay (the host's), so a watermark placed outside it is seen not to show.
    void showCropOutline();
    // The aspect-fit rectangle of a picture inside a view's bounds.
    static ViewRect videoRectInside(const ViewSize& videoSize, const ViewRect& bounds);

    const WaterMarkList& waterMarkList() const { return _waterMarkList; }
    int selectedWaterMarkIndex() const { return _selectedWaterMarkIndex; }
    WaterParam* selectedWatermark() const;
    // Empties the list (a new file, the rotation reset) and rebuilds the rows.
    void emptyList();

    void refresWaterMarkListView();
    void selectEditWaterItem(int row);
    void enableWaterChildView(bool enabled);
    void waterEnAbeld(bool enabled);
    void refreshWaterTime();

    // The list's buttons.
    void addImageOrVideoAction();
    void addTextAction();
    void deleteAction();
    // Adds a picture or video file as the list's new selected watermark; false (and an alert) when it is refused.
    bool addFile(const QString& path);
    // Renames the selected text watermark (its row's title); false (and an alert) when the text does not fit.
    bool renameText(int row, const QString& text);
    void checkRow(int row, bool checked);

    // The ticked watermarks to the preview; with `editing`, the selected one is left to the overlay.
    void refreshPlayerWaterMark(bool editing);
    // The ticked watermarks to a conversion job. False when one could not be made (its message is shown).
    bool addConvertWaterMark(CONVERT_HANDLE job);
    WatermarkGeometry geometry() const;

    // Steppers and choosers.
    void stepTime(WatermarkEditRules::Time which);
    void stepAlph();
    void stepSize(bool width);
    void keepAspectRatioAction();
    void applyFont(const QFont& font);
    void applyColor(const QColor& colour);
    // Replaced by tests: the font and colour choosers (empty result: cancelled).
    std::function<std::optional<QFont>(const QFont&)> chooseFont;
    std::function<std::optional<QColor>(const QColor&)> chooseColor;

    // Gives a preview player the text renderer and the image loader (the editor's initPlayer calls it).
    static void preparePlayer(LQMoviePlayer& player);

    // The video watermark's thumbnail: a frame 180 pixels high. Null when the file has no picture.
    static QImage getWaterImageWithPath(const QString& path);

    // Delegates.
    void actionMouseMoveBeginForWaterViewBlock(LQWaterView*, const ViewRect&) override {}
    void actionMouseMovedForWaterViewBlock(LQWaterView* view, const ViewRect&) override;
    void actionMouseMoveEndForWaterViewBlock(LQWaterView* view, const ViewRect&) override;
    void actionMouseDownForTextFieldBlock(LQTextField* field) override;
    bool controlTextShouldEndEditing(LQTextField* field) override;
    void actionMouseDownForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionProgressForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    void actionMouseUpForProgressSliderBlock(LQProgressSlider* slider, float progress) override;
    // While the preview plays the other controls rest, but the transparency slider stays live (a press holds the
    // preview): on when e and a watermark is selected.
    void enableTransparencySlider(bool e);

private:
    double videoDuration() const;
    // Takes the overlay's box, shows the overlay and appends the watermark as the selected one.
    void appendNew(const std::shared_ptr<WaterParam>& watermark);
    void fitTextBox(WaterParam& watermark, ViewRect start, const QString& text);
    void keepNewTextInside(WaterParam& watermark);
    void followOverlay();
    int timeGroup(LQTextField* field) const;
    float timeFromFields(int group) const;
    void showTime(int group, float seconds);
    bool applyTime(int group, float value);
    void applySize(bool width, double value);
    void bindStepper(QSpinBox* stepper, int minimum, int maximum, int value);
    QImage overlayImage(const WaterParam& watermark) const;
    // Pixels of the video per point of the overlay (1 without an overlay).
    double pixelsPerPoint() const;
    // The size fields: the pixels the export writes for the watermark's box.
    void showWrittenSize(const WaterParam& watermark);

    WatermarkHost& _host;
    WatermarkPanel* _panel = nullptr;
    QPointer<LQWaterView> _watermarkView;
    WaterMarkList _waterMarkList;
    int _selectedWaterMarkIndex = 0;
    QList<WaterMarkCellItemView*> _waterMarkTableCells;
    // The field of each time group the steppers act on (`wmEditStartField` and the three after it).
    std::array<LQTextField*, 4> _editFields{};
    bool _settingSteppers = false;
    bool _childViewsEnabled = false;          // as enableWaterChildView last set the selected watermark's controls
    mutable QHash<QString, QImage> _pictures; // the overlay's pictures by file
};
