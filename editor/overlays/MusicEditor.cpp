#include "MusicEditor.h"

#include "EffectTableCellView.h"
#include "LQCutProgressView.h"
#include "LQMoviePlayer.h"
#include "LQProgressSlider.h"
#include "LQTextField.h"
#include "LabelField.h"
#include "Later.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MOQView.h"
#include "MusicHost.h"
#include "MusicInfo.h"
#include "MusicPanel.h"
#include "MusicRangeSlider.h"
#include "OpenPanel.h"
#include "RepeatingTimer.h"
#include "ResourceBundle.h"
#include "ViewFrame.h"
#include "WatermarkEditRules.h"
#include "libMediaCore.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>

namespace {

const QLoggingCategory& lcMusic() {
    static const QLoggingCategory category("clipwright.music");
    return category;
}

MediaTime seconds(double s) {
    return MediaTime::withSeconds(s, 1000000000);
}

QString percent(float volume) {
    return QString::asprintf("%.f", static_cast<double>(volume) * 100) + "%";
}

constexpr int kRowHeight = 24;

} // namespace

MusicEditor::MusicEditor(MusicHost& host, QObject* parent) : QObject(parent), _host(host) {}

MusicEditor::~MusicEditor() {
    stopPlayers();
}

bool MusicEditor::removesOriginalSound() const {
    return _panel && _panel->removeOriginalmusicBtn->selected();
}

double MusicEditor::originalSoundLevel() const {
    if (!_panel)
        return 1.0;
    return _panel->originalVolumeBtn->selected() ? 0.0 : _panel->originalVolumeSlider->progress();
}

MusicEditor::MusicList MusicEditor::musicSelecteds() const {
    MusicList ticked;
    for (const auto& m : _musicList)
        if (m->selected())
            ticked.push_back(m);
    return ticked;
}

MusicInfo* MusicEditor::selectedItem() const {
    if (_selectedMusicIndex < 0 || _selectedMusicIndex >= static_cast<int>(_musicList.size()))
        return nullptr;
    return _musicList[static_cast<size_t>(_selectedMusicIndex)].get();
}

float MusicEditor::videoLength() const {
    LQMoviePlayer* player = _host.musicMainPlayer();
    return player ? static_cast<float>(player->duration().seconds()) : 0.0f;
}

float MusicEditor::musicLength() const {
    // The probed length of the selected item; its preview player reports the same file.
    if (MusicInfo* m = selectedItem())
        return m->duration();
    return _lqmusicPlayer ? static_cast<float>(_lqmusicPlayer->duration().seconds()) : 0.0f;
}

// ----- set-up -----

void MusicEditor::initMusicView(QWidget* contentHost, QWidget* playerView, QWidget* bottomView, QWidget* noFileView,
                                QComboBox* audioTracks) {
    _panel = new MusicPanel(contentHost, {playerView, bottomView, noFileView});
    _audiochanelPopBtn = audioTracks;
    MusicPanel& p = *_panel;
    p.pruneMusicBtn->setSelected(false);
    p.musicItemVolueSlider->setProgress(1.0f);
    p.musicItemVolueSlider->setDelegate(this);
    p.originalVolumeSlider->setProgress(1.0f);
    p.originalVolumeSlider->setDelegate(this);
    p.musicItemVoluelabel->setStringValue("100%");
    p.originalMusicVolumeLabel->setStringValue("100%");
    p.pruneRangSlider->setType(2);
    p.pruneRangSlider->setDelegate(this);
    for (MusicPanel::TimeRow* row : p.timeRows()) {
        for (LQTextField* f : row->fields) {
            f->setDelegate(this);
            f->setMouseDelegate(this);
        }
    }
    p.music_volumeSlider->setProgress(0.5f);
    p.music_volumeSlider->setDelegate(this);
    p.musicRangSlider->setEnable(false);
    p.musicRangSlider->setDelegate(this);
    for (const char* key : {"png", "jpg", "bmp"}) {
        QString title = ResourceBundle::localizedStringForKey(QString::fromLatin1(key));
        title.remove('"');
        if (!title.isEmpty())
            p.coverStylePopBtn->addItem(title);
    }
    QObject::connect(p.coverStylePopBtn, &QComboBox::activated, this, [this](int index) { coverstyleAction(index); });
    p.videooriginalsoundLabel->setStringValue(
        ResourceBundle::localizedStringForKey("videooriginalsoundLabelstringValue"));
    wireButtons();
    p.layOutPruneArea(false);
    enableMusicEdit(false);
    p.removeOriginalmusicBtn->setEnabled(false);
}

