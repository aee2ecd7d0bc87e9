#include "OutputFormatBrowser.h"
#include "FakeFormatOwner.h"
#include "FormatBrowserLayout.h"
#include "LQCustomButton.h"
#include "Modal.h"
#include "ResourceBundle.h"
#include "SettingChangeMask.h"
#include "SimpleData.h"
#include "TemporaryUserDefaults.h"
#include "TextFiles.h"
#include "UserDefaults.h"
#include "ViewFrame.h"

#include "Dispatch.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Family = OutputSelection::Family;
using Variant = OutputFormatBrowser::Variant;
const QString kKeep = QStringLiteral("Keep Original");

UserDefaults& store() {
    return UserDefaults::standardUserDefaults();
}

QByteArray profileText(const QString& ext) {
    return TextFiles::crlf({"[Main]", qPrintable("ExtName=" + ext), "[Parameter]", R"v(vcodec="H264",{"H264"})v",
                            R"v(acodec="AAC",{"AAC"})v"});
}

// Categories: "Video" (the keep-original profile and p1 ... p8: nine, two pages), "Eight" (e1 ... e8), "Audio"
// (a1, a2), "Empty" (no folder).
class OutputFormatBrowserTest : public testing::Test {
protected:
    void SetUp() override {
        ResourceBundle::setLanguage("en");
        TextFiles::write(rootPath() + "/pf.dat", TextFiles::crlf({"[frmFormat]", "Count=4", "Type1=Video",
                                                                  "Type2=Eight", "Type3=Audio", "Type4=Empty"}));
        TextFiles::write(rootPath() + "/Video/Keep Original.pf", TextFiles::crlf({"[Main]", "ExtName="}));
        for (int i = 1; i <= 8; ++i) {
            TextFiles::write(rootPath() + QString("/Video/p%1.pf").arg(i), profileText(QString("p%1").arg(i)));
            TextFiles::write(rootPath() + QString("/Eight/e%1.pf").arg(i), profileText(QString("e%1").arg(i)));
        }
        TextFiles::write(rootPath() + "/Audio/a1.pf", profileText("a1"));
        TextFiles::write(rootPath() + "/Audio/a2.pf", profileText("a2"));
    }
    void TearDown() override {
        ResourceBundle::setLanguage(QString());
        Modal::resetProvider();
    }

    QString rootPath() const { return dir.filePath("root"); }

    // Builds a browser in the owner's order: category list, container, bar, automatic choice.
    std::unique_ptr<OutputFormatBrowser> open(FakeFormatOwner& owner, double screenHeight = 1080) {
        const Variant variant = owner.selection.family() == Family::Joiner ? Variant::Joiner : Variant::Editor;
        auto browser = std::make_unique<OutputFormatBrowser>(variant, &owner,
                                                             ProfileRoot(rootPath(), dir.filePath("Custom"), {kKeep}));
        browser->setScreenHeightProvider([screenHeight] { return screenHeight; });
        browser->loadFunctionList();
        browser->initTabbarView();
        browser->initfunctionView();
        browser->actionFunctionItem(nullptr);
        return browser;
    }

    static void clickCategory(OutputFormatBrowser& browser, int index) {
        browser.actionMouseUpForCustomButtonBlock(browser.function_Items().at(index - 1));
    }
    static void clickItem(OutputFormatBrowser& browser, int tag) {
        MOQButton* item = browser.functionItemBtn_Childs().at(tag - 1);
        item->mouseDownAction()(item);
    }
    static QList<bool> settingsShown(const OutputFormatBrowser& browser) {
        QList<bool> shown;
        for (MOQButton* item : browser.functionItemBtn_Childs())
            shown << !OutputFormatBrowser::settingsButtonOf(item)->isHidden();
        return shown;
    }

    QTemporaryDir dir;
    TemporaryUserDefaults defaults;
};

} // namespace

