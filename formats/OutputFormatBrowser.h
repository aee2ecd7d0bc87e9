#pragma once

#include "ButtonMouseDelegate.h"
#include "LQCustomButtonDelegate.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MouseMoveButton.h"
#include "ProfileRoot.h"
#include <QScrollArea>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class LQCustomButton;
class OutputFormatOwner;
class QAbstractButton;
class SimpleData;

// The output-format chooser along the bottom of the joiner and the editor: a bar of categories, a paged row of
// profile items (eight to a page) with page arrows, and a top bar naming the chosen profile that collapses the
// browser on low screens. Choosing a profile stores the choice, clears the owner's output selection where the
// variant says so and applies the profile; its settings button opens the settings dialog.
//
// The chosen category, the chosen profile and the page last shown for each category are stored under keys both
// windows share. The owner builds the browser at window set-up in this order: setFunctionList (or
// loadFunctionList), initTabbarView, initfunctionView, actionFunctionItem(nullptr).
class OutputFormatBrowser : public QObject, public LQCustomButtonDelegate, public ButtonMouseDelegate {
    Q_OBJECT
public:
    enum class Variant { Joiner, Editor };

    // The tag of an item's settings button, and the text of the top bar.
    static constexpr int kSettingsButtonTag = 5000000;
    static const QString kTargetFormatText; // "Target Format: %1", never localised

    OutputFormatBrowser(Variant variant, OutputFormatOwner* owner, ProfileRoot root, QObject* parent = nullptr);
    ~OutputFormatBrowser() override;

    Variant variant() const { return _variant; }
    const ProfileRoot& profileRoot() const { return _root; }

    // The category names in bar order.
    const QStringList& functionList() const { return _functionList; }
    void setFunctionList(const QStringList& list) { _functionList = list; }
    // "Custom" first when the custom folder holds a profile, then the root's categories.
    void loadFunctionList() { _functionList = _root.categoryList(); }

    // Building, in the owner's order.
    void initTabbarView();
    void initfunctionView();
    void initFunctionItemView(qint64 categoryIndex);
    void checkLeft_fight_btn_isDisable(qint64 pageCount);

    // A category is chosen (nullptr: the automatic choice at window open and, in the editor, for a new file).
    void actionFunctionItem(LQCustomButton* button);
    // A profile item is chosen (nullptr: the stored profile is not in the row; see the restore).
    void actionFunctionItemScrollChild(MOQButton* item);
    void action_left_move_item_Btn();
    void action_right_move_item_Btn();
    // The top bar's click: collapses or expands the browser (screens at most 780 points high only).
    void toggleCollapse();

    // Applies a profile file (empty: the root's default profile) to the owner's selection and clips.
    void setViewChildesPf(const QString& profilePath);
    // Opens the settings dialog for the item whose settings button is `sender`, modally.
    void actionEditsetting(QAbstractButton* sender);
    // Joiner: a clip's "use this format" check changed (the list cleared it on every other clip).
    void setdefaultFormat(const SimpleData& clip);
    // Joiner: the owner's edit lock enables or disables every category button and every profile item.
    void enableEdit(bool enabled);

    void actionMouseUpForCustomButtonBlock(LQCustomButton* button) override;
    void mouseupEntered(MouseMoveButton* button) override;

    // State.
    const QString& functionItemTitle() const { return _functionItemTitle; }
    const QStringList& functionItemChilds() const { return _functionItemChilds; }
    const QList<LQCustomButton*>& function_Items() const { return _function_Items; }
    // The item buttons of the shown category, in row order (the joiner's functionItemBtn_Childs).
    const QList<MOQButton*>& functionItemBtn_Childs() const { return _functionItemBtn_Childs; }
    qint64 selectFunListItemIndex() const { return _selectFunListItemIndex; }
    qint64 selectItemIndex() const { return _selectItemIndex; }
    qint64 selectFunctionOfsetIndex() const { return _selectFunctionOfsetIndex; }
    bool needRefreshlocalSettingsData() const { return _needRefreshlocalSettingsData; }
    bool isCollapsed() const;
    static QAbstractButton* settingsButtonOf(const MOQButton* item);
    static int tagOf(const QWidget* view);

    // Views.
    MOQImageView* tabbarView() const { return _tabbarView; }
    MOQImageView* tabbarbackView() const { return _tabbarbackView; }
    MOQImageView* functionView() const { return _functionView; }
    QScrollArea* functionItemScrollview() const { return _functionItemScrollview; }
    QWidget* documentView() const { return _documentView; }
    MOQImageView* itemSelectView() const { return _itemSelectView; }
    MOQButton* showFunctionBtn() const { return _showFunctionBtn; }
    MOQImageView* showFunctionIconView() const { return _showFunctionIconView; }
    MouseMoveButton* left_move_item_Btn() const { return _left_move_item_Btn; }
    MouseMoveButton* right_move_item_Btn() const { return _right_move_item_Btn; }
    MOQButton* playOrpauseBtn() const { return _playOrpauseBtn; }

    // The main screen's height in points; tests replace it.
    void setScreenHeightProvider(std::function<double()> provider) { _screenHeight = std::move(provider); }

private:
    QString key(const QString& joinerKey) const; // this window's own stored position key
    void restoreStoredPosition();
    void chooseItem(MOQButton* item, bool restoring);
    QString profilePathFor(const QString& name) const;
    qint64 storedPage(const QString& category) const;
    qint64 categoryPosition() const; // 1-based position of functionItemTitle in functionList
    void setArrow(MouseMoveButton* arrow, const char* image, bool enabled);
    void layoutAfterCollapse(bool collapsed, double windowWidth);
    void setItemsEnabled(bool enabled, bool settingsButtonsToo);

    Variant _variant;
    OutputFormatOwner* _owner;
    ProfileRoot _root;
    std::function<double()> _screenHeight;

    QStringList _functionList;
    QList<LQCustomButton*> _function_Items;
    QString _functionItemTitle;
    QStringList _functionItemChilds;
    QList<MOQButton*> _functionItemBtn_Childs;
    qint64 _selectFunListItemIndex = 0;
    qint64 _selectItemIndex = 0;
    qint64 _selectFunctionOfsetIndex = 0;
    bool _needRefreshlocalSettingsData = false;
    double _windowsWidth = 0; // the window's width when the category bar was built (the joiner drops the fraction)

    QPointer<MOQImageView> _tabbarView;
    QPointer<MOQImageView> _tabbarbackView;
    QPointer<MOQImageView> _functionView;
    QPointer<QScrollArea> _functionItemScrollview;
    QPointer<QWidget> _documentView;
    QPointer<MOQImageView> _itemSelectView;
    QPointer<MOQButton> _showFunctionBtn;
    QPointer<MOQImageView> _showFunctionIconView;
    QPointer<MouseMoveButton> _left_move_item_Btn;
    QPointer<MouseMoveButton> _right_move_item_Btn;
    QPointer<MOQButton> _playOrpauseBtn;
};
