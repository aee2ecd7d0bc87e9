#pragma once

#include "EffectListFile.h"
#include "EffectSettings.h"
#include "EffectTableCellViewDelegate.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class EffectHost;
class EffectPanel;
class EffectTableCellView;
class LQMoviePlayer;
class LabelField;
class QSlider;
class MediaJob;

// The editor's colour, volume and effect panel: four sliders, the effect list and the reset, each change sent to
// the preview at once (and shown by a paused preview), and the export's part of the job. Main thread only.
//
// The effect rows report here (check box and row clicks do the same thing); the music list's rows have their own
// delegate.
class EffectEditor : public QObject, public EffectTableCellViewDelegate {
    Q_OBJECT
public:
    explicit EffectEditor(EffectHost& host, QObject* parent = nullptr);
    ~EffectEditor() override;

    // The list the rows show; the bundle's list unless set before initEffectView.
    const QList<EffectListEntry>& effectTypes() const { return _effectTypes; }
    void setEffectTypes(const QList<EffectListEntry>& types) { _effectTypes = types; }

    // Builds the panel over the whole of its host (the window's effect mode view), which shows and hides it.
    void initEffectView(QWidget* host);
    EffectPanel* effectView() const { return _panel; }
    const QList<EffectTableCellView*>& effectTableCells() const { return _effectTableCells; }

    // The four sliders, the reset button and every row.
    void enableEdit(bool enabled);
    // A new file: everything back to neutral, the controls and the player (when there is one) with it.
    void resetForNewFile();
    // Gives a (new) preview player the panel's settings.
    void applyToPlayer(LQMoviePlayer& player) const;

    // Slider actions (also what the sliders' value changes call).
    void action_volueSlider();
    void action_brightnessSlider();
    void action_contrastSlider();
    void action_saturationSlider();
    void actionEffectReset();
    // Chooses or un-chooses the effect of a row.
    void chooseEffect(long long row);

    // The settings as they stand (ids ascending).
    const EffectSettings& settings() const { return _settings; }
    // The export's parts, each a copy taken now and applied to a job later: the picture (effects and colour), in
    // the effects' place; and the level of the file's own sound, the host's main level times the panel's volume,
    // after every other part that sets that level (the music's).
    std::function<int(MediaJob&)> exportContribution() const;
    std::function<int(MediaJob&)> volumeContribution() const;

    // Row delegate.
    void actionSelectedForEffectTableCellViewBlock(EffectTableCellView* row, long long index) override;
    void actionMouseDownForEffectTableCellViewBlock(EffectTableCellView* row, long long index) override;

private:
    void showValues();
    void colourSliderMoved(QSlider* slider, LabelField* label, int EffectSettings::*value);
    void refreshIfPaused(LQMoviePlayer& player) const;

    EffectHost& _host;
    EffectPanel* _panel = nullptr;
    // The rows' parent, which goes with the window: a controller deletes its window before its child objects, so
    // the rows may be gone by the time this editor is.
    QPointer<QWidget> _rowsParent;
    QList<EffectListEntry> _effectTypes;
    QList<EffectTableCellView*> _effectTableCells;
    EffectSettings _settings;
};
