#include "AdjustPanel.h"
#include "CropPanel.h"
#include "CropTestSupport.h"
#include "Dispatch.h"
#include "LQTextField.h"
#include "LQUICliper.h"
#include "LabelField.h"
#include "MOQButton.h"

#include <QPointer>

#include <gtest/gtest.h>

#include <QTest>

namespace {

using Change = CropRotateHost::PictureChange;

// The host with the phone clip open and the crop overlay made, editing enabled.
struct Opened {
    CropStandIn host;
    CropRotateEditor& editor;
    Opened() : editor(*host.editor) {
        editor.initPlayerCliper();
        editor.enableEdit(true);
    }
    // A box (overlay points) reported by the overlay as a drag step would.
    void drag(const ViewRect& box) {
        editor.cliper()->setClipRect(box);
        editor.actionMovedForLQUICliperBlock(editor.cliper(), editor.cliper()->getclipRectFrame());
    }
    bool wholePicture() const {
        const ViewRect r = editor.editVideoClipRect();
        return r.x == 0 && r.y == 0 && r.width == editor.videoSize().width && r.height == editor.videoSize().height &&
               !CropGeometry::hasMargins(editor.convertCropSize());
    }
    const mediacore::ConvertSettings& player() const { return host.player->edits().settings(); }
};

void expectSize(const ViewSize& s, double w, double h) {
    EXPECT_EQ(s.width, w);
    EXPECT_EQ(s.height, h);
}

} // namespace

TEST(CropRotateEditor, NewFileGetsAnOverlayOverThePictureWithNoCrop) {
    Opened o;
    const ViewSize source = o.host.uprightSize;
    expectSize(o.editor.videoSize(), source.width, source.height);
    LQUICliper* cliper = o.editor.cliper();
    ASSERT_TRUE(cliper);
    EXPECT_EQ(cliper->parentWidget(), o.host.player->view());
    EXPECT_EQ(cliper->oFrame(), CropGeometry::videoRectInside(source, {0, 0, 480, 360}));
    EXPECT_EQ(cliper->getclipRectFrame(), (ViewRect{0, 0, cliper->oFrame().width, cliper->oFrame().height}));
    EXPECT_EQ(cliper->crop_Type(), 0);
    EXPECT_FALSE(cliper->isVisibleTo(o.host.player->view())); // until the crop mode shows it
    EXPECT_TRUE(o.wholePicture());
    o.editor.cropReadOut();
    EXPECT_TRUE(cliper->isVisibleTo(o.host.player->view()));
    EXPECT_EQ(o.editor.cropView()->_original_SizeLabel->stringValue(),
              QString("%1 x %2").arg(source.width).arg(source.height));
    EXPECT_EQ(o.editor.cropView()->_cropWidthField->stringValue(), QString::number(source.width));
}

TEST(CropRotateEditor, RotationsStepTheAngleSwapThePictureAndStartTheCropAfresh) {
    Opened o;
    const ViewSize source = o.host.uprightSize;
    struct Step {
        void (CropRotateEditor::*click)();
        int angle;
        bool swapped;
    } steps[] = {{&CropRotateEditor::rotateRightAction, 90, true},  {&CropRotateEditor::rotateRightAction, 180, false},
                 {&CropRotateEditor::rotateRightAction, 270, true}, {&CropRotateEditor::rotateRightAction, 0, false},
                 {&CropRotateEditor::rotateLeftAction, 270, true},  {&CropRotateEditor::rotateLeftAction, 180, false}};
    for (const Step& s : steps) {
        o.drag({20, 20, 100, 100});
        ASSERT_FALSE(o.wholePicture());
        o.host.changes.clear();
        (o.editor.*s.click)();
        EXPECT_EQ(o.editor.playerRotateAngle(), s.angle);
        EXPECT_EQ(o.player().rotateAngle.value_or(0), s.angle);
        expectSize(o.editor.videoSize(), s.swapped ? source.height : source.width,
                   s.swapped ? source.width : source.height);
        EXPECT_TRUE(o.wholePicture()) << s.angle;
        const ViewRect rect = CropGeometry::videoRectInside(o.editor.videoSize(), {0, 0, 480, 360});
        EXPECT_EQ(o.editor.cliper()->oFrame(), rect);
        EXPECT_EQ(o.editor.cliper()->getclipRectFrame(), (ViewRect{0, 0, rect.width, rect.height}));
        EXPECT_EQ(o.editor.cliper()->crop_Type(), 1);
        ASSERT_EQ(o.host.changes.size(), 1u);
        EXPECT_EQ(o.host.changes[0], Change::Rotation);
        EXPECT_EQ(o.host.lastRect, rect);
        EXPECT_EQ(o.editor.cropView()->_cropTopField->stringValue(), "0");
        EXPECT_EQ(o.editor.cropView()->_cropLeftField->stringValue(), "0");
    }
}

