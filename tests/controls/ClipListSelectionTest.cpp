#include "ClipListSelection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Rows as the list's rows behave: each change of a row's selection is passed back to the list's handler.
class FakeRows : public ClipListSelection::Rows {
public:
    explicit FakeRows(ClipListSelection& selection, int count) : _selection(selection), selected(count, false) {
        _selection.setRows(this);
    }
    int rowCount() const override { return static_cast<int>(selected.size()); }
    void setRowSelected(int row, bool value) override {
        selected[row] = value;
        const ClipListSelection::Outcome outcome = _selection.rowSelectionChanged(row, value);
        if (outcome.report)
            reported.push_back(row);
    }
    // A rebuilt list: new rows, none selected yet, then the reload's selection step.
    void reload(int count) {
        selected.assign(count, false);
        _selection.applySelection();
    }
    std::vector<int> selectedRows() const {
        std::vector<int> rows;
        for (int i = 0; i < rowCount(); ++i)
            if (selected[i])
                rows.push_back(i);
        return rows;
    }

    ClipListSelection& _selection;
    std::vector<bool> selected;
    std::vector<int> reported;
};

// A list of count rows after its first reload.
struct Loaded {
    explicit Loaded(int count) : rows(s, count) {
        s.resetForItems();
        rows.reload(count);
    }
    ClipListSelection s;
    FakeRows rows;
};

TEST(ClipListSelection, ReloadAfterNewItemsSelectsAndReportsRowZero) {
    Loaded list(3);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{0});
    EXPECT_EQ(rows.reported, std::vector<int>{0});
    EXPECT_EQ(s.selectedRow(), 0);
    EXPECT_EQ(s.oldSelectedRow(), 0);
}

TEST(ClipListSelection, ClickMovesTheSelectionAndReports) {
    Loaded list(3);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    s.click(2);
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{2});
    EXPECT_EQ(rows.reported, (std::vector<int>{0, 2}));
    EXPECT_EQ(s.selectedRow(), 2);
}

TEST(ClipListSelection, RefeedKeepsTheRowAndDoesNotReportUntilTheNextClick) {
    Loaded list(4);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    s.click(2);
    rows.reported.clear();

    // The owners' re-feed: new items, the same row, reports off, reload.
    const long long had = s.selectedRow();
    s.resetForItems();
    s.setSelectedRow(had);
    s.setDisabelSelectBlock(true);
    rows.reload(4);
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{2});
    EXPECT_TRUE(rows.reported.empty());

    s.click(1);
    EXPECT_FALSE(s.disabelSelectBlock());
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(rows.reported, std::vector<int>{1});
}

TEST(ClipListSelection, ReloadOfTheMarkedRowKeepsItSelected) {
    Loaded list(3);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    s.click(1);
    // No new items: selectedRow and the marked row are both 1.
    s.setDisabelSelectBlock(true);
    rows.reload(3);
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{1});
    EXPECT_EQ(s.selectedRow(), 1);
}

TEST(ClipListSelection, OutOfRangeSelectedRowSelectsNothing) {
    ClipListSelection s;
    FakeRows rows(s, 2);
    s.resetForItems();
    s.setSelectedRow(5);
    rows.reload(2);
    EXPECT_TRUE(rows.selectedRows().empty());
    EXPECT_TRUE(rows.reported.empty());
    EXPECT_EQ(s.selectedRow(), 5);
}

TEST(ClipListSelection, ClickOnTheRowNamedSelectedUnmarksIt) {
    Loaded list(3);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    s.setSelectedRow(2); // stored for the next reload only
    s.click(2);
    EXPECT_EQ(rows.selectedRows(), std::vector<int>{0});
    EXPECT_EQ(rows.reported, std::vector<int>{0});
}

TEST(ClipListSelection, ProgressRowIsSelectedWithoutUnmarkingThePrevious) {
    Loaded list(3);
    ClipListSelection& s = list.s;
    FakeRows& rows = list.rows;
    ASSERT_TRUE(s.selectForProgress(2));
    EXPECT_EQ(s.oldSelectedRow(), -1);
    rows.setRowSelected(2, true);
    EXPECT_EQ(rows.selectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(rows.reported, (std::vector<int>{0, 2}));
    EXPECT_FALSE(s.selectForProgress(3));
    EXPECT_FALSE(s.selectForProgress(-1));
    EXPECT_EQ(s.selectedRow(), 2);
}

TEST(ClipListSelection, ExportBarShowsOnlyBelowOne) {
    struct Case {
        float p;
        bool shown;
    };
    const Case cases[] = {{0, true},     {0.5f, true},    {0.999f, true}, {1, false},
                          {1.5f, false}, {-0.01f, false}, {NAN, false}};
    for (const Case& c : cases) {
        const std::optional<float> v = ClipListSelection::exportBarValue(c.p);
        EXPECT_EQ(v.has_value(), c.shown) << c.p;
        if (c.shown) {
            EXPECT_EQ(*v, c.p);
        }
    }
}

} // namespace