void MusicEditor::wireButtons() {
    MusicPanel& p = *_panel;
    auto on = [this](MOQButton* b, std::function<void()> work) {
        b->setMouseDownAction([this, work](MOQButton*) { later(this, work); });
    };
    on(p.loadmusicBtn, [this] { loadMusicAction(); });
    on(p.deletedMusicBtn, [this] {
        if (!_musicList.empty())
            deleteAction();
    });
    on(p.musicItemPlayPauseBtn, [this] { playOrPauseAudio(); });
    on(p.playPruneMusicBtn, [this] { playOrPauseAudio(); });
    on(p.musicItemVolueBtn, [this] { itemMuteAction(); });
    on(p.pruneMusicLeftBtn, [this] { pruneStartAtMusicPosition(); });
    on(p.pruneMusicRightBtn, [this] { pruneEndAtMusicPosition(); });
    on(p.originalVolumeBtn, [this] { originalMuteAction(); });
    on(p.repeatMusicBtn, [this] { repeatAction(); });
    on(p.pruneMusicBtn, [this] { pruneAction(); });
    on(p.fadeInBtn, [this] { fadeInAction(); });
    on(p.fadeOutBtn, [this] { fadeOutAction(); });
    on(p.removeOriginalmusicBtn, [this] { removeOriginalAction(); });
    on(p.mplayer_playOrPauseBtn, [this] {
        if (!_host.musicMainPlayer())
            return;
        _panel->mplayer_playOrPauseBtn->setSelected(!_panel->mplayer_playOrPauseBtn->selected());
        if (_host.musicPreviewPlaying())
            _host.musicPausePreview();
        else
            _host.musicPlayPreview();
        enableMusicEdit(false);
        _panel->loadmusicBtn->setEnabled(false);
        if (_audiochanelPopBtn)
            _audiochanelPopBtn->setEnabled(false);
    });
    on(p.mplayer_stopBtn, [this] {
        if (!_host.musicMainPlayer())
            return;
        _host.musicStopPreview();
        _panel->musicRangSlider->setProgress(0);
        enableMusicEdit(!_musicList.empty());
        _panel->loadmusicBtn->setEnabled(true);
        if (_audiochanelPopBtn)
            _audiochanelPopBtn->setEnabled(true);
    });
    on(p.mplayer_coverBtn, [this] {
        if (_host.musicMainPlayer())
            _host.musicSaveStillFrame();
    });
    on(p.coverStyleBtn, [this] {
        if (_host.musicMainPlayer())
            coverStyleToggle();
    });
    on(p.music_voumeBtn, [this] {
        if (_host.musicMainPlayer())
            mainVolumeMuteAction();
    });
    const std::array<std::pair<QSpinBox*, Stepper>, 4> steppers = {{{p.post.stepper, Stepper::Post},
                                                                    {p.poen.stepper, Stepper::Poen},
                                                                    {p.prst.stepper, Stepper::Prst},
                                                                    {p.pren.stepper, Stepper::Pren}}};
    for (const auto& [box, which] : steppers) {
        const Stepper w = which;
        QObject::connect(box, &QSpinBox::valueChanged, this, [this, w](int) { stepperAction(w); });
    }
}

void MusicEditor::hiddenMusicViewPlay(bool hidden) {
    if (!_panel)
        return;
    _panel->musicRightPlayerView->setHidden(hidden);
    _panel->musicRightBottomView->setHidden(hidden);
    _panel->toolMusicNofileView->setHidden(!hidden);
    if (!hidden)
        return;
    _panel->toolMusicNofileDescBack->setCornerRadius(5);
    _panel->toolMusicNofileDescBack->setBordColor(QColor(214, 212, 212));
    _panel->toolMusicNofileDescBack->setBorderWidth(2);
    _panel->toolMusicNofileDescLabels[0]->setStringValue(
        ResourceBundle::localizedStringForKey("toolMusicNofileDescLabelstringValue"));
    for (int i = 1; i <= 4; ++i)
        _panel->toolMusicNofileDescLabels[static_cast<size_t>(i)]->setStringValue(
            ResourceBundle::localizedStringForKey(QString("toolMusicNofileDescLabel%1stringValue").arg(i)));
    _panel->layOutRightView(); // the steps take the lines their texts need
}

