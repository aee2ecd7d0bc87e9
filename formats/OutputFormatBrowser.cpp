#include "OutputFormatBrowser.h"

#include "AutoresizingFilter.h"
#include "Dispatch.h"
#include "FormatBrowserLayout.h"
#include "FormatsLog.h"
#include "LQCustomButton.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "Modal.h"
#include "MouseMoveButton.h"
#include "OutputFormatOwner.h"
#include "ResourceBundle.h"
#include "SettingWindowController.h"
#include "SimpleData.h"
#include "UserDefaults.h"
#include "ViewFrame.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <cmath>

const QString OutputFormatBrowser::kTargetFormatText = QStringLiteral("Target Format: %1");

namespace {

using Layout = FormatBrowserLayout;
using Resize = AutoresizingFilter;

constexpr double kSettingsBadge = 24; // an item's settings button

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

UserDefaults& store() {
    return UserDefaults::standardUserDefaults();
}

// A picture button without any frame of its own: the page arrows and an item's settings button.
void makePictureButton(QAbstractButton* button, const QImage& picture) {
    button->setIcon(QIcon(QPixmap::fromImage(picture)));
    button->setIconSize(QSize(int(Layout::kArrowSize), int(Layout::kArrowSize)));
    button->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; padding: 0; }"));
    button->setCursor(Qt::PointingHandCursor);
}

} // namespace

OutputFormatBrowser::OutputFormatBrowser(Variant variant, OutputFormatOwner* owner, ProfileRoot root, QObject* parent)
    : QObject(parent), _variant(variant), _owner(owner), _root(std::move(root)) {
    _screenHeight = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? double(screen->geometry().height()) : 1080.0;
    };
}

OutputFormatBrowser::~OutputFormatBrowser() = default;

int OutputFormatBrowser::tagOf(const QWidget* view) {
    return view == nullptr ? 0 : view->property("tag").toInt();
}