TEST_F(OutputFormatBrowserTest, BuildsTheBarAndTheContainer) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    ASSERT_EQ(browser->function_Items().size(), 4);
    const double xs[] = {0, 193.33333, 386.66666, 580};
    for (int i = 0; i < 4; ++i) {
        const ViewRect frame = ViewFrame::frame(browser->function_Items().at(i));
        EXPECT_NEAR(frame.x, xs[i], 0.001);
        EXPECT_EQ(frame.width, 120);
        EXPECT_EQ(browser->function_Items().at(i)->index(), i + 1);
    }
    EXPECT_EQ(ViewFrame::frame(browser->tabbarView()), (ViewRect{0, 0, 908, 180}));
    EXPECT_EQ(ViewFrame::frame(browser->tabbarbackView()), (ViewRect{0, 0, 908, 152}));
    EXPECT_EQ(ViewFrame::frame(browser->functionView()), (ViewRect{104, 0, 700, 28}));
    EXPECT_EQ(ViewFrame::frame(browser->showFunctionBtn()), (ViewRect{309, 151, 280, 30}));
    EXPECT_EQ(ViewFrame::frame(browser->left_move_item_Btn()), (ViewRect{36, 76, 28, 28}));
    EXPECT_EQ(ViewFrame::frame(browser->right_move_item_Btn()), (ViewRect{844, 76, 28, 28}));
    EXPECT_EQ(ViewFrame::frame(browser->functionItemScrollview()), (ViewRect{59, 35, 790, 110}));
    EXPECT_EQ(browser->showFunctionIconView(), nullptr); // a tall screen never collapses
    EXPECT_EQ(browser->playOrpauseBtn(), nullptr);
}

TEST_F(OutputFormatBrowserTest, NineProfilesMakeTwoPages) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    EXPECT_EQ(browser->functionItemTitle(), "Video");
    EXPECT_EQ(browser->functionItemChilds().value(0), kKeep);
    EXPECT_EQ(browser->documentView()->width(), 18000);
    EXPECT_EQ(ViewFrame::frame(browser->functionItemBtn_Childs().at(8)).x, 800);
    EXPECT_FALSE(browser->left_move_item_Btn()->isEnabled());
    EXPECT_TRUE(browser->right_move_item_Btn()->isEnabled());

    emit browser->right_move_item_Btn()->clicked();
    EXPECT_EQ(browser->selectFunctionOfsetIndex(), 1);
    EXPECT_EQ(browser->functionItemScrollview()->horizontalScrollBar()->value(), 800);
    EXPECT_TRUE(browser->left_move_item_Btn()->isEnabled());
    EXPECT_FALSE(browser->right_move_item_Btn()->isEnabled());
    EXPECT_EQ(store().integerForKey("Video_selectFunctionOfsetIndex"), 1);
    browser->action_right_move_item_Btn();
    EXPECT_EQ(browser->selectFunctionOfsetIndex(), 1);
    browser->action_left_move_item_Btn();
    EXPECT_EQ(browser->functionItemScrollview()->horizontalScrollBar()->value(), 0);
}

TEST_F(OutputFormatBrowserTest, EightProfilesAndAnEmptyCategoryDisableBothArrows) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    for (int category : {2, 4}) {
        clickCategory(*browser, category);
        EXPECT_FALSE(browser->left_move_item_Btn()->isEnabled()) << category;
        EXPECT_FALSE(browser->right_move_item_Btn()->isEnabled()) << category;
    }
    EXPECT_TRUE(browser->functionItemChilds().isEmpty());
    EXPECT_EQ(browser->documentView()->width(), 0);
    EXPECT_TRUE(browser->function_Items().at(3)->selected());
}

TEST_F(OutputFormatBrowserTest, OtherCategoryShowsWithoutChoosingAndComingBackReapplies) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    clickItem(*browser, 3);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("p2"));
    EXPECT_EQ(owner.clips[0]->targetData()->extension(), "p2");

    clickCategory(*browser, 3);
    EXPECT_EQ(browser->functionItemTitle(), "Audio");
    EXPECT_TRUE(ViewFrame::frame(browser->itemSelectView()).isEmpty());
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("p2"));
    EXPECT_EQ(store().integerForKey("selectFunListItemIndex"), 1);

    owner.selection.clear();
    clickCategory(*browser, 1);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("p2")); // applied again
    EXPECT_EQ(ViewFrame::frame(browser->itemSelectView()), (ViewRect{200, 0, 90, 95}));
    EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), "Target Format: p2");
}