TEST(CropRotateEditor, MirrorsActOnThePictureBeforeItsTurn) {
    struct Case {
        int quarterTurnsRight;
        void (CropRotateEditor::*click)();
        int hFlip, vFlip;
    } cases[] = {
        {0, &CropRotateEditor::mirrorLeftRightAction, 1, 0}, {0, &CropRotateEditor::mirrorTopBottomAction, 0, 1},
        {1, &CropRotateEditor::mirrorLeftRightAction, 0, 1}, {1, &CropRotateEditor::mirrorTopBottomAction, 1, 0},
        {2, &CropRotateEditor::mirrorLeftRightAction, 1, 0}, {3, &CropRotateEditor::mirrorLeftRightAction, 0, 1},
    };
    for (const Case& c : cases) {
        Opened o;
        for (int i = 0; i < c.quarterTurnsRight; ++i)
            o.editor.rotateRightAction();
        (o.editor.*c.click)();
        EXPECT_EQ(o.editor.hFlip(), c.hFlip) << c.quarterTurnsRight;
        EXPECT_EQ(o.editor.vFlip(), c.vFlip) << c.quarterTurnsRight;
        EXPECT_EQ(o.player().hFlip, c.hFlip != 0);
        EXPECT_EQ(o.player().vFlip, c.vFlip != 0);
        (o.editor.*c.click)(); // a second click takes it back
        EXPECT_EQ(o.editor.hFlip() + o.editor.vFlip(), 0);
    }
}

TEST(CropRotateEditor, MirrorsKeepTheCropTheOverlayShows) {
    for (auto click : {&CropRotateEditor::mirrorLeftRightAction, &CropRotateEditor::mirrorTopBottomAction}) {
        Opened o;
        o.drag({30, 40, 200, 150});
        const RECT before = o.editor.convertCropSize();
        ASSERT_TRUE(CropGeometry::hasMargins(before));
        (o.editor.*click)();
        const RECT after = o.editor.convertCropSize();
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.right, before.right);
        EXPECT_EQ(after.bottom, before.bottom);
        EXPECT_EQ(o.editor.exportSettings().convertCropSize.left, before.left);
    }
}

TEST(CropRotateEditor, CropResetClearsTheTurnAndBothMirrorsInThePlayerAndTheExport) {
    Opened o;
    o.editor.rotateRightAction();
    o.editor.mirrorLeftRightAction();
    o.editor.mirrorTopBottomAction();
    o.drag({10, 10, 100, 100});
    o.host.changes.clear();
    o.editor.resetCropAction();
    EXPECT_EQ(o.editor.playerRotateAngle(), 0);
    EXPECT_EQ(o.editor.hFlip(), 0);
    EXPECT_EQ(o.editor.vFlip(), 0);
    EXPECT_EQ(o.player().rotateAngle.value_or(0), 0);
    EXPECT_FALSE(o.player().hFlip);
    EXPECT_FALSE(o.player().vFlip);
    const CropRotateSettings s = o.editor.exportSettings();
    EXPECT_EQ(s.rotateAngle + s.hFlip + s.vFlip, 0);
    // The picture stands as the source again, and the overlay lies over it.
    expectSize(o.editor.videoSize(), o.host.uprightSize.width, o.host.uprightSize.height);
    const ViewRect rect = CropGeometry::videoRectInside(o.host.uprightSize, {0, 0, 480, 360});
    EXPECT_EQ(o.editor.cliper()->oFrame(), rect);
    EXPECT_EQ(o.editor.cliper()->getclipRectFrame(), (ViewRect{0, 0, rect.width, rect.height}));
    EXPECT_TRUE(o.wholePicture());
    ASSERT_EQ(o.host.changes.size(), 1u);
    EXPECT_EQ(o.host.changes[0], Change::CropReset);
    EXPECT_EQ(o.editor.cropView()->_cropWidthField->stringValue(), QString::number(o.host.uprightSize.width));
}

