// Legend rows in every legend mode, what a frame shows of them and where, the row
// colours, the axes glyph and the cell toggle. Expected rows and pixels are worked out
// by hand from the atoms below (Na radius 1.80, Cl 1.00 in the Slater system).
#include "ViewTestSupport.h"

#include "viewer/core/Legend.h"

#include <gtest/gtest.h>

namespace ormaline {
namespace {

class Legend : public ::testing::Test {
protected:
    // Cl1 (oxidation state -1), Na2 (+1), Cl3 (none); no bonds. The list holds the cell
    // corners, then Cl3, Na2, Cl1 (each new node goes to the head).
    void Build(int legendMode) {
        scene.WLVO.AdjMatrix = 2;
        scene.WLVO.LegMode = legendMode;
        test::FillCubic(scene, 10.0f,
                        {{17, {0.3, 0.5, 0.5}}, {11, {0.5, 0.5, 0.5}}, {17, {0.7, 0.5, 0.5}}});
        const int states[3] = {-1, 1, 16};
        int k = 0;
        for (tSteckAt* atom = scene.CompParamMaler.pAtEnd; atom != nullptr; atom = atom->li)
            atom->A.DegOx = states[k++];
        ASSERT_TRUE(test::Build(scene));
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const TRecLeg& row : scene.ArrLeg)
            texts.push_back(row.st);
        return texts;
    }
    TLVScene scene;
};

TEST_F(Legend, RowsAndTheirOrderInEveryMode) {
    struct Row {
        std::string st;
        int n, i, DegOx, ind;
        float rad, KTint;
    };
    struct Case {
        int mode;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {1, {{"Na", 11, -1, -16, 2, 1.8f, 1.8f}, {"Cl", 17, -1, -16, 1, 1.0f, 1.0f}}},
        {2,
         {{"Na(2)", 11, 2, -16, 2, 1.8f, 1.8f},
          {"Cl(1)", 17, 1, -16, 3, 1.0f, 1.0f},
          {"Cl(3)", 17, 3, -16, 1, 1.0f, 1.0f}}},
        // The row of an atom without a state keeps the state 16, which sorts last.
        {3,
         {{"Na{+1}", 11, -1, 1, 2, 1.8f, 1.8f},
          {"Cl{-1}", 17, -1, -1, 3, 1.0f, 1.0f},
          {"Cl", 17, -1, 16, 1, 1.0f, 1.0f}}},
        {4, {{"None", -1, -1, -16, 1, 0.5f, 0.0f}}},
        {0, {{"None", -1, -1, -16, 1, 0.5f, 0.5f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        scene.FreeScene();
        Build(c.mode);
        ASSERT_EQ(scene.ArrLeg.size(), c.rows.size());
        EXPECT_EQ(scene.CArrLeg, static_cast<int>(c.rows.size()));
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            const TRecLeg& row = scene.ArrLeg[k];
            const Row& want = c.rows[k];
            EXPECT_EQ(row.st, want.st);
            EXPECT_EQ(row.n, want.n) << want.st;
            EXPECT_EQ(row.i, want.i) << want.st;
            EXPECT_EQ(row.DegOx, want.DegOx) << want.st;
            EXPECT_EQ(row.ind, want.ind) << want.st;
            EXPECT_FLOAT_EQ(row.rad, want.rad) << want.st;
            EXPECT_FLOAT_EQ(row.KTint, want.KTint) << want.st;
            EXPECT_EQ(row.t_ind, -1);
        }
        // Every atom refers to the row of its text; the cell corners to none.
        for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
            if (node->pSAt->A.n == 0) {
                EXPECT_EQ(node->LegInd, 0);
                continue;
            }
            const std::string text = LegendRowText(*node, c.mode);
            const auto row = std::find_if(scene.ArrLeg.begin(), scene.ArrLeg.end(),
                                          [&](const TRecLeg& r) { return r.st == text; });
            ASSERT_NE(row, scene.ArrLeg.end()) << text;
            EXPECT_EQ(node->LegInd, row->ind) << text;
        }
    }
}

TEST_F(Legend, ExtendingKeepsTheRowsAndAddsNewOnesUnsorted) {
    Build(1);
    // A further kind appears (an atom turned into oxygen) without a new legend.
    tTopAt* na = test::NodeOfAtom(scene, 2);
    na->LegInd = 0;
    na->pSAt->A.n = 8;
    ReadLegInd(scene, false);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Na", "Cl", "O"}));
    EXPECT_EQ(scene.ArrLeg.back().ind, 3);
    EXPECT_EQ(na->LegInd, 3);
}

TEST_F(Legend, SortMETakesTheLargestRadiusFirstSwappingOnlyWhenSmaller) {
    TArrOfElement elements(4);
    const float radii[4] = {1.0f, 1.8f, 1.0f, 2.2f};
    for (std::size_t k = 0; k < 4; ++k) {
        elements[k].n = static_cast<std::int16_t>(k + 1);
        elements[k].r = radii[k];
    }
    SortME(elements);
    // By hand: (1 2 3 4) -> (2 1 3 4) -> (4 1 3 2) -> (4 2 3 1).
    std::vector<int> order;
    for (const t_element& element : elements)
        order.push_back(element.n);
    EXPECT_EQ(order, (std::vector<int>{4, 2, 3, 1}));
}

TEST_F(Legend, HidingEveryAtomOfAnElementTakesItsRowOutOfTheFrame) {
    Build(1);
    TVisibility shown = MarkVisibleNodes(scene);
    EXPECT_EQ(shown.legend.count(), 2u);
    EXPECT_FLOAT_EQ(MaxRadLeg(scene, shown.legend), 0.5f); // EqualRadii
    scene.WLVO.EqualRadii = false;
    EXPECT_FLOAT_EQ(MaxRadLeg(scene, shown.legend), 1.8f);
    test::NodeOfAtom(scene, 1)->c &= static_cast<std::uint8_t>(~kNodeVisible);
    test::NodeOfAtom(scene, 3)->c &= static_cast<std::uint8_t>(~kNodeVisible);
    shown = MarkVisibleNodes(scene);
    EXPECT_EQ(shown.legend.count(), 1u);
    EXPECT_TRUE(shown.legend.test(2));
    EXPECT_EQ(scene.LegendShown, shown.legend);
    const TLegendLayout layout = LegendLayout(scene, shown.legend, test::TFixedMetrics());
    ASSERT_EQ(layout.rows.size(), 1u);
    EXPECT_EQ(scene.ArrLeg[layout.rows[0].row].st, "Na");
    // The row itself stays.
    EXPECT_EQ(scene.ArrLeg.size(), 2u);
    // Hidden Na too: nothing is shown, and the legend holds no rectangle.
    test::NodeOfAtom(scene, 2)->c &= static_cast<std::uint8_t>(~kNodeVisible);
    shown = MarkVisibleNodes(scene);
    EXPECT_EQ(MaxRadLeg(scene, shown.legend), 0.0f);
    const TLegendPicture picture = SeeLegend(scene, {}, shown.legend, test::TFixedMetrics());
    EXPECT_FALSE(picture.drawn);
    EXPECT_EQ(scene.LegRect.Left, scene.LegRect.Right);
}

TEST_F(Legend, GeometryOfTheLegendAndItsRectangle) {
    Build(1);
    const TLegendSet shown = MarkVisibleNodes(scene).legend;
    scene.LegI0 = 700;
    scene.LegJ0 = 75;
    scene.mas_l = 300;
    scene.PrevMas = 10;
    scene.CoefMas = 1;
    scene.CoeffDX = 20;
    scene.WLVO.PartRad = 3;
    // Text height 13 (half 6), " - Na" and " - Cl" 30 pixels wide.
    struct Case {
        bool equalRadii, perspective;
        int s;
        int radius[2], half[2], centre[2];
        TRect rect;
    };
    const Case cases[] = {
        // q = 300 / 10 / 3 = 10, s = 5 for every row.
        {true, false, 5, {5, 5}, {6, 6}, {86, 103}, {688, 75, 750, 114}},
        // q = 20 / 3: Na 12, Cl round(6.67) = 7.
        {false, false, 12, {12, 7}, {12, 7}, {92, 116}, {681, 75, 757, 128}},
        // Perspective at ZeroPos 7 takes 4/7 of it: Na round(6.86) = 7, Cl round(3.81) = 4.
        {false, true, 7, {7, 4}, {7, 6}, {87, 105}, {686, 75, 752, 116}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s);
        scene.WLVO.EqualRadii = c.equalRadii;
        scene.WLVO.Perspect = c.perspective;
        const TLegendLayout layout = LegendLayout(scene, shown, test::TFixedMetrics());
        EXPECT_EQ(layout.s, c.s);
        ASSERT_EQ(layout.rows.size(), 2u);
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(layout.rows[k].radius, c.radius[k]);
            EXPECT_EQ(layout.rows[k].half, c.half[k]);
            EXPECT_EQ(layout.rows[k].centreY, c.centre[k]);
        }
        const TLegendPicture picture = SeeLegend(scene, {}, shown, test::TFixedMetrics());
        EXPECT_EQ(scene.LegRect, c.rect);
        EXPECT_EQ(picture.rect, c.rect);
        ASSERT_EQ(picture.rows.size(), 2u);
        EXPECT_EQ(picture.rows[0].text, " - Na");
        EXPECT_EQ(picture.rows[1].textX, 700 + c.s + 3);
        EXPECT_EQ(picture.rows[1].p, c.half[1]);
        EXPECT_EQ(picture.rows[0].colour, 0xFF0000); // Na
        EXPECT_EQ(picture.rows[1].colour, 0x00FF00); // Cl
    }
}

TEST_F(Legend, RowColoursFollowTheFirstRuleThatApplies) {
    TViewColours colours;
    colours.PenColor = 0x123456;
    TRecLeg na;
    na.n = 11;
    struct Case {
        bool blackWhite, groups;
        int mode;
        TColor colour;
    };
    const Case cases[] = {
        {true, true, 4, 0x123456},  // black and white, tint mode: the pen
        {true, true, 1, 0xFFFFFF},  // black and white: white
        {false, true, 4, 0xC0C0C0}, // group colours: the group of column 1
        {false, false, 4, 0x123456}, {false, false, 1, 0xFF0000}, // the element colour table
    };
    for (const Case& c : cases) {
        TLatvistaOpt o = DefaultLatvistaOptions();
        o.Black_White = c.blackWhite;
        o.GrColor = c.groups;
        o.LegMode = c.mode;
        EXPECT_EQ(LegendRowColour(na, o, colours), c.colour) << c.blackWhite << c.groups << c.mode;
    }
}

TEST_F(Legend, AxesRunAQuarterOfThePixelScaleAlongTheProjectedCellEdges) {
    Build(1);
    scene.WLVO.L1 = 1;
    scene.WLVO.L2 = 2;
    scene.WLVO.L3 = 3;
    scene.mas = 10;
    scene.mas_l = 300;
    UpdateScaleCoeff(scene, true);
    ASSERT_DOUBLE_EQ(scene.XYZMas, 7.5);
    // A view turned about the viewing axis by the angle of cosine 0.8.
    scene.WMatrRotor = {{{0.8, -0.6, 0}, {0.6, 0.8, 0}, {0, 0, 1}}};
    GetIntK(scene);
    scene.Gi0 = 100;
    scene.Gj0 = 450;
    const TAxesPicture picture = SeeABCCell(scene, {});
    ASSERT_TRUE(picture.drawn);
    // The 10 angstrom edges: a turns to (8, 6), b to (-6, 8), c is seen end on; times 7.5.
    const int want[3][2] = {{100 + 60, 450 - 45}, {100 - 45, 450 - 60}, {100, 450}};
    const TColor colours[3] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(picture.axes[axis].x, want[axis][0]) << axis;
        EXPECT_EQ(picture.axes[axis].y, want[axis][1]) << axis;
        EXPECT_EQ(picture.axes[axis].colour, colours[axis]);
        EXPECT_EQ(picture.axes[axis].letter, "abc"[axis]);
    }
    scene.WLVO.Black_White = true;
    TViewColours pen;
    pen.PenColor = 0x222222;
    for (const TAxesPicture::TAxis& axis : SeeABCCell(scene, pen).axes)
        EXPECT_EQ(axis.colour, 0x222222);
}

TEST_F(Legend, ShowingTheCellShowsItsCornersAgain) {
    Build(1);
    for (tTopAt* node = scene.WPTAll; node != scene.WPTAtEnd; node = node->li)
        node->c &= static_cast<std::uint8_t>(~kNodeVisible);
    const std::uint16_t before = scene.WLVO.NumSeeBond;
    ToggleCell(scene);
    EXPECT_EQ(scene.WLVO.NumSeeBond, before | cbCellEdge);
    for (const tTopAt* node = scene.WPTAll; node != scene.WPTAtEnd; node = node->li)
        EXPECT_NE(node->c & kNodeVisible, 0);
    ToggleCell(scene);
    EXPECT_EQ(scene.WLVO.NumSeeBond, before);
}

} // namespace
} // namespace ormaline
