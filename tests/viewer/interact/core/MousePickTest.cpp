// Picking on a built and projected scene: depth and list order among overlapping atoms,
// cell corners, the legend's rectangle, the right click among the selection, the legend
// rows under the mouse, and the pick index against a plain walk of the whole scene.
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/interact/core/MousePick.h"

#include <gtest/gtest.h>

#include <random>

namespace ormaline {
namespace {

class MousePick : public ::testing::Test {
protected:
    void SetUp() override {
        test::PlainScreenAxes(scene);
        env.metrics = &metrics;
    }
    // Two oxygens one behind the other (atom 2 nearer), two carbons side by side at the
    // same depth, overlapping.
    void BuildOverlaps() {
        test::FillCubic(scene, 10.0f,
                        {{8, {0.5, 0.5, 0.5}},
                         {8, {0.5, 0.5, 0.6}},
                         {6, {0.3, 0.3, 0.5}},
                         {6, {0.32, 0.3, 0.5}}});
        test::BuildAndProject(scene);
    }
    tTopAt* Pick(int x, int y, TMouseButton button = TMouseButton::Left) {
        last = {};
        MouseAtom(scene, env, button, x, y, last);
        return scene.PTMAt;
    }
    tTopAt* Node(int number) const { return test::NodeOfAtom(scene, number); }
    std::array<int, 2> Pixel(int number) const { return test::PixelOf(scene, *Node(number)); }