TEST(CropRotateEditor, RotateResetClearsEverythingAfterTheEventHasBeenHandled) {
    Opened o;
    o.editor.rotateLeftAction();
    o.editor.mirrorLeftRightAction();
    o.host.changes.clear();
    o.editor.resetRotateTouchUp();
    EXPECT_EQ(o.editor.playerRotateAngle(), 270); // posted to the main queue
    ASSERT_TRUE(Dispatch::runUntil([&] { return o.editor.playerRotateAngle() == 0; }, 2000));
    EXPECT_EQ(o.editor.vFlip() + o.editor.hFlip(), 0);
    EXPECT_TRUE(o.wholePicture());
    ASSERT_EQ(o.host.changes.size(), 1u);
    EXPECT_EQ(o.host.changes[0], Change::RotationReset);
}

TEST(CropRotateEditor, ARefitAfterAResizeKeepsTheCropOnThePicture) {
    Opened o;
    o.drag({40, 30, 200, 150});
    const RECT before = o.editor.convertCropSize();
    ASSERT_TRUE(CropGeometry::hasMargins(before));
    for (ViewSize size : {ViewSize{640, 300}, ViewSize{300, 500}, ViewSize{480, 360}}) {
        ViewFrame::setFrame(o.host.player->view(), {0, 0, size.width, size.height});
        o.editor.refitVideo();
        const ViewRect rect = CropGeometry::videoRectInside(o.editor.videoSize(), {0, 0, size.width, size.height});
        EXPECT_EQ(o.editor.cliper()->oFrame(), rect);
        const RECT after = o.editor.convertCropSize();
        EXPECT_NEAR(after.left, before.left, 2) << size.width;
        EXPECT_NEAR(after.top, before.top, 2) << size.width;
        EXPECT_NEAR(after.right, before.right, 2) << size.width;
        EXPECT_NEAR(after.bottom, before.bottom, 2) << size.width;
    }
}

TEST(CropRotateEditor, TypedValuesReachTheExportThroughTheOverlaysBox) {
    Opened o;
    const ViewSize picture = o.editor.videoSize(); // 240 x 320 upright
    CropPanel* panel = o.editor.cropView();
    struct Case {
        LQTextField* field;
        int value;
        const char* what;
    } cases[] = {
        {panel->_cropWidthField, 120, "width"},
        {panel->_cropHeightField, 160, "height"},
        {panel->_cropLeftField, 60, "left"},
        {panel->_cropTopField, 40, "top"},
        {panel->_cropWidthField, 1000, "width wider than the picture"},
        {panel->_cropLeftField, -30, "negative left"},
        {panel->_cropHeightField, 10, "a height under the overlay's minimum"},
    };
    for (const Case& c : cases) {
        c.field->setStringValue(QString::number(c.value));
        EXPECT_TRUE(o.editor.controlTextShouldEndEditing(c.field));
        // The crop is the one the overlay shows, and its margins are what the export gets.
        const ViewRect shown = CropGeometry::clipRectFromBox(o.editor.cliper()->getclipRectFrame(),
                                                             o.editor.cliper()->oFrame().size(), picture);
        EXPECT_EQ(o.editor.editVideoClipRect(), shown) << c.what;
        const RECT m = o.editor.convertCropSize();
        const RECT want = CropGeometry::evenMargins(shown, picture);
        EXPECT_EQ(m.left, want.left) << c.what;
        EXPECT_EQ(m.top, want.top) << c.what;
        EXPECT_EQ(m.right, want.right) << c.what;
        EXPECT_EQ(m.bottom, want.bottom) << c.what;
        for (int v : {m.left, m.top, m.right, m.bottom}) {
            EXPECT_GE(v, 0) << c.what;
            EXPECT_EQ(v % 2, 0) << c.what;
        }
        const ViewRect box = o.editor.cliper()->getclipRectFrame();
        EXPECT_GE(box.x, 0) << c.what;
        EXPECT_LE(box.x + box.width, o.editor.cliper()->oFrame().width + 1e-3) << c.what;
    }
    EXPECT_EQ(panel->_cropWidthField->stringValue(), QString::number(picture.width)); // 1000 held to the picture
}

