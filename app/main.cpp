// The entry point: the application framework, the main interface, then the event loop. There are no options,
// arguments or environment variables of the application's own.
#include "AppDelegate.h"
#include "MainInterface.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Clipwright"));
    QApplication::setApplicationName(QStringLiteral("Clipwright"));
    const QImage icon = ResourceBundle::imageWithfileName(QStringLiteral("im/app_Icon.png"));
    if (!icon.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    MainInterface interface;
    AppDelegate* delegate = interface.delegate();
    QApplication::setQuitOnLastWindowClosed(delegate->applicationShouldTerminateAfterLastWindowClosed());
    QObject::connect(&app, &QCoreApplication::aboutToQuit, delegate, &AppDelegate::applicationWillTerminate);

    interface.window()->adjustSize();
    ViewFrame::centerWindow(interface.window());
    interface.window()->show();
    delegate->applicationDidFinishLaunching();
    return app.exec();
}
