#include "InputFilePanel.h"

#include "Alert.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "ShellLog.h"

#include <QFileInfo>
#include <QWidget>

QStringList InputFilePanel::allowedFileTypes() {
    return {QStringLiteral("mov"), QStringLiteral("qt"), QStringLiteral("mp4"), QStringLiteral("m4v"),
            QStringLiteral("flv"), QStringLiteral("ts"), QStringLiteral("m2ts"), QStringLiteral("mts"),
            QStringLiteral("mkv"), QStringLiteral("mka"), QStringLiteral("mpg"), QStringLiteral("mpeg"),
            QStringLiteral("mpa"), QStringLiteral("m2v"), QStringLiteral("mpv"), QStringLiteral("dat"),
            QStringLiteral("avi"), QStringLiteral("divx"), QStringLiteral("3gp"), QStringLiteral("3g2"),
            QStringLiteral("vob"), QStringLiteral("mxf"), QStringLiteral("tp"), QStringLiteral("trp"),
            QStringLiteral("nut"), QStringLiteral("h261"), QStringLiteral("h264"), QStringLiteral("mod"),
            QStringLiteral("tod"), QStringLiteral("wmv"), QStringLiteral("mp3"), QStringLiteral("mp2"),
            QStringLiteral("m4a"), QStringLiteral("m4r"), QStringLiteral("flac"), QStringLiteral("wav"),
            QStringLiteral("wma"), QStringLiteral("ogg"), QStringLiteral("aac"), QStringLiteral("ac3"),
            // Further containers the engine reads, so that the media filter hides none of them.
            QStringLiteral("webm"), QStringLiteral("ogv"), QStringLiteral("oga"), QStringLiteral("opus"),
            QStringLiteral("f4v"), QStringLiteral("asf"), QStringLiteral("m2t"), QStringLiteral("mk3d"),
            QStringLiteral("3gpp"), QStringLiteral("aif"), QStringLiteral("aiff"), QStringLiteral("amr"),
            QStringLiteral("m4b"), QStringLiteral("rm"), QStringLiteral("rmvb"), QStringLiteral("wv")};
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

QString InputFilePanel::runForOne(QWidget* parent) {
    const QStringList paths = run(parent);
    if (paths.size() > 1) {
        // The panel lets several files be chosen (it is the same in every window); a window that opens one says
        // which it left out rather than dropping them without a word.
        QStringList others;
        for (const QString& path : paths.mid(1))
            others << QFileInfo(path).fileName();
        AlertRequest request;
        request.style = AlertRequest::Style::Informational;
        request.messageText = parent != nullptr ? parent->window()->windowTitle() : QString();
        request.informativeText = ResourceBundle::localizedStringForKey(QStringLiteral("OnlyOneFileOpenedString"))
                                      .arg(QFileInfo(paths.first()).fileName(), others.join(QLatin1Char('\n')));
        request.buttons = {ResourceBundle::localizedStringForKey(QStringLiteral("OKBtnTitle"))};
        Alert::run(request, parent);
    }
    return paths.value(0);
}
