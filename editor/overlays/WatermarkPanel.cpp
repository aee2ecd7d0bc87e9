#include "WatermarkPanel.h"

#include "ControlFont.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQPosition.h"
#include "ResourceBundle.h"
#include "TimeStepper.h"
#include "ViewFrame.h"

#include <QFontMetricsF>
#include <QScrollArea>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace {

const QColor kFrameColour(214, 212, 212);
constexpr double kStepperWidth = 18;
constexpr double kSeparatorWidth = 8;

LabelField* label(QWidget* parent, const ViewRect& frame, const QString& key, double size = 13) {
    auto* l = new LabelField(parent);
    l->setStringValue(ResourceBundle::localizedStringForKey(key));
    l->setFont(ControlFont::system(size));
    l->setTextColor(Qt::black);
    ViewFrame::setFrame(l, frame);
    return l;
}

void imageButton(MOQButton* b, const QString& base) {
    b->setNormalImage(ResourceBundle::imageWithfileName(base + "_Normal.png"));
    b->setOnImage(ResourceBundle::imageWithfileName(base + "_On.png"));
    b->setDownImage(ResourceBundle::imageWithfileName(base + "_Down.png"));
    b->setDisAbleImage(ResourceBundle::imageWithfileName(base + "_On.png"));
    b->setBordered(false);
}

MOQButton* textButton(QWidget* parent, const ViewRect& frame, const QString& key) {
    auto* b = new MOQButton(frame, parent);
    b->setNormalBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Normal.bmp"));
    b->setOnBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_On.bmp"));
    b->setDownBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Down.bmp"));
    b->setDisAbleBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Disable.bmp"));
    b->setBordered(false);
    b->setCornerRadius(5);
    b->setBorderWidth(0);
    b->setBordColor(QColor(33, 176, 235));
    b->setContentColor(Qt::black);
    b->setFont(ControlFont::system(12));
    b->setContentTitle(ResourceBundle::localizedStringForKey(key));
    return b;
}

MOQView* framed(QWidget* parent, const ViewRect& frame, bool white) {
    auto* v = new MOQView(frame, parent);
    v->setBordColor(kFrameColour);
    v->setCornerRadius(2);
    v->setBorderWidth(1);
    if (white)
        v->setBackGroundColor(Qt::white);
    return v;
}

LQTextField* field(QWidget* parent, const ViewRect& frame) {
    auto* f = new LQTextField(frame, parent);
    f->setFrame(false);
    f->setAlignment(Qt::AlignCenter);
    f->setFont(ControlFont::system(12));
    return f;
}

} // namespace

