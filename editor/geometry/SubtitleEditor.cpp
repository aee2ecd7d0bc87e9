#include "SubtitleEditor.h"

#include "LQMoviePlayer.h"
#include "MOQButton.h"
#include "MediaJob.h"
#include "OpenPanel.h"
#include "ResourceBundle.h"
#include "SubtitleFileReader.h"
#include "SubtitleFontList.h"
#include "SubtitleHost.h"
#include "SubtitlePanel.h"
#include "SubtitleParam.h"
#include "ViewFrame.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

Q_LOGGING_CATEGORY(lcSubtitles, "clipwright.subtitles")

} // namespace

SubtitleEditor::SubtitleEditor(SubtitleHost& host, QObject* parent)
    : QObject(parent), _host(host), _subtitleParam(std::make_shared<SubtitleParam>()) {
    fontFiles = [] { return SubtitleFontList::systemFontFiles(); };
    chooseColor = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, _host.subtitleWindow());
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
}

SubtitleEditor::~SubtitleEditor() = default;

void SubtitleEditor::initSubtitleView(QWidget* host) {
    _panel = new SubtitlePanel(ViewFrame::bounds(host), host);
    fillSubtitlePopUp();
    fillFontPopUp();
    _panel->showColour(_subtitleParam->fontColor());
    connect(_panel->subtitle_popUpBtn, &QComboBox::activated, this, [this](int i) { actionSubtitle_popUpBtn(i); });
    connect(_panel->subtitleFont_popUpBtn, &QComboBox::activated, this, [this](int i) { actionfonts_popUpBtn(i); });
    connect(_panel->subtitleAlphSlider, &QSlider::valueChanged, this, [this] { actionsubtitleAlphSlider(); });
    connect(_panel->_colorWell, &QPushButton::clicked, this, [this] { chooseColourFromWell(); });
    _panel->_colorWell->setEnabled(false);
    _panel->subtitle_popUpBtn->setEnabled(false);
    _panel->subtitleFont_popUpBtn->setEnabled(false);
    _panel->subtitleAlphSlider->setEnabled(false);
}

void SubtitleEditor::fillSubtitlePopUp() {
    QComboBox* popUp = _panel->subtitle_popUpBtn;
    const QSignalBlocker blocker(popUp);
    popUp->clear();
    popUp->addItem(ResourceBundle::localizedStringForKey("No_subtitleItemTitle"));
    const QString path = _subtitleParam->subtitlePath();
    if (!path.isEmpty())
        popUp->addItem(QFileInfo(path).fileName());
    popUp->addItem(ResourceBundle::localizedStringForKey("Load_otherItemTitle"));
    popUp->setCurrentIndex(path.isEmpty() ? 0 : 1);
    _shownSubtitleIndex = popUp->currentIndex();
}

void SubtitleEditor::fillFontPopUp() {
    QComboBox* popUp = _panel->subtitleFont_popUpBtn;
    const QSignalBlocker blocker(popUp);
    popUp->clear();
    const auto list = _subtitleParam->fontPathList();
    if (!list || list->isEmpty()) {
        popUp->addItem(ResourceBundle::localizedStringForKey("Set_FontTitle"));
        return;
    }
    for (const QString& path : *list)
        popUp->addItem(QFileInfo(path).fileName());
    popUp->setCurrentIndex(static_cast<int>(_subtitleParam->fontSelectIndex()));
}

bool SubtitleEditor::isScript() const {
    return SubtitleFileReader::formatOfPath(_subtitleParam->subtitlePath()) == SubtitleFileReader::Format::Script;
}

void SubtitleEditor::enableEdit(bool enabled) {
    if (!_panel)
        return;
    _panel->_colorWell->setEnabled(enabled);
    _panel->subtitle_popUpBtn->setEnabled(enabled);
    const bool chosen = _panel->subtitle_popUpBtn->currentIndex() != 0;
    _panel->subtitleFont_popUpBtn->setEnabled(enabled && chosen);
    _panel->subtitleAlphSlider->setEnabled(enabled && chosen);
}

void SubtitleEditor::resetForNewFile() {
    _subtitleParam = std::make_shared<SubtitleParam>();
    if (!_panel)
        return;
    fillSubtitlePopUp();
    fillFontPopUp();
    _panel->showColour(_subtitleParam->fontColor());
    _panel->subtitle_popUpBtn->setEnabled(true);
    _panel->subtitleFont_popUpBtn->setEnabled(false);
    _panel->subtitleAlphSlider->setEnabled(false);
    _panel->captionAlphorBtn->setSelected(false);
}

