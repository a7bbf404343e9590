#include "viewer/interact/core/Calculations.h"

#include "model/CellGeometry.h"
#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/PlaneKernels.h"
#include "viewer/interact/core/PlaneEquations.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace ormaline {
namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr const char* kDegreeSign = "\u00B0";

DVector Position(const tTopAt& node) {
    return {node.k[0], node.k[1], node.k[2]};
}

DVector Minus(const DVector& a, const DVector& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

double Dot(const DVector& a, const DVector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

DVector Cross(const DVector& a, const DVector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Distance(const tTopAt& a, const tTopAt& b) {
    return VecLen(Minus(Position(a), Position(b)));
}

// Symbol and atom index, as the labels name an atom ("C12").
std::string Name(const tTopAt& node) {
    return std::string(ElSymbol(node.pSAt->A.n)) + std::to_string(node.pSAt->A.i);
}

std::string Angle(double degrees) {
    return FormatFixed(degrees, 2) + kDegreeSign;
}

struct TPlane {
    DVector n{};
    double d = 0.0;
};

TPlane ThreePointPlane(const tTopAt& p1, const tTopAt& p2, const tTopAt& p3) {
    TPlane plane;
    PlaneFrom3(plane.n[0], plane.n[1], plane.n[2], plane.d, p1.k, p2.k, p3.k);
    return plane;
}

// The selection split by colour: group 1 (colours 1 and 3) and group 2 (colours 2 and 3),
// each newest first, and every record newest first.
struct TGroups {
    std::vector<tTopAt*> all, g1, g2;
    int n3 = 0;
};

TGroups Groups(const TLVScene& scene) {
    TGroups groups;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        groups.all.push_back(record->PTA);
        if (record->col == 1 || record->col == 3)
            groups.g1.push_back(record->PTA);
        if (record->col == 2 || record->col == 3)
            groups.g2.push_back(record->PTA);
        if (record->col == 3)
            ++groups.n3;
    }
    return groups;
}

bool Selected(const TGroups& groups, const tTopAt* node) {
    for (const tTopAt* member : groups.all)
        if (member == node)
            return true;
    return false;
}

// The other selected atoms a selected atom is bonded to, in the order of its bond list,
// over bonds without lattice translation whose kinds are drawn.
std::vector<tTopAt*> SelectedPartners(const TLVScene& scene, const TGroups& groups,
                                      const tTopAt& node) {
    std::vector<tTopAt*> partners;
    for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
        if (bond->t != ShIVector{0, 0, 0} || (bond->cb & scene.WLVO.NumSeeBond) == 0)
            continue;
        if (bond->p == &node || !Selected(groups, bond->p))
            continue;
        bool known = false;
        for (const tTopAt* partner : partners)
            known = known || partner == bond->p;
        if (!known)
            partners.push_back(bond->p);
    }
    return partners;
}

bool BondedTo(const std::vector<tTopAt*>& partners, const tTopAt* node) {
    for (const tTopAt* partner : partners)
        if (partner == node)
            return true;
    return false;
}

// The angle at `vertex` between the directions to `a` and `b`, from the three distances.
double VertexAngle(const tTopAt& a, const tTopAt& vertex, const tTopAt& b) {
    return AngleFromSides(Distance(a, b), Distance(vertex, a), Distance(vertex, b)) * kDegrees;
}

std::string VertexAngleText(const std::string& prefix, const tTopAt& a, const tTopAt& vertex,
                            const tTopAt& b) {
    return "  " + prefix + "<(" + Name(a) + "-" + Name(vertex) + "-" + Name(b) +
           ")=" + Angle(VertexAngle(a, vertex, b));
}

std::string DistanceText(const tTopAt& a, const tTopAt& b) {
    const std::string label = "(" + Name(a) + "-" + Name(b) + ")";
    std::string text;
    for (const tBoundAt* bond = a.p; bond != nullptr; bond = bond->li)
        if (bond->p == &b && (bond->c & kBondOpen) == 0)
            text += label + "  r=" + FormatFixed(bond->r, 3) + " A";
    if (text.empty())
        text = "  r" + label + "=" + FormatFixed(Distance(a, b), 3) + " A";
    return text;
}

// The selected atoms of a chain: its ends (one selected partner) and its middles (two).
std::pair<std::vector<tTopAt*>, std::vector<tTopAt*>> EndsAndMiddles(const TLVScene& scene,
                                                                     const TGroups& groups) {
    std::vector<tTopAt*> ends, middles;
    for (tTopAt* node : groups.all) {
        const std::size_t count = SelectedPartners(scene, groups, *node).size();
        if (count == 1)
            ends.push_back(node);
        else if (count == 2)
            middles.push_back(node);
    }
    return {ends, middles};
}

std::string BondAngleText(const TLVScene& scene, const TGroups& groups) {
    // Newest first: all[0] newest, all[2] oldest.
    const auto [ends, middles] = EndsAndMiddles(scene, groups);
    if (middles.size() == 1 && ends.size() == 2) {
        const tTopAt& middle = *middles[0];
        const std::vector<tTopAt*> order = SelectedPartners(scene, groups, middle);
        return VertexAngleText("", *order[0], middle, *order[1]);
    }
    return VertexAngleText("Improper ", *groups.all[2], *groups.all[1], *groups.all[0]);
}

// Centroid of a triangle.
DVector Centroid(const tTopAt& a, const tTopAt& b, const tTopAt& c) {
    DVector centre{};
    for (std::size_t axis = 0; axis < 3; ++axis)
        centre[axis] = (a.k[axis] + b.k[axis] + c.k[axis]) / 3.0;
    return centre;
}

double PlaneDistance(const TPlane& plane, const DVector& point) {
    return (Dot(plane.n, point) + plane.d) / VecLen(plane.n);
}

// Two triangles in one plane: the centroid of either lies on the other's plane.
bool Coplanar(const TPlane& p1, const DVector& centre1, const TPlane& p2, const DVector& centre2) {
    return std::fabs(PlaneDistance(p1, centre2)) <= 1e-4 ||
           std::fabs(PlaneDistance(p2, centre1)) <= 1e-4;
}

std::string TorsionText(const TLVScene& scene, const TGroups& groups) {
    const auto [ends, middles] = EndsAndMiddles(scene, groups);
    tTopAt *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    std::string label;
    if (ends.size() == 2 && middles.size() == 2) {
        b = middles[0];
        c = middles[1];
        const std::vector<tTopAt*> partnersOfB = SelectedPartners(scene, groups, *b);
        const bool firstEndAtB = BondedTo(partnersOfB, ends[0]);
        a = firstEndAtB ? ends[0] : ends[1];
        d = firstEndAtB ? ends[1] : ends[0];
        label = "Torsion angle(";
    } else {
        a = groups.all[3];
        b = groups.all[2];
        c = groups.all[1];
        d = groups.all[0];
        label = "Improper torsion angle(";
    }
    label += Name(*a) + "-" + Name(*b) + "-" + Name(*c) + "-" + Name(*d) + ")=";
    const TPlane plane1 = ThreePointPlane(*c, *b, *a);
    const TPlane plane2 = ThreePointPlane(*d, *c, *b);
    const DVector pb = Position(*b), pc = Position(*c);
    std::optional<double> theta = PlaneAngle(plane1.n, plane1.d, plane2.n, plane2.d, &pb, &pc);
    if (!theta)
        return {};
    const DVector centre1 = Centroid(*a, *b, *c), centre2 = Centroid(*d, *c, *b);
    if (Coplanar(plane1, centre1, plane2, centre2)) {
        // Cis or trans: the sides of the line B–C within the common plane on which the two
        // triangles lie.
        const DVector across = Cross(plane1.n, Minus(pc, pb));
        const double side1 = Dot(Minus(centre1, pb), across);
        const double side2 = Dot(Minus(centre2, pb), across);
        theta = (side1 < 0.0) == (side2 < 0.0) ? 0.0 : 180.0;
    }
    return "  " + label + Angle(*theta);
}

// The plane of a group: three points through the three-point kernel given G[3], G[2],
// G[1]; more points through the least-squares kernel, whose fit becomes the scene's last
// plane. Nothing when the fit fails.
std::optional<TPlane> GroupPlane(TLVScene& scene, const std::vector<tTopAt*>& group) {
    if (group.size() == 3) {
        TPlane plane = ThreePointPlane(*group[2], *group[1], *group[0]);
        return plane;
    }
    SMasVec points;
    for (const tTopAt* node : group)
        points.push_back(node->k);
    TPlane plane;
    if (FitPlane(points, scene.Sigma, scene.MaxDistLoc, plane.n, plane.d) != kFitPlaneOk)
        return std::nullopt;
    scene.zx = plane.n;
    scene.zx4 = plane.d;
    return plane;
}

void PlaneTextsOf(const TLVScene& scene, int group, const TPlane& plane, std::size_t count) {
    if (count > 3)
        CalcPlEq(scene, group, plane.n, plane.d, scene.MaxDistLoc, scene.Sigma);
    else
        CalcPlEq(scene, group, plane.n, plane.d, 0.0, 0.0);
}

// Point-to-plane distance of the single atom of `point` from the plane of `group`.
std::string DotPlaneText(TLVScene& scene, const std::vector<tTopAt*>& group, int groupNumber,
                         const tTopAt& point) {
    const std::optional<TPlane> plane = GroupPlane(scene, group);
    if (!plane)
        return {};
    PlaneTextsOf(scene, groupNumber, *plane, group.size());
    const double length = VecLen(plane->n);
    if (length < 0.001)
        return {};
    const double distance = (Dot(plane->n, Position(point)) + plane->d) / length;
    return "  Dot-Plane Distance= " + FormatFixed(distance, 4) + " A";
}

// Line-to-plane angle; nothing at all (the whole line replaced) is signalled by an error.
std::optional<std::string> LinePlaneText(TLVScene& scene, const std::vector<tTopAt*>& group,
                                         int groupNumber, const std::vector<tTopAt*>& line) {
    const std::optional<TPlane> plane = GroupPlane(scene, group);
    if (!plane)
        return std::string();
    PlaneTextsOf(scene, groupNumber, *plane, group.size());
    const DVector u = Minus(Position(*line[1]), Position(*line[0]));
    const double lengthU = VecLen(u), lengthN = VecLen(plane->n);
    if (lengthU < 1e-7 || lengthN < 1e-7)
        return std::nullopt;
    double angle = std::fabs(90.0 - SafeArcCos(Dot(plane->n, u) / (lengthN * lengthU)) * kDegrees);
    if (angle > 90.0)
        angle = 180.0 - angle;
    return "  Line-Plane Angle= " + Angle(angle);
}

std::string PlanePlaneText(TLVScene& scene, const TGroups& groups) {
    const std::optional<TPlane> plane1 = GroupPlane(scene, groups.g1);
    if (plane1)
        PlaneTextsOf(scene, 1, *plane1, groups.g1.size());
    const std::optional<TPlane> plane2 = GroupPlane(scene, groups.g2);
    if (plane2)
        PlaneTextsOf(scene, 2, *plane2, groups.g2.size());
    if (!plane1 || !plane2)
        return {};
    std::optional<double> theta = PlaneAngle(plane1->n, plane1->d, plane2->n, plane2->d);
    if (!theta)
        return {};
    if (groups.all.size() == 4 && groups.g1.size() == 3 && groups.g2.size() == 3) {
        const DVector centre1 = Centroid(*groups.g1[0], *groups.g1[1], *groups.g1[2]);
        const DVector centre2 = Centroid(*groups.g2[0], *groups.g2[1], *groups.g2[2]);
        // Two triangles in one plane meet at 0° or 180°, which folds to 0°.
        if (Coplanar(*plane1, centre1, *plane2, centre2))
            theta = 0.0;
    }
    return "  Angle between planes=" + Angle(*theta);
}

} // namespace

