#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// The base of every window's controller. The window (a top-level QWidget) is created on the first window()
// request by loadWindow(), which subclasses may override to make another kind of widget; windowDidLoad() then runs
// once, where a subclass builds its content. The default window has the application's standard look.
//
// Closing: when the user or code closes the window, windowShouldClose() may veto it; otherwise the controller
// posts kWindowWillCloseNotification with the window as object (see Notification.h) while the window still
// exists, then the window hides. A subclass's closewindow(...) observes that notification and compares
// notification.object with window().
//
// The controller owns its window and deletes it in its destructor. With setReleasedWhenClosed(true) the controller
// deletes itself (deleteLater) after its window closed, so a launcher can open it and keep no reference.
class WindowController : public QObject {
    Q_OBJECT
public:
    explicit WindowController(QObject* parent = nullptr);
    ~WindowController() override;

    QWidget* window();
    bool isWindowLoaded() const { return !_window.isNull(); }

    void showWindow(); // shows the window, raises it and makes it active
    bool close();      // closes the window through the closing path above; false when vetoed
    void setReleasedWhenClosed(bool released) { _releasedWhenClosed = released; }
    bool isReleasedWhenClosed() const { return _releasedWhenClosed; }

protected:
    virtual QWidget* loadWindow();
    virtual void windowDidLoad() {}
    virtual bool windowShouldClose() { return true; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> _window;
    bool _releasedWhenClosed = false;
};