void MusicEditor::enableMusicEdit(bool e) {
    if (!_panel)
        return;
    MusicPanel& p = *_panel;
    p.musicRangSlider->setEnable(e);
    p.pruneRangSlider->setDisable(!e);
    p.musicItemVolueSlider->setDisable(!e);
    p.music_voumeBtn->setEnabled(e);
    p.music_volumeSlider->setDisable(false);
    for (MOQButton* b : {p.repeatMusicBtn, p.pruneMusicBtn, p.playPruneMusicBtn, p.pruneMusicLeftBtn,
                         p.pruneMusicRightBtn, p.fadeInBtn, p.fadeOutBtn, p.musicItemPlayPauseBtn, p.musicItemVolueBtn})
        b->setEnabled(e);
    // "Remove Original music" belongs to the file, not to the list: the window's switch (enableEdit) decides.
    for (MusicPanel::TimeRow* row : p.timeRows())
        for (LQTextField* f : row->fields)
            f->setEnabled(e);
    p.deletedMusicBtn->setEnabled(e);
    for (EffectTableCellView* row : _musicTableCells)
        row->setEnable(e);
}

void MusicEditor::enableEdit(bool e) {
    if (!_panel)
        return;
    const bool player = _host.musicMainPlayer() != nullptr;
    // Without a file or while an export runs, a tick would reach the next preview and export unseen.
    _panel->loadmusicBtn->setEnabled(e && player);
    _panel->removeOriginalmusicBtn->setEnabled(e && player);
    _panel->originalVolumeSlider->setDisable(!e || !player);
}

void MusicEditor::sourceFileAdded() {
    stopMusicPreviewForPlay();
    _musicList.clear();
    _levelsBeforeMute.clear();
    refreshMusicListView();
    refreshMusicTimeField(_selectedMusicIndex);
    hiddenMusicViewPlay(false);
}

// ----- the list -----

std::optional<float> MusicEditor::probeMusicLength(const QString& path) {
    const QByteArray name = path.toUtf8();
    MEDIA_HANDLE media = MediaOpen(name.constData());
    if (!media)
        return std::nullopt;
    AUDIO_STREAM_INFO audio{};
    VIDEO_STREAM_INFO video{};
    const int info = MediaGetInfo(media, &audio, &video);
    const int64_t us = MediaGetDuration(media);
    MediaClose(media);
    if (info < 0 || !audio.exist || us <= 0)
        return std::nullopt;
    return static_cast<float>(static_cast<double>(us) / 1e6);
}

void MusicEditor::loadMusicAction() {
    OpenPanelOptions options;
    options.message = "";
    options.allowsMultipleSelection = true;
    options.canChooseDirectories = false;
    options.canCreateDirectories = false;
    options.canChooseFiles = true;
    options.allowedFileTypes = {"mp3", "mp2", "m4a", "m4r", "flac", "wav", "wma", "ogg", "aac", "ac3"};
    options.allowsOtherFileTypes = true;
    const QStringList paths = OpenPanel::run(options, _host.musicWindow());
    if (paths.isEmpty())
        return;
    qCInfo(lcMusic, "urls:%s", qUtf8Printable(paths.join(", ")));
    addMusicFiles(paths);
}

int MusicEditor::addMusicFiles(const QStringList& paths) {
    const float V = videoLength();
    QStringList refused;
    int added = 0;
    for (const QString& path : paths) {
        const std::optional<float> length = probeMusicLength(path);
        if (!length) {
            refused << QFileInfo(path).fileName();
            continue;
        }
        auto m = std::make_shared<MusicInfo>();
        m->setPath(path);
        MusicTiming::loaded(*length, V).storeInto(*m);
        m->setSelected(true);
        _musicList.push_back(m);
        ++added;
    }
    if (added > 0)
        refreshMusicListView();
    if (!refused.isEmpty()) {
        qCWarning(lcMusic, "not music: %s", qUtf8Printable(refused.join(", ")));
        _host.musicAlert(QStringLiteral("musicFileUnplayable"));
    }
    return added;
}

void MusicEditor::deleteAction() {
    MusicInfo* m = selectedItem();
    if (!m)
        return;
    // The preview of the deleted item stops with it.
    if (_lqmusicPlayer && _musicPlayerPath == m->path()) {
        if (_isaudioplaying)
            playOrPauseAudio();
        initmusicPlayer({});
    }
    _levelsBeforeMute.remove(m);
    if (_selectedMusicIndex < _musicTableCells.size())
        _musicTableCells[_selectedMusicIndex]->setParent(nullptr);
    _musicList.erase(_musicList.begin() + _selectedMusicIndex);
    refreshMusicListView();
    refreshMusicTimeField(_selectedMusicIndex);
}

