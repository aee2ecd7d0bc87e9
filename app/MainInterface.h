#pragma once

#include <memory>

class AppDelegate;
class QAction;
class QMainWindow;
class ViewController;

// What the application's main interface holds, made in code: the application delegate, the main window with the
// launcher as its content, and the menu bar with its Help menu and support item. Loading installs the delegate
// as the application's delegate; the window is not shown yet.
class MainInterface {
public:
    MainInterface();
    ~MainInterface();

    AppDelegate* delegate() const { return _delegate.get(); }
    QMainWindow* window() const { return _window.get(); }
    ViewController* viewController() const { return _viewController.get(); }
    QAction* helpItem() const;

private:
    std::unique_ptr<AppDelegate> _delegate;
    std::unique_ptr<QMainWindow> _window;
    std::unique_ptr<ViewController> _viewController;
};
