#include "OpenPanel.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

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

// The names typed in the dialog's name field, as paths: one name, or several each in double quotes.
QStringList typedPaths(const QFileDialog& dialog) {
    const auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString text = edit != nullptr ? edit->text().trimmed() : QString();
    QStringList names;
    if (text.contains(QLatin1Char('"'))) {
        const QStringList parts = text.split(QLatin1Char('"'));
        for (qsizetype i = 1; i < parts.size(); i += 2)
            if (!parts.at(i).trimmed().isEmpty())
                names << parts.at(i);
    } else if (!text.isEmpty()) {
        names << text;
    }
    QStringList paths;
    for (const QString& name : std::as_const(names))
        paths << QDir::cleanPath(QDir::isAbsolutePath(name) ? name : dialog.directory().absoluteFilePath(name));
    return paths;
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
    // With several names in its name field the dialog returns the ones still selected in its list, which typing
    // changes: names typed among several, and those the type filter hides, were lost without a word. Every name
    // in the field is passed on, in its order (the caller names the files it cannot open).
    if (options.allowsMultipleSelection && !options.canChooseDirectories) {
        QStringList typed = typedPaths(dialog);
        for (const QString& selected : std::as_const(paths))
            if (!typed.contains(selected))
                typed << selected;
        paths = typed;
    }
    if (!options.allowsMultipleSelection && paths.size() > 1)
        paths = paths.mid(0, 1);
    return paths;
}
