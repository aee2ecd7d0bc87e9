#include "Workspace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>

namespace {

Workspace::OpenUrlHandler& openHandler() {
    static Workspace::OpenUrlHandler handler;
    return handler;
}

Workspace::RevealHandler& revealHandler() {
    static Workspace::RevealHandler handler;
    return handler;
}

bool showItemsOverDBus(const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool Workspace::openURL(const QUrl& url) {
    if (openHandler())
        return openHandler()(url);
    return openUrlWithDesktop(url);
}

bool Workspace::revealFile(const QString& path) {
    if (revealHandler())
        return revealHandler()(path);
    return revealWithFileManager(path);
}

void Workspace::setOpenUrlHandler(OpenUrlHandler handler) {
    openHandler() = std::move(handler);
}

void Workspace::setRevealHandler(RevealHandler handler) {
    revealHandler() = std::move(handler);
}

void Workspace::reset() {
    openHandler() = nullptr;
    revealHandler() = nullptr;
}

bool Workspace::openUrlWithDesktop(const QUrl& url) {
    if (!url.isValid() || url.isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

bool Workspace::revealWithFileManager(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.exists() && showItemsOverDBus(info.absoluteFilePath()))
        return true;
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!QFileInfo(folder).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