QAbstractButton* OutputFormatBrowser::settingsButtonOf(const MOQButton* item) {
    if (item == nullptr)
        return nullptr;
    for (QAbstractButton* child : item->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (tagOf(child) == kSettingsButtonTag)
            return child;
    return nullptr;
}

bool OutputFormatBrowser::isCollapsed() const {
    return _showFunctionBtn && _showFunctionBtn->selected();
}

QString OutputFormatBrowser::key(const QString& joinerKey) const {
    return Layout::positionKey(joinerKey, _variant == Variant::Editor);
}

qint64 OutputFormatBrowser::storedPage(const QString& category) const {
    return store().integerForKey(key(Layout::pageKey(category)));
}

qint64 OutputFormatBrowser::categoryPosition() const {
    return _functionList.indexOf(_functionItemTitle) + 1;
}

QString OutputFormatBrowser::profilePathFor(const QString& name) const {
    return _root.profilePath(_functionItemTitle, name);
}

void OutputFormatBrowser::initTabbarView() {
    QWidget* host = _owner->formatHostView();
    const double windowWidth = ViewFrame::frame(_owner->formatOwnerWindow()).width;
    const ViewRect hostBounds = ViewFrame::bounds(host);

    _tabbarView = new MOQImageView(host);
    ViewFrame::setFrame(_tabbarView, _variant == Variant::Joiner
                                         ? ViewRect{0, 0, hostBounds.width, Layout::kTabbarHeight}
                                         : ViewRect{4, 50, windowWidth - 8, Layout::kTabbarHeight});
    Resize::attach(_tabbarView, Resize::MinXMargin | Resize::WidthSizable | Resize::MaxXMargin | Resize::MinYMargin |
                                    Resize::MaxYMargin);
    const ViewRect tabbar = ViewFrame::frame(_tabbarView);

    _tabbarbackView = new MOQImageView(_tabbarView);
    ViewFrame::setFrame(_tabbarbackView, {0, 0, tabbar.width, tabbar.height - Layout::kTopBarHeight});
    _tabbarbackView->setNormalBackGroundImage(image("Resources/WSCategoryBack.png"));
    Resize::attach(_tabbarbackView, Resize::WidthSizable | Resize::MaxYMargin);

    const double arrowY = (tabbar.height - Layout::kArrowSize) / 2;
    _left_move_item_Btn = new MouseMoveButton(_tabbarView);
    ViewFrame::setFrame(_left_move_item_Btn, {36, arrowY, Layout::kArrowSize, Layout::kArrowSize});
    _left_move_item_Btn->setMouseDelegate(this);
    makePictureButton(_left_move_item_Btn, image("Resources/left_nor.png"));
    connect(_left_move_item_Btn, &QPushButton::clicked, this, [this] { action_left_move_item_Btn(); });

    _right_move_item_Btn = new MouseMoveButton(_tabbarView);
    const double rightX = tabbar.width - (_variant == Variant::Joiner ? 64 : 44);
    ViewFrame::setFrame(_right_move_item_Btn, {rightX, arrowY, Layout::kArrowSize, Layout::kArrowSize});
    _right_move_item_Btn->setMouseDelegate(this);
    makePictureButton(_right_move_item_Btn, image("Resources/right_nor.png"));
    connect(_right_move_item_Btn, &QPushButton::clicked, this, [this] { action_right_move_item_Btn(); });

    QWidget* playerBar = _owner->playerBottomView();
    if (_variant == Variant::Editor && playerBar != nullptr) {
        _playOrpauseBtn = new MOQButton(ViewRect{0, (ViewFrame::bounds(playerBar).height - 31) / 2, 31, 31}, playerBar);
        _playOrpauseBtn->setContentColor(Qt::black);
        _playOrpauseBtn->setContentTitle(QString());
        _playOrpauseBtn->setBordered(false);
        // Selected means playing: the button then offers pause, whatever started the playing.
        _playOrpauseBtn->setSelectedBackgroundImage(image("Cut/btnPause_Normal.png"));
        _playOrpauseBtn->setDisAbleBackgroundImage(image("Cut/btnPlay_On.png"));
        _playOrpauseBtn->setOnBackgroundImage(image("Cut/btnPlay_On.png"));
        _playOrpauseBtn->setDownBackgroundImage(image("Cut/btnPlay_Down.png"));
        _playOrpauseBtn->setNormalBackgroundImage(image("Cut/btnPlay_Normal.png"));
        OutputFormatOwner* owner = _owner;
        _playOrpauseBtn->setMouseDownAction([owner](MOQButton* button) {
            QPointer<MOQButton> guard(button);
            Dispatch::main([owner, guard] {
                if (guard)
                    owner->action_playPauseBtn(guard);
            });
        });
    }
}

void OutputFormatBrowser::initfunctionView() {
    QWidget* host = _owner->formatHostView();
    const double windowWidth = ViewFrame::frame(_owner->formatOwnerWindow()).width;
    _windowsWidth = _variant == Variant::Joiner ? std::trunc(windowWidth) : windowWidth;
    const double barSpace = _variant == Variant::Joiner ? ViewFrame::bounds(host).width : windowWidth;
    const ViewRect tabbar = ViewFrame::frame(_tabbarView);

    _functionView = new MOQImageView(_tabbarView);
    ViewFrame::setFrame(_functionView, {(barSpace - Layout::kFunctionViewWidth) / 2, 0, Layout::kFunctionViewWidth,
                                        Layout::kFunctionViewHeight});
    _function_Items.clear();
    const int count = int(_functionList.size());
    for (int i = 0; i < count; ++i) {
        auto* button = new LQCustomButton(
            ViewRect{Layout::categoryX(i, count), 1, Layout::kCategoryButtonWidth, Layout::kCategoryButtonHeight},
            _functionView);
        button->setNormalImage(QImage());
        button->setIndex(i + 1);
        button->setSelectedImage(QImage());
        button->setNormalBackImage(QImage());
        button->setSelectedBackImage(image("Resources/selImageView.png"));
        button->setHightideBackImage(image("Resources/selImageView.png"));
        button->setNormalTitleColor(QColor::fromRgbF(207 / 255.0, 207 / 255.0, 207 / 255.0, 0.8));
        button->setSelectedTitleColor(QColor::fromRgbF(1, 1, 1, 0.8));
        button->setCellTextPosition(4);
        button->setFontsize(13);
        button->setTitle(_functionList.at(i));
        button->setSelected(false);
        button->setDelegate(this);
        _function_Items.append(button);
    }

    _showFunctionBtn = new MOQButton(ViewRect{_windowsWidth / 2 - 145, tabbar.height - 29, 280, 30}, _tabbarView);
    _showFunctionBtn->setContentColor(QColor::fromRgbF(0, 0, 0, 1));
    _showFunctionBtn->setContentTitle(QString());
    _showFunctionBtn->setBordered(false);
    for (const auto setter : {&MOQButton::setNormalBackgroundImage, &MOQButton::setOnBackgroundImage,
                              &MOQButton::setDownBackgroundImage, &MOQButton::setSelectedBackgroundImage})
        (_showFunctionBtn->*setter)(image("Resources/CategoryHead.png"));
    _showFunctionBtn->setSelected(false);
    QFont font = _showFunctionBtn->font();
    font.setPixelSize(14);
    _showFunctionBtn->setFont(font);
    _showFunctionBtn->setMouseDownAction([this](MOQButton*) { toggleCollapse(); });

    if (_screenHeight() < Layout::kTallScreen) {
        _showFunctionIconView = new MOQImageView(ViewRect{280 - 40, (30 - 10) / 2.0 + 3, 8, 10}, _showFunctionBtn);
        _showFunctionIconView->setNormalBackGroundImage(
            image(_showFunctionBtn->selected() ? "Resources/Extend.png" : "Resources/shrink.png"));
    }
}

void OutputFormatBrowser::initFunctionItemView(qint64 categoryIndex) {
    if (_functionList.isEmpty()) {
        _functionItemTitle.clear();
    } else {
        const qint64 index = std::clamp<qint64>(categoryIndex, 1, _functionList.size());
        _functionItemTitle = _functionList.at(index - 1);
    }
    _selectFunctionOfsetIndex = _functionItemTitle.isEmpty() ? 0 : storedPage(_functionItemTitle);
    _selectItemIndex = store().integerForKey(key(Layout::kSelectItemIndexKey));
    if (_selectItemIndex == 0 && !_functionList.isEmpty() && _functionItemTitle == _functionList.first())
        _selectItemIndex = 1;
    _functionItemChilds =
        _functionItemTitle.isEmpty() ? QStringList() : _root.getFunctionItemChildList(_functionItemTitle);
    const int count = int(_functionItemChilds.size());

    _functionItemBtn_Childs.clear();
    delete _functionItemScrollview.data();
    const ViewRect tabbar = ViewFrame::frame(_tabbarView);
    _functionItemScrollview = new QScrollArea(_tabbarView);
    _functionItemScrollview->setFrameShape(QFrame::NoFrame);
    _functionItemScrollview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _functionItemScrollview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The document is lower than the viewport and sits on its bottom edge.
    _functionItemScrollview->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    QPalette palette = _functionItemScrollview->palette();
    palette.setColor(QPalette::Window, QColor(134, 140, 147));
    _functionItemScrollview->setPalette(palette);
    _functionItemScrollview->setAutoFillBackground(true);
    _functionItemScrollview->viewport()->setPalette(palette);
    _functionItemScrollview->viewport()->setAutoFillBackground(true);
    ViewFrame::setFrame(_functionItemScrollview,
                        Layout::viewportFrame(tabbar.width, ViewFrame::frame(_functionView).height,
                                              ViewFrame::frame(_tabbarbackView).height));
    Resize::attach(_functionItemScrollview,
                   Resize::MinXMargin | Resize::MaxXMargin | Resize::MinYMargin | Resize::MaxYMargin);

    const double documentHeight = Layout::kViewportHeight - 15;
    _documentView = new QWidget;
    _documentView->resize(int(Layout::documentWidth(count)), int(documentHeight));
    _itemSelectView = new MOQImageView(ViewRect{}, _documentView);
    _itemSelectView->setBordColor(QColor(160, 160, 160));
    _itemSelectView->setBorderWidth(1);
    qCDebug(lcFormats, "functionItemView.frame.size.width : %f", Layout::documentWidth(count));

    const bool joiner = _variant == Variant::Joiner;
    for (int i = 0; i < count; ++i) {
        const QString& name = _functionItemChilds.at(i);
        auto* item = new MOQButton(ViewRect{Layout::itemX(i), 0, Layout::kItemWidth, documentHeight}, _documentView);
        item->setProperty("tag", i + 1);
        item->setBordered(false);
        item->setContentTitle(QString());
        item->setMouseDownAction([this](MOQButton* sender) { actionFunctionItemScrollChild(sender); });
        const QImage icon(_root.iconPath(_functionItemTitle, name));
        item->setNormalImage(icon);
        item->setDownImage(icon);
        item->setOnImage(icon);
        if (joiner) {
            item->setDisAbleImage(icon);
            item->setSelectedImage(icon);
        }
        item->setToolTip(name);

        auto* settings = new QPushButton(item);
        // In the top corner, over the icon's border: the profile's name is written along the icon's foot.
        ViewFrame::setFrame(settings, {Layout::kItemWidth - kSettingsBadge, documentHeight - kSettingsBadge,
                                       kSettingsBadge, kSettingsBadge});
        settings->setCheckable(true);
        settings->setProperty("tag", kSettingsButtonTag);
        makePictureButton(settings, image("Resources/setingParam.png"));
        settings->setIconSize(QSize(int(kSettingsBadge) - 4, int(kSettingsBadge) - 4));
        settings->setToolTip(ResourceBundle::localizedStringForKey(QStringLiteral("ProfileSettingsTip")));
        settings->setHidden(true);
        connect(settings, &QPushButton::clicked, this, [this, settings] { actionEditsetting(settings); });
        _functionItemBtn_Childs.append(item);
    }
    _itemSelectView->lower();
    _functionItemScrollview->setWidget(_documentView);
    _functionItemScrollview->show();

    // Restore the stored profile when it belongs to this category.
    _selectFunListItemIndex = store().integerForKey(key(Layout::kSelectFunListItemIndexKey));
    if (_selectItemIndex != 0 && _selectFunListItemIndex == categoryIndex && !_functionItemTitle.isEmpty()) {
        MOQButton* stored = nullptr;
        for (MOQButton* item : std::as_const(_functionItemBtn_Childs))
            if (tagOf(item) == _selectItemIndex)
                stored = item;
        chooseItem(stored, true);
    }
}

void OutputFormatBrowser::restoreStoredPosition() {
    // The joiner reopens on the profile its stored titles were taken from, found by name: positions alone would
    // point at another profile once a category or profile is added before it.
    const QString stored = _owner->outputSelection().storedProfile();
    const qsizetype slash = stored.indexOf(QLatin1Char('/'));
    const QString category = slash < 0 ? QString() : stored.first(slash);
    const qint64 categoryIndex = _functionList.indexOf(category) + 1;
    const qint64 itemIndex =
        categoryIndex > 0 ? _root.getFunctionItemChildList(category).indexOf(stored.sliced(slash + 1)) + 1 : 0;
    _selectFunListItemIndex = itemIndex > 0 ? categoryIndex : 1;
    store().setInteger(_selectFunListItemIndex, key(Layout::kSelectFunListItemIndexKey));
    store().setInteger(itemIndex, key(Layout::kSelectItemIndexKey));
    if (itemIndex > 0)
        store().setInteger((itemIndex - 1) / Layout::kItemsPerPage, key(Layout::pageKey(category)));
}

void OutputFormatBrowser::setArrow(MouseMoveButton* arrow, const char* picture, bool enabled) {
    arrow->setIcon(QIcon(QPixmap::fromImage(image(picture))));
    arrow->setEnabled(enabled);
}

void OutputFormatBrowser::checkLeft_fight_btn_isDisable(qint64 pageCount) {
    const qint64 page = _selectFunctionOfsetIndex;
    const bool left = page > 0;
    const bool right = page + 1 < pageCount;
    setArrow(_left_move_item_Btn, left ? "Resources/left_nor.png" : "Resources/left_dis.png", left);
    setArrow(_right_move_item_Btn, right ? "Resources/right_nor.png" : "Resources/right_dis.png", right);
    if (!_functionItemTitle.isEmpty())
        store().setInteger(page, key(Layout::pageKey(_functionItemTitle)));
    if (_functionItemScrollview) {
        _functionItemScrollview->horizontalScrollBar()->setRange(
            0, std::max(0, _documentView->width() - int(FormatBrowserLayout::kViewportWidth)));
        _functionItemScrollview->horizontalScrollBar()->setValue(int(Layout::pageScrollX(page)));
    }
}

void OutputFormatBrowser::action_left_move_item_Btn() {
    _selectFunctionOfsetIndex = storedPage(_functionItemTitle);
    if (_selectFunctionOfsetIndex > 0)
        --_selectFunctionOfsetIndex;
    checkLeft_fight_btn_isDisable(Layout::pageCount(int(_functionItemChilds.size())));
}

void OutputFormatBrowser::action_right_move_item_Btn() {
    const int pages = Layout::pageCount(int(_functionItemChilds.size()));
    _selectFunctionOfsetIndex = storedPage(_functionItemTitle);
    if (_selectFunctionOfsetIndex + 1 < pages)
        ++_selectFunctionOfsetIndex;
    checkLeft_fight_btn_isDisable(pages);
}

void OutputFormatBrowser::mouseupEntered(MouseMoveButton* button) {
    if (_variant != Variant::Editor)
        return;
    if (button == _left_move_item_Btn)
        action_left_move_item_Btn();
    else if (button == _right_move_item_Btn)
        action_right_move_item_Btn();
}

void OutputFormatBrowser::actionMouseUpForCustomButtonBlock(LQCustomButton* button) {
    actionFunctionItem(button);
}

void OutputFormatBrowser::actionFunctionItem(LQCustomButton* button) {
    // Without categories the browser shows an empty row and stores nothing.
    if (_functionList.isEmpty() || _function_Items.isEmpty()) {
        initFunctionItemView(1);
        _selectFunctionOfsetIndex = 0;
        checkLeft_fight_btn_isDisable(0);
        return;
    }
    const bool userChoice = button != nullptr;
    LQCustomButton* chosen = button;
    if (userChoice) {
        _needRefreshlocalSettingsData = true;
    } else {
        if (_variant == Variant::Joiner) {
            restoreStoredPosition();
        } else {
            _functionItemTitle = _functionList.first();
            _selectFunctionOfsetIndex = 0;
            _selectItemIndex = 1;
            _selectFunListItemIndex = 1;
            store().setInteger(1, key(Layout::kSelectItemIndexKey));
            store().setInteger(0, key(Layout::pageKey(_functionItemTitle)));
            store().setInteger(1, key(Layout::kSelectFunListItemIndexKey));
        }
        for (LQCustomButton* candidate : std::as_const(_function_Items)) {
            if (candidate->index() == _selectFunListItemIndex) {
                chosen = candidate;
                break;
            }
        }
        if (chosen == nullptr)
            return;
    }
    for (LQCustomButton* candidate : std::as_const(_function_Items))
        candidate->setSelected(candidate->index() == chosen->index());

    initFunctionItemView(chosen->index());
    checkLeft_fight_btn_isDisable(Layout::pageCount(int(_functionItemChilds.size())));
    _selectFunListItemIndex = categoryPosition();
    if (userChoice && _selectFunListItemIndex != store().integerForKey(key(Layout::kSelectFunListItemIndexKey)))
        return;
    ViewFrame::setFrame(_itemSelectView,
                        Layout::highlightFrame(_selectItemIndex, ViewFrame::frame(_functionItemScrollview).height));
    _itemSelectView->setVisible(true);
}

void OutputFormatBrowser::actionFunctionItemScrollChild(MOQButton* item) {
    chooseItem(item, !_needRefreshlocalSettingsData);
}

void OutputFormatBrowser::chooseItem(MOQButton* item, bool restoring) {
    const int tag = tagOf(item);
    qCDebug(lcFormats, "actionItem:%ld", long(tag));

    OutputSelection& selection = _owner->outputSelection();
    if (restoring) {
        // Shown again rather than picked: the stored titles stay when they belong to the profile shown.
    } else if (_variant == Variant::Joiner) {
        selection.clear();
    } else if (std::any_of(_functionItemChilds.cbegin(), _functionItemChilds.cend(),
                           [this](const QString& name) { return _root.isKeepOriginal(name); })) {
        store().setInteger(0, key(Layout::pageKey(_functionItemTitle)));
        store().setInteger(0, key(Layout::kSelectItemIndexKey));
        selection.clear();
    }

    ViewFrame::setFrame(_itemSelectView, item != nullptr ? ViewFrame::frame(item) : ViewRect{});
    _itemSelectView->setVisible(true);
    _selectItemIndex = tag;
    _itemSelectView->setNormalBackGroundImage(image("Resources/selDVDItemBack.png"));
    _itemSelectView->update();
    store().setInteger(_selectItemIndex, key(Layout::kSelectItemIndexKey));
    _selectFunListItemIndex = categoryPosition();
    store().setInteger(_selectFunListItemIndex, key(Layout::kSelectFunListItemIndexKey));

    for (MOQButton* candidate : std::as_const(_functionItemBtn_Childs))
        if (QAbstractButton* settings = settingsButtonOf(candidate))
            settings->setVisible(candidate == item);
    const QString name = item != nullptr ? _functionItemChilds.value(tag - 1) : QString();
    _showFunctionBtn->setContentTitle(name.isEmpty() ? QString() : kTargetFormatText.arg(name));
    // What the bar shows is what a job writes: a profile shown again gets its own stored titles or is applied
    // afresh, and with none shown no title stays chosen.
    if (restoring)
        selection.restoreProfile(profilePathFor(name), _functionItemTitle, name, _root, _owner->outputClips());
    else if (!name.isEmpty())
        setViewChildesPf(profilePathFor(name));
    if (restoring)
        _owner->outputClipsChanged();
    _needRefreshlocalSettingsData = true;
}

void OutputFormatBrowser::setViewChildesPf(const QString& profilePath) {
    _owner->outputSelection().setViewChildesPf(profilePath, _functionItemTitle, _root, _owner->outputClips());
}

void OutputFormatBrowser::actionEditsetting(QAbstractButton* sender) {
    const QWidget* item = sender != nullptr ? sender->parentWidget() : nullptr;
    const QString name = _functionItemChilds.value(tagOf(item) - 1);
    OutputSelection& selection = _owner->outputSelection();

    auto dialog = std::make_unique<SettingWindowController>();
    dialog->setJoinner(_variant == Variant::Joiner);
    dialog->setFileType(_functionItemTitle == ProfileRoot::kAudioCategory ? 2 : 1);
    const double width = selection.settingDialogWidth();
    const double height =
        dialog->fileType() == 2 ? SettingWindowController::kAudioHeight : SettingWindowController::kVideoHeight;
    const ViewRect owner = ViewFrame::frame(_owner->formatOwnerWindow());
    ViewFrame::setFrame(dialog->window(), {double(float(owner.x + (owner.width - width) / 2)),
                                           double(float(owner.y + (owner.height - height) / 2)), width, height});
    dialog->setPfPath(name.isEmpty() ? QString() : profilePathFor(name));
    OutputFormatOwner* target = _owner;
    dialog->setSelectSettingCallbackBlock([target](int changeBit) {
        target->outputSelection().applySettingChange(changeBit, target->outputClips());
        target->outputClipsChanged();
    });
    dialog->setSettingCallbackBlock([target] {
        target->outputSelection().applySettingDefaults(target->outputClips());
        target->outputClipsChanged();
    });
    dialog->displayViewChildes();
    Modal::runModalForWindow(dialog->window());
}

void OutputFormatBrowser::setItemsEnabled(bool enabled, bool settingsButtonsToo) {
    for (LQCustomButton* button : std::as_const(_function_Items)) {
        button->setEnabled(enabled);
        button->setSelected(button->selected()); // a tile shows its enabled state at its next setSelected
    }
    for (MOQButton* item : std::as_const(_functionItemBtn_Childs)) {
        item->setEnabled(enabled);
        if (QAbstractButton* settings = settingsButtonOf(item); settings != nullptr && settingsButtonsToo)
            settings->setEnabled(enabled);
    }
}

void OutputFormatBrowser::setdefaultFormat(const SimpleData& clip) {
    _owner->outputSelection().setdefaultFormat(clip);
    setItemsEnabled(!clip.defaultFormat(), true);
}

void OutputFormatBrowser::enableEdit(bool enabled) {
    setItemsEnabled(enabled, false);
}

void OutputFormatBrowser::toggleCollapse() {
    if (_screenHeight() > Layout::kTallScreen)
        return;
    QPointer<OutputFormatBrowser> self(this);
    Dispatch::main([self] {
        if (!self || !self->_showFunctionBtn)
            return;
        QWidget* window = self->_owner->formatOwnerWindow();
        const ViewRect frame = ViewFrame::frame(window);
        const bool collapsed = !self->_showFunctionBtn->selected();
        self->_showFunctionBtn->setSelected(collapsed);
        const double change = collapsed ? -Layout::kCollapseHeight : Layout::kCollapseHeight;
        // The window keeps its lower-left corner and grows or shrinks at the top.
        ViewFrame::setFrame(window,
                            {double(float(frame.x)), double(float(frame.y)), frame.width, frame.height + change});
        if (self->_showFunctionIconView)
            self->_showFunctionIconView->setNormalBackGroundImage(
                image(collapsed ? "Resources/Extend.png" : "Resources/shrink.png"));
        if (self->_variant == Variant::Joiner)
            self->layoutAfterCollapse(collapsed, frame.width);
        else
            self->_owner->changesize();
    });
}

void OutputFormatBrowser::layoutAfterCollapse(bool collapsed, double windowWidth) {
    const double change = collapsed ? -Layout::kCollapseHeight : Layout::kCollapseHeight;
    if (QWidget* content = _owner->contentBackgroundView()) {
        const ViewRect frame = ViewFrame::frame(content);
        ViewFrame::setFrame(content, {frame.x, 54, frame.width, frame.height + change});
    }
    QWidget* host = _owner->formatHostView();
    ViewRect hostFrame = ViewFrame::frame(host);
    hostFrame.y = collapsed ? -144 : 6;
    ViewFrame::setFrame(host, hostFrame);
    ViewFrame::setFrame(_tabbarView, {4, 0, windowWidth - 8, Layout::kTabbarHeight});
    const ViewRect tabbar = ViewFrame::frame(_tabbarView);
    ViewFrame::setFrame(_tabbarbackView, {0, 0, tabbar.width, tabbar.height - Layout::kTopBarHeight});
    ViewFrame::setFrame(_showFunctionBtn, {_windowsWidth / 2 - 145, tabbar.height - 29, 280, 30});
    ViewFrame::setFrame(_functionView, {(windowWidth - Layout::kFunctionViewWidth) / 2, 0, Layout::kFunctionViewWidth,
                                        Layout::kFunctionViewHeight});
    for (QWidget* view :
         {static_cast<QWidget*>(_functionView.data()), static_cast<QWidget*>(_functionItemScrollview.data()),
          static_cast<QWidget*>(_left_move_item_Btn.data()), static_cast<QWidget*>(_right_move_item_Btn.data())})
        if (view != nullptr)
            view->setVisible(!collapsed);
}