TEST_F(OutputFormatBrowserTest, JoinerReopensOnTheProfileItsStoredTitlesCameFrom) {
    // Chosen in the second category, then changed in the settings dialog; the editor's own position keys differ.
    store().setString("Eight/e3", OutputSelection::profileKey(Family::Joiner));
    store().setString("e3", "extNameSelectTitle");
    store().setString("HEVC", "vcodecSelectTitle");
    store().setInteger(1, "Edit_selectFunListItemIndex");
    store().setInteger(1, "Edit_selectItemIndex");
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    EXPECT_FALSE(browser->function_Items().at(0)->selected());
    EXPECT_TRUE(browser->function_Items().at(1)->selected());
    EXPECT_EQ(browser->functionItemTitle(), "Eight");
    EXPECT_EQ(browser->selectItemIndex(), 3);
    EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), "Target Format: e3");
    EXPECT_EQ(settingsShown(*browser).indexOf(true), 2);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("e3"));
    EXPECT_EQ(owner.selection.vcodecSelectTitle(), QString("HEVC")); // the dialog's change is kept
    EXPECT_EQ(owner.clips[0]->targetData()->extension(), "e3");
    EXPECT_EQ(owner.clips[0]->targetData()->metadata_vcodec(), "HEVC");
    EXPECT_TRUE(browser->needRefreshlocalSettingsData());
}

TEST_F(OutputFormatBrowserTest, JoinerShowsWhatItWritesAfterReopening) {
    struct Case {
        int category;
        int item;
        QString extension; // what the reopened window writes, and the profile it shows
        int page;
    };
    for (const Case c : {Case{1, 4, "p3", 0}, Case{1, 9, "p8", 1}, Case{2, 2, "e2", 0}, Case{3, 2, "a2", 0}}) {
        {
            FakeFormatOwner owner(Family::Joiner);
            auto browser = open(owner);
            clickCategory(*browser, c.category);
            clickItem(*browser, c.item);
            ASSERT_EQ(owner.selection.extNameSelectTitle(), c.extension);
        }
        // The editor resets its own position for a new file; the joiner's choice stays.
        {
            FakeFormatOwner editor(Family::Editor);
            auto browser = open(editor);
        }
        FakeFormatOwner owner(Family::Joiner);
        auto browser = open(owner);
        EXPECT_TRUE(browser->function_Items().at(c.category - 1)->selected()) << c.extension.toStdString();
        EXPECT_EQ(browser->selectItemIndex(), c.item) << c.extension.toStdString();
        EXPECT_EQ(browser->selectFunctionOfsetIndex(), c.page) << c.extension.toStdString();
        EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), "Target Format: " + c.extension);
        EXPECT_EQ(owner.selection.extNameSelectTitle(), c.extension);
        EXPECT_EQ(owner.clips[0]->targetData()->extension(), c.extension);
    }
}

TEST_F(OutputFormatBrowserTest, JoinerFindsItsProfileByNameWhenTheCategoriesMove) {
    {
        FakeFormatOwner owner(Family::Joiner);
        auto browser = open(owner);
        clickCategory(*browser, 2);
        clickItem(*browser, 5);
    }
    // A user profile puts "Custom" first: every stored position would now point one category too far left.
    TextFiles::write(dir.filePath("Custom") + "/mine.pf", profileText("mine"));
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    ASSERT_EQ(browser->functionList().value(0), ProfileRoot::kCustomCategory);
    EXPECT_EQ(browser->functionItemTitle(), "Eight");
    EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), "Target Format: e5");
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("e5"));
}

TEST_F(OutputFormatBrowserTest, JoinerTitlesFromNoKnownProfileGiveWayToTheOneShown) {
    // Titles left by an older version (positions only) or by a profile since removed.
    for (const QString& stored : {QString(), QString("Video/gone")}) {
        store().setString(stored, OutputSelection::profileKey(Family::Joiner));
        store().setInteger(2, "selectFunListItemIndex");
        store().setInteger(3, "selectItemIndex");
        store().setString("mkv", "extNameSelectTitle");
        FakeFormatOwner owner(Family::Joiner);
        auto browser = open(owner);
        EXPECT_EQ(browser->functionItemTitle(), "Video");
        EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), "Target Format: " + kKeep);
        EXPECT_FALSE(store().hasKey("extNameSelectTitle"));
        EXPECT_EQ(owner.selection.extNameSelectTitle(), std::nullopt);
        EXPECT_EQ(owner.clips[0]->targetData()->extension(), "mov"); // the source's: nothing chosen
    }
}

