#pragma once

#include "ViewRect.h"

#include <QString>

// The arithmetic of the format browser: where category buttons and profile items go, how many pages a category
// has and where a page starts. Points, in the browser's own coordinates (origin bottom-left, y up). Several
// values are computed in single precision on purpose: the positions are defined that way.
class FormatBrowserLayout {
public:
    static constexpr double kTabbarHeight = 180; // the browser's container
    static constexpr double kTopBarHeight = 28;  // what the item area leaves for the top bar
    static constexpr double kFunctionViewWidth = 700;
    static constexpr double kFunctionViewHeight = 28;
    static constexpr double kCategoryButtonWidth = 120;
    static constexpr double kCategoryButtonHeight = 24;
    static constexpr double kViewportWidth = 790;
    static constexpr double kViewportHeight = 110;
    static constexpr double kItemWidth = 90;
    static constexpr double kItemStep = 100;
    static constexpr int kItemsPerPage = 8;
    static constexpr double kArrowSize = 28;
    static constexpr double kCollapseHeight = 140; // what the window loses when the browser collapses
    static constexpr double kTallScreen = 780;     // screens higher than this never collapse the browser

    // x of category button i (from 0) of n in the 700-point bar: the first starts at 0, the last ends at 700.
    // A single category sits in the middle (the spacing formula has no answer for one).
    static double categoryX(int i, int n);
    // Pages of a category of m profiles: 0 for none, 1 for one to eight, ...
    static int pageCount(int m);
    // Width of the item row's document view: 9000 points per page.
    static double documentWidth(int m);
    // The scroll position of page p: page p starts where item 8p begins.
    static double pageScrollX(qint64 p);
    // x of item i (from 0).
    static double itemX(int i);
    // The item viewport inside a container of the given width, above the category bar.
    static ViewRect viewportFrame(double containerWidth, double functionViewHeight, double backHeight);
    // The highlight behind the profile at the 1-based position, in the document view.
    static ViewRect highlightFrame(qint64 selectItemIndex, double viewportHeight);

    // Stored keys of the joiner's browser position. The editor's carry the prefix "Edit_": each window keeps its
    // own, so the editor's reset for a new file never moves what the joiner shows as chosen.
    static const QString kSelectFunListItemIndexKey; // "selectFunListItemIndex"
    static const QString kSelectItemIndexKey;        // "selectItemIndex"
    static QString pageKey(const QString& category); // "<category>_selectFunctionOfsetIndex"
    static QString positionKey(const QString& joinerKey, bool editor);
};
