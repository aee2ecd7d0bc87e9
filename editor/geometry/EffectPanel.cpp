#include "EffectPanel.h"

#include "ControlFont.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MOQView.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QScrollArea>
#include <QSlider>

namespace {

LabelField* text(QWidget* parent, const ViewRect& frame, const QString& value, Qt::Alignment alignment) {
    auto* l = new LabelField(parent);
    l->setStringValue(value);
    l->setFont(ControlFont::system(13));
    l->setTextColor(Qt::black);
    l->setAlignment(alignment | Qt::AlignTop);
    ViewFrame::setFrame(l, frame);
    return l;
}

QSlider* slider(QWidget* parent, const ViewRect& frame, int minimum, int maximum, int value) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setRange(minimum, maximum);
    s->setValue(value);
    ViewFrame::setFrame(s, frame);
    return s;
}

} // namespace

EffectPanel::EffectPanel(const ViewRect& frame, QWidget* parent) : MOQImageView(frame, parent) {
    const double W = frame.width, H = frame.height;
    const auto right = Qt::AlignRight, left = Qt::AlignLeft;
    volumeLabel = text(this, {0, H - 39, 80, 20}, ResourceBundle::localizedStringForKey("VolumeLabelTitle"), right);
    brightnessLabel =
        text(this, {0, H - 79, 80, 20}, ResourceBundle::localizedStringForKey("BrightnessLabelTitle"), right);
    contrastLabel =
        text(this, {0, H - 119, 80, 20}, ResourceBundle::localizedStringForKey("ContrastLabelTitle"), right);
    saturationLabel =
        text(this, {0, H - 159, 80, 20}, ResourceBundle::localizedStringForKey("SaturationLabelTitle"), right);

    _volueSlider = slider(this, {80, H - 40, W - 120, 21}, 0, 2 * kVolumeSteps, kVolumeSteps);
    _brightnessSlider = slider(this, {80, H - 80, W - 120, 21}, -255, 255, 0);
    _contrastSlider = slider(this, {80, H - 120, W - 120, 21}, -100, 100, 0);
    _saturationSlider = slider(this, {80, H - 160, W - 120, 21}, -100, 100, 0);

    _volueValueLabel = text(this, {W - 40, H - 40, 40, 20}, "100", left);
    _brightnessValueLabel = text(this, {W - 40, H - 80, 40, 20}, "0", left);
    _contrastValueLabel = text(this, {W - 40, H - 120, 40, 20}, "0", left);
    _saturationValueLabe = text(this, {W - 40, H - 160, 40, 20}, "0", left);

    // The list's title sits between the last slider and the list's box.
    effectLabel =
        text(this, {20, H - 180, W - 100, 18}, ResourceBundle::localizedStringForKey("EffectsLabelTitle"), left);

    const double boxWidth = W - 60, boxHeight = H - 250;
    listBox = new MOQView(ViewRect{30, 66, boxWidth, boxHeight}, this);
    listBox->setBordColor(QColor(214, 212, 212));
    listBox->setBorderWidth(1);
    listBox->setCornerRadius(2);
    _filterScrollView = new QScrollArea(listBox);
    _filterScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _filterScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    _filterScrollView->setFrameShape(QFrame::NoFrame);
    _filterScrollView->setBackgroundRole(QPalette::Base);
    ViewFrame::setFrame(_filterScrollView, {1, 1, boxWidth - 2, boxHeight - 2});
    _filterScrollDocumentView = new MOQImageView(ViewRect{0, 0, boxWidth - 2, 0}, nullptr);
    _filterScrollDocumentView->setBackGroundColor(Qt::white);
    // A panel view keeps the mouse to itself; the list's page lets the wheel go on to the list, which scrolls.
    _filterScrollDocumentView->setAttribute(Qt::WA_NoMousePropagation, false);
    _filterScrollView->setWidget(_filterScrollDocumentView);

    _effectReset = new MOQButton(ViewRect{(W - 60) / 2, 5, 60, 30}, this);
    _effectReset->setContentTitle(ResourceBundle::localizedStringForKey("ResetBtnTitle"));
    _effectReset->setNormalBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Normal.bmp"));
    _effectReset->setOnBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_On.bmp"));
    _effectReset->setDownBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Down.bmp"));
    _effectReset->setDisAbleBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Disable.bmp"));
    _effectReset->setContentColor(Qt::black);
    _effectReset->setFont(ControlFont::system(13));
    _effectReset->setCornerRadius(5);
    _effectReset->setBordered(false);
    _effectReset->setBordColor(QColor(33, 176, 235));
    _effectReset->setEnabled(false);
}

void EffectPanel::setRowCount(int rows) {
    const double width = ViewFrame::frame(_filterScrollView).width;
    _filterScrollDocumentView->resize(static_cast<int>(width), static_cast<int>(rows * kRowHeight));
}
