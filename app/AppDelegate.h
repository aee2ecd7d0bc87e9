#pragma once

#include <QAction>
#include <QObject>
#include <QPointer>

class QWidget;

// The application's delegate: the launcher window's final look once launching has finished, the Help menu's
// support item, and quitting after the last window has closed.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The application's delegate, fetched on the first call and kept (null when none has been installed).
    static AppDelegate* sharedAppDelegate();
    // Makes a delegate the application's delegate (what the main interface does when it loads).
    static void setApplicationDelegate(AppDelegate* delegate);

    QAction* helpItemBtn() const { return _helpItemBtn; }
    void setHelpItemBtn(QAction* item) { _helpItemBtn = item; }
    QWidget* mainWindow() const { return _mainWindow; }
    void setMainWindow(QWidget* window) { _mainWindow = window; }

    void applicationDidFinishLaunching();
    void showHelpAction();
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }
    void applicationWillTerminate() {}

private:
    QPointer<QAction> _helpItemBtn;
    QPointer<QWidget> _mainWindow;
};
