#include "InputFilePanel.h"

#include "OpenPanel.h"
#include "ShellLog.h"

QStringList InputFilePanel::allowedFileTypes() {
    return {QStringLiteral("mov"), QStringLiteral("qt"),   QStringLiteral("mp4"),  QStringLiteral("m4v"),
            QStringLiteral("flv"), QStringLiteral("ts"),   QStringLiteral("m2ts"), QStringLiteral("mts"),
            QStringLiteral("mkv"), QStringLiteral("mka"),  QStringLiteral("mpg"),  QStringLiteral("mpeg"),
            QStringLiteral("mpa"), QStringLiteral("m2v"),  QStringLiteral("mpv"),  QStringLiteral("dat"),
            QStringLiteral("avi"), QStringLiteral("divx"), QStringLiteral("3gp"),  QStringLiteral("3g2"),
            QStringLiteral("vob"), QStringLiteral("mxf"),  QStringLiteral("tp"),   QStringLiteral("trp"),
            QStringLiteral("nut"), QStringLiteral("h261"), QStringLiteral("h264"), QStringLiteral("mod"),
            QStringLiteral("tod"), QStringLiteral("wmv"),  QStringLiteral("mp3"),  QStringLiteral("mp2"),
            QStringLiteral("m4a"), QStringLiteral("m4r"),  QStringLiteral("flac"), QStringLiteral("wav"),
            QStringLiteral("wma"), QStringLiteral("ogg"),  QStringLiteral("aac"),  QStringLiteral("ac3")};
}

QStringList InputFilePanel::run(QWidget* parent) {
    OpenPanelOptions options;
    options.message = QString();
    options.canChooseFiles = true;
    options.canChooseDirectories = false;
    options.canCreateDirectories = false;
    options.allowsMultipleSelection = true;
    options.allowsOtherFileTypes = true;
    options.allowedFileTypes = allowedFileTypes();
    const QStringList paths = OpenPanel::run(options, parent);
    if (!paths.isEmpty())
        qCInfo(lcShell).noquote() << QStringLiteral("urls:(%1)").arg(paths.join(QStringLiteral(", ")));
    return paths;
}
