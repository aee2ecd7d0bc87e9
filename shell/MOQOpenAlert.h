#pragma once

#include "MOQButton.h"
#include "WindowController.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <functional>

// The result alert a feature window shows after a job has finished: the window's title, a "finished" message, the
// application icon, a check box offering to show the output folder, and OK. OK hands the check box's state to
// SelectedOkBlock, closes the alert and ends its modal run; it does so also when no block is set, so the alert
// can always be closed. Its window's own close control ends the modal run as well, revealing nothing.
//
// windowTitle and infomation are read once, when the window loads: set them before the first window() request.
class MOQOpenAlert : public WindowController {
    Q_OBJECT
public:
    using OkBlock = std::function<void(bool openFolder)>;

    static constexpr double kWidth = 338;
    static constexpr double kHeight = 114;

    explicit MOQOpenAlert(QObject* parent = nullptr);
    ~MOQOpenAlert() override;

    QString windowTitle() const { return _windowTitle; }
    void setWindowTitle(const QString& title) { _windowTitle = title; }
    QString infomation() const { return _infomation; }
    void setInfomation(const QString& key) { _infomation = key; }
    OkBlock SelectedOkBlock() const { return _SelectedOkBlock; }
    void setSelectedOkBlock(OkBlock block) { _SelectedOkBlock = std::move(block); }

    QLabel* appIconView() const { return _appIconView; }
    QLabel* titleLabel() const { return _titleLabel; }
    QCheckBox* openBtn() const { return _openBtn; }
    MOQButton* okBtn() const { return _okBtn; }

    void okAction();

protected:
    void windowDidLoad() override;

private:
    QString _windowTitle;
    QString _infomation;
    OkBlock _SelectedOkBlock;
    QPointer<QLabel> _appIconView;
    QPointer<QLabel> _titleLabel;
    QPointer<QCheckBox> _openBtn;
    QPointer<MOQButton> _okBtn;
};