TEST_F(OutputFormatBrowserTest, EditorResetsForEveryNewFileAndAppliesProfileOne) {
    store().setInteger(3, "Edit_selectFunListItemIndex");
    store().setInteger(2, "Edit_selectItemIndex");
    store().setInteger(1, "Edit_Video_selectFunctionOfsetIndex");
    FakeFormatOwner owner(Family::Editor);
    auto browser = open(owner);
    EXPECT_EQ(browser->functionItemTitle(), "Video");
    EXPECT_EQ(browser->selectItemIndex(), 1);
    EXPECT_EQ(browser->selectFunctionOfsetIndex(), 0);
    EXPECT_EQ(store().integerForKey("Edit_selectFunListItemIndex"), 1);
    EXPECT_FALSE(store().hasKey("selectFunListItemIndex")); // the joiner's position is its own
    ASSERT_NE(browser->playOrpauseBtn(), nullptr);
    EXPECT_EQ(ViewFrame::frame(browser->tabbarView()), (ViewRect{4, 50, 900, 180}));
    EXPECT_EQ(ViewFrame::frame(browser->right_move_item_Btn()).x, 856);

    clickItem(*browser, 4);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("p3"));
    browser->actionFunctionItem(nullptr); // a new file
    EXPECT_EQ(browser->selectItemIndex(), 1);
    // Profile 1 is the keep-original profile: every parameter title is cleared, the extension too.
    EXPECT_EQ(owner.selection.extNameSelectTitle(), std::nullopt);
    EXPECT_EQ(owner.selection.vcodecSelectTitle(), std::nullopt);
    EXPECT_EQ(owner.clips[0]->targetData()->extension(), "mov");

    MOQButton* play = browser->playOrpauseBtn();
    // Selected (playing), it shows the pause picture.
    EXPECT_EQ(play->selectedBackgroundImage(), ResourceBundle::imageWithfileName("Cut/btnPause_Normal.png"));
    EXPECT_FALSE(play->selectedBackgroundImage().isNull());
    play->mouseDownAction()(play);
    EXPECT_TRUE(Dispatch::runUntil([&] { return owner.playPauseCalls == 1; }, 2000));
}

TEST_F(OutputFormatBrowserTest, EditorKeepsItsSelectionInCategoriesWithoutKeepOriginal) {
    FakeFormatOwner owner(Family::Editor);
    auto browser = open(owner);
    clickItem(*browser, 2);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("p1"));
    emit browser->right_move_item_Btn()->clicked();
    clickItem(*browser, 9);
    EXPECT_EQ(store().integerForKey("Edit_Video_selectFunctionOfsetIndex"), 0); // stored page 0, the row stays
    EXPECT_EQ(browser->functionItemScrollview()->horizontalScrollBar()->value(), 800);

    clickCategory(*browser, 2);
    owner.selection.setTitle(OutputSelection::VideoCodec, QString("MPEG4"));
    clickItem(*browser, 1);
    EXPECT_EQ(owner.selection.extNameSelectTitle(), QString("e1"));
    EXPECT_EQ(store().integerForKey("Edit_selectFunListItemIndex"), 2);
    EXPECT_EQ(owner.selection.vcodecSelectTitle(), QString("H264"));
}

TEST_F(OutputFormatBrowserTest, OnlyTheChosenItemShowsItsSettingsButton) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    EXPECT_EQ(settingsShown(*browser).count(true), 1);
    clickItem(*browser, 5);
    EXPECT_EQ(settingsShown(*browser).indexOf(true), 4);
    EXPECT_EQ(settingsShown(*browser).count(true), 1);
    EXPECT_EQ(ViewFrame::frame(browser->itemSelectView()), ViewFrame::frame(browser->functionItemBtn_Childs().at(4)));
}

