#pragma once

#include "ViewRect.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class LabelField;
class MOQButton;
class MOQImageView;
class NSProgressView;
class QComboBox;
class SimpleData;

// One row of the clip list: a clip's thumbnail, file name, source duration, frame size and file size, and the
// length of its trim range; the default-format check and the transition choice into the next clip; a hidden
// export progress bar. It reports clicks and edits through four closures that the list sets.
class JoinnerCell : public QWidget {
    Q_OBJECT
public:
    using Block = std::function<void(JoinnerCell*)>;

    // Transition kinds: the choice's item indexes and the values of a clip's transitionEffect.
    enum Transition { TransitionNone = 0, TransitionLeft = 1, TransitionTop = 2, TransitionFade = 3 };

    explicit JoinnerCell(const ViewRect& frame, QWidget* parent = nullptr);
    ~JoinnerCell() override;

    Block MouseDownBlock() const { return _MouseDownBlock; }
    void setMouseDownBlock(Block block) { _MouseDownBlock = std::move(block); }
    Block SelectedBlock() const { return _SelectedBlock; }
    void setSelectedBlock(Block block) { _SelectedBlock = std::move(block); }
    Block SelecteddefaultFormatoutputBlock() const { return _SelecteddefaultFormatoutputBlock; }
    void setSelecteddefaultFormatoutputBlock(Block block) { _SelecteddefaultFormatoutputBlock = std::move(block); }
    Block SelectedTransitionEffectBlock() const { return _SelectedTransitionEffectBlock; }
    void setSelectedTransitionEffectBlock(Block block) { _SelectedTransitionEffectBlock = std::move(block); }

    bool selected() const { return _selected; }
    // Stores the state, runs SelectedBlock (also when the state does not change) and redraws.
    void setSelected(bool selected);
    long long index() const { return _index; }
    void setIndex(long long index) { _index = index; }
    std::shared_ptr<SimpleData> fileData() const { return _fileData; }
    void setFileData(const std::shared_ptr<SimpleData>& data);
    bool enabele() const { return _enabele; }
    // Off: the row ignores clicks, and its default-format check and transition choice are disabled.
    void setEnabele(bool enabele);

    QImage sBackGroundImage() const { return _sBackGroundImage; }
    void setSBackGroundImage(const QImage& image) { _sBackGroundImage = image; }
    QImage nBackGroundImage() const { return _nBackGroundImage; }
    void setNBackGroundImage(const QImage& image) { _nBackGroundImage = image; }
    QColor sBackGroundColor() const { return _sBackGroundColor; }
    void setSBackGroundColor(const QColor& color) { _sBackGroundColor = color; }
    QColor nBackGroundColor() const { return _nBackGroundColor; }
    void setNBackGroundColor(const QColor& color) { _nBackGroundColor = color; }

    MOQImageView* thumbImageView() const { return _thumbImageView; }
    LabelField* scrLabel() const { return _scrLabel; }
    LabelField* sourceLabel() const { return _sourceLabel; }
    LabelField* sourceDurationLabel() const { return _sourceDurationLabel; }
    LabelField* sourceFrameLabel() const { return _sourceFrameLabel; }
    LabelField* sourceSizeLabel() const { return _sourceSizeLabel; }
    LabelField* cuttedLabel() const { return _cuttedLabel; }
    LabelField* cuttedTimeLabel() const { return _cuttedTimeLabel; }
    MOQButton* defaultoutputformat() const { return _defaultoutputformat; }
    LabelField* effectLabel() const { return _effectLabel; }
    QComboBox* effectBtn() const { return _effectBtn; }
    NSProgressView* progress() const { return _progress; }

    // The pop-up's action: the chosen kind goes into the clip and is reported.
    void transitionAction();

    // A file size in decimal megabytes as shown: "12.3MB", below 1 MB "512.0KB", below 1 KB "524.3B".
    static QString sizeText(float megabytes);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The wheel over the transition choice scrolls the list instead of changing the clip's transition.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LabelField* makeLabel(const ViewRect& frame, const QString& text);
    void toggleDefaultFormat();

    Block _MouseDownBlock;
    Block _SelectedBlock;
    Block _SelecteddefaultFormatoutputBlock;
    Block _SelectedTransitionEffectBlock;
    bool _selected = false;
    long long _index = 0;
    std::shared_ptr<SimpleData> _fileData;
    QImage _sBackGroundImage;
    QImage _nBackGroundImage;
    QColor _sBackGroundColor;
    QColor _nBackGroundColor;
    MOQImageView* _thumbImageView;
    LabelField* _scrLabel;
    LabelField* _sourceLabel;
    LabelField* _sourceDurationLabel;
    LabelField* _sourceFrameLabel;
    LabelField* _sourceSizeLabel;
    LabelField* _cuttedLabel;
    LabelField* _cuttedTimeLabel;
    MOQButton* _defaultoutputformat;
    LabelField* _effectLabel;
    QComboBox* _effectBtn;
    NSProgressView* _progress;
    bool _enabele = true;
};
