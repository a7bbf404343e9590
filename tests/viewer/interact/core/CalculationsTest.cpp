// The measurement line, the plane and line equations, the report of the selected atoms
// and the centroid on built scenes of small molecules, against values worked out
// separately in the tests (vector formulas of their own, literature geometry).
#include "viewer/core/ViewTestSupport.h"

#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"
#include "viewer/interact/core/Calculations.h"
#include "viewer/interact/core/Centroid.h"
#include "viewer/interact/core/PlaneEquations.h"
#include "viewer/interact/core/SelectionReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace ormaline {
namespace {

using V3 = std::array<double, 3>;

constexpr std::int16_t H = 1, C = 6, O = 8, Si = 14;
constexpr double kPi = std::numbers::pi;

V3 Sub(V3 a, V3 b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double Dot3(V3 a, V3 b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V3 Cross3(V3 a, V3 b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(V3 a) {
    return std::sqrt(Dot3(a, a));
}

// The dihedral angle A-B-C-D in degrees by the atan2 formula (IUPAC sign: positive when,
// looking from B to C, A turns clockwise onto D).
double Dihedral(V3 a, V3 b, V3 c, V3 d) {
    const V3 b1 = Sub(b, a), b2 = Sub(c, b), b3 = Sub(d, c);
    const V3 n1 = Cross3(b1, b2), n2 = Cross3(b2, b3);
    return std::atan2(Norm(b2) * Dot3(b1, n2), Dot3(n1, n2)) * 180.0 / kPi;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

class Calculations : public ::testing::Test {
protected:
    void TearDown() override { PlaneTexts() = {}; }

    void Make(SVector edges, SVector angles, const std::vector<test::TTestAtom>& atoms) {
        test::FillCompound(scene, edges, angles, atoms);
        ASSERT_TRUE(test::Build(scene));
        StackToArr(scene);
        ReadLegInd(scene, true);
    }
    void Select(int number, int colour = 1) {
        scene.PTMAt = test::NodeOfAtom(scene, number);
        ASSERT_NE(scene.PTMAt, nullptr);
        SpecAt(scene, colour);
    }
    void Select(std::initializer_list<int> numbers, int colour = 1) {
        for (const int number : numbers)
            Select(number, colour);
    }
    std::string Line() {
        const std::optional<std::string> line = Dimension(scene);
        EXPECT_TRUE(line.has_value());
        return line.value_or("");
    }
    tTopAt& Node(int number) { return *test::NodeOfAtom(scene, number); }

    TLVScene scene;
};

// Methane in a 10 A cubic cell: carbon 1 and hydrogens 2..5 at 1.09 A along the body
// diagonals, bonded to the carbon (each bond listed at both atoms, as the database
// lists them).
std::vector<test::TTestAtom> Methane() {
    const DVector c{0.40, 0.45, 0.55};
    const double s = 1.09 / std::sqrt(3.0) / 10.0;
    const std::array<std::array<int, 3>, 4> signs{
        {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}}};
    std::vector<test::TTestAtom> atoms{{C, c, {{2, 1}, {3, 1}, {4, 1}, {5, 1}}}};
    for (const auto& sign : signs)
        atoms.push_back(
            {H, {c[0] + sign[0] * s, c[1] + sign[1] * s, c[2] + sign[2] * s}, {{1, 1}}});
    return atoms;
}

TEST_F(Calculations, NothingWithoutSceneAndHeaderAloneForFewAtoms) {
    EXPECT_FALSE(Dimension(scene).has_value());
    Make({10, 10, 10}, {90, 90, 90}, Methane());
    EXPECT_EQ(Line(), "0:0:0  ");
    Select(2);
    EXPECT_EQ(Line(), "1:0:0  H1 ");
    Select(3, 2);
    Select(4, 3);
    // Colour 3 counts in both halves; three atoms of mixed colours measure nothing.
    EXPECT_EQ(Line(), "2:2:1  H3 ");
}

TEST_F(Calculations, DistancesBondedAndNot) {
    Make({10, 10, 10}, {90, 90, 90}, Methane());
    Select({2, 1});
    EXPECT_EQ(Line(), "2:0:0  C1 H1 (C1-H2)  r=1.090 A");
    NotInsAllAtom(scene);
    Select({2, 3});
    // Two hydrogens of a tetrahedron: 1.09 * sqrt(8/3).
    EXPECT_EQ(Line(), "2:0:0  H2   r(H3-H2)=" + Fixed(1.09 * std::sqrt(8.0 / 3.0), 3) + " A");
    // Ctrl on both, and one of each colour, are distances too.
    NotInsAllAtom(scene);
    Select({2, 3}, 2);
    EXPECT_EQ(Line(), "0:2:0  H2   r(H3-H2)=" + Fixed(1.09 * std::sqrt(8.0 / 3.0), 3) + " A");
}

TEST_F(Calculations, TetrahedralAngleAndImproperAngle) {
    Make({10, 10, 10}, {90, 90, 90}, Methane());
    Select({2, 1, 3});
    // The ends follow the carbon's bond list.
    std::vector<int> order;
    for (const tBoundAt* bond = Node(1).p; bond != nullptr; bond = bond->li)
        if (bond->p == &Node(2) || bond->p == &Node(3))
            order.push_back(bond->p->pSAt->A.i);
    ASSERT_EQ(order.size(), 2u);
    const std::string tetrahedral = Fixed(std::acos(-1.0 / 3.0) * 180.0 / kPi, 2); // 109.47
    EXPECT_EQ(tetrahedral, "109.47");
    EXPECT_EQ(Line(), "3:0:0  C1 H2   <(H" + std::to_string(order[0]) + "-C1-H" +
                          std::to_string(order[1]) + ")=" + tetrahedral + "\u00B0");
    // Three hydrogens are not a chain: the vertex is the second one selected, and the
    // triangle of hydrogens is equilateral.
    NotInsAllAtom(scene);
    Select({2, 3, 4});
    EXPECT_EQ(Line(), "3:0:0  H3   Improper <(H2-H3-H4)=60.00\u00B0");
}

TEST_F(Calculations, AnglesAtTheOddColour) {
    Make({10, 10, 10}, {90, 90, 90}, Methane());
    Select({2, 3});
    Select(1, 2);
    EXPECT_EQ(Line(), "2:1:0  C1 H2   <(H3-C1-H2)=109.47\u00B0");
    NotInsAllAtom(scene);
    Select({2, 3}, 2);
    Select(1, 1);
    EXPECT_EQ(Line(), "1:2:0  C1 H2   <(H3-C1-H2)=109.47\u00B0");
}

// A four-carbon chain with a chosen dihedral, drawn away from the model origin.
std::vector<test::TTestAtom> Chain(double dihedralDegrees, std::vector<V3>* cartesian) {
    const double phi = dihedralDegrees * kPi / 180.0, bond = 1.54, theta = 111.0 * kPi / 180.0;
    // B at the origin, C along x, A in the xy plane at the angle theta, D turned by phi
    // about B-C.
    const V3 b{0, 0, 0}, c{bond, 0, 0};
    const V3 a{bond * std::cos(theta), bond * std::sin(theta), 0};
    const V3 d{bond - bond * std::cos(theta), bond * std::sin(theta) * std::cos(phi),
               bond * std::sin(theta) * std::sin(phi)};
    std::vector<test::TTestAtom> atoms;
    int number = 0;
    for (const V3& p : {a, b, c, d}) {
        ++number;
        atoms.push_back({C, {0.31 + p[0] / 10.0, 0.33 + p[1] / 10.0, 0.62 + p[2] / 10.0}});
        if (number > 1)
            atoms.back().contacts.push_back({number - 1, 1});
        if (number < 4)
            atoms.back().contacts.push_back({number + 1, 1});
        if (cartesian)
            cartesian->push_back(p);
    }
    return atoms;
}

TEST_F(Calculations, TorsionAnglesWithTheirSign) {
    for (const double chosen : {60.0, -60.0, 123.0}) {
        TLVScene fresh;
        std::vector<V3> p;
        test::FillCompound(fresh, {10, 10, 10}, {90, 90, 90}, Chain(chosen, &p));
        ASSERT_TRUE(test::Build(fresh));
        const double expected = Dihedral(p[0], p[1], p[2], p[3]);
        ASSERT_NEAR(expected, chosen, 1e-9);
        for (int number : {1, 2, 3, 4}) {
            fresh.PTMAt = test::NodeOfAtom(fresh, number);
            SpecAt(fresh, 1);
        }
        // Newest first the first middle is carbon 3, so the chain is named from carbon 4;
        // a chain read backwards has the same dihedral.
        EXPECT_EQ(Dimension(fresh).value_or(""),
                  "4:0:0  C4   Torsion angle(C4-C3-C2-C1)=" + Fixed(expected, 2) + "\u00B0")
            << chosen;
    }
}

TEST_F(Calculations, PlanarTorsionsAreCisOrTransAndUnbondedOnesImproper) {
    Make({10, 10, 10}, {90, 90, 90}, Chain(180.0, nullptr));
    Select({1, 2, 3, 4});
    EXPECT_EQ(Line(), "4:0:0  C4   Torsion angle(C4-C3-C2-C1)=180.00\u00B0");
    TLVScene cis;
    test::FillCompound(cis, {10, 10, 10}, {90, 90, 90}, Chain(0.0, nullptr));
    ASSERT_TRUE(test::Build(cis));
    for (int number : {1, 2, 3, 4}) {
        cis.PTMAt = test::NodeOfAtom(cis, number);
        SpecAt(cis, 1);
    }
    EXPECT_EQ(Dimension(cis).value_or(""), "4:0:0  C4   Torsion angle(C4-C3-C2-C1)=0.00\u00B0");

    TLVScene methane;
    test::FillCompound(methane, {10, 10, 10}, {90, 90, 90}, Methane());
    ASSERT_TRUE(test::Build(methane));
    std::vector<V3> p;
    for (int number : {2, 3, 4, 5}) {
        tTopAt* node = test::NodeOfAtom(methane, number);
        p.push_back({node->k[0], node->k[1], node->k[2]});
        methane.PTMAt = node;
        SpecAt(methane, 1);
    }
    EXPECT_EQ(Dimension(methane).value_or(""), "4:0:0  H4   Improper torsion angle(H2-H3-H4-H5)=" +
                                                   Fixed(Dihedral(p[0], p[1], p[2], p[3]), 2) +
                                                   "\u00B0");
}

// A regular hexagon of carbons (1.39 A) in the plane z = 0.25 of a 10 A cubic cell, and an
// oxygen 1.5 A above its centre.
std::vector<test::TTestAtom> Ring() {
    std::vector<test::TTestAtom> atoms;
    for (int k = 0; k < 6; ++k) {
        const double angle = k * kPi / 3.0;
        atoms.push_back({C,
                         {0.42 + 0.139 * std::cos(angle), 0.47 + 0.139 * std::sin(angle), 0.25},
                         {{k == 0 ? 6 : k, 1}, {k == 5 ? 1 : k + 2, 1}}});
    }
    atoms.push_back({O, {0.42, 0.47, 0.40}});
    return atoms;
}

TEST_F(Calculations, PlanarRingDeviatesNothingAndGivesItsIndices) {
    Make({10, 10, 10}, {90, 90, 90}, Ring());
    Select({1, 2, 3, 4, 5, 6});
    Select(7, 2);
    EXPECT_EQ(Line(), "6:1:0  C6 O1   Dot-Plane Distance= 1.5000 A");
    EXPECT_NEAR(scene.Sigma, 0.0, 1e-5);
    EXPECT_NEAR(scene.MaxDistLoc, 0.0, 1e-5);
    // Model z = (0.25 - 0.5) * 10: the plane z + 2.5 = 0, in fractional coordinates 4 z - 1 = 0.
    EXPECT_EQ(PlaneTexts().OrthoEq1, "1.0000*z+2.5000=0\r\n  Sigma=0.00 A\r\n  MaxDev=0.00 A");
    EXPECT_EQ(PlaneTexts().FracEq1, "4.0000*z-1.0000=0 (0,0,4)");

    // Five plain atoms alone show only the header.
    NotInsAllAtom(scene);
    Select({1, 2, 3, 4, 5});
    EXPECT_EQ(Line(), "5:0:0  C5 ");

    // The report: composition, the six ring bonds, the plane; no line through a ring
    // (its two smallest moments are equal).
    NotInsAllAtom(scene);
    Select({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(SelectedAtomsReport(scene),
              " All atoms:   C6 \r\n\r\n All bonds:\r\n  C-C - 6\r\n\r\n"
              " Plane equation in orthogonal coord.: \r\n  1.0000*z+2.5000=0\r\n  Sigma=0.00 A\r\n"
              "  MaxDev=0.00 A\r\n\r\n"
              " Plane equation in fractional coord.: \r\n  4.0000*z-1.0000=0 (0,0,4)\r\n\r\n");
}

// The signed distance of a point from the plane through three others in a triclinic
// cell, against the crystallographers' orthogonalisation with a along x (another frame,
// equally right-handed, so the signed distance is the same).
TEST_F(Calculations, DotPlaneDistanceInTriclinicCell) {
    const SVector edges{7.5f, 8.5f, 9.5f}, angles{78.0f, 101.0f, 112.0f};
    const std::vector<DVector> f{
        {0.31, 0.22, 0.40}, {0.55, 0.28, 0.47}, {0.40, 0.51, 0.35}, {0.47, 0.36, 0.66}};
    std::vector<test::TTestAtom> atoms;
    for (const DVector& k : f)
        atoms.push_back({Si, k});
    atoms.push_back({O, {0.41, 0.30, 0.52}});
    Make(edges, angles, atoms);
    const double a = edges[0], b = edges[1], c = edges[2];
    const double ca = std::cos(angles[0] * kPi / 180), cb = std::cos(angles[1] * kPi / 180),
                 cg = std::cos(angles[2] * kPi / 180), sg = std::sin(angles[2] * kPi / 180);
    const double volume = std::sqrt(1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg);
    const auto cart = [&](const DVector& k) -> V3 {
        return {a * k[0] + b * cg * k[1] + c * cb * k[2],
                b * sg * k[1] + c * (ca - cb * cg) / sg * k[2], c * volume / sg * k[2]};
    };
    // Three plain atoms, oldest first, and the Ctrl one.
    const V3 p1 = cart(f[0]), p2 = cart(f[1]), p3 = cart(f[2]), q = cart({0.41, 0.30, 0.52});
    const V3 normal = Cross3(Sub(p2, p1), Sub(p3, p1));
    const double expected = Dot3(normal, Sub(q, p1)) / Norm(normal);
    Select({1, 2, 3});
    Select(5, 2);
    EXPECT_EQ(Line(), "3:1:0  Si3 O1   Dot-Plane Distance= " + Fixed(expected, 4) + " A");
}

TEST_F(Calculations, CollinearPointsGiveNoPlaneButALine) {
    std::vector<test::TTestAtom> atoms;
    for (int k = 0; k < 4; ++k)
        atoms.push_back({C, {0.3 + 0.1 * k, 0.4, 0.7}});
    atoms.push_back({O, {0.35, 0.55, 0.7}});
    Make({10, 10, 10}, {90, 90, 90}, atoms);
    Select({1, 2, 3});
    Select(5, 2);
    EXPECT_EQ(Line(), "3:1:0  C3 O1 ");
    Select(4);
    EXPECT_EQ(Line(), "4:1:0  C4 O1 ");
    NotInsAllAtom(scene);
    Select({1, 2, 3, 4});
    // Along x through the centre (0.45 - 0.5) * 10, (0.4 - 0.5) * 10, (0.7 - 0.5) * 10.
    EXPECT_EQ(SelectedAtomsReport(scene),
              " All atoms:   C4 \r\n\r\n All bonds:\r\n\r\n"
              " Line equation in orthogonal coord.: \r\n"
              "   x=1.0000 * t + -0.5000\r\n   y=-1.0000\r\n   z=2.0000\r\n   summ=0.0000\r\n\r\n");
    // Too few atoms for a line.
    NotInsAllAtom(scene);
    Select(1);
    EXPECT_EQ(SelectedAtomsReport(scene), " All atoms:   C1 \r\n\r\n All bonds:\r\n\r\n");
}

TEST_F(Calculations, LineAndPlaneAnglesStayWithinARightAngle) {
    // Ring plane z = const; a line along z is at 90 degrees to it, a line in x at 0.
    Make({10, 10, 10}, {90, 90, 90}, Ring());
    Select({1, 2, 3});
    Select(7, 2);
    Select(2, 3); // colour 3: in both groups
    EXPECT_EQ(Line(), "3:2:1  C3 O1   Line-Plane Angle= " +
                          Fixed(std::atan2(1.5, 1.39) * 180 / kPi, 2) + "\u00B0");
    // Two lines: C1->C2 and C4->C5 of the hexagon are parallel.
    NotInsAllAtom(scene);
    Select({1, 2});
    Select({4, 5}, 2);
    EXPECT_EQ(Line(), "2:2:0  C4   Line-Line Angle=0.00\u00B0");
    // The plane of three ring atoms against the plane of O and two ring atoms, folded
    // below 90 degrees.
    NotInsAllAtom(scene);
    Select({1, 3, 5});
    Select({7, 2, 6}, 2);
    const V3 apex{0, 0, 1.5};
    const V3 c2{1.39 * std::cos(kPi / 3), 1.39 * std::sin(kPi / 3), 0};
    const V3 c6{1.39 * std::cos(5 * kPi / 3), 1.39 * std::sin(5 * kPi / 3), 0};
    const V3 n2 = Cross3(Sub(c2, apex), Sub(c6, apex));
    const double expected = std::acos(std::fabs(n2[2]) / Norm(n2)) * 180 / kPi;
    const std::string line = Line();
    EXPECT_EQ(line, "3:3:0  C5 O1   Angle between planes=" + Fixed(expected, 2) + "\u00B0");
}

TEST_F(Calculations, CentroidAcrossACellFaceIsAddedOnce) {
    Make({10, 10, 10}, {90, 90, 90}, {{O, {0.95, 0.5, 0.3}}, {O, {0.05, 0.5, 0.3}}});
    // The second oxygen's copy in the next cell along a.
    MultTransAtom(scene, test::NodeOfAtom(scene, 2), {1, 0, 0});
    tTopAt* shifted = nullptr;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        if (node->pSAt->i == 2 && node->t == ShIVector{1, 0, 0})
            shifted = node;
    ASSERT_NE(shifted, nullptr);
    Select(1);
    scene.PTMAt = shifted;
    SpecAt(scene, 1);
    const int nodes = scene.WCountAt;
    std::optional<TCentroid> centroid = SelectionCentroid(scene);
    ASSERT_TRUE(centroid.has_value());
    // (0.95 + 1.05) / 2 on the face x = 1; each oxygen 0.5 A from it.
    EXPECT_EQ(centroid->name, "&C( 1.00000 0.50000 0.30000)");
    EXPECT_EQ(centroid->report, "Center for 2 atoms: &C( 1.00000 0.50000 0.30000) <r>=0.50 A");
    EXPECT_FALSE(CoincidenceMessage(*centroid).has_value());
    ASSERT_TRUE(AsksToAdd(*centroid));
    EXPECT_EQ(AddQuestion(*centroid), "Add pseudoatom &&C( 1.00000 0.50000 0.30000)?");

    // "No" adds nothing.
    DeclineCentroid(scene, *centroid);
    EXPECT_EQ(scene.WCountAt, nodes);

    const TNewAtom added = AcceptCentroid(scene, *centroid);
    ASSERT_NE(added.node, nullptr);
    EXPECT_TRUE(added.elementAdded);
    EXPECT_EQ(scene.WPTAtEnd, added.node);
    EXPECT_EQ(scene.WCountAt, nodes + 1);
    EXPECT_EQ(scene.CompParamMaler.pAtEnd, added.node->pSAt);
    EXPECT_EQ(added.node->pSAt->A.n, kCentroidElement);
    EXPECT_EQ(added.node->pSAt->A.i, 1);
    EXPECT_EQ(added.node->c & kNodeVisible, kNodeVisible);
    for (std::size_t axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(added.node->pSAt->A.k[axis], (DVector{1.0, 0.5, 0.3})[axis], 1e-6);
    EXPECT_EQ(scene.ArrAt.size(), static_cast<std::size_t>(scene.WCountAt));
    EXPECT_FALSE(LegendName(scene, *added.node).empty());

    // The same centre again: the pseudo-atom is there and visible, so it is only reported.
    centroid = SelectionCentroid(scene);
    ASSERT_TRUE(centroid.has_value());
    EXPECT_EQ(centroid->existing, added.node);
    EXPECT_FALSE(AsksToAdd(*centroid));
    EXPECT_EQ(CoincidenceMessage(*centroid),
              "Pseudoatom &&C( 1.00000 0.50000 0.30000) coincides with ZC1.");
    // Even when asked to add again it is not added twice.
    EXPECT_EQ(AddNewAtom(scene, centroid->centre, kCentroidElement, 1).node, nullptr);
    EXPECT_EQ(scene.WCountAt, nodes + 1);
    // A hidden node at the centre is shown again on "No".
    added.node->c = kNodeHidden32;
    centroid = SelectionCentroid(scene);
    ASSERT_TRUE(AsksToAdd(*centroid));
    DeclineCentroid(scene, *centroid);
    EXPECT_EQ(added.node->c, kNodeVisible);
}

TEST_F(Calculations, ReportTalliesLegendRowsAndBondPairs) {
    Make({10, 10, 10}, {90, 90, 90}, Methane());
    Select({2, 1, 3});
    EXPECT_EQ(TotalLegComp(scene), " All atoms:   H2   C1 \r\n\r\n");
    // The name of the larger legend index comes first.
    const bool carbonFirst = Node(1).LegInd >= Node(2).LegInd;
    EXPECT_EQ(TotalLegBond(scene),
              std::string(" All bonds:\r\n  ") + (carbonFirst ? "C-H" : "H-C") + " - 2\r\n\r\n");
}

TEST_F(Calculations, FractionalPlaneOfALatticePlaneInATriclinicCell) {
    // Four atoms on the lattice plane x + y = 1.
    Make({7.5f, 8.5f, 9.5f}, {78.0f, 101.0f, 112.0f},
         {{C, {0.7, 0.3, 0.2}}, {C, {0.3, 0.7, 0.2}}, {C, {0.6, 0.4, 0.8}}, {C, {0.2, 0.8, 0.6}}});
    Select({1, 2, 3, 4});
    ASSERT_TRUE(EquationPlaneMNK(scene));
    CalcPlEq(scene, 1, scene.zx, scene.zx4, scene.MaxDistLoc, scene.Sigma);
    const std::string& frac = PlaneTexts().FracEq1;
    ASSERT_GE(frac.size(), 8u);
    EXPECT_EQ(frac.substr(frac.size() - 8), " (1,1,0)") << frac;
    EXPECT_EQ(frac.substr(0, 17), "1.0000*x+1.0000*y") << frac;
}

TEST_F(Calculations, CoincidentAtomsMakeNoLine) {
    Make({10, 10, 10}, {90, 90, 90},
         {{C, {0.3, 0.3, 0.3}}, {C, {0.3, 0.3, 0.3}}, {C, {0.4, 0.3, 0.3}}, {C, {0.4, 0.4, 0.3}}});
    Select({1, 2});
    Select({3, 4}, 2);
    EXPECT_EQ(Line(), "2:2:0  C4 ");
}

} // namespace
} // namespace ormaline