TEST(CropRotateEditor, KeepAspectTickStartsTheCropAfreshAndUntickKeepsTheBox) {
    Opened o;
    o.drag({20, 20, 120, 100});
    o.host.changes.clear();
    o.editor.keepAspectAction();
    EXPECT_TRUE(o.editor.cropView()->_keepAspectBtn->selected());
    EXPECT_EQ(o.editor.cliper()->crop_Type(), 2);
    EXPECT_TRUE(o.wholePicture());
    ASSERT_EQ(o.host.changes.size(), 1u);
    EXPECT_EQ(o.host.changes[0], Change::KeepAspect);
    o.drag({10, 10, 90, 120});
    const ViewRect box = o.editor.cliper()->getclipRectFrame();
    o.editor.keepAspectAction();
    EXPECT_FALSE(o.editor.cropView()->_keepAspectBtn->selected());
    EXPECT_EQ(o.editor.cliper()->crop_Type(), 1);
    EXPECT_EQ(o.editor.cliper()->getclipRectFrame(), box);
    EXPECT_EQ(o.host.changes.size(), 1u);
}

TEST(CropRotateEditor, AReportFromAnotherOverlayChangesNothing) {
    Opened o;
    LQUICliper stranger({0, 0, 100, 100});
    o.editor.actionMovedForLQUICliperBlock(&stranger, {10, 10, 50, 50});
    EXPECT_TRUE(o.wholePicture());
}

TEST(CropRotateEditor, ASecondFileGetsAFreshOverlayAndKeepsTheTurn) {
    Opened o;
    o.editor.rotateRightAction();
    o.editor.keepAspectAction();
    o.drag({10, 10, 100, 60});
    QPointer<LQUICliper> first = o.editor.cliper();
    o.host.open(MediaFixtures::mp4());
    o.editor.initPlayerCliper();
    // A new overlay (the old one may be gone already and its memory given to the new one).
    ASSERT_NE(o.editor.cliper(), nullptr);
    EXPECT_TRUE(first.isNull() || o.editor.cliper() != first.data());
    EXPECT_EQ(o.editor.cliper()->crop_Type(), 0);
    EXPECT_EQ(o.editor.playerRotateAngle(), 90);
    expectSize(o.editor.videoSize(), o.host.uprightSize.height, o.host.uprightSize.width);
    EXPECT_TRUE(o.wholePicture());
}

TEST(CropRotateEditor, ADragOnTheOverlayCropsAndTheButtonsActAfterTheClick) {
    Opened o;
    o.host.window->show();
    o.editor.cropReadOut();
    LQUICliper* cliper = o.editor.cliper();
    const QRect frame = cliper->rect();
    // Drag the bottom-right corner half way towards the top-left corner (Qt's y grows downwards).
    QTest::mousePress(cliper, Qt::LeftButton, {}, QPoint(frame.width() - 2, frame.height() - 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(frame.width() / 2, frame.height() / 2),
                     cliper->mapToGlobal(QPointF(frame.width() / 2, frame.height() / 2)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(cliper, &move);
    QTest::mouseRelease(cliper, Qt::LeftButton, {}, QPoint(frame.width() / 2, frame.height() / 2));
    const RECT m = o.editor.convertCropSize();
    const ViewSize picture = o.editor.videoSize();
    EXPECT_EQ(m.left, 0);
    EXPECT_EQ(m.top, 0);
    EXPECT_NEAR(m.right, picture.width / 2, 2);
    EXPECT_NEAR(m.bottom, picture.height / 2, 2);

    o.editor.adjustView()->_right_ratioBtn->mouseDownAction()(o.editor.adjustView()->_right_ratioBtn);
    EXPECT_EQ(o.editor.playerRotateAngle(), 0);
    ASSERT_TRUE(Dispatch::runUntil([&] { return o.editor.playerRotateAngle() == 90; }, 2000));
}