void SubtitleEditor::clearForRotation() {
    _subtitleParam->setSubtitlePath({});
    sendSubtitle({});
}

void SubtitleEditor::applyToPlayer(LQMoviePlayer& player) const {
    const SubtitleSettings s = settings();
    if (const auto record = s.record(); record && !s.subtitlePath.isEmpty())
        player.SetSubtitle(*record);
}

SubtitleSettings SubtitleEditor::settings() const {
    return SubtitleSettings::from(*_subtitleParam);
}

void SubtitleEditor::refreshIfPaused(LQMoviePlayer& player) const {
    if (!_host.subtitlePreviewPlaying())
        player.Refresh();
}

// The record with `path` (empty: none) and the current style, to the preview.
void SubtitleEditor::sendSubtitle(const QString& path) {
    LQMoviePlayer* player = _host.subtitlePlayer();
    if (!player)
        return;
    SubtitleSettings s = settings();
    s.subtitlePath = path;
    const auto record = s.record();
    player->SetSubtitle(record ? *record : s.emptyRecord());
    refreshIfPaused(*player);
}

void SubtitleEditor::actionSubtitle_popUpBtn(int index) {
    qCInfo(lcSubtitles, "%s", "-[EditVideoWindowController actionSubtitle_popUpBtn:]");
    if (!_panel || !_host.subtitleFileOpen())
        return;
    const int count = _panel->subtitle_popUpBtn->count();
    if (index == count - 1) {
        loadFromOpenPanel();
        return;
    }
    if (index == 0) {
        _subtitleParam->setSubtitlePath({});
        sendSubtitle({});
    } else if (index == 1 && count != 2) {
        _subtitleParam->setSubtitlePath(_captionPath);
        _panel->subtitle_popUpBtn->setCurrentIndex(1);
        sendSubtitle(_captionPath);
    }
    _shownSubtitleIndex = _panel->subtitle_popUpBtn->currentIndex();
}

void SubtitleEditor::loadFromOpenPanel() {
    OpenPanelOptions options;
    options.message = ResourceBundle::localizedStringForKey("Pleaseselectthesubtitlefilestring");
    options.prompt = ResourceBundle::localizedStringForKey("OKBtnTitle");
    options.canChooseFiles = true;
    options.allowsMultipleSelection = true;
    options.canCreateDirectories = false;
    options.allowedFileTypes = {"ass", "ssa", "srt"};
    options.allowsOtherFileTypes = true;
    const QStringList urls = OpenPanel::run(options, _host.subtitleWindow());
    if (urls.isEmpty())
        return; // cancelled: the pop-up keeps showing its last item
    qCInfo(lcSubtitles, "urls:%s", qPrintable(urls.join(", ")));
    loadSubtitleFile(urls.last());
}

void SubtitleEditor::buildFontList() {
    const QStringList fonts = SubtitleFontList::fontFiles(fontFiles ? fontFiles() : QStringList{});
    _subtitleParam->setFontPathList(std::make_shared<QStringList>(fonts));
    fillFontPopUp();
}

