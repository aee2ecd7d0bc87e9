#include "SplitValuePrompt.h"

#include "ResourceBundle.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

SplitValuePrompt::Provider& provider() {
    static SplitValuePrompt::Provider shared;
    return shared;
}

} // namespace

std::optional<QString> SplitValuePrompt::run(const QString& prompt, const QString& defaultValue, QWidget* parent) {
    if (provider())
        return provider()(prompt, defaultValue);
    QDialog dialog(parent);
    dialog.setWindowTitle(parent ? parent->windowTitle() : QString());
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* field = new QLineEdit(defaultValue, &dialog);
    field->setFixedSize(180, 24);
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(ResourceBundle::localizedStringForKey(QStringLiteral("OKBtn")),
                                         QDialogButtonBox::AcceptRole);
    buttons->addButton(ResourceBundle::localizedStringForKey(QStringLiteral("CancelBtn")),
                       QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

void SplitValuePrompt::setProvider(Provider p) {
    provider() = std::move(p);
}

void SplitValuePrompt::resetProvider() {
    provider() = nullptr;
}
