#include "OutputFolderPopUp.h"

#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "StandardFolders.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString localized(const char* key) {
    return ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
}

// Creates a missing default folder; failing leaves only the log line and the path as it is.
void createWhenMissing(const QString& folder) {
    if (QFileInfo::exists(folder))
        return;
    const bool created = QDir().mkpath(folder);
    qCInfo(lcShell).noquote() << QStringLiteral("suc:%1 error:%2")
                                     .arg(created ? 1 : 0)
                                     .arg(created ? QStringLiteral("(null)")
                                                  : QStringLiteral("cannot create ") + folder);
}

} // namespace

OutputFolderPopUp::OutputFolderPopUp(QWidget* parent) : QComboBox(parent) {
    _outputPathTitles = {localized("outputFolderItemMovies"), localized("outputFolderItemDocuments"),
                         localized("outputFolderItemDesktop"), localized("Title"),
                         localized("outputFolderItemOther...")};
    rebuildItems();
    setCurrentIndex(DefaultFolder);
    connect(this, &QComboBox::activated, this, [this] { outputPopUpBtnAction(this); });
}

QString OutputFolderPopUp::defaultFolder() {
    return StandardFolders::documents() + QLatin1Char('/') + localized("Title");
}

void OutputFolderPopUp::outputPopUpBtnAction(QObject* sender) {
    if (sender == nullptr)
        setCurrentIndex(DefaultFolder);
    const int index = currentIndex();
    const bool lastIsDefault = count() > 0 && itemText(count() - 1) == localized("Title");
    switch (index) {
    case Movies:
        _outputPath = StandardFolders::movies();
        break;
    case Documents:
        _outputPath = StandardFolders::documents();
        break;
    case Desktop:
        _outputPath = StandardFolders::desktop();
        break;
    case DefaultFolder:
        _outputPath = defaultFolder();
        break;
    case OtherFolder:
        chooseOtherFolder();
        return;
    default:
        if (index >= ChosenFolder) {
            if (lastIsDefault)
                _outputPath = defaultFolder();
        } else {
            _outputPath = StandardFolders::desktop();
        }
        break;
    }
    if (index == DefaultFolder || index >= ChosenFolder)
        createWhenMissing(_outputPath);
    rebuildItems();
    if (index >= ChosenFolder)
        addItem(QFileInfo(_outputPath).fileName());
    showFolderTitle();
}

void OutputFolderPopUp::rebuildItems() {
    const QSignalBlocker blocker(this);
    clear();
    addItems(_outputPathTitles);
}

void OutputFolderPopUp::chooseOtherFolder() {
    OpenPanelOptions options;
    options.message = localized("Main_Sel_Dir_Hit");
    options.prompt = localized("OKBtnTitle");
    options.canCreateDirectories = true;
    options.canChooseFiles = true;
    options.canChooseDirectories = true;
    options.allowsMultipleSelection = false;
    options.directory = _outputPath;
    const QStringList chosen = OpenPanel::run(options, window());
    if (chosen.isEmpty()) {
        // Cancelled: the folder in use stays, and the pop-up shows it again instead of "Other...".
        showFolderTitle();
        return;
    }
    // Outputs go into a folder: a file chosen in the panel stands for the folder that holds it.
    const QFileInfo info(chosen.first());
    _outputPath = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    rebuildItems();
    addItem(QFileInfo(_outputPath).fileName());
    setCurrentIndex(ChosenFolder);
}

void OutputFolderPopUp::showFolderTitle() {
    const QString title = QFileInfo(_outputPath).fileName();
    int index = findText(title, Qt::MatchExactly);
    if (index < 0) {
        addItem(title);
        index = count() - 1;
    }
    setCurrentIndex(index);
}