TEST_F(OutputFormatBrowserTest, RestoreBeyondTheRowAndPagesBeyondTheLast) {
    store().setInteger(1, "Edit_selectFunListItemIndex");
    store().setInteger(3, "Edit_Video_selectFunctionOfsetIndex");
    FakeFormatOwner owner(Family::Editor);
    auto browser = open(owner);
    clickCategory(*browser, 2);
    store().setInteger(20, "Edit_selectItemIndex");
    store().setInteger(2, "Edit_selectFunListItemIndex");
    store().setString("mkv", "extName_SelectTitle");
    clickCategory(*browser, 2);
    EXPECT_EQ(browser->selectItemIndex(), 0);
    EXPECT_FALSE(store().hasKey("extName_SelectTitle")); // nothing is shown, so nothing stays chosen
    EXPECT_EQ(settingsShown(*browser).count(true), 0);
    EXPECT_EQ(browser->showFunctionBtn()->contentTitle(), QString());

    store().setInteger(3, "Edit_Eight_selectFunctionOfsetIndex");
    clickCategory(*browser, 2);
    EXPECT_TRUE(browser->left_move_item_Btn()->isEnabled());
    EXPECT_FALSE(browser->right_move_item_Btn()->isEnabled());
    browser->action_left_move_item_Btn();
    EXPECT_EQ(browser->selectFunctionOfsetIndex(), 2);
}

TEST_F(OutputFormatBrowserTest, TheSettingsBadgeLeavesTheProfilesNameFree) {
    // The shipped icons are 80 x 80 points with the profile's name along their foot.
    QImage icon(80, 80, QImage::Format_ARGB32);
    icon.fill(Qt::blue);
    ASSERT_TRUE(icon.save(rootPath() + "/Video/p1.png"));
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    clickItem(*browser, 2);
    MOQButton* item = browser->functionItemBtn_Childs().at(1);
    QAbstractButton* settings = OutputFormatBrowser::settingsButtonOf(item);
    ASSERT_TRUE(settings->isVisibleTo(item));
    const ViewRect badge = ViewFrame::frame(settings);
    const ViewRect itemFrame = ViewFrame::frame(item);
    const double iconBottom = (itemFrame.height - icon.height()) / 2;
    EXPECT_GE(badge.y, iconBottom + icon.height() / 2.0) << "the badge stays off the icon's lower half";
    EXPECT_LE(badge.x + badge.width, itemFrame.width);
    EXPECT_LE(badge.y + badge.height, itemFrame.height);
    EXPECT_FALSE(settings->toolTip().isEmpty()) << "an icon-only button says what it does";
}

TEST_F(OutputFormatBrowserTest, CollapsesOnlyOnLowScreens) {
    struct Case {
        double screen;
        bool toggles;
        bool icon;
    };
    for (const Case c : {Case{781, false, false}, Case{780, true, false}, Case{779, true, true}}) {
        FakeFormatOwner owner(Family::Joiner);
        auto browser = open(owner, c.screen);
        EXPECT_EQ(browser->showFunctionIconView() != nullptr, c.icon) << c.screen;
        const ViewRect before = ViewFrame::frame(owner.window.get());
        MOQButton* bar = browser->showFunctionBtn();
        bar->mouseDownAction()(bar);
        Dispatch::runUntil([] { return false; }, 50);
        const ViewRect collapsed = ViewFrame::frame(owner.window.get());
        EXPECT_EQ(browser->isCollapsed(), c.toggles) << c.screen;
        EXPECT_EQ(collapsed.height, before.height - (c.toggles ? 140 : 0)) << c.screen;
        EXPECT_EQ(collapsed.y, before.y) << c.screen;
        if (!c.toggles)
            continue;
        EXPECT_EQ(ViewFrame::frame(owner.host).y, -144);
        EXPECT_EQ(ViewFrame::frame(owner.content).y, 54);
        EXPECT_TRUE(browser->functionView()->isHidden());
        EXPECT_TRUE(browser->functionItemScrollview()->isHidden());
        bar->mouseDownAction()(bar);
        Dispatch::runUntil([] { return false; }, 50);
        EXPECT_EQ(ViewFrame::frame(owner.window.get()), before);
        EXPECT_EQ(ViewFrame::frame(owner.host).y, 6);
        EXPECT_FALSE(browser->functionView()->isHidden());
    }
}

TEST_F(OutputFormatBrowserTest, EditorCollapseAsksTheOwnerToLayOut) {
    FakeFormatOwner owner(Family::Editor);
    auto browser = open(owner, 700);
    MOQButton* bar = browser->showFunctionBtn();
    bar->mouseDownAction()(bar);
    EXPECT_TRUE(Dispatch::runUntil([&] { return owner.changesizeCalls == 1; }, 2000));
}

