#include "Alert.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

Alert::Provider& provider() {
    static Alert::Provider current;
    return current;
}

QMessageBox::Icon iconFor(AlertRequest::Style style) {
    switch (style) {
    case AlertRequest::Style::Informational:
        return QMessageBox::Information;
    case AlertRequest::Style::Critical:
        return QMessageBox::Critical;
    case AlertRequest::Style::Warning:
        break;
    }
    return QMessageBox::Warning;
}

} // namespace

int Alert::run(const AlertRequest& request, QWidget* parent) {
    if (provider())
        return provider()(request, parent);
    return runMessageBox(request, parent);
}

void Alert::setProvider(Provider newProvider) {
    provider() = std::move(newProvider);
}

void Alert::resetProvider() {
    provider() = nullptr;
}

int Alert::runMessageBox(const AlertRequest& request, QWidget* parent) {
    QMessageBox box(parent);
    box.setIcon(iconFor(request.style));
    box.setWindowTitle(request.messageText);
    box.setText(request.messageText);
    box.setInformativeText(request.informativeText);
    const QStringList titles = request.buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : request.buttons;
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < titles.size(); ++i)
        buttons << box.addButton(titles.at(i), i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
    box.setEscapeButton(buttons.last());
    box.exec();
    const int index = int(buttons.indexOf(box.clickedButton()));
    return index >= 0 ? index : int(buttons.size()) - 1;
}