void MusicEditor::refreshMusicListView() {
    if (!_panel)
        return;
    for (EffectTableCellView* row : _musicTableCells)
        row->deleteLater();
    _musicTableCells.clear();
    if (QWidget* old = _panel->musicListScrollView->takeWidget())
        old->deleteLater();
    _musicScrollDocumentView = nullptr;

    const int count = static_cast<int>(_musicList.size());
    if (count > 0 && (_selectedMusicIndex < 0 || _selectedMusicIndex > count - 1))
        _selectedMusicIndex = count - 1;

    QScrollArea* scroll = _panel->musicListScrollView;
    const double w = scroll->viewport()->width() > 0 ? scroll->viewport()->width() : scroll->width();
    const double h = std::max(static_cast<double>(scroll->height()), count * static_cast<double>(kRowHeight));
    auto* document = new MOQView({0, 0, w, h}, nullptr);
    document->resize(static_cast<int>(w), static_cast<int>(h));
    _musicScrollDocumentView = document;
    for (int i = 0; i < count; ++i) {
        auto* row =
            new EffectTableCellView({0, h - (i + 1) * kRowHeight, w, static_cast<double>(kRowHeight)}, document);
        row->setRow(i);
        row->setSelectedColor(Qt::white);
        row->setIsMusicCellType(true);
        row->titleLabel()->setStringValue(QFileInfo(_musicList[static_cast<size_t>(i)]->path()).fileName());
        row->setDelegate(this);
        row->selected(_musicList[static_cast<size_t>(i)]->selected());
        _musicTableCells.append(row);
    }
    scroll->setWidget(document);
    scroll->verticalScrollBar()->setValue(0);
    // The highlighted row loads its item once every row exists.
    for (int i = 0; i < count; ++i)
        _musicTableCells[i]->setSelectedRow(i == _selectedMusicIndex);
    enableMusicEdit(count > 0);
    if (count == 0) {
        _panel->musicRangSlider->setVideoRangeLowerValue(0, 0);
        _panel->musicRangSlider->setMusicRangeLowerValue(0, 0);
    }
}

void MusicEditor::selectRow(int row) {
    row = std::max(0, row);
    for (EffectTableCellView* cell : _musicTableCells)
        cell->setSelectedRow(false);
    _selectedMusicIndex = row;
    if (row < _musicTableCells.size())
        _musicTableCells[row]->setSelectedRow(true);
    if (MusicInfo* m = selectedItem()) {
        _panel->repeatMusicBtn->setSelected(m->repeat());
        _panel->fadeInBtn->setSelected(m->fadeIn());
        _panel->fadeOutBtn->setSelected(m->fadeOut());
        _panel->musicRangSlider->setIsRepeat(m->repeat());
    }
}

void MusicEditor::checkRow(int row) {
    row = std::max(0, row);
    if (row >= static_cast<int>(_musicList.size()) || row >= _musicTableCells.size())
        return;
    EffectTableCellView* cell = _musicTableCells[row];
    cell->selected(!cell->selected());
    _musicList[static_cast<size_t>(row)]->setSelected(cell->selected());
}

void MusicEditor::actionMouseDownForEffectTableCellViewBlock(EffectTableCellView*, long long index) {
    selectRow(static_cast<int>(index));
}

void MusicEditor::actionSelectedForEffectTableCellViewBlock(EffectTableCellView*, long long index) {
    checkRow(static_cast<int>(index));
}

void MusicEditor::actionSelectedBlock(EffectTableCellView* row, bool selected, long long index) {
    if (!selected || !row || !row->isMusicCellType())
        return;
    MusicInfo* m = selectedItem();
    if (!m)
        return;
    initmusicPlayer(m->path());
    MusicItemTimes t = MusicItemTimes::of(*m);
    MusicTiming::capPruneToRange(t);
    t.storeInto(*m);
    applySliders(t, true);
    refreshMusicTimeField(static_cast<int>(index));
}

// ----- showing an item -----

void MusicEditor::applySliders(const MusicItemTimes& m, bool placeToo) {
    const MusicTiming::SliderValues s = MusicTiming::sliderValues(m, videoLength(), m.duration);
    if (placeToo)
        _panel->musicRangSlider->setVideoRangeLowerValue(s.lower, s.upper);
    _panel->musicRangSlider->setMusicRangeLowerValue(s.musicLower, s.musicDuration);
    if (m.duration > 0)
        _panel->pruneRangSlider->setLowerValueUpperValue(m.pruneStart / m.duration,
                                                         (m.pruneStart + m.pruneDiration) / m.duration);
}

