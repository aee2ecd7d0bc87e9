#include "ViewController.h"

#include "AboutUsWindowController.h"
#include "BatchCutterWindowController.h"
#include "ControlFont.h"
#include "Dispatch.h"
#include "EasyCutterWindowcontroller.h"
#include "EditVideoWindowController.h"
#include "JoinnerWindowController.h"
#include "LinkOpener.h"
#include "Notification.h"
#include "NotificationCenter.h"
#include "ResourceBundle.h"
#include "SplitWindowController.h"
#include "ToolItemType.h"
#include "ViewFrame.h"
#include "WindowKeys.h"
#include "WindowStyle.h"
#include "Workspace.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QPixmap>
#include <QUrl>
#include <QWidget>

Q_LOGGING_CATEGORY(lcLauncher, "clipwright.launcher", QtInfoMsg)

namespace {

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
}

QImage image(const QString& name) {
    return ResourceBundle::imageWithfileName(name);
}

const QColor kThemeColor(33, 176, 235);
const QColor kPanelColor(245, 245, 245);

// The launcher's layout, in points with y up. The view: a blue header with the application's name and the
// language button, and a light panel with the description line, the tool buttons in rows of four and the about
// and homepage buttons.
constexpr double kViewWidth = 760;
constexpr double kViewHeight = 620;
constexpr double kPanelHeight = 540;
constexpr double kToolWidth = 150;
constexpr double kToolHeight = 120;
constexpr double kToolGapX = 18;
constexpr double kToolGapY = 16;
constexpr double kFirstRowY = 346;
constexpr int kToolsPerRow = 4;

struct ToolButton {
    const char* imageName; // "Main/btn<name>_<look>.bmp"
    const char* hoverKey;
    const char* captionKey;
    void (ViewController::*action)(MOQButton*);
};

// The eleven tools in the launcher's order.
const ToolButton kTools[] = {
    {"Crop", "Crop_PlaceholderString", "tool_cropItemTitle", &ViewController::cropAction},
    {"Effect", "Effect_PlaceholderString", "tool_effectItemTitle", &ViewController::effectAction},
    {"Subtitle", "Subtitle_PlaceholderString", "tool_subtitleItemTitle", &ViewController::subtitleAction},
    {"Watermark", "Watermark_PlaceholderString", "tool_watermarkItemTitle", &ViewController::watermarkAction},
    {"Join", "Joinner_PlaceholderString", "tool_joinnerItemTitle", &ViewController::joinnerAction},
    {"EasyCut", "EasyCut_PlaceholderString", "EasycutterstringValue", &ViewController::easy_cutterAction},
    {"BatchCut", "BatchCut_PlaceholderString", "BatchcutterstringValue", &ViewController::batch_cutterAction},
    {"AdvancedCut", "AdvancedCut_PlaceholderString", "AdvancedCutterstringValue",
     &ViewController::advanced_cutterAction},
    {"Rotation", "Rotate_PlaceholderString", "tool_rotateItemTitle", &ViewController::rotateAction},
    {"Music", "AddMusic_PlaceholderString", "tool_musicBtnTitle", &ViewController::addOrremovemusicAction},
    {"Split", "Split_PlaceholderString", "SplitBtnstringValue", &ViewController::splitAction},
};

// The frame of the tool button at position `index`; a shorter last row is centred.
ViewRect toolFrame(int index, int count) {
    const int row = index / kToolsPerRow;
    const int column = index % kToolsPerRow;
    const int inRow = std::min(kToolsPerRow, count - row * kToolsPerRow);
    const double rowWidth = inRow * kToolWidth + (inRow - 1) * kToolGapX;
    const double x = (kViewWidth - rowWidth) / 2 + column * (kToolWidth + kToolGapX);
    const double y = kFirstRowY - row * (kToolHeight + kToolGapY);
    return ViewRect{x, y, kToolWidth, kToolHeight};
}

} // namespace

ViewController::ViewController(QWidget* mainWindow, QObject* parent) : QObject(parent), _mainWindow(mainWindow) {}

ViewController::~ViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

QWidget* ViewController::view() {
    if (_view.isNull()) {
        loadView();
        viewDidLoad();
    }
    return _view.data();
}

QList<MOQButton*> ViewController::toolButtons() const {
    return {_cropButton,    _effectButton,           _subtitleButton,    _watermarkButton,
            _joinnerButton, _easyCutterButton,       _batchCutterButton, _advancedCutterButton,
            _rotateButton,  _addorremovemusicButton, _splitButton};
}

QList<MOQButton*> ViewController::allButtons() const {
    return toolButtons() + QList<MOQButton*>{_lanuageButton, _aboutButton, _homepageButton};
}

QString ViewController::normalDescription() {
    return localized("Title") + localized("viewController_normalDescLabelString");
}

