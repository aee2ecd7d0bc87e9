#include "SegmentListGeometry.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SegmentListGeometry, DocumentHoldsTheTilesAndTheEditorsRoom) {
    struct Case {
        double scrollHeight;
        qint64 count;
        double height;
    };
    const std::vector<Case> cases = {{300, 0, 300}, {300, 2, 300}, {300, 3, 408}, {300, 10, 1248}, {490, 12, 1488}};
    for (const Case& c : cases) {
        const ViewSize doc = SegmentListGeometry::documentSize(ViewSize{200, c.scrollHeight}, c.count);
        EXPECT_DOUBLE_EQ(doc.width, 200);
        EXPECT_DOUBLE_EQ(doc.height, c.height) << c.count << " segments";
    }
}

TEST(SegmentListGeometry, TilesStackFromTheTopCentredAndTheEditorSitsBelowTheSelected) {
    const ViewSize doc{200, 1248};
    struct Case {
        qint64 index;
        ViewRect frame;
    };
    const std::vector<Case> cases = {{0, {30, 1128, 140, 120}}, {1, {30, 1008, 140, 120}}, {9, {30, 48, 140, 120}}};
    for (const Case& c : cases) {
        const ViewRect f = SegmentListGeometry::tileFrame(c.index, doc);
        EXPECT_EQ(f, c.frame) << "tile " << c.index;
    }
    EXPECT_DOUBLE_EQ(SegmentListGeometry::editorY(SegmentListGeometry::tileFrame(9, doc)), 0);
    // The editor open below tile 3: tiles up to 3 stay, the later ones move down by its height, the last one
    // onto the room the document keeps, and the editor lies between tile 3 and tile 4.
    const struct {
        qint64 index;
        double y;
    } opened[] = {{0, 1128}, {3, 768}, {4, 600}, {9, 0}};
    for (const auto& o : opened)
        EXPECT_DOUBLE_EQ(SegmentListGeometry::tileFrame(o.index, doc, 3).y, o.y) << "tile " << o.index;
    const ViewRect below = SegmentListGeometry::tileFrame(3, doc, 3);
    const ViewRect next = SegmentListGeometry::tileFrame(4, doc, 3);
    EXPECT_DOUBLE_EQ(next.y + next.height, SegmentListGeometry::editorY(below)) << "the editor covers no tile";
    EXPECT_EQ(SegmentListGeometry::editorFrame(200), (ViewRect{16, 0, 168, 48}));
    EXPECT_EQ(SegmentListGeometry::copyButtonFrame(), (ViewRect{0, 0, 50, 20}));
    EXPECT_EQ(SegmentListGeometry::modifyButtonFrame(), (ViewRect{50, 0, 40, 20}));
    EXPECT_EQ(SegmentListGeometry::deletedButtonFrame(), (ViewRect{90, 0, 50, 20}));
}

TEST(SegmentListGeometry, TheSelectedTileRestsOnTheVisibleAreasBottomEdge) {
    // Ten segments in a list 300 high: the document is 1248 high.
    struct Case {
        qint64 index;
        double top;
    };
    const std::vector<Case> cases = {
        {0, 0},   // the document's top: nothing above to scroll to
        {1, 0},   // tile 1 lies at 1008: 1248 - 1308 < 0
        {3, 180}, // tile 3 at 768: 1248 - (768 + 300)
        {9, 900}, // the last tile at 48: 1248 - 348 = 900
    };
    const ViewSize doc{200, 1248};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(SegmentListGeometry::scrollTopForTile(SegmentListGeometry::tileFrame(c.index, doc), 1248, 300),
                         c.top)
            << "tile " << c.index;
    EXPECT_DOUBLE_EQ(SegmentListGeometry::scrollTopForTile(ViewRect{30, 0, 140, 120}, 1248, 300), 948)
        << "never past the document's bottom edge";
}

TEST(SegmentListGeometry, TilePartsAndHoverPoint) {
    const ViewSize tile{140, 120};
    EXPECT_EQ(SegmentListGeometry::tileBackFrame(tile), (ViewRect{0, 0, 140, 100}));
    EXPECT_EQ(SegmentListGeometry::tileIconFrame(tile), (ViewRect{10, 10, 120, 67.5}));
    EXPECT_EQ(SegmentListGeometry::tileTitleFrame(tile), (ViewRect{0, 83, 140, 12}));

    // A tile at (20, 1080) in a document view at (0, 0), in a clip view at (1, 1), in a scroll view at (10, 50), in
    // a view at (0, 0): the pointer at (100, 1200) in the window is (69, 69) in the tile.
    const ViewPoint origins[5] = {{20, 1080}, {0, 0}, {1, 1}, {10, 50}, {0, 0}};
    const ViewPoint p = SegmentListGeometry::hoverPoint(ViewPoint{100, 1200}, origins);
    EXPECT_DOUBLE_EQ(p.x, 69);
    EXPECT_DOUBLE_EQ(p.y, 69);
}
