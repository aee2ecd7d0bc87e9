#include "EditExportSettings.h"

#include "AudioStreamInfo.h"
#include "FileData.h"
#include "OutputCustomValues.h"

#include <QFileInfo>

QString EditExportSettings::baseName() const {
    const QString name = QFileInfo(sourceName.isEmpty() ? sourcePath : sourceName).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

void EditExportSettings::readStoredOutputChoices() {
    OutputSelection selection(OutputSelection::Family::Editor);
    selection.readStoredTitles();
    for (int title = 0; title < OutputSelection::TitleCount; ++title)
        titles[size_t(title)] = selection.title(OutputSelection::Title(title));
    customWidth = OutputCustomValues::width();
    customHeight = OutputCustomValues::height();
}

std::optional<int> EditExportSettings::audioStreamIndexFor(const AudioStreamInfoList& streams, int selectedItem) {
    if (selectedItem < 0 || selectedItem >= streams.size() || !streams[selectedItem])
        return std::nullopt;
    return streams[selectedItem]->index();
}

void EditExportSettings::takeFile(const SimpleData& file, int selectedAudioItem) {
    sourcePath = file.path();
    sourceName = file.name();
    const FileData& source = *file.sourceData();
    const FileData& target = *file.targetData();
    durationUs = qint64(double(source.duration()) * 1000000.0);
    sourceWidth = source.width();
    sourceHeight = source.height();
    audioStreamIndex = audioStreamIndexFor(*file.audioStreamInfos(), selectedAudioItem);
    // A target that has not been given its format yet writes the source's (an output always has an extension).
    extension = !target.extension().isEmpty() ? target.extension() : source.extension();
    if (extension.isEmpty())
        extension = QStringLiteral("mp4");
    targetWidth = target.width() > 0 ? target.width() : source.width();
    targetHeight = target.height() > 0 ? target.height() : source.height();
}
