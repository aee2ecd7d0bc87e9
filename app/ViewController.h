#pragma once

#include "LabelField.h"
#include "MOQButton.h"
#include "MOQImageView.h"

#include <QList>
#include <QObject>
#include <QPointer>

class FeatureWindowController;
class QWidget;
struct Notification;

// The launcher: the content of the main window. Eleven tool buttons open the tools' windows (the editor in the
// tool's mode); while a tool window is open every launcher button is disabled, and the tool's
// "WillCloseNotification" enables them again. An about button (the modal about box), a homepage button and a
// language button sit beside them, and a description line follows the pointer over the tool buttons.
//
// The launcher keeps no reference to a tool window's controller. Should a tool window fail to open, or go away
// without its notification, the launcher enables itself again.
class ViewController : public QObject {
    Q_OBJECT
public:
    // mainWindow: the window the view goes into, styled by viewDidLoad().
    explicit ViewController(QWidget* mainWindow, QObject* parent = nullptr);
    ~ViewController() override;

    // The launcher's view, made and set up on the first request.
    QWidget* view();
    bool isViewLoaded() const { return !_view.isNull(); }
    QWidget* mainWindow() const { return _mainWindow; }

    MOQImageView* backImageView() const { return _backImageView; }
    LabelField* descLabel1() const { return _descLabel1; }
    MOQButton* cropButton() const { return _cropButton; }
    MOQButton* effectButton() const { return _effectButton; }
    MOQButton* subtitleButton() const { return _subtitleButton; }
    MOQButton* watermarkButton() const { return _watermarkButton; }
    MOQButton* joinnerButton() const { return _joinnerButton; }
    MOQButton* easyCutterButton() const { return _easyCutterButton; }
    MOQButton* batchCutterButton() const { return _batchCutterButton; }
    MOQButton* advancedCutterButton() const { return _advancedCutterButton; }
    MOQButton* rotateButton() const { return _rotateButton; }
    MOQButton* addorremovemusicButton() const { return _addorremovemusicButton; }
    MOQButton* splitButton() const { return _splitButton; }
    MOQButton* aboutButton() const { return _aboutButton; }
    MOQButton* homepageButton() const { return _homepageButton; }
    MOQButton* lanuageButton() const { return _lanuageButton; }

    // The eleven tool buttons in the launcher's order, then the language, about and homepage buttons.
    QList<MOQButton*> toolButtons() const;
    QList<MOQButton*> allButtons() const;

    void initButtonTitle();
    void enable(bool enabled);
    void childEnable(const Notification& notification);

    void cropAction(MOQButton* sender);
    void effectAction(MOQButton* sender);
    void subtitleAction(MOQButton* sender);
    void watermarkAction(MOQButton* sender);
    void joinnerAction(MOQButton* sender);
    void easy_cutterAction(MOQButton* sender);
    void batch_cutterAction(MOQButton* sender);
    void advanced_cutterAction(MOQButton* sender);
    void rotateAction(MOQButton* sender);
    void addOrremovemusicAction(MOQButton* sender);
    void splitAction(MOQButton* sender);
    void aboutAction();
    void homepageAction();
    void lanuageAction();

    // The description line's text while the pointer is on no tool button.
    static QString normalDescription();

private:
    void loadView();
    void viewDidLoad();
    void openEditor(qint64 toolItemType, const QString& titleKey);
    void openFeatureWindow(FeatureWindowController* controller, const QString& titleKey);

    QPointer<QWidget> _mainWindow;
    QPointer<QWidget> _view;
    QPointer<MOQImageView> _backImageView;
    QPointer<LabelField> _descLabel1;
    QPointer<MOQButton> _cropButton;
    QPointer<MOQButton> _effectButton;
    QPointer<MOQButton> _subtitleButton;
    QPointer<MOQButton> _watermarkButton;
    QPointer<MOQButton> _joinnerButton;
    QPointer<MOQButton> _easyCutterButton;
    QPointer<MOQButton> _batchCutterButton;
    QPointer<MOQButton> _advancedCutterButton;
    QPointer<MOQButton> _rotateButton;
    QPointer<MOQButton> _addorremovemusicButton;
    QPointer<MOQButton> _splitButton;
    QPointer<MOQButton> _aboutButton;
    QPointer<MOQButton> _homepageButton;
    QPointer<MOQButton> _lanuageButton;
    int _toolSerial = 0; // counts the tool windows opened
    int _openTool = 0;   // the serial of the tool window that keeps the launcher disabled, 0 for none
};