void MusicEditor::showTime(int group, float t) {
    const WatermarkEditRules::Parts parts = WatermarkEditRules::parts(t);
    const int values[4] = {parts.hours, parts.minutes, parts.seconds, parts.hundredths};
    MusicPanel::TimeRow* row = _panel->timeRows()[static_cast<size_t>(group)];
    for (size_t i = 0; i < 4; ++i)
        row->fields[i]->setStringValue(QString::asprintf("%02i", values[i]));
}

float MusicEditor::timeFromFields(int group) const {
    MusicPanel::TimeRow* row = _panel->timeRows()[static_cast<size_t>(group)];
    WatermarkEditRules::Parts parts;
    parts.hours = static_cast<int>(row->fields[0]->integerValue());
    parts.minutes = static_cast<int>(row->fields[1]->integerValue());
    parts.seconds = static_cast<int>(row->fields[2]->integerValue());
    parts.hundredths = static_cast<int>(row->fields[3]->integerValue());
    return WatermarkEditRules::seconds(parts);
}

int MusicEditor::timeGroup(LQTextField* field) const {
    const auto rows = _panel->timeRows();
    for (size_t g = 0; g < rows.size(); ++g)
        if (std::find(rows[g]->fields.begin(), rows[g]->fields.end(), field) != rows[g]->fields.end())
            return static_cast<int>(g);
    return -1;
}

void MusicEditor::showTimes(const MusicItemTimes& m) {
    using F = MusicTiming::Field;
    const F fields[4] = {F::PositionStart, F::PositionEnd, F::PruneStart, F::PruneEnd};
    for (int g = 0; g < 4; ++g)
        showTime(g, MusicTiming::fieldValue(m, fields[g]));
}

void MusicEditor::refreshMusicTimeField(int index) {
    if (!_panel)
        return;
    MusicPanel& p = *_panel;
    if (_musicList.empty()) {
        for (MOQButton* b : {p.fadeInBtn, p.fadeOutBtn, p.pruneMusicBtn, p.musicItemVolueBtn})
            b->setSelected(false);
        p.musicItemVolueSlider->setProgress(1.0f);
        p.musicItemVoluelabel->setStringValue("100%");
        for (MusicPanel::TimeRow* row : p.timeRows())
            for (LQTextField* f : row->fields)
                f->setStringValue("00");
        p.layOutPruneArea(false);
        return;
    }
    if (index < 0 || index >= static_cast<int>(_musicList.size()))
        return;
    const MusicItemTimes m = MusicItemTimes::of(*_musicList[static_cast<size_t>(index)]);
    showTimes(m);
    p.fadeInBtn->setSelected(m.fadeIn);
    p.fadeOutBtn->setSelected(m.fadeOut);
    p.pruneMusicBtn->setSelected(m.prune);
    p.musicItemVolueBtn->setSelected(m.volume == 0);
    p.musicItemVolueSlider->setProgress(m.volume);
    p.musicItemVoluelabel->setStringValue(percent(m.volume));
    p.layOutPruneArea(m.prune);
}

// ----- the selected item's controls -----

void MusicEditor::toggle(MOQButton* button, const std::function<void(MusicItemTimes&, bool)>& store) {
    button->setSelected(!button->selected());
    MusicInfo* m = selectedItem();
    if (!m)
        return;
    MusicItemTimes t = MusicItemTimes::of(*m);
    store(t, button->selected());
    t.storeInto(*m);
}

void MusicEditor::repeatAction() {
    toggle(_panel->repeatMusicBtn, [](MusicItemTimes& t, bool on) { t.repeat = on; });
    _panel->musicRangSlider->setIsRepeat(_panel->repeatMusicBtn->selected());
}

void MusicEditor::pruneAction() {
    toggle(_panel->pruneMusicBtn, [](MusicItemTimes& t, bool on) { t.prune = on; });
    _panel->layOutPruneArea(_panel->pruneMusicBtn->selected());
}

void MusicEditor::fadeInAction() {
    toggle(_panel->fadeInBtn, [](MusicItemTimes& t, bool on) { t.fadeIn = on; });
}

void MusicEditor::fadeOutAction() {
    toggle(_panel->fadeOutBtn, [](MusicItemTimes& t, bool on) { t.fadeOut = on; });
}

