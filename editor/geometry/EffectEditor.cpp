#include "EffectEditor.h"

#include "EffectHost.h"
#include "EffectPanel.h"
#include "EffectTableCellView.h"
#include "LQMoviePlayer.h"
#include "LabelField.h"
#include "MOQButton.h"
#include "MediaJob.h"
#include "ViewFrame.h"

#include <QLoggingCategory>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

Q_LOGGING_CATEGORY(lcEffects, "clipwright.effects")

QString percentText(double volume) {
    // The integer part of the percentage ("%.lf" of a truncated value): 0.999 shows 99.
    return QString::number(static_cast<long long>(std::trunc(volume * 100 + 1e-9)));
}

} // namespace

EffectEditor::EffectEditor(EffectHost& host, QObject* parent)
    : QObject(parent), _host(host), _effectTypes(EffectListFile::bundled()) {}

EffectEditor::~EffectEditor() {
    if (_rowsParent.isNull())
        return;
    for (EffectTableCellView* row : _effectTableCells)
        row->setDelegate(nullptr);
}

void EffectEditor::initEffectView(QWidget* host) {
    _panel = new EffectPanel(ViewFrame::bounds(host), host);
    connect(_panel->_volueSlider, &QSlider::valueChanged, this, [this] { action_volueSlider(); });
    connect(_panel->_brightnessSlider, &QSlider::valueChanged, this, [this] { action_brightnessSlider(); });
    connect(_panel->_contrastSlider, &QSlider::valueChanged, this, [this] { action_contrastSlider(); });
    connect(_panel->_saturationSlider, &QSlider::valueChanged, this, [this] { action_saturationSlider(); });
    _panel->_effectReset->setMouseDownAction([this](MOQButton*) { actionEffectReset(); });

    _panel->setRowCount(static_cast<int>(_effectTypes.size()));
    _rowsParent = _panel->_filterScrollDocumentView;
    const double width = ViewFrame::frame(_panel->_filterScrollView).width;
    const double documentHeight = _effectTypes.size() * EffectPanel::kRowHeight;
    for (int i = 0; i < _effectTypes.size(); ++i) {
        auto* row = new EffectTableCellView({0, documentHeight - (i + 1) * EffectPanel::kRowHeight, width,
                                             EffectPanel::kRowHeight},
                                            _panel->_filterScrollDocumentView);
        row->setRow(i);
        row->titleLabel()->setStringValue(_effectTypes[i].name);
        row->setDelegate(this);
        row->selected(std::ranges::count(_settings.effectIds, _effectTypes[i].id) > 0);
        _effectTableCells.append(row);
    }
    _panel->_filterScrollView->verticalScrollBar()->setValue(0);
    showValues();
}

void EffectEditor::enableEdit(bool enabled) {
    if (!_panel)
        return;
    for (QSlider* s : {_panel->_volueSlider, _panel->_brightnessSlider, _panel->_contrastSlider,
                       _panel->_saturationSlider})
        s->setEnabled(enabled);
    _panel->_effectReset->setEnabled(enabled);
    for (EffectTableCellView* row : _effectTableCells)
        row->setEnable(enabled);
}

void EffectEditor::showValues() {
    if (!_panel)
        return;
    const QSignalBlocker volume(_panel->_volueSlider), brightness(_panel->_brightnessSlider),
        contrast(_panel->_contrastSlider), saturation(_panel->_saturationSlider);
    _panel->_volueSlider->setValue(static_cast<int>(std::lround(_settings.volume * EffectPanel::kVolumeSteps)));
    _panel->_brightnessSlider->setValue(_settings.brightness);
    _panel->_contrastSlider->setValue(_settings.contrast);
    _panel->_saturationSlider->setValue(_settings.saturation);
    _panel->_volueValueLabel->setStringValue(percentText(_settings.volume));
    _panel->_brightnessValueLabel->setStringValue(QString::number(_settings.brightness));
    _panel->_contrastValueLabel->setStringValue(QString::number(_settings.contrast));
    _panel->_saturationValueLabe->setStringValue(QString::number(_settings.saturation));
}

