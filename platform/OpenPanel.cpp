#include "OpenPanel.h"

#include <QFileDialog>

namespace {

OpenPanel::Provider& provider() {
    static OpenPanel::Provider current;
    return current;
}

QString nameFilters(const OpenPanelOptions& options) {
    QStringList filters;
    if (!options.allowedFileTypes.isEmpty()) {
        QStringList patterns;
        for (const QString& type : options.allowedFileTypes)
            patterns << QStringLiteral("*.") + type;
        filters << QFileDialog::tr("Media files (%1)").arg(patterns.join(QLatin1Char(' ')));
    }
    if (options.allowedFileTypes.isEmpty() || options.allowsOtherFileTypes)
        filters << QFileDialog::tr("All files (*)");
    return filters.join(QStringLiteral(";;"));
}

} // namespace

QStringList OpenPanel::run(const OpenPanelOptions& options, QWidget* parent) {
    if (provider())
        return provider()(options, parent);
    return runFileDialog(options, parent);
}

void OpenPanel::setProvider(Provider newProvider) {
    provider() = std::move(newProvider);
}

void OpenPanel::resetProvider() {
    provider() = nullptr;
}

QStringList OpenPanel::runFileDialog(const OpenPanelOptions& options, QWidget* parent) {
    QFileDialog dialog(parent, options.message, options.directory);
    if (options.canChooseDirectories) {
        // Qt's dialog chooses either files or folders; a panel that allows folders is a folder chooser.
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, !options.canChooseFiles);
    } else {
        dialog.setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        dialog.setNameFilter(nameFilters(options));
    }
    dialog.setOption(QFileDialog::ReadOnly, !options.canCreateDirectories);
    if (!options.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, options.prompt);
    if (!options.message.isEmpty())
        dialog.setWindowTitle(options.message);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList paths = dialog.selectedFiles();
    if (!options.allowsMultipleSelection && paths.size() > 1)
        paths = paths.mid(0, 1);
    return paths;
}