void MusicEditor::itemMuteAction() {
    MusicInfo* m = selectedItem();
    MOQButton* button = _panel->musicItemVolueBtn;
    button->setSelected(!button->selected());
    if (!m)
        return;
    if (button->selected()) {
        _levelsBeforeMute.insert(m, m->volume());
        m->setVolume(0);
    } else {
        // Un-muting gives back the level the item had (0.5 when it was muted at 0).
        const float before = _levelsBeforeMute.take(m);
        m->setVolume(before > 0 ? before : 0.5f);
    }
    _panel->musicItemVolueSlider->setProgress(m->volume());
    _panel->musicItemVoluelabel->setStringValue(percent(m->volume()));
    if (_lqmusicPlayer && _musicPlayerPath == m->path())
        _lqmusicPlayer->SetVolume(m->volume());
}

void MusicEditor::pruneStartAtMusicPosition() {
    MusicInfo* m = selectedItem();
    if (!m || !_lqmusicPlayer)
        return;
    MusicItemTimes t = MusicItemTimes::of(*m);
    MusicTiming::pruneStartAt(t, static_cast<float>(_lqmusicPlayer->currentTime().seconds()), t.duration);
    t.storeInto(*m);
    applySliders(t, false);
    refreshMusicTimeField(_selectedMusicIndex);
}

void MusicEditor::pruneEndAtMusicPosition() {
    MusicInfo* m = selectedItem();
    if (!m || !_lqmusicPlayer)
        return;
    MusicItemTimes t = MusicItemTimes::of(*m);
    const bool placeChanged =
        MusicTiming::pruneEndAt(t, static_cast<float>(_lqmusicPlayer->currentTime().seconds()), videoLength());
    t.storeInto(*m);
    applySliders(t, placeChanged);
    refreshMusicTimeField(_selectedMusicIndex);
}

void MusicEditor::stepperAction(Stepper which) {
    MusicInfo* m = selectedItem();
    const bool position = which == Stepper::Post || which == Stepper::Poen;
    LQTextField* field = position ? _edittingPositionField : _edittingPruneField;
    const MusicPanel::TimeRow* rows[4] = {&_panel->post, &_panel->poen, &_panel->prst, &_panel->pren};
    const int group = static_cast<int>(which);
    if (!m || !field)
        return;
    field->setStringValue(QString::asprintf("%02ld", static_cast<long>(rows[group]->stepper->value())));
    using F = MusicTiming::Field;
    const F fields[4] = {F::PositionStart, F::PositionEnd, F::PruneStart, F::PruneEnd};
    MusicItemTimes t = MusicItemTimes::of(*m);
    MusicTiming::step(t, fields[group], timeFromFields(group));
    t.storeInto(*m);
}

void MusicEditor::originalMuteAction() {
    MOQButton* b = _panel->originalVolumeBtn;
    b->setSelected(!b->selected());
    // The file's own sound only: muted, or back at its slider's level.
    if (LQMoviePlayer* player = _host.musicMainPlayer())
        player->SetMainAudioVolume(b->selected() ? 0.0 : _panel->originalVolumeSlider->progress());
}

void MusicEditor::removeOriginalAction() {
    MOQButton* b = _panel->removeOriginalmusicBtn;
    b->setSelected(!b->selected());
    if (LQMoviePlayer* player = _host.musicMainPlayer())
        player->DisableMainAudio(b->selected());
}

void MusicEditor::mainVolumeMuteAction() {
    MOQButton* b = _panel->music_voumeBtn;
    b->setSelected(!b->selected());
    if (LQMoviePlayer* player = _host.musicMainPlayer())
        player->SetVolume(b->selected() ? 0.0 : _panel->music_volumeSlider->progress() * 2.0);
}

void MusicEditor::coverStyleToggle() {
    _panel->coverStylePopBtn->setHidden(!_panel->coverStylePopBtn->isHidden());
    _panel->layOutVolumeAfterCoverStyle();
}

void MusicEditor::coverstyleAction(int row) {
    // The pop-up shows translated titles; the format comes from the row.
    static const QStringList codes = {"png", "jpg", "bmp"};
    if (row < 0 || row >= codes.size())
        return;
    _coverStyle = codes.at(row);
    _panel->coverStylePopBtn->hide();
    _panel->layOutVolumeAfterCoverStyle();
    _panel->coverStylePopBtn->setCurrentIndex(row);
}

// ----- the music preview -----