WatermarkPanel::TimeRow WatermarkPanel::makeTimeRow(QWidget* parent, double y, LabelField*& rowLabel,
                                                    const QString& key) {
    // The label, the framed four fields, and the stepper at the panel's right edge; the fields share what the
    // label and the stepper leave (at most 26 points each, as on a wide panel).
    const double W = width();
    const double frameX = 5 + _timeLabelWidth + 1;
    const double stepperX = W - 5 - kStepperWidth;
    const double frameWidth = stepperX - 2 - frameX;
    const double cell = (frameWidth - 8) / 4;
    const double fieldWidth = std::min(26.0, cell - kSeparatorWidth);
    rowLabel = label(parent, {5, y + 3, _timeLabelWidth, 18}, key);
    framed(parent, {frameX, y, frameWidth, 24}, true);
    TimeRow row;
    for (int i = 0; i < 4; ++i) {
        const double x = frameX + 4 + i * cell;
        row.fields[static_cast<size_t>(i)] = field(parent, {x, y + 3, fieldWidth, 18});
        if (i < 3)
            label(parent, {x + fieldWidth, y + 3, cell - fieldWidth, 18}, i < 2 ? ":" : ".", 12)
                ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    row.stepper = TimeStepper::make(parent, {stepperX, y, kStepperWidth, 24});
    return row;
}

double WatermarkPanel::timeLabelWidth() {
    // Wide enough for the longest of the four row labels, and no wider than 78 points.
    const QFontMetricsF metrics(ControlFont::system(13));
    double widest = 0;
    for (const char* key : {"watermarkStartTimeLabelstringValue", "watermarkDurationLabelstringValue",
                            "wmFileStartTimeLabelstringValue", "wmFileEndTimeLabelstringValue"})
        widest = std::max(widest, metrics.horizontalAdvance(ResourceBundle::localizedStringForKey(key)));
    return std::min(78.0, std::ceil(widest) + 6);
}

WatermarkPanel::WatermarkPanel(const ViewRect& frame, QWidget* parent) : MOQView(frame, parent) {
    const double W = frame.width, H = frame.height;
    _timeLabelWidth = timeLabelWidth();

    imagemarkBtn = new MOQButton({5, H - 36, 31, 31}, this);
    imageButton(imagemarkBtn, "SubFun/btnAddPicWaterMark");
    textmarkBtn = new MOQButton({41, H - 36, 31, 31}, this);
    imageButton(textmarkBtn, "SubFun/btnAddTextWaterMark");
    deletedmarkBtn = new MOQButton({77, H - 36, 31, 31}, this);
    imagemarkBtn->setToolTip(ResourceBundle::localizedStringForKey("addImageWatermarkToolTip"));
    textmarkBtn->setToolTip(ResourceBundle::localizedStringForKey("addTextWatermarkToolTip"));
    deletedmarkBtn->setToolTip(ResourceBundle::localizedStringForKey("deleteWatermarkToolTip"));
    imageButton(deletedmarkBtn, "SubFun/btnDeleteWaterMark");

    // Below the list: the display time (26 + 28 + 28), the clip rows (4 + 78) and the rows under them (100). The
    // list gives up height (down to three rows) when the panel is too short for all of it and 120 points of list.
    const double clipHeight = 78, content4Height = 100;
    const double below = 26 + 28 + 28 + 4 + clipHeight + content4Height + 2;
    const double listHeight = std::clamp(H - 42 - below, 72.0, 120.0);
    watermarkFileListView = new MOQView({5, H - 42 - listHeight, W - 10, listHeight}, this);
    watermarkFileListView->setBordColor(kFrameColour);
    watermarkFileListView->setBackGroundColor(Qt::white);
    watermarkFileListView->setCornerRadius(4);
    watermarkFileListView->setBorderWidth(1);
    waterMarkListScrollView = new QScrollArea(watermarkFileListView);
    waterMarkListScrollView->setFrameShape(QFrame::NoFrame);
    waterMarkListScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    waterMarkListScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    waterMarkListScrollView->setWidgetResizable(false);
    waterMarkListScrollView->setBackgroundRole(QPalette::Base); // a plain white list, not the window's colour
    ViewFrame::setFrame(waterMarkListScrollView, {1, 1, W - 12, listHeight - 2});

    // The display time.
    double y = H - 42 - listHeight - 26;
    timeRangeofDisplayLabel = label(this, {5, y, W - 10, 18}, "timeRangeofDisplayLabelstringValue");
    timeRangeofDisplayLabel->setFont(ControlFont::system(13));
    y -= 28;
    start = makeTimeRow(this, y, watermarkStartTimeLabel, "watermarkStartTimeLabelstringValue");
    y -= 28;
    duration = makeTimeRow(this, y, watermarkDurationLabel, "watermarkDurationLabelstringValue");

    // The used part of a video watermark.
    y -= 4 + clipHeight;
    watermarkContent3View = new QWidget(this);
    ViewFrame::setFrame(watermarkContent3View, {0, y, W, clipHeight});
    selectaportionofClipLabel =
        label(watermarkContent3View, {5, 58, W - 10, 18}, "selectaportionofClipLabelstringValue");
    clipStart = makeTimeRow(watermarkContent3View, 30, wmFileStartTimeLabel, "wmFileStartTimeLabelstringValue");
    clipEnd = makeTimeRow(watermarkContent3View, 2, wmFileEndTimeLabel, "wmFileEndTimeLabelstringValue");

    // Transparency, then the size or the font.
    watermarkContent4View = new QWidget(this);
    ViewFrame::setFrame(watermarkContent4View, {0, y - content4Height, W, content4Height});
    wmTransparenceLabel = label(watermarkContent4View, {5, 77, 100, 18}, "wmTransparenceLabelstringValue");
    wmAlphaBackView = framed(watermarkContent4View, {106, 74, 40, 24}, true);
    wmAlphaField = field(watermarkContent4View, {110, 77, 32, 18});
    wmAlphaStepperBtn = TimeStepper::make(watermarkContent4View, {148, 74, kStepperWidth, 24});
    wmAlphaStepperBtn->setRange(0, 100);
    wmAlphaStepperBtn->setWrapping(false);
    wmAlphaProgressView = new LQProgressSlider({172, 78, W - 180, 16}, watermarkContent4View);

    // The size: its caption, the two fields with their steppers, and the keep-aspect check box on a line of its own.
    const double optionsHeight = 70;
    wmsizeBackgroundView = new QWidget(watermarkContent4View);
    ViewFrame::setFrame(wmsizeBackgroundView, {0, 0, W, optionsHeight});
    wmSizeLabel = label(wmsizeBackgroundView, {5, 50, W - 10, 18}, "wmSizeLabelstringValue");
    framed(wmsizeBackgroundView, {5, 24, 56, 24}, true);
    wmWidthField = field(wmsizeBackgroundView, {9, 27, 48, 18});
    wmWidthStepperBtn = TimeStepper::make(wmsizeBackgroundView, {62, 24, kStepperWidth, 24});
    label(wmsizeBackgroundView, {84, 27, 10, 18}, "x", 12);
    framed(wmsizeBackgroundView, {96, 24, 56, 24}, true);
    wmHeightField = field(wmsizeBackgroundView, {100, 27, 48, 18});
    wmHeightStepperBtn = TimeStepper::make(wmsizeBackgroundView, {153, 24, kStepperWidth, 24});
    for (QSpinBox* s : {wmWidthStepperBtn, wmHeightStepperBtn}) {
        s->setWrapping(false);
        s->setRange(0, 10000);
    }
    wmkeepaspectRatioBtn = new MOQButton({5, 0, W - 10, 22}, wmsizeBackgroundView);
    wmkeepaspectRatioBtn->setNormalImage(ResourceBundle::imageWithfileName("Join/CheckBox_NoCheck.bmp"));
    wmkeepaspectRatioBtn->setSelectedImage(ResourceBundle::imageWithfileName("Join/CheckBox_Checked.bmp"));
    wmkeepaspectRatioBtn->setBordered(false);
    wmkeepaspectRatioBtn->setContentImagePosition(1);
    wmkeepaspectRatioBtn->setContentColor(Qt::black);
    wmkeepaspectRatioBtn->setFont(ControlFont::system(12));
    wmkeepaspectRatioBtn->setContentTitle("  " + ResourceBundle::localizedStringForKey("wmkeepaspectRatioBtnTitle"));

    wmfontStyleBackView = new QWidget(watermarkContent4View);
    ViewFrame::setFrame(wmfontStyleBackView, {0, 0, W, optionsHeight});
    wmFontStyleLabel = label(wmfontStyleBackView, {5, 50, W - 10, 18}, "wmFontStyleLabelstringValue");
    waterFontBtn = textButton(wmfontStyleBackView, {5, 14, 88, 30}, "waterFontBtntitle");
    wmColorBtn = textButton(wmfontStyleBackView, {100, 14, 88, 30}, "wmColorBtntitle");

    watermarkDefaultBtn = textButton(this, {(W - 60) / 2, 5, 60, 30}, "watermarkDefaultBtnTitle");
    watermarkDefaultBtn->hide(); // its press does nothing
    showClipRows(false);
}

void WatermarkPanel::showClipRows(bool shown) {
    const ViewRect clip = ViewFrame::frame(watermarkContent3View);
    ViewRect rows = ViewFrame::frame(watermarkContent4View);
    watermarkContent3View->setVisible(shown);
    rows.y = shown ? clip.y - rows.height : clip.y + clip.height - rows.height;
    ViewFrame::setFrame(watermarkContent4View, rows);
}
