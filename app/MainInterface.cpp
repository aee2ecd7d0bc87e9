#include "MainInterface.h"

#include "AppDelegate.h"
#include "ResourceBundle.h"
#include "ViewController.h"
#include "WindowKeys.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

MainInterface::MainInterface() : _delegate(std::make_unique<AppDelegate>()), _window(std::make_unique<QMainWindow>()) {
    AppDelegate::setApplicationDelegate(_delegate.get());
    _window->setWindowTitle(ResourceBundle::localizedStringForKey(QStringLiteral("Ixy-de-Rz5.title")));

    QMenu* help = _window->menuBar()->addMenu(ResourceBundle::localizedStringForKey(QStringLiteral("HelpMenuTitle")));
    QAction* support = help->addAction(ResourceBundle::localizedStringForKey(QStringLiteral("HelpSupportItemTitle")));
    _delegate->setHelpItemBtn(support);
    _delegate->setMainWindow(_window.get());

    _viewController = std::make_unique<ViewController>(_window.get());
    _window->setCentralWidget(_viewController->view());
    _window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    _window->layout()->activate();
    WindowKeys::fitTitleButtons(_window.get());
    WindowKeys::quitWith(_window.get());
}

MainInterface::~MainInterface() {
    _viewController.reset();
    _window.reset();
}

QAction* MainInterface::helpItem() const {
    return _delegate->helpItemBtn();
}