std::optional<double> PlaneAngle(const DVector& n1, double d1, const DVector& n2, double d2,
                                 const DVector* hingeB, const DVector* hingeC) {
    if (std::fabs(d1) < 1e-7 || std::fabs(d2) < 1e-7)
        return std::nullopt;
    const double length1 = VecLen(n1), length2 = VecLen(n2);
    if (length1 < 1e-4 || length2 < 1e-4)
        return std::nullopt;
    double theta = SafeArcCos(Dot(n1, n2) / (length1 * length2)) * kDegrees;
    if (hingeB != nullptr && hingeC != nullptr) {
        if (Dot(Cross(n1, n2), Minus(*hingeC, *hingeB)) < 0.0)
            theta = -theta;
    } else if (theta > 90.0) {
        theta = 180.0 - theta;
    }
    return theta;
}

std::optional<std::string> Dimension(TLVScene& scene) {
    if (!scene.HasScene())
        return std::nullopt;
    PlaneTexts() = {};
    const TGroups groups = Groups(scene);
    tCompParam& comp = scene.CompParamMaler;
    for (t_element& element : comp.MEl) {
        element.i = 0;
        for (const tTopAt* node : groups.all)
            if (node->pSAt != nullptr && node->pSAt->A.n == element.n)
                ++element.i;
    }
    const std::uint32_t lo = scene.NumInsAt & 0xFFFFu, hi = scene.NumInsAt >> 16;
    std::string text =
        std::to_string(lo) + ":" + std::to_string(hi) + ":" + std::to_string(groups.n3) + "  ";
    for (const t_element& element : comp.MEl)
        if (element.i != 0)
            text += std::string(ElSymbol(element.n)) + std::to_string(element.i) + " ";

    const std::size_t n = groups.all.size();
    const std::uint32_t kind = scene.NumInsAt;
    // Every selected node shows a compound atom; anything else is left unmeasured.
    for (const tTopAt* node : groups.all)
        if (node->pSAt == nullptr)
            return text;
    if ((kind == 2 || kind == 0x10001 || kind == 0x20000) && n == 2) {
        text += DistanceText(*groups.all[0], *groups.all[1]);
    } else if (kind == 3 && n == 3) {
        text += BondAngleText(scene, groups);
    } else if (kind == 4 && n == 4) {
        text += TorsionText(scene, groups);
    } else if (kind == 0x10002 && n == 3) {
        text += VertexAngleText("", *groups.g1[0], *groups.g2[0], *groups.g1[1]);
    } else if (kind == 0x20001 && n == 3) {
        text += VertexAngleText("", *groups.g2[0], *groups.g1[0], *groups.g2[1]);
    } else if (kind == 0x20002 && n == 4) {
        const DVector u = Minus(Position(*groups.g1[1]), Position(*groups.g1[0]));
        const DVector v = Minus(Position(*groups.g2[1]), Position(*groups.g2[0]));
        // Two atoms at one place make no line: no angle rather than a value of NaN.
        if (VecLen(u) >= 1e-7 && VecLen(v) >= 1e-7) {
            const double angle =
                SafeArcCos(std::fabs(Dot(u, v)) / (VecLen(u) * VecLen(v))) * kDegrees;
            text += "  Line-Line Angle=" + Angle(angle);
        }
    } else if (n > 3) {
        const std::size_t n1 = groups.g1.size(), n2 = groups.g2.size();
        if (n1 > 2 && n2 == 1) {
            text += DotPlaneText(scene, groups.g1, 1, *groups.g2[0]);
        } else if (n2 > 2 && n1 == 1) {
            text += DotPlaneText(scene, groups.g2, 2, *groups.g1[0]);
        } else if (n1 > 2 && n2 == 2) {
            const std::optional<std::string> angle = LinePlaneText(scene, groups.g1, 1, groups.g2);
            text = angle ? text + *angle : "Error in calculating line-plane angle!";
        } else if (n2 > 2 && n1 == 2) {
            const std::optional<std::string> angle = LinePlaneText(scene, groups.g2, 2, groups.g1);
            text = angle ? text + *angle : "Error in calculating line-plane angle!";
        } else if (n1 > 2 && n2 > 2) {
            text += PlanePlaneText(scene, groups);
        }
    }
    return text;
}

} // namespace ormaline
