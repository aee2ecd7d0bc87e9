#include "MOQOpenAlert.h"
#include "WindowKeys.h"

#include "ControlFont.h"
#include "MOQButton.h"
#include "Modal.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

} // namespace

MOQOpenAlert::MOQOpenAlert(QObject* parent) : WindowController(parent) {}

MOQOpenAlert::~MOQOpenAlert() = default;

void MOQOpenAlert::windowDidLoad() {
    QWidget* w = window();
    w->setWindowTitle(localized(_windowTitle.isEmpty() ? QStringLiteral("Title") : _windowTitle));
    w->setFixedSize(int(kWidth), int(kHeight));

    _appIconView = new QLabel(w);
    ViewFrame::setFrame(_appIconView, ViewRect{18, 34, 64, 64});
    _appIconView->setScaledContents(true);
    const QImage icon = ResourceBundle::imageWithfileName(QStringLiteral("im/app_Icon.png"));
    if (!icon.isNull())
        _appIconView->setPixmap(QPixmap::fromImage(icon));

    _titleLabel = new QLabel(w);
    ViewFrame::setFrame(_titleLabel, ViewRect{96, 62, 228, 40});
    _titleLabel->setWordWrap(true);
    _titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont messageFont = ControlFont::system(14);
    messageFont.setBold(true);
    _titleLabel->setFont(messageFont);
    _titleLabel->setStyleSheet(QStringLiteral("color: white;"));
    _titleLabel->setText(localized(_infomation.isEmpty() ? QStringLiteral("InformationLabelTitle") : _infomation));

    _openBtn = new QCheckBox(w);
    ViewFrame::setFrame(_openBtn, ViewRect{96, 36, 228, 22});
    _openBtn->setFont(ControlFont::system(13));
    _openBtn->setStyleSheet(QStringLiteral("QCheckBox { color: white; }"));
    _openBtn->setText(localized(QStringLiteral("OpenfileTitle")));

    _okBtn = new MOQButton(ViewRect{kWidth - 16 - 88, 8, 88, 30}, w);
    _okBtn->setNormalBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Normal.bmp")));
    _okBtn->setOnBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_On.bmp")));
    _okBtn->setDownBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Down.bmp")));
    _okBtn->setDisAbleBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Disable.bmp")));
    _okBtn->setBordered(false);
    _okBtn->setFont(ControlFont::system(14));
    _okBtn->setContentColor(Qt::black);
    _okBtn->setContentTitle(localized(QStringLiteral("alertOKBtn")));
    _okBtn->setMouseDownAction([this](MOQButton*) { okAction(); });
    WindowKeys::answerWith(w, [this] { okAction(); }, [this] { okAction(); });
}

void MOQOpenAlert::okAction() {
    if (_SelectedOkBlock) {
        const OkBlock block = _SelectedOkBlock;
        block(_openBtn && _openBtn->isChecked());
    }
    close();
    Modal::stopModal();
}
