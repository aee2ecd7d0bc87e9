#include "SubtitlePanel.h"

#include "ControlFont.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace {

LabelField* text(QWidget* parent, const ViewRect& frame, const QString& value, const QColor& colour,
                 Qt::Alignment alignment) {
    auto* l = new LabelField(parent);
    l->setStringValue(value);
    l->setFont(ControlFont::system(13));
    l->setTextColor(colour);
    l->setAlignment(alignment | Qt::AlignTop);
    ViewFrame::setFrame(l, frame);
    return l;
}

QComboBox* popUp(QWidget* parent, const ViewRect& frame) {
    auto* p = new QComboBox(parent);
    p->setFont(ControlFont::system(13));
    ViewFrame::setFrame(p, frame);
    return p;
}

} // namespace

SubtitlePanel::SubtitlePanel(const ViewRect& frame, QWidget* parent) : MOQImageView(frame, parent) {
    const double W = frame.width, H = frame.height;
    subtitleLabel = text(this, {10, H - 40, 80, 20}, ResourceBundle::localizedStringForKey("SubtitleLabelTitle"),
                         Qt::black, Qt::AlignLeft);
    fontLabel = text(this, {10, H - 90, 80, 20}, ResourceBundle::localizedStringForKey("FontLabelTitle"), Qt::black,
                     Qt::AlignLeft);
    subtitle_popUpBtn = popUp(this, {70, H - 46, 150, 31});
    subtitleFont_popUpBtn = popUp(this, {70, H - 96, 130, 31});

    colorHost = new QWidget(this);
    ViewFrame::setFrame(colorHost, {W - 30, H - 96 + 6, 20, 20});
    _colorWell = new QPushButton(colorHost);
    _colorWell->setFocusPolicy(Qt::NoFocus);
    ViewFrame::setFrame(_colorWell, {-5, -5, 30, 30});
    showColour(Qt::white);

    positionBox = new MOQImageView(ViewRect{30, 180, W - 60, 60}, this);
    positionBox->setNormalBackGroundImage(ResourceBundle::imageWithfileName("Resources/WSBoxA1.png"));
    const double boxWidth = W - 60, boxHeight = 60;
    captionAlphorBtn = new MOQButton(ViewRect{(boxWidth - 110) / 2, boxHeight - 42, 110, 42}, positionBox);
    captionAlphorBtn->setContentTitle(ResourceBundle::localizedStringForKey("PositionBtnTitle"));
    captionAlphorBtn->setContentColor(Qt::black);
    captionAlphorBtn->setFont(ControlFont::system(13));
    captionAlphorBtn->setBordered(false);
    captionAlphorBtn->setSelected(false);
    const QColor grey(136, 136, 136);
    captionAlphBigLabe = text(positionBox, {20, 5, 20, 21}, "+", grey, Qt::AlignRight);
    captionAlphLowLabe = text(positionBox, {boxWidth - 40, 5, 20, 21}, "-", grey, Qt::AlignLeft);
    subtitleAlphSlider = new QSlider(Qt::Horizontal, positionBox);
    subtitleAlphSlider->setRange(0, kPositionSteps);
    subtitleAlphSlider->setValue(kPositionSteps / 2);
    subtitleAlphSlider->setEnabled(false);
    ViewFrame::setFrame(subtitleAlphSlider, {40, 5, boxWidth - 80, 21});
}

void SubtitlePanel::showColour(const QColor& colour) {
    _colorWell->setStyleSheet(QString("QPushButton { background: %1; border: 5px solid #d6d4d4; }"
                                      "QPushButton:disabled { border-color: #ececec; }")
                                  .arg(colour.name()));
}

double SubtitlePanel::sliderValue() const {
    return subtitleAlphSlider->value() / double(kPositionSteps);
}

void SubtitlePanel::setSliderValue(double value) {
    const QSignalBlocker blocker(subtitleAlphSlider);
    subtitleAlphSlider->setValue(static_cast<int>(std::lround(value * kPositionSteps)));
}
