#include "LinkOpener.h"

#include "Alert.h"
#include "ResourceBundle.h"
#include "Workspace.h"

bool LinkOpener::open(const QUrl& url, QWidget* parent) {
    if (Workspace::openURL(url))
        return true;
    // A mail link shows only its address, without the empty subject and body it carries.
    const QString address = url.scheme() == QLatin1String("mailto") ? url.path() : url.toString();
    AlertRequest request;
    request.style = AlertRequest::Style::Warning;
    request.messageText = ResourceBundle::localizedStringForKey(QStringLiteral("LinkCannotOpenTitle"));
    request.informativeText =
        ResourceBundle::localizedStringForKey(QStringLiteral("LinkCannotOpenMessage")).arg(address);
    request.buttons = {ResourceBundle::localizedStringForKey(QStringLiteral("OKBtnTitle"))};
    Alert::run(request, parent);
    return false;
}