// What the main interface file holds: the views and their frames.
void ViewController::loadView() {
    _view = new QWidget(_mainWindow);
    _view->setFixedSize(int(kViewWidth), int(kViewHeight));

    auto* icon = new QLabel(_view);
    ViewFrame::setFrame(icon, ViewRect{24, kPanelHeight + 12, 56, 56});
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap::fromImage(image(QStringLiteral("im/app_Icon.png"))));
    auto* name = new LabelField(_view);
    ViewFrame::setFrame(name, ViewRect{92, kPanelHeight + 20, 400, 40});
    name->setFont(ControlFont::system(28));
    name->setTextColor(Qt::white);
    name->setText(localized("Title"));

    _backImageView = new MOQImageView(ViewRect{0, 0, kViewWidth, kPanelHeight}, _view);
    _descLabel1 = new LabelField(_view);
    ViewFrame::setFrame(_descLabel1, ViewRect{40, kFirstRowY + kToolHeight + 28, kViewWidth - 80, 24});
    _descLabel1->setFont(ControlFont::system(15));

    QPointer<MOQButton>* outlets[] = {
        &_cropButton,    &_effectButton,           &_subtitleButton,    &_watermarkButton,
        &_joinnerButton, &_easyCutterButton,       &_batchCutterButton, &_advancedCutterButton,
        &_rotateButton,  &_addorremovemusicButton, &_splitButton};
    const int count = int(std::size(outlets));
    for (int i = 0; i < count; ++i)
        *outlets[i] = new MOQButton(toolFrame(i, count), _view);
    for (MOQButton* button : toolButtons())
        button->setBordered(false);

    _aboutButton = new MOQButton(ViewRect{kViewWidth - 250, 18, 110, 28}, _view);
    _homepageButton = new MOQButton(ViewRect{kViewWidth - 134, 18, 120, 28}, _view);
    _lanuageButton = new MOQButton(ViewRect{kViewWidth - 134, kPanelHeight + 26, 110, 28}, _view);
    for (MOQButton* button : {_aboutButton.data(), _homepageButton.data(), _lanuageButton.data()}) {
        button->setBordered(false);
        button->setFont(ControlFont::system(14));
    }
}

void ViewController::viewDidLoad() {
    if (_mainWindow) {
        WindowStyle::apply(_mainWindow);
        _mainWindow->setWindowTitle(localized("Ixy-de-Rz5.title"));
    }
    NotificationCenter::defaultCenter().addObserver(this, kWillCloseNotification,
                                                    [this](const Notification& n) { childEnable(n); });

    _backImageView->setBackGroundColor(kPanelColor);
    _backImageView->setBordColor(kPanelColor);
    _backImageView->setCornerRadius(1.0f);
    _backImageView->setBorderWidth(0);

    const QList<MOQButton*> tools = toolButtons();
    for (int i = 0; i < tools.size(); ++i) {
        MOQButton* button = tools[i];
        const ToolButton& tool = kTools[i];
        const QString base = QStringLiteral("Main/btn%1").arg(QLatin1String(tool.imageName));
        button->setNormalImage(image(base + QStringLiteral("_Normal.bmp")));
        button->setOnImage(image(base + QStringLiteral("_On.bmp")));
        button->setDownImage(image(base + QStringLiteral("_Down.bmp")));
        button->setDisAbleImage(image(base + QStringLiteral("_Disable.bmp")));
        const QString hover = localized(tool.hoverKey);
        button->setMouseEntered([this, hover](MOQButton*) {
            Dispatch::main([this, hover] {
                if (_descLabel1)
                    _descLabel1->setText(hover);
            });
        });
        button->setMouseExited([this](MOQButton*) {
            Dispatch::main([this] {
                if (_descLabel1)
                    _descLabel1->setText(normalDescription());
            });
        });
        const auto action = tool.action;
        button->setMouseDownAction([this, action](MOQButton* pressed) {
            QPointer<MOQButton> sender(pressed);
            Dispatch::main([this, action, sender] { (this->*action)(sender); });
        });
    }

    _aboutButton->setNormalImage(image(QStringLiteral("Main/btnAbout_Normal.png")));
    _homepageButton->setNormalImage(image(QStringLiteral("Main/btnHomepage_Normal.png")));
    _aboutButton->setContentColor(kThemeColor);
    _homepageButton->setContentColor(kThemeColor);
    _lanuageButton->setContentColor(Qt::white);
    _aboutButton->setContentTitle(localized("aboutBtnTitle"));
    _homepageButton->setContentTitle(localized("HomepageBtnTitle"));
    _lanuageButton->setContentTitle(localized("LanguageBtnTitle"));
    _lanuageButton->setContentImagePosition(2);

    _lanuageButton->setMouseDownAction([this](MOQButton*) {
        qCInfo(lcLauncher) << "select lanuage";
        Dispatch::main([this] { lanuageAction(); });
    });
    _aboutButton->setMouseDownAction([this](MOQButton*) { Dispatch::main([this] { aboutAction(); }); });
    _homepageButton->setMouseDownAction([this](MOQButton*) {
        qCInfo(lcLauncher) << "select homepage";
        Dispatch::main([this] { homepageAction(); });
    });

    _descLabel1->setTextColor(kThemeColor);
    _descLabel1->setEnabled(false);
    _descLabel1->setText(normalDescription());

    initButtonTitle();
}

