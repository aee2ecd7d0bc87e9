// Starts the application with its main window. The launcher's content is built by the application shell.
#include "ResourceBundle.h"
#include "WindowStyle.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Clipwright"));
    QApplication::setApplicationName(QStringLiteral("Clipwright"));
    const QImage icon = ResourceBundle::imageWithfileName(QStringLiteral("im/app_Icon.png"));
    if (!icon.isNull())
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    QWidget window;
    WindowStyle::apply(&window);
    window.setWindowTitle(ResourceBundle::localizedStringForKey(QStringLiteral("Ixy-de-Rz5.title")));
    window.resize(780, 520);
    window.show();
    return app.exec();
}
