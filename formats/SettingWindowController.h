#pragma once

#include "OutputProfile.h"
#include "OutputSelection.h"
#include "SettingMenuRules.h"
#include "WindowController.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class MOQImageView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The modal dialog in which the user adjusts the eight encoder parameters behind one output profile. Each choice
// is stored at once under the owner's keys and reported through selectSettingCallbackBlock with one
// SettingChangeMask bit, so the owner follows while the dialog is open; Default puts back the profile's own
// defaults and reports through settingCallbackBlock. OK (or Return, or closing the window) keeps what was stored;
// Cancel (or Esc) puts back what was stored when the dialog opened and reports every parameter it changed again.
// A custom size that the encoder's even sizes change is said under the fields.
//
// The owner sets joinner() and fileType() before asking for the window, gives the window its frame, sets pfPath()
// and the closures, sends displayViewChildes() and runs the window modally.
class SettingWindowController : public WindowController {
    Q_OBJECT
public:
    using ChangeBlock = std::function<void(int changeBit)>;
    using DefaultBlock = std::function<void()>;

    // Window and panel widths without and with a custom value shown.
    static constexpr int kNarrowWidth = 360;
    static constexpr int kWideWidth = 480;
    static constexpr int kVideoHeight = 480; // fileType 1
    static constexpr int kAudioHeight = 292; // fileType 2

    SettingWindowController();
    ~SettingWindowController() override;

    bool joinner() const { return _joinner; }
    void setJoinner(bool joinner) { _joinner = joinner; }
    qint64 fileType() const { return _fileType; }
    void setFileType(qint64 fileType) { _fileType = fileType; }
    QString pfPath() const { return _pfPath; }
    void setPfPath(const QString& path) { _pfPath = path; }
    void setSelectSettingCallbackBlock(ChangeBlock block) { _selectSettingCallbackBlock = std::move(block); }
    void setSettingCallbackBlock(DefaultBlock block) { _settingCallbackBlock = std::move(block); }

    // Fills and selects the pop-ups from the profile and the owner's stored choices.
    void displayViewChildes();

    // A parameter's pop-up was set to the item at `index` by the user (touchUpInslide_v1: ... touchUpInslide_a4:).
    void chooseItem(OutputProfile::Parameter parameter, int index);
    // The Default button.
    void actiondefaultBtn();
    // A custom field's text changed.
    void customValueChange(QLineEdit* field);
    // OK: closes, keeping the choices. Cancel: puts back what was stored at opening, then closes.
    void okAction();
    void cancelAction();

    // The views, for the owner's tests and for looking at the dialog.
    QComboBox* popUp(OutputProfile::Parameter parameter) const { return _popUps[parameter]; }
    QLineEdit* customWidth() const { return _customWidth; }
    QLineEdit* customHeight() const { return _customHeight; }
    QLineEdit* customVideoBit() const { return _customVideoBit; }
    QLabel* sp() const { return _sp; }
    MOQImageView* videoBackView() const { return _videoBackView; }
    MOQImageView* audioBackView() const { return _audioBackView; }
    QPushButton* defaultButton() const { return _defaultBtn; }
    QPushButton* okButton() const { return _okBtn; }
    QPushButton* cancelButton() const { return _cancelBtn; }
    // The note that a typed custom size is written rounded ("Rounded to 640 x 360"); hidden when nothing rounds.
    QLabel* roundingNote() const { return _roundingNote; }
    // The titles as loaded at opening or at the last Default.
    const std::optional<QString>& selectTitle(OutputProfile::Parameter parameter) const { return _titles[parameter]; }

protected:
    QWidget* loadWindow() override;
    void windowDidLoad() override;
    bool windowShouldClose() override;

private:
    void setViewChildes();
    void defaultSettings();
    void buildPanel(bool video, int width);
    void buildCustomFields(MOQImageView* panel, double frameSizeY, double bitRateY);
    void fillMenus(SettingMenuRules::Moment moment);
    // Reads the option lists of the profile; returns the profile's text for further lookups.
    QByteArray readOptions();
    void resizeForCustomValues();
    void placeButtons(double width);
    void showRounding();
    // The owner's stored keys this dialog may change, with their values when it opened.
    QStringList ownedKeys() const;
    void rememberStoredValues();
    QString ownerKey(OutputProfile::Parameter parameter) const;
    QString profilePathOrFallback() const;
    bool isKeepOriginalProfile() const;
    bool isVideoProfile() const { return _fileType != 2; }
    bool showsCustom(OutputProfile::Parameter parameter) const;

    bool _joinner = false;
    qint64 _fileType = 1;
    QString _pfPath;
    ChangeBlock _selectSettingCallbackBlock;
    DefaultBlock _settingCallbackBlock;

    QWidget* _customView = nullptr;
    MOQImageView* _videoBackView = nullptr;
    MOQImageView* _audioBackView = nullptr;
    std::array<QComboBox*, OutputProfile::ParameterCount> _popUps{};
    QLineEdit* _customWidth = nullptr;
    QLabel* _sp = nullptr;
    QLineEdit* _customHeight = nullptr;
    QLineEdit* _customVideoBit = nullptr;
    QPushButton* _defaultBtn = nullptr;
    QPushButton* _okBtn = nullptr;
    QPushButton* _cancelBtn = nullptr;
    QLabel* _roundingNote = nullptr;
    QList<std::optional<QString>> _storedAtOpening;
    int _changedBits = 0;

    std::array<QStringList, OutputProfile::ParameterCount> _options; // _vcodecs ... _abitates
    std::array<std::optional<QString>, OutputProfile::ParameterCount> _titles;
};
