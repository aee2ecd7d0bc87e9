#include "Dispatch.h"
#include "LQTextField.h"
#include "LQTextFieldDelegate.h"
#include "NSTextFieldDelegate.h"
#include "WidgetHost.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <set>

namespace {

class FieldOwner : public LQTextFieldDelegate, public NSTextFieldDelegate {
public:
    bool takesPress = true;
    bool acceptEnd = true;
    bool acceptBegin = true;
    int presses = 0;
    int begins = 0;
    int ends = 0;
    int changes = 0;
    LQTextField* picked = nullptr;

    bool respondsTo(LQTextFieldDelegate::Method) const override { return takesPress; }
    void actionMouseDownForTextFieldBlock(LQTextField* field) override {
        ++presses;
        picked = field;
    }
    bool controlTextShouldBeginEditing(LQTextField*) override {
        ++begins;
        return acceptBegin;
    }
    bool controlTextShouldEndEditing(LQTextField*) override {
        ++ends;
        return acceptEnd;
    }
    void controlTextDidChange(LQTextField*) override { ++changes; }
};

TEST(LQTextField, StartsDisabledAndReportsPressesOnlyWhenEnabled) {
    WidgetHost host;
    auto* hours = new LQTextField(ViewRect{10, 10, 40, 22}, host.window());
    hours->show();
    FieldOwner owner;
    hours->setMouseDelegate(&owner);
    EXPECT_FALSE(hours->isEnabled());
    WidgetHost::click(hours, 20, 11);
    EXPECT_EQ(owner.presses, 0);
    hours->setEnabled(true);
    hours->setStringValue("07");
    hours->setCursorPosition(0);
    WidgetHost::click(hours, 30, 11);
    EXPECT_EQ(owner.presses, 1);
    EXPECT_EQ(owner.picked, hours);
    EXPECT_EQ(hours->cursorPosition(), 0) << "the field's own press handling does not run";
    owner.takesPress = false;
    WidgetHost::click(hours, 30, 11);
    EXPECT_EQ(owner.presses, 1);
    hours->setMouseDelegate(nullptr);
    WidgetHost::click(hours, 30, 11);
}

TEST(LQTextField, ValueMethods) {
    LQTextField field;
    struct Case {
        const char* text;
        float floatValue;
        long long integerValue;
    };
    for (const Case& c : {Case{"12.5", 12.5f, 12}, Case{"07", 7, 7}, Case{"3s", 3, 3}, Case{"x", 0, 0}, Case{"", 0, 0},
                          Case{" -2.25", -2.25f, -2}}) {
        field.setStringValue(c.text);
        EXPECT_FLOAT_EQ(field.floatValue(), c.floatValue) << c.text;
        EXPECT_EQ(field.integerValue(), c.integerValue) << c.text;
    }
    field.setFloatValue(1.5f);
    EXPECT_EQ(field.stringValue(), "1.5");
    field.setIntegerValue(42);
    EXPECT_EQ(field.stringValue(), "42");
}

TEST(LQTextField, EditingAsksToBeginAndToEnd) {
    WidgetHost host;
    auto* minutes = new LQTextField(ViewRect{10, 10, 40, 22}, host.window());
    auto* other = new LQTextField(ViewRect{60, 10, 40, 22}, host.window());
    for (LQTextField* f : {minutes, other}) {
        f->setEnabled(true);
        f->show();
    }
    FieldOwner owner;
    minutes->setDelegate(&owner);
    host.window()->activateWindow();
    minutes->setFocus();
    minutes->setStringValue("10");
    EXPECT_EQ(owner.changes, 0) << "values set from code are no edits";

    owner.acceptBegin = false;
    QTest::keyClick(minutes, Qt::Key_5);
    EXPECT_EQ(minutes->stringValue(), "10") << "a refused beginning drops the key";
    owner.acceptBegin = true;
    QTest::keyClick(minutes, Qt::Key_5);
    EXPECT_TRUE(minutes->isEditing());
    EXPECT_EQ(owner.changes, 1);

    owner.acceptEnd = false;
    QTest::keyClick(minutes, Qt::Key_Return);
    EXPECT_TRUE(minutes->isEditing()) << "a refused end keeps the field in editing";
    other->setFocus();
    ASSERT_TRUE(Dispatch::runUntil([&] { return QApplication::focusWidget() == minutes; }, 2000))
        << "the focus comes back to the rejected field";
    owner.acceptEnd = true;
    QTest::keyClick(minutes, Qt::Key_Return);
    EXPECT_FALSE(minutes->isEditing());
    EXPECT_GE(owner.ends, 3);
}

} // namespace