void EffectEditor::resetForNewFile() {
    _settings = EffectSettings{};
    showValues();
    for (EffectTableCellView* row : _effectTableCells)
        row->selected(false);
    if (LQMoviePlayer* player = _host.effectPlayer()) {
        applyToPlayer(*player);
        refreshIfPaused(*player);
    }
}

void EffectEditor::applyToPlayer(LQMoviePlayer& player) const {
    _settings.applyTo(player);
}

void EffectEditor::refreshIfPaused(LQMoviePlayer& player) const {
    if (!_host.effectPreviewPlaying())
        player.Refresh();
}

void EffectEditor::action_volueSlider() {
    if (!_panel)
        return;
    const double value = _panel->_volueSlider->value() / double(EffectPanel::kVolumeSteps);
    _panel->_volueValueLabel->setStringValue(percentText(value));
    _settings.volume = value;
    if (LQMoviePlayer* player = _host.effectPlayer()) {
        player->SetVolume(value);
        refreshIfPaused(*player);
    }
}

// One of the three colour sliders: its value to the settings and its label, the three values to the preview.
void EffectEditor::colourSliderMoved(QSlider* slider, LabelField* label, int EffectSettings::*value) {
    if (!_panel)
        return;
    _settings.*value = slider->value();
    label->setStringValue(QString::number(_settings.*value));
    if (LQMoviePlayer* player = _host.effectPlayer()) {
        player->SetBCS(_settings.brightness, _settings.contrast, _settings.saturation);
        refreshIfPaused(*player);
    }
}

void EffectEditor::action_brightnessSlider() {
    if (_panel)
        colourSliderMoved(_panel->_brightnessSlider, _panel->_brightnessValueLabel, &EffectSettings::brightness);
}

void EffectEditor::action_contrastSlider() {
    if (_panel)
        colourSliderMoved(_panel->_contrastSlider, _panel->_contrastValueLabel, &EffectSettings::contrast);
}

void EffectEditor::action_saturationSlider() {
    if (_panel)
        colourSliderMoved(_panel->_saturationSlider, _panel->_saturationValueLabe, &EffectSettings::saturation);
}

void EffectEditor::actionEffectReset() {
    qCInfo(lcEffects, "%s", "-[EditVideoWindowController actionEffectReset]");
    _settings = EffectSettings{};
    showValues();
    for (EffectTableCellView* row : _effectTableCells)
        row->selected(false);
    if (LQMoviePlayer* player = _host.effectPlayer()) {
        player->SetVolume(1.0);
        player->SetBCS(0, 0, 0);
        player->ClearImageEffect();
        refreshIfPaused(*player);
    }
}

void EffectEditor::chooseEffect(long long row) {
    row = std::max(0LL, row);
    LQMoviePlayer* player = _host.effectPlayer();
    if (!player || row >= _effectTypes.size())
        return;
    const EffectListEntry& entry = _effectTypes[static_cast<qsizetype>(row)];
    const bool added = EffectSettings::toggle(_settings.effectIds, entry.id);
    if (row < _effectTableCells.size()) {
        EffectTableCellView* cell = _effectTableCells[static_cast<qsizetype>(row)];
        cell->titleLabel()->setStringValue(entry.name);
        cell->selected(added);
    }
    player->ClearImageEffect();
    for (size_t i = 0; i < _settings.effectIds.size(); ++i) {
        qCInfo(lcEffects, "effectType_%d : %d", static_cast<int>(i), _settings.effectIds[i]);
        player->AddImageEffect(_settings.effectIds[i]);
    }
    refreshIfPaused(*player);
}

void EffectEditor::actionSelectedForEffectTableCellViewBlock(EffectTableCellView*, long long index) {
    chooseEffect(index);
}

void EffectEditor::actionMouseDownForEffectTableCellViewBlock(EffectTableCellView*, long long index) {
    chooseEffect(index);
}

std::function<int(MediaJob&)> EffectEditor::exportContribution() const {
    const EffectSettings settings = _settings;
    return [settings](MediaJob& job) { return settings.applyPictureTo(job.handle()); };
}

std::function<int(MediaJob&)> EffectEditor::volumeContribution() const {
    const EffectSettings settings = _settings;
    const double mainLevel = _host.effectMainAudioLevel();
    return [settings, mainLevel](MediaJob& job) { return settings.applyLevelTo(job.handle(), mainLevel); };
}
