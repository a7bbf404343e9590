// The renderer's decisions without drawing: node colours in their order of precedence,
// line patterns and widths, bond half materials and label texts.
#include "viewer/core/RenderRules.h"

#include "viewer/core/SceneActions.h"

#include <gtest/gtest.h>

using namespace ormaline;

namespace {

struct TNodeFixture {
    tSteckAt atom;
    tTopAt node;
    tInsAt selection;
    TNodeFixture(int element, int index) {
        atom.A.n = static_cast<std::int16_t>(element);
        atom.A.i = index;
        node.pSAt = &atom;
    }
};

TEST(RenderRules, NodeColourTakesTheFirstRuleThatApplies) {
    TViewColours colours;
    colours.PenColor = 0x123456;
    struct Case {
        const char* title;
        int element;
        int selection; // 0 none
        bool blackWhite;
        int legMode;
        TColor tint;
        bool group;
        TColor expected;
    };
    const std::vector<Case> cases = {
        {"element colour", 8, 0, false, 1, clNone, false, ElementColor(8)},
        {"selection first", 8, 2, true, 4, 0x111111, true, 0xFF00FF},
        {"element 0 takes the pen", 0, 0, true, 1, clNone, false, 0x123456},
        {"black and white", 8, 0, true, 1, 0x111111, true, 0xC0C0C0},
        {"black and white, tint legend", 8, 0, true, 4, clNone, false, 0x123456},
        {"tint before group", 8, 0, false, 1, 0x111111, true, 0x111111},
        {"group colour of O (column 16, set 6)", 8, 0, false, 1, clNone, true, GroupColorTable[5]},
        {"group colour of H (column 1)", 1, 0, false, 1, clNone, true, GroupColorTable[0]},
        {"legend mode 4", 8, 0, false, 4, clNone, false, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TNodeFixture f(c.element, 1);
        TLatvistaOpt options = DefaultLatvistaOptions();
        options.Black_White = c.blackWhite;
        options.LegMode = c.legMode;
        options.GrColor = c.group;
        f.node.lAColor = c.tint;
        if (c.selection > 0) {
            f.selection.col = static_cast<std::uint16_t>(c.selection);
            f.node.PIAt = &f.selection;
        }
        EXPECT_EQ(NodeColour(f.node, options, colours), c.expected);
    }
}

TEST(RenderRules, ColoursEqualToTheBackgroundAreReplacedAtSetUp) {
    TViewColours colours;
    TLatvistaOpt options = DefaultLatvistaOptions();
    options.WGBCol = 0xC0C0C0; // the colour of group 1 and nothing else
    InitViewColours(colours, options, true);
    EXPECT_EQ(colours.ColorGr[0], 0);
    EXPECT_EQ(colours.ColorGr[1], GroupColorTable[1]);
    options.WGBCol = 0x808080; // the fourth selection colour
    InitViewColours(colours, options, true);
    EXPECT_EQ(colours.clInsAt[3], 0);
    EXPECT_EQ(colours.clGLInsAt[3], 0);
    EXPECT_EQ(colours.clGLInsAt[0], 0x008080);
    EXPECT_EQ(options.GPenColor, 0);
}

TEST(RenderRules, PatternsWidthsAndHalves) {
    EXPECT_EQ(LinePatternOfKind(cbSpecific), 0x00FF);
    EXPECT_EQ(LinePatternOfKind(cbVanDerWaals), 0x0F0F);
    EXPECT_EQ(LinePatternOfKind(cbHydrogen), 0xFF10);
    EXPECT_EQ(LinePatternOfKind(cbValence), kSolidPattern);
    EXPECT_EQ(LinePatternOfKind(cbCellEdge), kSolidPattern);
    TLatvistaOpt options = DefaultLatvistaOptions();
    options.ArrTickBonds = {0, 2, 3, 4, 5, 6};
    EXPECT_FLOAT_EQ(LineWidthOfKind(options, cbValence), 1.0f);
    EXPECT_FLOAT_EQ(LineWidthOfKind(options, cbCellEdge), 3.0f);
    EXPECT_FLOAT_EQ(LineWidthOfKind(options, cbHydrogen), 6.0f);
    tTopAt cylinder, sphereCylinder, wire;
    cylinder.nm = 1;
    sphereCylinder.nm = 3;
    wire.nm = 0;
    EXPECT_TRUE(HalfIsCylinder(cylinder, sphereCylinder, kSolidPattern));
    EXPECT_FALSE(HalfIsCylinder(cylinder, wire, kSolidPattern));
    EXPECT_FALSE(HalfIsCylinder(cylinder, cylinder, 0x0F0F));
}

TEST(RenderRules, BondHalfMaterials) {
    TViewColours colours;
    colours.PenColor = 0x010203;
    TLatvistaOpt options = DefaultLatvistaOptions();
    tBoundAt bond;
    tTopAt sphereWire, wire, sphereCylinder;
    sphereWire.nm = 2;
    wire.nm = 0;
    sphereCylinder.nm = 3;
    // Lines: the pen colour at sphere atoms without coloured bonds, else the atom's colour.
    EXPECT_EQ(LineHalfMaterial(bond, sphereWire, 0x0000FF, options, colours).colour, 0x010203);
    EXPECT_EQ(LineHalfMaterial(bond, wire, 0x0000FF, options, colours).colour, 0x0000FF);
    bond.lBColor = 0x00AA00;
    EXPECT_EQ(LineHalfMaterial(bond, sphereWire, 0x0000FF, options, colours).colour, 0x00AA00);
    options.ColBonds = true;
    EXPECT_EQ(LineHalfMaterial(bond, sphereWire, 0x0000FF, options, colours).colour, 0x0000FF);
    options.Black_White = true;
    EXPECT_EQ(LineHalfMaterial(bond, wire, 0x0000FF, options, colours).colour, 0x00AA00);
    // Cylinders: the cylinder colour in model 3 without coloured bonds.
    options = DefaultLatvistaOptions();
    options.CylinderCol = 0x445566;
    bond.lBColor = clNone;
    EXPECT_EQ(CylinderHalfDiffuse(bond, sphereCylinder, 0x0000FF, options), 0x445566);
    tTopAt cylinder;
    cylinder.nm = 1;
    EXPECT_EQ(CylinderHalfDiffuse(bond, cylinder, 0x0000FF, options), 0x0000FF);
    options.ColBonds = true;
    EXPECT_EQ(CylinderHalfDiffuse(bond, sphereCylinder, 0x0000FF, options), 0x0000FF);
}

TEST(RenderRules, LabelTexts) {
    TLatvistaOpt options = DefaultLatvistaOptions();
    TNodeFixture f(26, 3);
    f.atom.A.DegOx = 3;
    f.atom.A.S = 2.25f;
    struct Case {
        int kind;
        bool brackets;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0, false, ""},     {1, false, "Fe"},   {2, false, "3"},     {3, false, "Fe3"},
        {3, true, "Fe(3)"}, {4, false, "Fe+3"}, {4, true, "Fe{+3}"}, {6, false, "0.250"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        options.AtomLabels = c.kind;
        options.IBracket = c.brackets;
        EXPECT_EQ(AtomLabelText(f.node, options), c.text);
    }
    options.AtomLabels = 4;
    f.atom.A.DegOx = -16;
    EXPECT_EQ(AtomLabelText(f.node, options), "Fe");
    f.atom.A.DegOx = -2;
    EXPECT_EQ(AtomLabelText(f.node, options), "Fe-2");
    options.AtomLabels = 6;
    f.atom.A.S = 3.0004f;
    EXPECT_EQ(AtomLabelText(f.node, options), "1");

    tBoundAt bond;
    bond.cb = cbValence | cbVanDerWaals;
    bond.r = 1.23456f;
    options.NumDefBond = cbValence;
    EXPECT_EQ(BondLabelText(bond, options), "");
    bond.c = kBondShown | kBondLabelKinds;
    EXPECT_EQ(BondLabelText(bond, options), "Val,vdW");
    bond.c = kBondShown | kBondLabelLength;
    EXPECT_EQ(BondLabelText(bond, options), "1.235");
    options.NumDefBond = cbHydrogen;
    EXPECT_EQ(BondLabelText(bond, options), "");
}

TEST(RenderRules, TessellationFollowsTheProjectedSize) {
    EXPECT_EQ(SphereSegments(16), 15);
    EXPECT_EQ(SphereSegments(1), 6);
    EXPECT_EQ(SphereSegments(-1), 2);
    EXPECT_EQ(CylinderSlices(0.2 / 3, 60), 9);
}

} // namespace