TEST_F(OutputFormatBrowserTest, SingleAndNoCategories) {
    TextFiles::write(rootPath() + "/pf.dat", TextFiles::crlf({"[frmFormat]", "Count=1", "Type1=Audio"}));
    FakeFormatOwner owner(Family::Joiner);
    auto single = open(owner);
    ASSERT_EQ(single->function_Items().size(), 1);
    EXPECT_EQ(ViewFrame::frame(single->function_Items().first()).x, 290);
    EXPECT_EQ(single->functionItemChilds(), QStringList({"a1", "a2"}));

    TextFiles::write(rootPath() + "/pf.dat", TextFiles::crlf({"[frmFormat]", "Count=0"}));
    FakeFormatOwner emptyOwner(Family::Editor);
    store().setInteger(5, "Edit_selectItemIndex");
    auto empty = open(emptyOwner);
    EXPECT_TRUE(empty->function_Items().isEmpty());
    EXPECT_TRUE(empty->functionItemChilds().isEmpty());
    EXPECT_FALSE(empty->left_move_item_Btn()->isEnabled());
    EXPECT_FALSE(empty->right_move_item_Btn()->isEnabled());
    empty->action_right_move_item_Btn();
    empty->action_left_move_item_Btn();
    EXPECT_EQ(store().integerForKey("Edit_selectItemIndex"), 5);
}

TEST_F(OutputFormatBrowserTest, ClipFormatAndEditLockDisableTheBrowser) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    SimpleData& clip = *owner.clips[0];
    clip.setDefaultFormat(true);
    browser->setdefaultFormat(clip);
    EXPECT_EQ(owner.selection.resolutionSelectTitle(), QString("640x480"));
    EXPECT_FALSE(browser->function_Items().at(0)->isEnabled());
    EXPECT_FALSE(browser->functionItemBtn_Childs().at(0)->isEnabled());
    EXPECT_FALSE(OutputFormatBrowser::settingsButtonOf(browser->functionItemBtn_Childs().at(0))->isEnabled());
    clip.setDefaultFormat(false);
    browser->setdefaultFormat(clip);
    EXPECT_TRUE(browser->function_Items().at(0)->isEnabled());
    EXPECT_TRUE(OutputFormatBrowser::settingsButtonOf(browser->functionItemBtn_Childs().at(0))->isEnabled());
    EXPECT_EQ(owner.selection.resolutionSelectTitle(), QString("640x480"));

    browser->enableEdit(false);
    EXPECT_FALSE(browser->functionItemBtn_Childs().at(3)->isEnabled());
    // The lock leaves the settings buttons' own flags alone (they follow their item while it is disabled).
    EXPECT_FALSE(OutputFormatBrowser::settingsButtonOf(browser->functionItemBtn_Childs().at(3))
                     ->testAttribute(Qt::WA_ForceDisabled));
    browser->enableEdit(true);
    EXPECT_TRUE(browser->function_Items().at(2)->isEnabled());
}

TEST_F(OutputFormatBrowserTest, SettingsButtonOpensTheDialogModallyAndFeedsChangesBack) {
    FakeFormatOwner owner(Family::Joiner);
    auto browser = open(owner);
    clickItem(*browser, 2);
    store().setString("Custom", "bitateSelectTitle");
    QSize dialogSize;
    Modal::setProvider(
        [&](QWidget* window) {
            dialogSize = window->size();
            QComboBox* codec = window->findChildren<QComboBox*>().value(0);
            EXPECT_NE(codec, nullptr);
            if (codec != nullptr)
                emit codec->activated(codec->findText("H264"));
            return Modal::kModalResponseStop;
        },
        [](int) {});
    QAbstractButton* settings = OutputFormatBrowser::settingsButtonOf(browser->functionItemBtn_Childs().at(1));
    const int changedBefore = owner.clipsChanged;
    emit settings->clicked();
    EXPECT_EQ(dialogSize, QSize(480, 480));
    EXPECT_EQ(store().stringForKey("vcodecSelectTitle"), "H264");
    EXPECT_EQ(owner.selection.vcodecSelectTitle(), QString("H264"));
    EXPECT_EQ(owner.clips[0]->targetData()->metadata_vcodec(), "H264");
    EXPECT_EQ(owner.clipsChanged, changedBefore + 1);
}
