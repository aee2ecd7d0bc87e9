#include "AdjustPanel.h"

#include "ControlFont.h"
#include "MOQButton.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QTextEdit>

namespace {

MOQButton* imageButton(QWidget* parent, const ViewRect& frame, const QString& imageName) {
    auto* b = new MOQButton(frame, parent);
    const QImage image = ResourceBundle::imageWithfileName(imageName);
    b->setNormalImage(image);
    b->setOnImage(image);
    b->setDownImage(image);
    b->setDisAbleImage(image);
    b->setContentTitle(QString());
    b->setBordered(false);
    b->setBackGroundColor(QColor(90, 216, 238));
    b->setDisAblebackGroundColor(QColor(167, 166, 166));
    b->setEnabled(false);
    b->setSelected(false);
    return b;
}

} // namespace

AdjustPanel::AdjustPanel(const ViewRect& frame, QWidget* parent) : MOQImageView(frame, parent) {
    const double W = frame.width, H = frame.height;

    _adjusttopView = new MOQImageView({0, H - 80, W, 80}, this);
    const double s = (W - 192) / 5; // four 48-point buttons at equal gaps
    _left_ratioBtn = imageButton(_adjusttopView, {s, 0, 48, 42}, QString::fromUtf8("SubFun/旋转-左.png"));
    _right_ratioBtn = imageButton(_adjusttopView, {2 * s + 48, 0, 48, 42}, QString::fromUtf8("SubFun/旋转-右.png"));
    _horizontal_mirrorBtn =
        imageButton(_adjusttopView, {3 * s + 96, 0, 48, 42}, QString::fromUtf8("SubFun/左右翻转.png"));
    _vertical_mirrorBtn =
        imageButton(_adjusttopView, {4 * s + 144, 0, 48, 42}, QString::fromUtf8("SubFun/上下翻转.png"));
    _left_ratioBtn->setToolTip(ResourceBundle::localizedStringForKey("rotateLeftToolTip"));
    _right_ratioBtn->setToolTip(ResourceBundle::localizedStringForKey("rotateRightToolTip"));
    _horizontal_mirrorBtn->setToolTip(ResourceBundle::localizedStringForKey("mirrorLeftRightToolTip"));
    _vertical_mirrorBtn->setToolTip(ResourceBundle::localizedStringForKey("mirrorTopBottomToolTip"));

    _rotateBackImageV = new MOQImageView({40, H - 205, W - 80, 90}, this);
    _rotateBackImageV->setBackGroundColor(QColor(185, 185, 185));
    descriptionView = new QTextEdit(_rotateBackImageV);
    // The rotate panel's own instructions: the crop's would point at a frame this mode does not show.
    descriptionView->setPlainText(ResourceBundle::localizedStringForKey("rotateDescriptionString"));
    descriptionView->setReadOnly(true);
    descriptionView->setFrameShape(QFrame::NoFrame);
    descriptionView->setFont(ControlFont::system(13));
    descriptionView->setStyleSheet("background: transparent; color: black;");
    descriptionView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ViewFrame::setFrame(descriptionView, {0, 0, W - 80, 90});

    _resetRotateBtn = new MOQButton({(W - 60) / 2, 15, 60, 30}, this);
    _resetRotateBtn->setContentTitle(ResourceBundle::localizedStringForKey("ResetBtnTitle"));
    _resetRotateBtn->setContentColor(Qt::black);
    _resetRotateBtn->setFont(ControlFont::system(13));
    _resetRotateBtn->setCornerRadius(5);
    _resetRotateBtn->setBordered(false);
    _resetRotateBtn->setBordColor(QColor(33, 176, 235));
    _resetRotateBtn->setBackGroundColor(QColor(33, 176, 235));
    _resetRotateBtn->setDisAblebackGroundColor(QColor(221, 221, 221));
    _resetRotateBtn->setEnabled(false);

    hide();
}
