#include "AboutUsWindowController.h"

#include "ControlFont.h"
#include "LinkOpener.h"
#include "Modal.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"
#include "WindowKeys.h"
#include "WindowStyle.h"
#include "Workspace.h"

#include <QLabel>
#include <QPixmap>
#include <QUrl>
#include <QWidget>

namespace {

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
}

const QColor kThemeColor(33, 176, 235);
const QColor kPanelColor(245, 245, 245);
const QColor kLinkColor(0, 0, 255);

void styleLink(MOQButton* link, const char* titleKey) {
    link->setUnderLine(true);
    link->setContentTitle(localized(titleKey));
    link->setContentColor(kLinkColor);
    link->setBordered(false);
    link->setFont(ControlFont::system(14));
}

} // namespace

AboutUsWindowController::AboutUsWindowController(QObject* parent) : WindowController(parent) {}

AboutUsWindowController::~AboutUsWindowController() = default;

QString AboutUsWindowController::mailAddressUrl(const QString& address) {
    QString url = QStringLiteral("mailto:%1?Subject=%2&body=%3").arg(address, QStringLiteral(" "), QStringLiteral(" "));
    return url.replace(QLatin1Char(' '), QStringLiteral("%20"));
}

void AboutUsWindowController::runModal() {
    Modal::runModalForWindow(window());
}

// What the interface file holds: the views and their frames inside the 480 x 270 window, y up.
void AboutUsWindowController::loadViews() {
    QWidget* w = window();
    w->setFixedSize(int(kWidth), int(kHeight));
    _topLine = new MOQView(ViewRect{24, 230, kWidth - 48, 2}, w);
    _contentBackView = new MOQView(ViewRect{16, 60, kWidth - 32, 162}, w);
    _bottomLine = new MOQView(ViewRect{24, 52, kWidth - 48, 2}, w);

    auto* icon = new QLabel(w);
    ViewFrame::setFrame(icon, ViewRect{40, 148, 56, 56});
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap::fromImage(ResourceBundle::imageWithfileName(QStringLiteral("im/app_Icon.png"))));

    _aboutTitleLabel = new LabelField(w);
    ViewFrame::setFrame(_aboutTitleLabel, ViewRect{112, 172, 340, 32});
    _aboutTitleLabel->setFont(ControlFont::system(24));
    _aboutTitleLabel->setTextColor(kThemeColor);
    _aboutVersionLabel = new LabelField(w);
    ViewFrame::setFrame(_aboutVersionLabel, ViewRect{112, 150, 340, 20});
    _aboutVersionLabel->setFont(ControlFont::system(14));
    _aboutVersionLabel->setTextColor(QColor(90, 90, 90));

    _middleLeftContentLabel = new MOQButton(ViewRect{40, 108, 190, 24}, w);
    _middleRightContentLabel = new MOQButton(ViewRect{250, 108, 190, 24}, w);

    _bottomContentLabel = new LabelField(w);
    ViewFrame::setFrame(_bottomContentLabel, ViewRect{32, 72, kWidth - 64, 22});
    _bottomContentLabel->setFont(ControlFont::system(13));
    _bottomContentLabel->setTextColor(QColor(110, 110, 110));
    _bottomContentLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    _okBtn = new MOQButton(ViewRect{(kWidth - 88) / 2, 12, 88, 30}, w);
    _okBtn->setFont(ControlFont::system(14));
}

void AboutUsWindowController::windowDidLoad() {
    loadViews();
    QWidget* w = window();
    WindowStyle::apply(w);
    w->setWindowTitle(localized("Ixy-de-Rz5.title"));

    _contentBackView->setBackGroundColor(kPanelColor);
    _contentBackView->setBordColor(kPanelColor);
    _contentBackView->setCornerRadius(4);
    _contentBackView->setBorderWidth(0);
    for (MOQView* line : {_topLine.data(), _bottomLine.data()}) {
        line->setBackGroundColor(kThemeColor);
        line->setBordColor(kThemeColor);
        line->setCornerRadius(1);
        line->setBorderWidth(0);
    }

    _aboutTitleLabel->setText(localized("Title"));
    _aboutVersionLabel->setText(localized("aboutVersionLabelstring"));
    _bottomContentLabel->setText(localized("bottomContentLabelstring"));

    styleLink(_middleLeftContentLabel, "middleLeftContentLabelstring");
    _middleLeftContentLabel->setMouseDownAction(
        [w](MOQButton*) { LinkOpener::open(QUrl(localized("homepageUrl")), w); });
    styleLink(_middleRightContentLabel, "middleRightContentLabelstring");
    _middleRightContentLabel->setMouseDownAction(
        [w](MOQButton*) { LinkOpener::open(QUrl(mailAddressUrl(localized("email_address"))), w); });

    _okBtn->setNormalBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Normal.bmp")));
    _okBtn->setOnBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_On.bmp")));
    _okBtn->setDownBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Down.bmp")));
    _okBtn->setDisAbleBackgroundImage(ResourceBundle::imageWithfileName(QStringLiteral("About/btnOK_Disable.bmp")));
    _okBtn->setContentTitle(localized("OKBtnTitle"));
    _okBtn->setContentColor(Qt::black);
    _okBtn->setBordered(false);
    // Closing ends the modal run (windowShouldClose).
    _okBtn->setMouseDownAction([this](MOQButton*) { close(); });
    WindowKeys::answerWith(w, [this] { close(); }, [this] { close(); });
}

bool AboutUsWindowController::windowShouldClose() {
    Modal::stopModal();
    return true;
}