    TLVScene scene;
    test::TFixedMetrics metrics;
    TMouseEnv env;
    TMouseResult last;
};

TEST_F(MousePick, TheNearerOfOverlappingAtomsWinsAndEqualDepthKeepsListOrder) {
    BuildOverlaps();
    const auto [x, y] = Pixel(1);
    EXPECT_EQ(Pick(x, y), Node(2));
    ASSERT_TRUE(last.status0.has_value());
    EXPECT_EQ(last.status0->substr(0, 4), " O2 ");
    // Between the carbons both are hit at the same depth: the first in the list wins.
    const auto c3 = Pixel(3), c4 = Pixel(4);
    ASSERT_LT(c4[0] - c3[0], 2 * Node(3)->rk * scene.CoeffDX);
    tTopAt* first = nullptr;
    for (tTopAt* node = scene.WPTAll; node != nullptr && first == nullptr; node = node->li)
        if (node == Node(3) || node == Node(4))
            first = node;
    EXPECT_EQ(Pick((c3[0] + c4[0]) / 2, c3[1]), first);
    // Nothing while a build runs or at a zero scale, and nothing in empty space.
    env.threadRunning = true;
    EXPECT_EQ(Pick(x, y), nullptr);
    env.threadRunning = false;
    EXPECT_EQ(Pick(5, 5), nullptr);
    EXPECT_FALSE(last.status0.has_value());
    const double scale = scene.CoeffDX;
    scene.CoeffDX = 1e-8;
    EXPECT_EQ(Pick(x, y), nullptr);
    scene.CoeffDX = scale;
}

TEST_F(MousePick, ACellCornerIsPickedOnlyWhileTheCellIsShown) {
    BuildOverlaps();
    scene.WLVO.ShowVertex = true;
    // The corner (0,0,1), in front of (0,0,0) in this view.
    tTopAt* corner = scene.WPTAll;
    while (!(corner->t == ShIVector{0, 0, 1}))
        corner = corner->li;
    ASSERT_TRUE(corner->PolyVert);
    const auto [x, y] = test::PixelOf(scene, *corner);
    EXPECT_EQ(Pick(x, y), nullptr);
    scene.WLVO.NumSeeBond |= cbCellEdge;
    EXPECT_EQ(Pick(x, y), corner);
    scene.WLVO.ShowVertex = false;
    EXPECT_EQ(Pick(x, y), nullptr);
}

TEST_F(MousePick, APointInsideTheShownLegendPicksNothing) {
    BuildOverlaps();
    const auto [x, y] = Pixel(1);
    scene.LegRect = {x - 10, y - 10, x + 10, y + 10};
    scene.WLVO.Legend = true;
    EXPECT_EQ(Pick(x, y), nullptr);
    // On its border the point is outside.
    scene.LegRect = {x, y - 10, x + 10, y + 10};
    EXPECT_EQ(Pick(x, y), Node(2));
    scene.LegRect = {x - 10, y - 10, x + 10, y + 10};
    scene.WLVO.Legend = false;
    EXPECT_EQ(Pick(x, y), Node(2));
}

TEST_F(MousePick, ARightClickInSelectModeLooksAtTheSelectionNewestFirstBySquares) {
    BuildOverlaps();
    scene.MouseMode = 1;
    for (int number : {2, 1, 3}) {
        scene.PTMAt = Node(number);
        SpecAt(scene, 1);
    }
    const auto [x, y] = Pixel(1);
    // Both oxygens contain the point; atom 1 was selected after atom 2.
    EXPECT_EQ(Pick(x, y, TMouseButton::Right), Node(1));
    EXPECT_FALSE(last.status0.has_value());
    // A corner of the oxygens' squares, outside their circles.
    const int off = static_cast<int>(0.85 * Node(1)->rk * scene.CoeffDX);
    EXPECT_EQ(Pick(x + off, y - off, TMouseButton::Right), Node(1));
    EXPECT_EQ(Pick(x + off, y - off), nullptr);
    // An atom that is not selected is not looked at.
    scene.PTMAt = Node(1);
    NotSpecAt(scene, 0);
    scene.PTMAt = Node(2);
    NotSpecAt(scene, 0);
    EXPECT_EQ(Pick(x, y, TMouseButton::Right), nullptr);
    // In another mode the right button picks like the left one.
    scene.MouseMode = 0;
    EXPECT_EQ(Pick(x, y, TMouseButton::Right), Node(2));
}

TEST_F(MousePick, TheLegendRowUnderTheMouse) {
    scene.WLVO.AdjMatrix = 2;
    test::FillCubic(scene, 10.0f,
                    {{17, {0.3, 0.5, 0.5}}, {11, {0.5, 0.5, 0.5}}, {17, {0.7, 0.5, 0.5}}});
    test::BuildAndProject(scene);
    const TLegendSet shown = MarkVisibleNodes(scene).legend;
    scene.LegI0 = 700;
    scene.LegJ0 = 75;
    scene.CoefMas = 1;
    scene.CoeffDX = 20;
    scene.WLVO.EqualRadii = false;
    SeeLegend(scene, {}, shown, metrics);
    // Rows Na (centre 92, radius 12) and Cl (centre 116, radius 7); rectangle 681 .. 757.
    struct Case {
        int x, y, row;
    };
    const Case cases[] = {{720, 92, 0},   {720, 106, 0}, {720, 107, 1}, {720, 125, 1},
                          {720, 126, -1}, {681, 92, -1}, {682, 92, 0},  {756, 92, 0},
                          {757, 92, -1},  {720, 70, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(LegClick(scene, metrics, c.x, c.y), c.row) << c.x << "," << c.y;
    scene.WLVO.Legend = false;
    EXPECT_EQ(LegClick(scene, metrics, 720, 92), -1);
}

// The pick as the rule reads, walking the whole list, to check the index against.
tTopAt* WalkPick(const TLVScene& scene, int x, int y) {
    const double a = static_cast<float>((x - scene.i0) / scene.CoeffDX);
    const double b = static_cast<float>((scene.j0 - y) / scene.CoeffDX);
    const TLatvistaOpt& o = scene.WLVO;
    tTopAt* best = nullptr;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        if ((node->PolyVert && !o.ShowVertex) || (node->c & kNodeVisible) == 0 ||
            ((node->c & kNodeAuxiliary) != 0 && (o.NumSeeBond & cbCellEdge) == 0))
            continue;
        const double dx = node->ik - a, dy = node->jk - b, r = node->rk;
        if (std::fabs(dx) < r && std::fabs(dy) < r && dx * dx + dy * dy < r * r &&
            (best == nullptr || node->hk > best->hk))
            best = node;
    }
    return best;
}

TEST_F(MousePick, TheIndexPicksWhatAWalkOfTheWholeScenePicks) {
    std::mt19937 random(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<test::TTestAtom> atoms;
    const std::int16_t elements[] = {1, 6, 8, 11, 26, 55};
    for (int k = 0; k < 400; ++k)
        atoms.push_back({elements[k % 6], {unit(random), unit(random), unit(random)}});
    scene.WLVO.ShowVertex = true;
    scene.WLVO.NumSeeBond |= cbCellEdge;
    test::FillCubic(scene, 20.0f, atoms);
    test::BuildAndProject(scene, 640, 480);
    for (bool perspective : {false, true}) {
        SCOPED_TRACE(perspective);
        scene.WLVO.Perspect = perspective;
        scene.WLVO.lin = 1;
        scene.WLVO.LX = 2;
        scene.WLVO.LZ = 3;
        RotorCoord(scene, 0.7);
        scene.WLVO.lin = 2;
        scene.WLVO.LX = 3;
        scene.WLVO.LZ = 1;
        RotorCoord(scene, 0.4);
        ASSERT_TRUE(BeginPaint(scene));
        // Some atoms hidden: they are not picked.
        int k = 0;
        for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
            if (++k % 7 == 0)
                node->c &= static_cast<std::uint8_t>(~kNodeVisible);
        int hits = 0;
        for (int probe = 0; probe < 3000; ++probe) {
            const int x = static_cast<int>(unit(random) * 640);
            const int y = static_cast<int>(unit(random) * 480);
            tTopAt* expected = WalkPick(scene, x, y);
            ASSERT_EQ(Pick(x, y), expected) << x << "," << y;
            hits += expected != nullptr;
        }
        EXPECT_GT(hits, 100);
    }
}

} // namespace
} // namespace ormaline
