// The 2D renderer without a canvas: the outlines of cylinder halves, the depth order, the
// colours, and the operations a picture is made of for the cases of each drawing rule.
#include "viewer/core/GdiRenderer.h"

#include "HandSceneSupport.h"
#include "ViewTestSupport.h"
#include "viewer/core/ElementTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ormaline;
using namespace ormaline::test;

namespace {

using TKind = TCanvasItem::TKind;

struct TOutlineCase {
    const char* title;
    double w, halfLength;
    TOutlineEnd p1, p2;
    TOutlineView view;
    TOutline expected;
};

TEST(CalcRect, OutlinesFollowTheBondAndItsTiltOutOfTheScreen) {
    // Expected points worked out by hand: corners at +-w across the bond, the quarter
    // points at +-w/2 pushed along the bond by sqrt(3)/2 w f.
    const std::vector<TOutlineCase> cases = {
        {"in the screen plane: a plain rectangle, normal (0, 1)",
         4,
         1,
         {10, 20, 0},
         {30, 20, 0},
         {},
         {{{10, 16}, {10, 18}, {10, 22}, {10, 24}, {30, 24}, {30, 22}, {30, 18}, {30, 16}}}},
        {"perpendicular to the screen (f = 1): caps bulge by sqrt(3)/2 w",
         4,
         1,
         {10, 10, 0},
         {10, 30, 1},
         {},
         {{{6, 10}, {8, 13}, {12, 13}, {14, 10}, {14, 30}, {12, 33}, {8, 33}, {6, 30}}}},
        {"diagonal, half tilted: the normal with a positive x",
         5,
         1,
         {0, 0, 0},
         {30, 40, 0.5},
         {},
         {{{-4, 3}, {-1, 3}, {3, 0}, {4, -3}, {34, 37}, {33, 40}, {29, 43}, {26, 43}}}},
        {"ties round to even",
         2.5,
         1,
         {0, 0, 0},
         {0, 10, 0},
         {},
         {{{-2, 0}, {-1, 0}, {1, 0}, {2, 0}, {2, 10}, {1, 10}, {-1, 10}, {-2, 10}}}},
        // w1 = 4 * 7 * 2 / (2 * 10 - 0) = 2.8, w2 = 4 * 14 / 18 = 3.11.
        {"perspective widens the nearer end",
         4,
         4,
         {0, 0, 0},
         {20, 0, 2},
         {true, 7, 10, 2.0},
         {{{0, -3}, {2, -1}, {2, 1}, {0, 3}, {20, 3}, {22, 2}, {22, -2}, {20, -3}}}},
    };
    for (const TOutlineCase& c : cases) {
        const std::optional<TOutline> outline = CalcRect(c.w, c.halfLength, c.p1, c.p2, c.view);
        ASSERT_TRUE(outline.has_value()) << c.title;
        EXPECT_EQ(*outline, c.expected) << c.title;
    }
    EXPECT_FALSE(CalcRect(4, 1, {5, 5, 0}, {5, 5, 3}, {}).has_value());
    EXPECT_TRUE(CalcRect(4, 0, {0, 0, 0}, {10, 0, 3}, {}).has_value()) << "no length: f = 0";
}

TEST(GQuickSort, OrdersByDepthWithTies) {
    std::mt19937 random(7);
    std::vector<tTopAt> nodes(500);
    std::vector<tTopAt*> order;
    for (tTopAt& node : nodes) {
        node.hk = static_cast<float>(random() % 40) - 20.0f;
        order.push_back(&node);
    }
    GQuickSort(order);
    std::vector<float> depths, expected;
    for (const tTopAt* node : order)
        depths.push_back(node->hk);
    for (const tTopAt& node : nodes)
        expected.push_back(node.hk);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(depths, expected);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(std::adjacent_find(order.begin(), order.end()), order.end()) << "a permutation";
}

TEST(GdiColours, FillAndLineColoursTakeTheFirstRuleThatApplies) {
    TViewColours colours;
    colours.PenColor = 0x123456;
    tSteckAt atom;
    tTopAt node;
    node.pSAt = &atom;
    tInsAt selection;
    selection.col = 3;
    struct Case {
        const char* title;
        int element;
        bool selected, blackWhite, group;
        int legMode;
        TColor tint, fill, line;
    };
    const TColor oxygen = ElementColor(8);
    const std::vector<Case> cases = {
        {"element colour", 8, false, false, false, 1, clNone, oxygen, oxygen},
        {"selection first (2D colours)", 8, true, true, true, 4, 0x1111, 0x00FF00, 0x00FF00},
        {"black and white: white fill, pen lines", 8, false, true, false, 1, 0x1111, 0xFFFFFF,
         0x123456},
        {"black and white in legend mode 4", 8, false, true, false, 4, clNone, 0x123456, 0x123456},
        {"tint before group colours", 8, false, false, true, 1, 0x1111, 0x1111, 0x1111},
        {"group colour", 8, false, false, true, 1, clNone, GroupColorOf(8, colours.ColorGr),
         GroupColorOf(8, colours.ColorGr)},
        {"legend mode 4", 8, false, false, false, 4, clNone, 0x123456, 0x123456},
        {"element 0: pen lines, own fill", 0, false, false, false, 1, clNone, ElementColor(0),
         0x123456},
    };
    for (const Case& c : cases) {
        TLatvistaOpt o;
        DefaultLatvistaOpt(o);
        o.Black_White = c.blackWhite;
        o.GrColor = c.group;
        o.LegMode = c.legMode;
        atom.A.n = static_cast<std::int16_t>(c.element);
        node.lAColor = c.tint;
        node.PIAt = c.selected ? &selection : nullptr;
        EXPECT_EQ(FillColour2D(node, o, colours), c.fill) << c.title;
        EXPECT_EQ(LineColour2D(node, o, colours), c.line) << c.title;
    }
}

std::vector<const TCanvasItem*> ItemsOf(const TCanvasPicture& picture, TKind kind) {
    std::vector<const TCanvasItem*> items;
    for (const TCanvasItem& item : picture.items)
        if (item.kind == kind)
            items.push_back(&item);
    return items;
}

TCanvasPicture Draw(THandScene& hand, const TViewColours& colours = {}) {
    static const TFixedMetrics metrics;
    TCanvasEnv env;
    env.width = 200;
    env.height = 200;
    env.metrics = &metrics;
    env.tooltipColour = 0x0A0B0C;
    return LatvistaFull_old(hand.scene, colours, env);
}

TEST(LatvistaFull_old, PaintsBackToFrontWithBondHalvesBeforeTheFrontAtom) {
    THandScene hand;
    hand.scene.WLVO.ColBonds = true;
    // O in front (depth 1) is listed first; N behind it; both sphere & cylinder.
    tTopAt& front = hand.Add(8, 1, 2.0, 0.0, 1.0, 0.5f, 3);
    tTopAt& back = hand.Add(7, 1, -2.0, 0.0, -1.0, 0.5f, 3);
    hand.Bond(front, back, cbValence, 4.47f);
    const TCanvasPicture picture = Draw(hand);
    ASSERT_EQ(picture.items.size(), 5u);
    EXPECT_EQ(picture.items[0].kind, TKind::FillRect);
    EXPECT_EQ(picture.items[0].brush.colour, hand.scene.WLVO.WGBCol);
    // The back atom's circle, then the front atom's two halves, then its circle.
    EXPECT_EQ(picture.items[1].kind, TKind::Ellipse);
    EXPECT_EQ(picture.items[1].brush.colour, ElementColor(7));
    EXPECT_EQ(picture.items[1].points, (std::vector<TPoint>{{75, 95}, {85, 105}}));
    EXPECT_EQ(picture.items[2].kind, TKind::Polygon);
    EXPECT_EQ(picture.items[2].brush.colour, ElementColor(8));
    EXPECT_EQ(picture.items[3].kind, TKind::Polygon);
    EXPECT_EQ(picture.items[3].brush.colour, ElementColor(7));
    EXPECT_EQ(picture.items[3].pen.colour, 0) << "outlines in the pen colour";
    EXPECT_EQ(picture.items[4].kind, TKind::Ellipse);
    EXPECT_EQ(picture.items[4].brush.colour, ElementColor(8));
    // The second half ends on the back atom's circle: E = B + rk / r (A - B), 0.5 / 4.47
    // of the 40 pixels from N towards O: x = 80 + 4.47 = 84.47.
    const std::vector<TPoint>& half = picture.items[3].points;
    EXPECT_EQ(half[4].x, 84);
    EXPECT_EQ(half[0].x, 100) << "the first half starts at the middle";
    EXPECT_EQ(hand.scene.ArrAt.front(), &back) << "sorted by depth";
}

TEST(LatvistaFull_old, ColourlessBondsTakeTheCylinderColourOrThePen) {
    THandScene hand;
    hand.scene.WLVO.ColBonds = false;
    hand.scene.WLVO.CylinderCol = 0x00AA00;
    tTopAt& front = hand.Add(8, 1, 2.0, 0.0, 1.0, 0.5f, 3);
    tTopAt& back = hand.Add(7, 1, -2.0, 0.0, -1.0, 0.5f, 2);
    hand.Bond(front, back, cbValence, 4.47f);
    const TCanvasPicture picture = Draw(hand);
    const std::vector<const TCanvasItem*> lines = ItemsOf(picture, TKind::Line);
    ASSERT_EQ(lines.size(), 2u) << "a sphere & wire partner makes both halves lines";
    EXPECT_EQ(lines[0]->pen.colour, 0) << "sphere model without coloured bonds: the pen";
    EXPECT_EQ(lines[1]->pen.colour, 0);
    EXPECT_EQ(lines[1]->points[1].x, 84) << "ends at the partner's circle";
    EXPECT_TRUE(ItemsOf(picture, TKind::Polygon).empty());
}

TEST(LatvistaFull_old, KindsGetTheirPenStylesAndWidths) {
    THandScene hand;
    hand.scene.WLVO.NumSeeBond = 0x3F;
    hand.scene.WLVO.ArrTickBonds = {1, 3, 0, 0, 5, 2};
    hand.scene.WLVO.ColBonds = true;
    tTopAt& a = hand.Add(6, 1, 0, 0, 1.0, 0.5f, 1);
    tTopAt& b = hand.Add(6, 2, 2, 0, 0.0, 0.5f, 1);
    tTopAt& c = hand.Add(6, 3, 0, 2, 0.0, 0.5f, 1);
    tTopAt& d = hand.Add(6, 4, -2, 0, 0.0, 0.5f, 1);
    hand.Bond(a, b, cbSpecific, 2);
    hand.Bond(a, c, cbVanDerWaals, 2);
    hand.Bond(a, d, cbHydrogen, 2);
    const TCanvasPicture picture = Draw(hand);
    const std::vector<const TCanvasItem*> lines = ItemsOf(picture, TKind::Line);
    ASSERT_EQ(lines.size(), 6u) << "patterned kinds are lines even between cylinder atoms";
    EXPECT_EQ(lines[0]->pen, (TPen{ElementColor(6), 3, TPenStyle::Dash}));
    EXPECT_EQ(lines[2]->pen, (TPen{ElementColor(6), 5, TPenStyle::Dot}));
    EXPECT_EQ(lines[4]->pen, (TPen{ElementColor(6), 2, TPenStyle::DashDot}));
}

TEST(LatvistaFull_old, WireAtomsWithoutBondsAreDiscsOnlyFromWidthFour) {
    for (const auto& [width, discs] : {std::pair{3, 0u}, std::pair{4, 1u}}) {
        THandScene hand;
        hand.scene.WLVO.ArrTickBonds[0] = static_cast<std::uint8_t>(width);
        hand.Add(8, 1, 0, 0, -1, 0.5f, 0);
        hand.Add(8, 2, 3, 0, 0, 0.5f, 0);
        const TCanvasPicture picture = Draw(hand);
        const std::vector<const TCanvasItem*> ellipses = ItemsOf(picture, TKind::Ellipse);
        EXPECT_EQ(ellipses.size(), 2 * discs) << width;
        if (!ellipses.empty()) {
            EXPECT_EQ(ellipses[0]->points, (std::vector<TPoint>{{98, 98}, {102, 102}}));
            EXPECT_EQ(ellipses[0]->brush.colour, ElementColor(8));
        }
    }
}

TEST(LatvistaFull_old, CylinderAtomsAreAsWideAsTheirBondsAndHatchesFollowTheFill) {
    THandScene hand;
    hand.scene.WLVO.TickLineCircle = 2;
    hand.scene.WLVO.ColBonds = true;
    tTopAt& a = hand.Add(8, 1, 0, 0, 1, 0.5f, 1);
    tTopAt& b = hand.Add(8, 2, 3, 0, 0, 0.5f, 1);
    a.FillStyle = bsCross;
    hand.Bond(a, b, cbValence, 3);
    tBoundAt* thick = a.p;
    thick->diam = 0.75f; // / PartRad 3 * CoeffDX 10 = 2.5 pixels
    const TCanvasPicture picture = Draw(hand);
    const std::vector<const TCanvasItem*> ellipses = ItemsOf(picture, TKind::Ellipse);
    // b, painted first, draws no bond (its partner comes later) and so would be a disc of
    // radius 0 div 2 + 1, which is not drawn; a: round(2.5) = 2, ties to even.
    ASSERT_EQ(ellipses.size(), 2u);
    EXPECT_EQ(ellipses[0]->points, (std::vector<TPoint>{{98, 98}, {102, 102}}));
    EXPECT_EQ(ellipses[0]->pen.width, 2);
    EXPECT_EQ(ellipses[1]->brush, (TBrush{0, bsCross})) << "hatch in the pen colour";
}

TEST(LatvistaFull_old, LabelsAreCentredAndFramedOnlyWhenAsked) {
    for (const bool framed : {false, true}) {
        THandScene hand;
        hand.scene.WLVO.ATransparent = framed;
        tTopAt& a = hand.Add(8, 1, 0, 0, 1, 0.5f, 2);
        tTopAt& b = hand.Add(8, 2, 3, 0, 0, 0.5f, 2);
        a.LabelExist = true;
        hand.scene.WLVO.AtomLabels = 1;
        hand.Bond(a, b, cbValence, 3);
        a.p->c |= kBondLabelLength;
        const TCanvasPicture picture = Draw(hand);
        const std::vector<const TCanvasItem*> texts = ItemsOf(picture, TKind::Text);
        ASSERT_EQ(texts.size(), 2u) << framed;
        // "3.000": 30 x 13 pixels (13 taken as 14) centred on the middle (115, 100).
        EXPECT_EQ(texts[0]->text, "3.000");
        EXPECT_EQ(texts[0]->points[0], (TPoint{100, 93}));
        EXPECT_EQ(texts[0]->brush, (TBrush{framed ? 0x0A0B0C : hand.scene.WLVO.WGBCol, bsSolid}));
        // "O": 6 x 13 centred on the atom.
        EXPECT_EQ(texts[1]->text, "O");
        EXPECT_EQ(texts[1]->points[0], (TPoint{97, 93}));
        EXPECT_EQ(texts[1]->brush.style, bsClear);
        const std::vector<const TCanvasItem*> boxes = ItemsOf(picture, TKind::Rectangle);
        EXPECT_EQ(boxes.size(), framed ? 2u : 0u);
        if (framed) {
            EXPECT_EQ(boxes[1]->points, (std::vector<TPoint>{{96, 92}, {104, 107}}));
        }
    }
}

TEST(LatvistaFull_old, NothingButTheBackgroundWithoutALegendRow) {
    THandScene hand;
    tTopAt& a = hand.Add(8, 1, 0, 0, 1, 0.5f, 2);
    a.LegInd = 200;
    EXPECT_EQ(Draw(hand).items.size(), 1u);
}

} // namespace