bool SubtitleEditor::loadSubtitleFile(const QString& path) {
    if (!_panel)
        return false;
    // Nothing changes for a file that cannot be shown: the pop-up returns to what it showed.
    auto refuse = [this](const QString& key) {
        const QSignalBlocker blocker(_panel->subtitle_popUpBtn);
        _panel->subtitle_popUpBtn->setCurrentIndex(_shownSubtitleIndex);
        _host.subtitleAlert(key);
        return false;
    };
    const SubtitleFileReader::Result read = SubtitleFileReader::read(path);
    if (!read.ok())
        return refuse(read.refusalKey);
    SubtitleSettings candidate = settings();
    candidate.subtitlePath = path;
    if (!candidate.fits())
        return refuse("subtitlePathTooLong");

    if (!_subtitleParam->fontPathList())
        buildFontList();
    _captionPath = path;
    QComboBox* popUp = _panel->subtitle_popUpBtn;
    {
        const QSignalBlocker blocker(popUp);
        if (popUp->count() >= 3)
            popUp->removeItem(1);
        popUp->insertItem(1, QFileInfo(_captionPath).fileName());
    }
    if (!_subtitleParam->fontColor().isValid())
        _subtitleParam->setFontColor(Qt::white);
    const QStringList& fonts = *_subtitleParam->fontPathList();
    if (_subtitleParam->fontPath().isEmpty()) {
        const int index = SubtitleFontList::defaultIndex(fonts, SubtitleFontList::fallbackFontFile());
        _subtitleParam->setFontSelectIndex(std::max(0, index));
        // Without a TrueType font the subtitle takes the system's default face.
        _subtitleParam->setFontPath(index >= 0 ? fonts[index] : SubtitleFontList::fallbackFontFile());
        if (!settings().fits())
            _subtitleParam->setFontPath({});
    }
    if (!fonts.isEmpty()) {
        const QSignalBlocker blocker(_panel->subtitleFont_popUpBtn);
        _panel->subtitleFont_popUpBtn->setCurrentIndex(static_cast<int>(_subtitleParam->fontSelectIndex()));
    }
    _panel->setSliderValue(1.0);
    _subtitleParam->setPositon(-1);
    _subtitleParam->setSubtitlePath(_captionPath);
    {
        const QSignalBlocker blocker(popUp);
        popUp->setCurrentIndex(1);
    }
    _shownSubtitleIndex = 1;
    sendSubtitle(_captionPath);

    // A script keeps its own fonts and colours; the position still applies. The pop-up stays usable.
    const bool subRip = !isScript();
    _panel->_colorWell->setEnabled(subRip);
    _panel->subtitleFont_popUpBtn->setEnabled(subRip && !fonts.isEmpty());
    popUp->setEnabled(true);
    _panel->subtitleAlphSlider->setEnabled(true);
    _panel->captionAlphorBtn->setSelected(true);
    return true;
}

void SubtitleEditor::actionfonts_popUpBtn(int index) {
    qCInfo(lcSubtitles, "%s", "-[EditVideoWindowController actionfonts_popUpBtn:]");
    const auto list = _subtitleParam->fontPathList();
    if (!list || list->isEmpty() || index < 0 || index >= list->size())
        return;
    SubtitleSettings candidate = settings();
    candidate.fontPath = list->at(index);
    if (!candidate.fits()) {
        const QSignalBlocker blocker(_panel->subtitleFont_popUpBtn);
        _panel->subtitleFont_popUpBtn->setCurrentIndex(static_cast<int>(_subtitleParam->fontSelectIndex()));
        _host.subtitleAlert("subtitlePathTooLong");
        return;
    }
    _subtitleParam->setFontPath(candidate.fontPath);
    _subtitleParam->setFontSelectIndex(index);
    if (LQMoviePlayer* player = _host.subtitlePlayer()) {
        player->UpdateSubtitleFontFile(candidate.fontPath.toUtf8().constData());
        refreshIfPaused(*player);
    }
}

void SubtitleEditor::actionsubtitleAlphSlider() {
    if (!_panel)
        return;
    const double height = _host.subtitleVideoSize().height;
    const double fontSize = _subtitleParam->fontSize();
    const double p = std::max(0.0, std::min(_panel->sliderValue() * height, height - fontSize));
    _subtitleParam->setPositon(static_cast<int>(std::trunc(p)));
    if (LQMoviePlayer* player = _host.subtitlePlayer()) {
        player->UpdateSubtitlePos(_subtitleParam->positon());
        refreshIfPaused(*player);
    }
}

void SubtitleEditor::changeSubtitleColor(const QColor& colour) {
    qCInfo(lcSubtitles, "%s", "-[EditVideoWindowController changeSubtitleColor:]");
    if (!colour.isValid())
        return;
    _captionColor = colour;
    _subtitleParam->setFontColor(colour);
    if (_panel)
        _panel->showColour(colour);
    if (LQMoviePlayer* player = _host.subtitlePlayer()) {
        const SubtitleSettings s = settings();
        const auto record = s.emptyRecord();
        player->UpdateSubtitleFontClr(record.fontclr, s.shadow, record.shadowclr);
        refreshIfPaused(*player);
    }
}

void SubtitleEditor::chooseColourFromWell() {
    if (!chooseColor)
        return;
    if (const auto colour = chooseColor(_subtitleParam->fontColor()))
        changeSubtitleColor(*colour);
}

std::function<int(MediaJob&)> SubtitleEditor::exportContribution() const {
    const SubtitleSettings s = settings();
    return [s](MediaJob& job) { return s.applyTo(job.handle()); };
}