void ViewController::initButtonTitle() {
    const QList<MOQButton*> tools = toolButtons();
    for (int i = 0; i < tools.size(); ++i) {
        MOQButton* button = tools[i];
        const ViewRect frame = ViewFrame::frame(button);
        auto* caption = new LabelField(button);
        ViewFrame::setFrame(caption, ViewRect{10, frame.height - 25, frame.width - 20, 20});
        caption->setFont(ControlFont::system(13));
        caption->setTextColor(Qt::white);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        caption->setText(localized(kTools[i].captionKey));
    }
}

void ViewController::enable(bool enabled) {
    for (MOQButton* button : allButtons()) {
        if (button)
            button->setEnabled(enabled);
    }
}

void ViewController::childEnable(const Notification&) {
    _openTool = 0;
    enable(true);
    // The pointer left the tool's button for the tool's window, so the button's hover text never went away.
    if (_descLabel1)
        _descLabel1->setText(normalDescription());
}

void ViewController::cropAction(MOQButton*) {
    openEditor(ToolItemTypeCrop, QStringLiteral("Crop_Title"));
}

void ViewController::effectAction(MOQButton*) {
    openEditor(ToolItemTypeEffect, QStringLiteral("Effect_Title"));
}

void ViewController::subtitleAction(MOQButton*) {
    openEditor(ToolItemTypeSubtitle, QStringLiteral("Subtitle_Title"));
}

void ViewController::watermarkAction(MOQButton*) {
    openEditor(ToolItemTypeWatermark, QStringLiteral("Watermark_Title"));
}

void ViewController::advanced_cutterAction(MOQButton*) {
    openEditor(ToolItemTypeTrim, QStringLiteral("AdvancedCut_Title"));
}

void ViewController::rotateAction(MOQButton*) {
    openEditor(ToolItemTypeRotate, QStringLiteral("Rotate_Title"));
}

void ViewController::addOrremovemusicAction(MOQButton*) {
    openEditor(ToolItemTypeMusic, QStringLiteral("AddMusic_Title"));
}

void ViewController::joinnerAction(MOQButton*) {
    openFeatureWindow(new JoinnerWindowController, QStringLiteral("Joinner_Title"));
}

void ViewController::easy_cutterAction(MOQButton*) {
    openFeatureWindow(new EasyCutterWindowcontroller, QStringLiteral("EasyCut_Title"));
}

void ViewController::batch_cutterAction(MOQButton*) {
    openFeatureWindow(new BatchCutterWindowController, QStringLiteral("BatchCut_Title"));
}

void ViewController::splitAction(MOQButton*) {
    openFeatureWindow(new SplitWindowController, QStringLiteral("Split_Title"));
}

void ViewController::openEditor(qint64 toolItemType, const QString& titleKey) {
    auto* editor = new EditVideoWindowController;
    // Before anything asks for the window: its set-up opens the editor on this tool.
    editor->setToolItemType(toolItemType);
    openFeatureWindow(editor, titleKey);
}

void ViewController::openFeatureWindow(FeatureWindowController* controller, const QString& titleKey) {
    controller->setReleasedWhenDone(true);
    QWidget* window = controller->window();
    if (window == nullptr) {
        qCWarning(lcLauncher) << "a tool window could not be opened";
        delete controller;
        enable(true);
        return;
    }
    ViewFrame::centerWindow(window);
    window->setWindowTitle(ResourceBundle::localizedStringForKey(titleKey));
    controller->showWindow();
    enable(false);
    // A controller that goes away without having posted its notification must not leave the launcher disabled;
    // one released later, after a newer tool window opened, changes nothing.
    const int serial = ++_toolSerial;
    _openTool = serial;
    connect(controller, &QObject::destroyed, this, [this, serial] {
        if (_openTool == serial)
            childEnable(Notification{kWillCloseNotification, nullptr});
    });
}

void ViewController::aboutAction() {
    AboutUsWindowController about;
    QWidget* dialog = about.window();
    // A dialog of the launcher: it stays over it and goes with it.
    if (_mainWindow) {
        dialog->setParent(_mainWindow, Qt::Dialog);
        WindowKeys::fitTitleButtons(dialog);
    }
    const ViewRect owner = _mainWindow ? ViewFrame::frame(_mainWindow) : ViewRect{};
    const double width = AboutUsWindowController::kWidth;
    const double height = AboutUsWindowController::kHeight;
    ViewFrame::setFrame(dialog, ViewRect{double(float(owner.x + (owner.width - width) / 2)),
                                         double(float(owner.y + (owner.height - height) / 2)), width, height});
    about.runModal();
}

void ViewController::homepageAction() {
    LinkOpener::open(QUrl(localized("homepageUrl")), _mainWindow);
}

void ViewController::lanuageAction() {}
