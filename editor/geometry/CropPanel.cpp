#include "CropPanel.h"

#include "ControlFont.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QTextEdit>

namespace {

LabelField* label(QWidget* parent, const ViewRect& frame, const QString& text,
                  Qt::Alignment alignment = Qt::AlignLeft) {
    auto* l = new LabelField(parent);
    l->setStringValue(text);
    l->setFont(ControlFont::system(13));
    l->setTextColor(Qt::black);
    l->setAlignment(alignment | Qt::AlignTop);
    ViewFrame::setFrame(l, frame);
    return l;
}

void separator(QWidget* parent, const ViewRect& frame) {
    auto* line = new MOQImageView(frame, parent);
    line->setNormalBackGroundImage(ResourceBundle::imageWithfileName("Resources/blankBkg.bmp"));
}

// A number field on the text-field picture, filling its background.
LQTextField* numberField(QWidget* parent, const ViewRect& background) {
    auto* back = new MOQImageView(background, parent);
    back->setNormalBackGroundImage(ResourceBundle::imageWithfileName("Resources/trim_textfield.png"));
    auto* field = new LQTextField({0, 0, background.width, 20}, back);
    field->setIntegerValue(0);
    field->setAlignment(Qt::AlignCenter);
    field->setFrame(false);
    field->setFont(ControlFont::system(13));
    field->setStyleSheet("background: transparent; color: black;");
    field->setEnabled(false);
    return field;
}

} // namespace

CropPanel::CropPanel(const ViewRect& frame, QWidget* parent) : MOQImageView(frame, parent) {
    const double W = frame.width, H = frame.height;

    descriptionView = new QTextEdit(this);
    descriptionView->setPlainText(ResourceBundle::localizedStringForKey("descripationLabelstringValue"));
    descriptionView->setReadOnly(true);
    descriptionView->setFrameShape(QFrame::NoFrame);
    descriptionView->setFont(ControlFont::system(13));
    descriptionView->setStyleSheet("background: transparent; color: black;");
    descriptionView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ViewFrame::setFrame(descriptionView, {5, H - 60, W - 10, 55});
    separator(this, {5, H - 61, W - 10, 1});

    label(this, {5, H - 85, 100, 20}, ResourceBundle::localizedStringForKey("original_ratioLabel_string"));
    _original_SizeLabel = label(this, {0, H - 105, W, 20}, QString::asprintf("%.f x %.f", 0.0, 0.0), Qt::AlignHCenter);

    label(this, {5, H - 128, W - 10, 20}, ResourceBundle::localizedStringForKey("crop_Area_SizeLabel_string"));
    const double fieldWidth = (W - 90) / 2;
    _cropWidthField = numberField(this, {30, H - 157, fieldWidth, 20});
    const ViewRect heightBack{W / 2 + 15, H - 157, fieldWidth, 20};
    label(this, {heightBack.x - 30, heightBack.y, 30, 20}, "x", Qt::AlignHCenter);
    _cropHeightField = numberField(this, heightBack);

    _keepAspectBtn = new MOQButton({5, H - 185, 180, 23}, this);
    _keepAspectBtn->setContentTitle("  " + ResourceBundle::localizedStringForKey("KeepAspectRatiostring"));
    _keepAspectBtn->setContentImagePosition(1);
    _keepAspectBtn->setNormalImage(ResourceBundle::imageWithfileName("Resources/checkNoFiles.png"));
    _keepAspectBtn->setSelectedImage(ResourceBundle::imageWithfileName("Resources/checkFiles.png"));
    _keepAspectBtn->setFont(ControlFont::system(13));
    _keepAspectBtn->setContentColor(Qt::black);
    _keepAspectBtn->setBordered(false);
    _keepAspectBtn->setSelected(false);
    _keepAspectBtn->setEnabled(false);

    separator(this, {5, H - 206, W - 10, 1});
    label(this, {5, H - 236, 180, 20}, ResourceBundle::localizedStringForKey("positionLabelstringValue"));
    label(this, {20, H - 261, 50, 20}, ResourceBundle::localizedStringForKey("topLabelstringValue"));
    label(this, {20, H - 286, 50, 20}, ResourceBundle::localizedStringForKey("leftMarginLabelstringValue"));
    _cropTopField = numberField(this, {70, H - 261, 80, 20});
    _cropLeftField = numberField(this, {70, H - 286, 80, 20});

    _edit_cropCancelBtn = new MOQButton({(W - 60) / 2, 5, 60, 30}, this);
    _edit_cropCancelBtn->setContentTitle(ResourceBundle::localizedStringForKey("ResetBtnTitle"));
    _edit_cropCancelBtn->setFont(ControlFont::system(13));
    _edit_cropCancelBtn->setContentColor(Qt::black);
    _edit_cropCancelBtn->setBordered(true);
    _edit_cropCancelBtn->setCornerRadius(5);
    _edit_cropCancelBtn->setBordColor(QColor(33, 176, 235));
    _edit_cropCancelBtn->setNormalBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Normal.bmp"));
    _edit_cropCancelBtn->setOnBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_On.bmp"));
    _edit_cropCancelBtn->setDownBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Down.bmp"));
    _edit_cropCancelBtn->setDisAbleBackgroundImage(ResourceBundle::imageWithfileName("About/btnOK_Disable.bmp"));
    _edit_cropCancelBtn->setEnabled(false);

    hide();
}
