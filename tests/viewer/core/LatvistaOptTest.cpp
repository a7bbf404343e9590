#include "viewer/core/LatvistaOpt.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ormaline {
namespace {

TEST(LatvistaOptDefaults, EveryField) {
    // Start from garbage so that a field the default routine forgets shows up.
    TLatvistaOpt o;
    std::memset(static_cast<void*>(&o), 0x5A, sizeof o);
    DefaultLatvistaOpt(o);
    EXPECT_EQ(o.NumModel, 3);
    EXPECT_FALSE(o.Perspect);
    EXPECT_FALSE(o.GrColor);
    EXPECT_FALSE(o.Black_White);
    EXPECT_FALSE(o.SeeCell);
    EXPECT_FALSE(o.Sublattice);
    EXPECT_FALSE(o.ColBonds);
    EXPECT_FALSE(o.ABC_Cell);
    EXPECT_TRUE(o.Legend);
    EXPECT_TRUE(o.EqualRadii);
    EXPECT_TRUE(o.LegFrame);
    EXPECT_FALSE(o.Fog);
    EXPECT_EQ(o.WGBCol, 0xFFFFFF);
    EXPECT_EQ(o.CylinderCol, 0xFFFFFF);
    EXPECT_EQ(o.L1, 3);
    EXPECT_EQ(o.L2, 1);
    EXPECT_EQ(o.L3, 2);
    EXPECT_EQ(o.LinAxis, 2);
    EXPECT_EQ(o.lin, 1);
    EXPECT_EQ(o.LX, 3);
    EXPECT_EQ(o.LZ, 2);
    EXPECT_FLOAT_EQ(o.RotorStep, 1.0f);
    EXPECT_EQ(o.ZeroPos, 7);
    EXPECT_EQ(o.NearPos, 4);
    EXPECT_EQ(o.FarPos, 10);
    EXPECT_FLOAT_EQ(o.Luminosity, 0.4f);
    EXPECT_EQ(o.TintData, 0);
    EXPECT_EQ(o.ModelCryst, 0);
    EXPECT_EQ(o.LVMode, 0);
    EXPECT_EQ(o.TMax, (std::array<std::uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(o.GPenColor, 0);
    EXPECT_EQ(o.CutMode, 1);
    EXPECT_EQ(o.LegMode, 1);
    EXPECT_EQ(o.AtomLabels, 0);
    EXPECT_EQ(o.RadSyst, 0);
    EXPECT_EQ(o.PartRad, 3);
    EXPECT_FALSE(o.IBracket);
    EXPECT_FALSE(o.ATransparent);
    EXPECT_TRUE(o.CurrentAtom);
    EXPECT_TRUE(o.KeepForUndo);
    EXPECT_EQ(o.AdjMatrix, 1);
    EXPECT_EQ(o.BondLabels, 0);
    EXPECT_FLOAT_EQ(o.dBond, 0.2f);
    EXPECT_FLOAT_EQ(o.ShiftStep, 0.5f);
    EXPECT_FLOAT_EQ(o.AdjTol, 0.3f);
    EXPECT_EQ(o.NumDefBond, 1);
    EXPECT_EQ(o.NumSeeBond, 1);
    EXPECT_EQ(o.ArrTickBonds, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(o.TickLineCircle, 0);
    EXPECT_EQ(o.FaceStyle, 1);
    EXPECT_FALSE(o.DataToFile);
    EXPECT_FALSE(o.ShowVertex);
    EXPECT_FALSE(o.PolySubLat);
    EXPECT_TRUE(o.SelInsAt);
    EXPECT_FALSE(o.TranslucentFaces);
    EXPECT_EQ(o.Light_Position, (std::array<float, 3>{1.0f, 2.0f, 3.0f}));
    EXPECT_FLOAT_EQ(o.Opacity, 0.5f);
    EXPECT_FLOAT_EQ(o.RadAt[6], 0.70f); // carbon, system 0
    EXPECT_FLOAT_EQ(o.RadAt[111], 1.20f);
    EXPECT_EQ(o.RadAt, ElementRadiiTable(0));
    EXPECT_EQ(o.nTr, 1);
    EXPECT_EQ(o.NAtoms, 128);
    EXPECT_FALSE(o.AtomRadii);
    EXPECT_EQ(o.MolGraphOpt, 8);
}

TEST(LatvistaOptDefaults, ProcessWideCopyStartsAtDefaultsAndKeepsChanges) {
    TLatvistaOpt& shared = ViewerOptions();
    const TLatvistaOpt saved = shared;
    EXPECT_EQ(std::memcmp(&saved.RadAt, &ElementRadiiTable(0), sizeof saved.RadAt), 0);
    shared.NumModel = 0;
    EXPECT_EQ(ViewerOptions().NumModel, 0);
    shared = saved;
}

struct EditCase {
    const char* name;
    const char* text;
    double minimum, maximum;
    bool ok;
    float value;
    const char* message;
};

class NumericEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(NumericEdit, Checks) {
    const EditCase& c = GetParam();
    const TNumericEditCheck check = CheckNumericEdit(c.name, c.text, c.minimum, c.maximum);
    EXPECT_EQ(check.ok, c.ok);
    if (c.ok) {
        EXPECT_FLOAT_EQ(check.value, c.value);
    }
    EXPECT_EQ(check.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumericEdit,
    ::testing::Values(EditCase{"rotation step", "200", 0, 180, false, 0,
                               "Error in rotation step: 200 (range=0-180)."},
                      EditCase{"a coordinate of light position", "12", 0, 10, false, 0,
                               "Error in a coordinate of light position: 12 (range=0-10)."},
                      EditCase{"rotation step", "180", 0, 180, true, 180.0f, ""},
                      EditCase{"rotation step", " 2.5 ", 0, 180, true, 2.5f, ""},
                      EditCase{"rotation step", "-0.5", 0, 180, false, 0,
                               "Error in rotation step: -0.5 (range=0-180)."},
                      EditCase{"bond tick", "abc", 0, MaxSingle, false, 0,
                               "Error in bond tick: abc (range=0-3.40282E+38)."},
                      EditCase{"bond tick", "1e39", 0, MaxSingle, false, 0,
                               "Error in bond tick: 1e39 (range=0-3.40282E+38)."},
                      EditCase{"number", "-7.25", 0, 0, true, -7.25f, ""},
                      EditCase{"number", "1,5", 0, 0, false, 0, "Error in number: 1,5."},
                      EditCase{"number", "", 0, 0, false, 0, "Error in number: ."},
                      EditCase{"number", "1e39", 0, 0, false, 0, "Error in number: 1e39."},
                      // Bounds that differ by no more than 1e-6 mean "no range".
                      EditCase{"number", "5", 1, 1.0000005, true, 5.0f, ""}));

TEST(FormatGeneral, SixSignificantDigits) {
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(180), "180");
    EXPECT_EQ(FormatGeneral(0.5), "0.5");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333");
    EXPECT_EQ(FormatGeneral(123456789.0), "1.23457E+08");
    EXPECT_EQ(FormatGeneral(-2.5e-7), "-2.5E-07");
}

} // namespace
} // namespace ormaline

namespace ormaline {
namespace {

TEST(OptionChanges, WhatForcesARebuild) {
    const TLatvistaOpt base = DefaultLatvistaOptions();
    TLatvistaOpt legendOnly = base;
    legendOnly.LegMode = 3;
    const TOptionChanges legend = CompareOptions(base, legendOnly, false);
    EXPECT_TRUE(legend.legend);
    EXPECT_FALSE(legend.rebuild);
    TLatvistaOpt translations = base;
    translations.TMax = {1, 0, 0};
    EXPECT_TRUE(CompareOptions(base, translations, false).rebuild);
    EXPECT_TRUE(CompareOptions(base, base, true).rebuild); // "Default" and Ok
    TLatvistaOpt source = base;
    source.AdjMatrix = 0;
    EXPECT_TRUE(CompareOptions(base, source, false).rebuild);
    TLatvistaOpt sub = base;
    sub.Sublattice = true;
    EXPECT_TRUE(CompareOptions(base, sub, false).sublattice);
    TLatvistaOpt labels = base;
    labels.AtomLabels = 2;
    labels.BondLabels = 1;
    labels.NumModel = 0;
    labels.GrColor = true;
    const TOptionChanges c = CompareOptions(base, labels, false);
    EXPECT_TRUE(c.atomLabels && c.bondLabels && c.model && c.legend);
    EXPECT_FALSE(c.rebuild);
}

struct InPlaneCase {
    const char* text;
    bool ok;
    float minimum, maximum;
    const char* shown;
};

class InPlane : public ::testing::TestWithParam<InPlaneCase> {};

TEST_P(InPlane, ParseAndShow) {
    const InPlaneCase& c = GetParam();
    const auto bounds = ParseInPlane(c.text);
    ASSERT_EQ(bounds.has_value(), c.ok) << c.text;
    if (!c.ok)
        return;
    EXPECT_FLOAT_EQ(bounds->MinBPlane, c.minimum);
    EXPECT_FLOAT_EQ(bounds->MaxBPlane, c.maximum);
    EXPECT_EQ(FormatInPlane(*bounds), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InPlane,
    ::testing::Values(InPlaneCase{"0.5:0.75", true, 0.5f, 0.75f, "0.50:0.75"},
                      InPlaneCase{"0.3", true, 0.3f, 0.3f, "0.30:0.30"},
                      InPlaneCase{":0.8", true, 0.0f, 0.8f, "0.00:0.80"},
                      InPlaneCase{"0.2:", true, 0.2f, 2147483648.0f, "0.20:2147483648.00"},
                      InPlaneCase{"", true, 0.0f, 0.0f, ""},
                      InPlaneCase{"0:0.00001", true, 0.0f, 0.00001f, ""},
                      InPlaneCase{"a:1", false, 0, 0, ""}, InPlaneCase{"1:2:3", false, 0, 0, ""}));

TEST(ThickDigits, WrapAround) {
    EXPECT_EQ(StepThickDigit(9, true), 0);
    EXPECT_EQ(StepThickDigit(3, true), 4);
    EXPECT_EQ(StepThickDigit(0, false), 9);
    EXPECT_EQ(StepThickDigit(5, false), 4);
    EXPECT_EQ(StepThickDigit(12, true), 1); // widths above 9 count as 0
}

} // namespace
} // namespace ormaline