void MusicEditor::initmusicPlayer(const QString& path) {
    if (_lqmusicPlayer) {
        removeAudioTimer();
        _lqmusicPlayer->stop();
        _lqmusicPlayer.reset();
        _musicPlayerPath.clear();
        if (_isaudioplaying) {
            _isaudioplaying = false;
            _panel->musicItemPlayPauseBtn->setSelected(false);
            _panel->playPruneMusicBtn->setSelected(false);
        }
    }
    if (!path.isEmpty()) {
        _lqmusicPlayer = std::make_unique<LQMoviePlayer>(path, ViewRect{0, 0, 20, 20});
        _musicPlayerPath = path;
        if (MusicInfo* m = selectedItem())
            _lqmusicPlayer->SetVolume(m->volume());
        _lqmusicPlayer->setPlayerDidEndBlock([this] {
            removeAudioTimer();
            if (_isaudioplaying)
                playOrPauseAudio();
            _isaudioplaying = false;
            _panel->musicItemPlayPauseBtn->setSelected(false);
            _panel->playPruneMusicBtn->setSelected(false);
        });
        _lqmusicPlayer->seekTime(MediaTime::zero());
        _panel->pruneRangSlider->setProgress(0);
    }
    enableMusicEdit(!path.isEmpty() || !_musicList.empty());
}

void MusicEditor::playOrPauseAudio() {
    _isaudioplaying = !_isaudioplaying;
    _panel->playPruneMusicBtn->setSelected(_isaudioplaying);
    _panel->musicItemPlayPauseBtn->setSelected(_isaudioplaying);
    if (_host.musicPreviewPlaying())
        _host.musicPausePreview();
    if (!_lqmusicPlayer)
        return;
    if (_isaudioplaying) {
        _lqmusicPlayer->play();
        addAudioTimer();
    } else {
        _lqmusicPlayer->pause();
        removeAudioTimer();
    }
}

void MusicEditor::addAudioTimer() {
    removeAudioTimer();
    _audioTimer = RepeatingTimer::schedule(0.1, [this] { changeMusicPlayerSlider(); });
}

void MusicEditor::removeAudioTimer() {
    if (_audioTimer)
        _audioTimer->invalidate();
    _audioTimer.reset();
}

void MusicEditor::changeMusicPlayerSlider() {
    if (!_lqmusicPlayer)
        return;
    const float length = static_cast<float>(_lqmusicPlayer->duration().seconds());
    if (length > 0)
        _panel->pruneRangSlider->setProgress(static_cast<float>(_lqmusicPlayer->currentTime().seconds()) / length);
}

void MusicEditor::seekMusicPreview(float progress) {
    if (_lqmusicPlayer)
        _lqmusicPlayer->seekTime(seconds(static_cast<double>(progress * musicLength())));
}

void MusicEditor::stopMusicPreviewForPlay() {
    if (_isaudioplaying)
        playOrPauseAudio();
}

void MusicEditor::stopPlayers() {
    removeAudioTimer();
    if (_lqmusicPlayer && _isaudioplaying)
        _lqmusicPlayer->stop();
    _isaudioplaying = false;
    _lqmusicPlayer.reset();
    _musicPlayerPath.clear();
}

// ----- the main preview -----

MusicDubbing MusicEditor::dubbing() const {
    MusicDubbing d;
    for (const auto& m : musicSelecteds())
        d.tracks.push_back({m->path(), MusicTiming::slice(MusicItemTimes::of(*m))});
    d.removeOriginalSound = removesOriginalSound();
    d.originalSoundLevel = originalSoundLevel();
    return d;
}

void MusicEditor::addDubbingWithPlayer() {
    LQMoviePlayer* player = _host.musicMainPlayer();
    if (!player)
        return;
    const bool playing = _host.musicPreviewPlaying();
    if (playing)
        player->pause();
    dubbing().applyToPlayer(*player);
    if (playing)
        player->play();
}

void MusicEditor::mainPreviewProgress(float progress) {
    if (_panel)
        _panel->musicRangSlider->setProgress(progress);
}

void MusicEditor::mainPreviewPlaying(bool playing) {
    if (_panel)
        _panel->mplayer_playOrPauseBtn->setSelected(playing);
}

void MusicEditor::mainPreviewEnded() {
    if (!_panel || _musicList.empty())
        return;
    enableMusicEdit(true);
    _panel->loadmusicBtn->setEnabled(true);
    if (_audiochanelPopBtn)
        _audiochanelPopBtn->setEnabled(true);
    _panel->mplayer_playOrPauseBtn->setSelected(false);
    refreshMusicTimeField(_selectedMusicIndex);
}

// ----- sliders and fields -----

void MusicEditor::actionMouseDownForCutProgressViewBlock(LQCutProgressView*, float progress) {
    seekMusicPreview(progress);
}

