#pragma once

#include "SubtitleRecord.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class LQMoviePlayer;
class MediaJob;
class SubtitleHost;
class SubtitlePanel;
class SubtitleParam;

// The editor's subtitle panel: one subtitle file (.srt, .ass, .ssa), its font among the system's TrueType fonts,
// its colour and its row, each sent to the preview at once (and shown by a paused preview), and the export's part
// of the job. Main thread only.
//
// A file that gives no cue, or whose path does not fit the record, is refused with a message and changes
// nothing. The colour is the subtitle's as soon as it is chosen; the shadow is black.
class SubtitleEditor : public QObject {
    Q_OBJECT
public:
    explicit SubtitleEditor(SubtitleHost& host, QObject* parent = nullptr);
    ~SubtitleEditor() override;

    // Builds the panel over the whole of its host (the window's subtitle mode view), which shows and hides it.
    void initSubtitleView(QWidget* host);
    SubtitlePanel* captionView() const { return _panel; }

    // The colour well and the subtitle pop-up follow `enabled`; the font pop-up and the position slider too
    // while a subtitle is chosen, else they are disabled.
    void enableEdit(bool enabled);
    // A new file: a fresh subtitle style, the pop-up back to its two fixed items.
    void resetForNewFile();
    // A rotation or its reset: the subtitle leaves the preview; choosing the file's entry brings it back.
    void clearForRotation();
    // Gives a (new) preview player the subtitle, when there is one.
    void applyToPlayer(LQMoviePlayer& player) const;

    // The pop-ups, the slider and the colour well.
    void actionSubtitle_popUpBtn(int index);
    void actionfonts_popUpBtn(int index);
    void actionsubtitleAlphSlider();
    void changeSubtitleColor(const QColor& colour);
    // Loads a subtitle file as the open panel's choice would; false (with a message) when it is refused.
    bool loadSubtitleFile(const QString& path);

    const SubtitleParam& subtitleParam() const { return *_subtitleParam; }
    QString captionPath() const { return _captionPath; }
    std::optional<QColor> captionColor() const { return _captionColor; }
    SubtitleSettings settings() const;
    // The export's part: a copy of the subtitle taken now, handed to a job later.
    std::function<int(MediaJob&)> exportContribution() const;

    // Replaced by tests: the system's font files and the colour chooser (empty result: cancelled).
    std::function<QStringList()> fontFiles;
    std::function<std::optional<QColor>(const QColor&)> chooseColor;

private:
    void loadFromOpenPanel();
    void buildFontList();
    void fillSubtitlePopUp();
    void fillFontPopUp();
    void sendSubtitle(const QString& path);
    void refreshIfPaused(LQMoviePlayer& player) const;
    void chooseColourFromWell();
    bool isScript() const;

    SubtitleHost& _host;
    SubtitlePanel* _panel = nullptr;
    std::shared_ptr<SubtitleParam> _subtitleParam;
    QString _captionPath;
    std::optional<QColor> _captionColor;
    int _shownSubtitleIndex = 0; // the pop-up's item before the current choice
};
