#include "SegmentList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A list of segments whose starts are 0, 10, 20, ... and ends start + 5, for telling them apart.
SegmentList listOf(int count) {
    SegmentList list;
    for (int i = 0; i < count; ++i)
        list.cut(float(i * 10), float(i * 10 + 5), QImage());
    return list;
}

std::vector<float> starts(const SegmentList& list) {
    std::vector<float> result;
    for (const SegmentList::Item& item : list.items())
        result.push_back(item->startTime());
    return result;
}

} // namespace

TEST(SegmentList, MoveButtonsFollowTheSelection) {
    struct Case {
        int count;
        qint64 selected;
        bool up;
        bool down;
    };
    const std::vector<Case> cases = {
        {0, 0, false, true}, {1, 0, false, true}, {3, 0, false, true},  {3, 1, true, true},
        {3, 2, true, false}, {3, 5, true, false}, {3, -1, false, true},
    };
    for (const Case& c : cases) {
        SegmentList list = listOf(c.count);
        list.setSelectedCutIndex(c.selected);
        EXPECT_EQ(list.moveButtons(), (SegmentList::MoveButtons{c.up, c.down}))
            << c.count << " segments, selected " << c.selected;
    }
}

TEST(SegmentList, CutAppendsAndSelectsEvenEqualOrRepeatedRanges) {
    SegmentList list;
    list.cut(4, 4, QImage());
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.selectedCutIndex(), 0);
    list.setEditorOpen(true);
    list.cut(1, 2, QImage());
    list.cut(1, 2, QImage());
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.selectedCutIndex(), 2);
    EXPECT_TRUE(list.editorOpen()) << "Cut leaves the editor as it was";
    EXPECT_EQ(list.at(1)->startTime(), list.at(2)->startTime());
}

TEST(SegmentList, CopyInsertsBeforeTheOriginalSharingItsPicture) {
    SegmentList list = listOf(3);
    QImage thumb(4, 4, QImage::Format_ARGB32);
    thumb.fill(Qt::red);
    list.at(1)->setThumbImage(thumb);
    list.setSelectedCutIndex(1);
    list.setEditorOpen(true);
    ASSERT_TRUE(list.copyAt(1));
    EXPECT_EQ(starts(list), (std::vector<float>{0, 10, 10, 20}));
    EXPECT_EQ(list.selectedCutIndex(), 1) << "the selection index stays, so it now names the copy";
    EXPECT_FALSE(list.editorOpen());
    EXPECT_EQ(list.at(1)->thumbImage().cacheKey(), list.at(2)->thumbImage().cacheKey());
    EXPECT_NE(list.at(1), list.at(2));
    EXPECT_FALSE(list.copyAt(4));
    EXPECT_FALSE(list.copyAt(-1));
    EXPECT_EQ(list.count(), 4);
}

TEST(SegmentList, DeleteSelectsTheNextOrTheNewLast) {
    struct Case {
        int count;
        qint64 deleted;
        qint64 selectedBefore;
        qint64 selectedAfter;
        std::vector<float> left;
    };
    const std::vector<Case> cases = {
        {3, 2, 2, 1, {0, 10}}, {3, 0, 2, 0, {10, 20}},    {3, 1, 0, 1, {0, 20}},
        {1, 0, 0, 0, {}},      {3, 3, 1, 1, {0, 10, 20}}, // outside: nothing happens
    };
    for (const Case& c : cases) {
        SegmentList list = listOf(c.count);
        list.setSelectedCutIndex(c.selectedBefore);
        list.setEditorOpen(true);
        list.deleteAt(c.deleted);
        EXPECT_EQ(starts(list), c.left) << "delete " << c.deleted << " of " << c.count;
        EXPECT_EQ(list.selectedCutIndex(), c.selectedAfter) << "delete " << c.deleted << " of " << c.count;
        EXPECT_FALSE(list.editorOpen());
    }
}

TEST(SegmentList, MovesCarryTheSelectionAndStopAtTheEnds) {
    SegmentList list = listOf(3);
    list.setSelectedCutIndex(2);
    EXPECT_TRUE(list.moveUp());
    EXPECT_TRUE(list.moveUp());
    EXPECT_FALSE(list.moveUp());
    EXPECT_EQ(starts(list), (std::vector<float>{20, 0, 10}));
    EXPECT_EQ(list.selectedCutIndex(), 0);
    EXPECT_EQ(list.moveButtons(), (SegmentList::MoveButtons{false, true}));
    EXPECT_TRUE(list.moveDown());
    EXPECT_EQ(starts(list), (std::vector<float>{0, 20, 10}));
    EXPECT_EQ(list.selectedCutIndex(), 1);

    SegmentList one = listOf(1);
    EXPECT_FALSE(one.moveDown()) << "one segment: Down is offered but changes nothing";
    EXPECT_FALSE(one.moveUp());
    EXPECT_EQ(one.selectedCutIndex(), 0);
}

TEST(SegmentList, ClearKeepsSelectionAndEditorAndLaterEditsFindNothing) {
    SegmentList list = listOf(3);
    list.setSelectedCutIndex(2);
    list.setEditorOpen(true);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedCutIndex(), 2);
    EXPECT_TRUE(list.editorOpen());
    EXPECT_EQ(list.selectedItem(), nullptr);
    EXPECT_EQ(list.at(0), nullptr);
    EXPECT_FALSE(list.moveUp());
    EXPECT_FALSE(list.moveDown());
    EXPECT_FALSE(list.copyAt(list.overlayIndex()));
    EXPECT_FALSE(list.deleteAt(2));
}

TEST(SegmentList, ClickClosesTheEditorModifyTogglesIt) {
    SegmentList list = listOf(3);
    list.modify(1);
    EXPECT_TRUE(list.editorOpen());
    EXPECT_EQ(list.selectedCutIndex(), 1);
    EXPECT_TRUE(list.at(1)->selected());
    EXPECT_FALSE(list.at(0)->selected());
    list.modify(1);
    EXPECT_FALSE(list.editorOpen()) << "Modify twice opens, then closes";
    list.modify(2);
    list.select(0);
    EXPECT_FALSE(list.editorOpen());
    EXPECT_EQ(list.selectedCutIndex(), 0);
    EXPECT_TRUE(list.at(0)->selected());
    EXPECT_FALSE(list.at(2)->selected());
}