void MusicEditor::actionMouseUpForCutProgressViewBlock(LQCutProgressView*, float progress) {
    seekMusicPreview(progress);
}

void MusicEditor::actionSeekToTimeForCutProgressViewBlock(LQCutProgressView*, float progress) {
    seekMusicPreview(progress);
}

void MusicEditor::actionMouseMovedForCutProgressViewBlock(LQCutProgressView*, float lower, float upper,
                                                          long long handle) {
    MusicInfo* m = selectedItem();
    if (!m)
        return;
    MusicItemTimes t = MusicItemTimes::of(*m);
    const bool placeChanged = MusicTiming::pruneSliderMoved(t, lower, upper, handle, t.duration, videoLength());
    t.storeInto(*m);
    if (handle == 1 || handle == 2) {
        const MusicTiming::SliderValues s = MusicTiming::sliderValues(t, videoLength(), t.duration);
        if (placeChanged)
            _panel->musicRangSlider->setVideoRangeLowerValue(s.lower, s.upper);
        _panel->musicRangSlider->setMusicRangeLowerValue(s.musicLower, s.musicDuration);
    }
    refreshMusicTimeField(_selectedMusicIndex);
}

void MusicEditor::actionProgressForProgressSliderBlock(LQProgressSlider* slider, float progress) {
    if (slider == _panel->originalVolumeSlider) {
        _panel->originalMusicVolumeLabel->setStringValue(percent(progress));
        if (LQMoviePlayer* player = _host.musicMainPlayer())
            if (!_panel->originalVolumeBtn->selected())
                player->SetMainAudioVolume(progress);
    } else if (slider == _panel->musicItemVolueSlider) {
        if (_lqmusicPlayer)
            _lqmusicPlayer->SetVolume(progress);
        if (MusicInfo* m = selectedItem()) {
            m->setVolume(progress);
            _levelsBeforeMute.remove(m);
            _panel->musicItemVolueBtn->setSelected(progress == 0);
        }
        _panel->musicItemVoluelabel->setStringValue(percent(progress));
    } else if (slider == _panel->music_volumeSlider) {
        if (LQMoviePlayer* player = _host.musicMainPlayer())
            if (!_panel->music_voumeBtn->selected())
                player->SetVolume(progress * 2.0);
    }
}

void MusicEditor::actionMouseDownForTextFieldBlock(LQTextField* field) {
    const int group = timeGroup(field);
    if (group < 0)
        return;
    if (group < 2)
        _edittingPositionField = field;
    else
        _edittingPruneField = field;
    QSpinBox* stepper = _panel->timeRows()[static_cast<size_t>(group)]->stepper;
    const QSignalBlocker quiet(stepper);
    stepper->setRange(0, field == _panel->timeRows()[static_cast<size_t>(group)]->fields[3] ? 99 : 59);
    stepper->setValue(static_cast<int>(field->integerValue()));
}

bool MusicEditor::controlTextShouldEndEditing(LQTextField* field) {
    MusicInfo* m = _panel ? selectedItem() : nullptr;
    const int group = _panel ? timeGroup(field) : -1;
    if (!m || group < 0)
        return true;
    using F = MusicTiming::Field;
    const F fields[4] = {F::PositionStart, F::PositionEnd, F::PruneStart, F::PruneEnd};
    MusicItemTimes t = MusicItemTimes::of(*m);
    const MusicTiming::Commit result = MusicTiming::commit(t, fields[group], timeFromFields(group), t.duration);
    if (!result.accepted) {
        if (!result.refusalKey.isEmpty())
            _host.musicAlert(result.refusalKey);
        return false;
    }
    t.storeInto(*m);
    applySliders(t, true);
    refreshMusicTimeField(_selectedMusicIndex);
    return true;
}

void MusicEditor::changeProgress(MusicRangeSlider* slider) {
    if (LQMoviePlayer* player = _host.musicMainPlayer())
        player->seekTime(seconds(static_cast<double>(videoLength()) * slider->progress()));
}

void MusicEditor::changeRangeValue(MusicRangeSlider* slider) {
    qCInfo(lcMusic, "position:%f : %f", slider->positionLeftValue(), slider->positionRightValue());
    qCInfo(lcMusic, "musicRange:%f : %f", slider->musicLeftValue(), slider->musicRightValue());
    MusicInfo* m = selectedItem();
    if (!m)
        return;
    const float V = videoLength();
    m->setPositionStart(slider->positionLeftValue() * V);
    m->setPositionEnd(slider->positionRightValue() * V);
    showTimes(MusicItemTimes::of(*m));
}
