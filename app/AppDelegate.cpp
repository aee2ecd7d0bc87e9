#include "AppDelegate.h"

#include "LinkOpener.h"
#include "ResourceBundle.h"
#include "WindowStyle.h"
#include "Workspace.h"

#include <QUrl>
#include <QWidget>

#include <mutex>

namespace {

QPointer<AppDelegate>& applicationDelegate() {
    static QPointer<AppDelegate> delegate;
    return delegate;
}

} // namespace

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {}

AppDelegate::~AppDelegate() = default;

AppDelegate* AppDelegate::sharedAppDelegate() {
    static QPointer<AppDelegate> shared;
    static std::once_flag once;
    std::call_once(once, [] { shared = applicationDelegate(); });
    return shared;
}

void AppDelegate::setApplicationDelegate(AppDelegate* delegate) {
    applicationDelegate() = delegate;
}

void AppDelegate::applicationDidFinishLaunching() {
    if (_mainWindow) {
        // The title bar belongs to the window manager; the window's look is its background colour.
        WindowStyle::apply(_mainWindow);
        _mainWindow->setWindowTitle(ResourceBundle::localizedStringForKey(QStringLiteral("Ixy-de-Rz5.title")));
    }
    if (_helpItemBtn)
        connect(_helpItemBtn, &QAction::triggered, this, &AppDelegate::showHelpAction, Qt::UniqueConnection);
}

void AppDelegate::showHelpAction() {
    LinkOpener::open(QUrl(ResourceBundle::localizedStringForKey(QStringLiteral("supprotUrl"))), _mainWindow);
}
