#include "viewer/core/SceneOps.h"

#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "viewer/core/NodeIndex.h"
#include "viewer/core/SceneOpsDetail.h"

#include <cmath>
#include <utility>

namespace ormaline {
namespace {

constexpr double kImageTolerance = 1e-4;

bool SameAtomKind(const tSteckAt* a, const tSteckAt* b) {
    return a != nullptr && b != nullptr && a->A.n == b->A.n && a->A.i == b->A.i;
}

// The open bond's partner image (partner node shifted by the bond's translation) and
// `partner` shifted by `trans` are the same atom at the same place.
bool ImageCoincides(const tBoundAt& bond, const tTopAt& partner, const ShIVector& trans) {
    if (bond.p == nullptr || !SameAtomKind(bond.p->pSAt, partner.pSAt))
        return false;
    const DVector image = NodeFractional(*bond.p);
    const DVector target = NodeFractional(partner);
    for (int axis = 0; axis < 3; ++axis)
        if (!(std::fabs(image[axis] + bond.t[axis] - target[axis] - trans[axis]) < kImageTolerance))
            return false;
    return true;
}

double Squared(double x) {
    return x * x;
}

} // namespace

ShIVector AddTr(const ShIVector& a, const ShIVector& b) {
    return {static_cast<std::int8_t>(a[0] + b[0]), static_cast<std::int8_t>(a[1] + b[1]),
            static_cast<std::int8_t>(a[2] + b[2])};
}

ShIVector SubTr(const ShIVector& a, const ShIVector& b) {
    return {static_cast<std::int8_t>(a[0] - b[0]), static_cast<std::int8_t>(a[1] - b[1]),
            static_cast<std::int8_t>(a[2] - b[2])};
}

tBoundAt* NewBAt(TLVScene& scene, tTopAt& node, tTopAt* partner, double dist2,
                 std::uint8_t typeBond, int typeCycle, const ShIVector& trans, bool& newBond) {
    newBond = false;
    if (partner == nullptr)
        return nullptr;
    if (node.pSAt != nullptr && partner->pSAt != nullptr && dist2 > 0.0 &&
        ((node.pSAt->A.n > 110) != (partner->pSAt->A.n > 110)))
        return nullptr;
    for (tBoundAt* bond = node.p; bond != nullptr; bond = bond->li)
        if (bond->p == partner && bond->t == trans)
            return bond;
    tBoundAt* bond = nullptr;
    if (typeCycle == kClosedReuseOpen)
        for (tBoundAt* open = node.p; open != nullptr; open = open->li)
            if ((open->c & kBondOpen) != 0 && ImageCoincides(*open, *partner, trans)) {
                bond = open;
                if (scene.NoUndo)
                    scene.Undo->RecordBondState(&node, bond);
                break;
            }
    if (bond == nullptr) {
        bond = NewBoundAt();
        bond->diam = -1.0f;
        bond->lBColor = clNone;
        bond->r = static_cast<float>(std::sqrt(std::fabs(dist2)));
        bond->sel = false;
        AppendBond(node, bond);
        newBond = true;
    }
    bond->p = partner;
    bond->t = trans;
    bond->cb = typeBond;
    bond->c = typeCycle != kOpenBond ? kBondShown : kBondShown | kBondOpen;
    return bond;
}

DVector FractionalToModel(const TLVScene& scene, const DVector& fractional) {
    const tCompParam& comp = scene.CompParamMaler;
    DVector v;
    for (int axis = 0; axis < 3; ++axis)
        v[axis] = (fractional[axis] - scene.WDeltaVec[axis]) * comp.DC.Tr[axis];
    if (comp.ParamTTO.NOrth)
        FractToOrthD(v, comp.ParamTTO);
    return v;
}

DVector NodeFractional(const tTopAt& node) {
    DVector f{0.0, 0.0, 0.0};
    if (node.pSAt != nullptr)
        f = node.pSAt->A.k;
    for (int axis = 0; axis < 3; ++axis)
        f[axis] += node.t[axis];
    return f;
}

DVector DetCoordAt(const TLVScene& scene, const tTopAt& node, const ShIVector& trans) {
    DVector f = NodeFractional(node);
    for (int axis = 0; axis < 3; ++axis)
        f[axis] += trans[axis];
    return FractionalToModel(scene, f);
}

namespace detail {

tTopAt* InsertAtomNode(TLVScene& scene, tTopAt* node) {
    tTopAt* before = nullptr;
    if (scene.WPTAll == scene.WPTAtEnd) {
        node->li = scene.WPTAll;
        scene.WPTAll = node;
    } else {
        before = scene.WPTAll;
        while (before->li != scene.WPTAtEnd)
            before = before->li;
        node->li = scene.WPTAtEnd;
        before->li = node;
    }
    scene.WPTAtEnd = node;
    return before;
}

void MultTransAtom(TLVScene& scene, TNodeIndex& index, tTopAt* node, const ShIVector& trans) {
    if (node == nullptr || node->pSAt == nullptr)
        return;
    const DVector target = DetCoordAt(scene, *node, trans);
    const tSteckAt* atom = node->pSAt;
    const auto section =
        node->PolyVert ? TNodeIndex::Section::Auxiliary : TNodeIndex::Section::Atoms;
    if (tTopAt* existing = index.Find(atom->A.n, atom->A.i, target, section)) {
        existing->c |= kNodeVisible;
        scene.Undo->RecordNodeState(existing);
        return;
    }
    tTopAt* copy = NewTopAt();
    *copy = *node;
    copy->c = kNodeVisible;
    copy->t = AddTr(node->t, trans);
    for (int axis = 0; axis < 3; ++axis)
        copy->k[axis] = static_cast<float>(target[axis]);
    copy->p = nullptr;
    copy->oldp = nullptr;
    copy->PIAt = nullptr;
    copy->li = nullptr;
    ++scene.WCountAt;
    tTopAt* predecessor = nullptr;
    if (copy->PolyVert) {
        copy->li = scene.WPTAll;
        scene.WPTAll = copy;
    } else {
        predecessor = InsertAtomNode(scene, copy);
    }
    index.AddAtFront(copy);
    scene.Undo->RecordNewNode(copy, predecessor);

    // The source's bonds as they are now; the loop below may add bonds to the source.
    struct SourceBond {
        tTopAt* p;
        ShIVector t;
        std::uint8_t cb;
        float r;
    };
    std::vector<SourceBond> bonds;
    for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
        bonds.push_back({bond->p, bond->t, bond->cb, bond->r});
    for (const SourceBond& bond : bonds) {
        if (bond.p == nullptr || bond.p->pSAt == nullptr)
            continue;
        const ShIVector shift = AddTr(bond.t, trans);
        const DVector image = DetCoordAt(scene, *bond.p, shift);
        const double dist2 = static_cast<double>(bond.r) * bond.r;
        tTopAt* found = index.Find(bond.p->pSAt->A.n, bond.p->pSAt->A.i, image,
                                   TNodeIndex::Section::Any, scene.WPTAll, copy);
        bool made = false;
        if (found != nullptr) {
            tBoundAt* there = NewBAt(scene, *copy, found, dist2, bond.cb, kClosedBond, {}, made);
            if (there != nullptr && scene.NoUndo)
                scene.Undo->RecordNewBond(copy, there);
            tBoundAt* back =
                NewBAt(scene, *found, copy, dist2, bond.cb, kClosedReuseOpen, {}, made);
            if (back != nullptr && scene.NoUndo)
                scene.Undo->RecordNewBond(found, back);
        } else {
            tBoundAt* open = NewBAt(scene, *copy, bond.p, dist2, bond.cb, kOpenBond, shift, made);
            if (open != nullptr && scene.NoUndo)
                scene.Undo->RecordNewBond(copy, open);
        }
    }
}

} // namespace detail

void MultTransAtom(TLVScene& scene, tTopAt* node, const ShIVector& trans) {
    TNodeIndex index(scene);
    detail::MultTransAtom(scene, index, node, trans);
}

namespace {

bool SitsAt(const tTopAt& node, const tSteckAt& atom, const DVector& position) {
    return node.pSAt != nullptr && node.pSAt->A.n == atom.A.n && node.pSAt->A.i == atom.A.i &&
           std::fabs(node.k[0] - position[0]) < kImageTolerance &&
           std::fabs(node.k[1] - position[1]) < kImageTolerance &&
           std::fabs(node.k[2] - position[2]) < kImageTolerance;
}

} // namespace

void MultTransAtomStraightforward(TLVScene& scene, tTopAt* node, const ShIVector& trans) {
    if (node == nullptr || node->pSAt == nullptr)
        return;
    const DVector target = DetCoordAt(scene, *node, trans);
    tTopAt* first = node->PolyVert ? scene.WPTAll : scene.WPTAtEnd;
    tTopAt* stop = node->PolyVert ? scene.WPTAtEnd : nullptr;
    for (tTopAt* other = first; other != stop; other = other->li)
        if (SitsAt(*other, *node->pSAt, target)) {
            other->c |= kNodeVisible;
            scene.Undo->RecordNodeState(other);
            return;
        }
    tTopAt* copy = NewTopAt();
    *copy = *node;
    copy->c = kNodeVisible;
    copy->t = AddTr(node->t, trans);
    for (int axis = 0; axis < 3; ++axis)
        copy->k[axis] = static_cast<float>(target[axis]);
    copy->p = copy->oldp = nullptr;
    copy->PIAt = nullptr;
    copy->li = nullptr;
    ++scene.WCountAt;
    tTopAt* predecessor = nullptr;
    if (copy->PolyVert) {
        copy->li = scene.WPTAll;
        scene.WPTAll = copy;
    } else {
        predecessor = detail::InsertAtomNode(scene, copy);
    }
    scene.Undo->RecordNewNode(copy, predecessor);
    std::vector<tBoundAt> bonds;
    for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
        bonds.push_back(*bond);
    for (const tBoundAt& bond : bonds) {
        if (bond.p == nullptr || bond.p->pSAt == nullptr)
            continue;
        const ShIVector shift = AddTr(bond.t, trans);
        const DVector image = DetCoordAt(scene, *bond.p, shift);
        const double dist2 = static_cast<double>(bond.r) * bond.r;
        tTopAt* found = nullptr;
        for (tTopAt* other = scene.WPTAll->li; other != nullptr && found == nullptr;
             other = other->li)
            if (other != copy && SitsAt(*other, *bond.p->pSAt, image))
                found = other;
        bool made = false;
        if (found != nullptr) {
            NewBAt(scene, *copy, found, dist2, bond.cb, kClosedBond, {}, made);
            NewBAt(scene, *found, copy, dist2, bond.cb, kClosedReuseOpen, {}, made);
        } else {
            NewBAt(scene, *copy, bond.p, dist2, bond.cb, kOpenBond, shift, made);
        }
    }
}

void InsCellData(TLVScene& scene) {
    tSteckAt* cellAtom = NewSteckAt();
    cellAtom->A.n = 0;
    cellAtom->A.i = 1;
    cellAtom->A.S = 1.0f;
    cellAtom->li = scene.WPTopEnd;
    scene.WPTopEnd = cellAtom;
    for (int i = 0; i <= 1; ++i)
        for (int j = 0; j <= 1; ++j)
            for (int k = 0; k <= 1; ++k) {
                tTopAt* corner = NewTopAt();
                corner->t = {static_cast<std::int8_t>(i), static_cast<std::int8_t>(j),
                             static_cast<std::int8_t>(k)};
                corner->k = {static_cast<float>(i), static_cast<float>(j), static_cast<float>(k)};
                corner->c = kCellCornerState;
                corner->nm = 0;
                corner->PolyVert = true;
                corner->rad = 0.529f;
                corner->pSAt = cellAtom;
                corner->li = scene.WPTAll;
                scene.WPTAll = corner;
            }
    scene.WPTCell = scene.WPTAll;
    BondsCell(scene);
}

void BondsCell(TLVScene& scene) {
    std::array<tTopAt*, 8> corners{};
    tTopAt* node = scene.WPTCell;
    for (int index = 0; index < 8 && node != nullptr; ++index, node = node->li)
        corners[static_cast<std::size_t>(index)] = node;
    if (corners[7] == nullptr)
        return;
    const auto cornerAt = [&corners](int i, int j, int k) {
        // List order (1,1,1), (1,1,0), (1,0,1), (1,0,0), (0,1,1), ..., (0,0,0).
        return corners[static_cast<std::size_t>(7 - (i * 4 + j * 2 + k))];
    };
    const SVector& edges = scene.CompParamMaler.DC.Tr;
    for (tTopAt* corner : corners) {
        for (int axis = 0; axis < 3; ++axis) {
            ShIVector t = corner->t;
            t[axis] = static_cast<std::int8_t>(1 - t[axis]);
            tTopAt* neighbour = cornerAt(t[0], t[1], t[2]);
            const double length2 = Squared(edges[axis]);
            bool made = false;
            NewBAt(scene, *corner, neighbour, length2, cbCellEdge, kClosedBond, {}, made);
            ShIVector continuation{};
            continuation[axis] =
                static_cast<std::int8_t>(neighbour->t[axis] < corner->t[axis] ? 2 : -2);
            NewBAt(scene, *corner, neighbour, length2, cbCellEdge, kOpenBond, continuation, made);
        }
    }
    const std::pair<tTopAt*, std::uint8_t> axes[3] = {
        {cornerAt(1, 0, 0), cbAxisA}, {cornerAt(0, 1, 0), cbAxisB}, {cornerAt(0, 0, 1), cbAxisC}};
    tTopAt* origin = cornerAt(0, 0, 0);
    for (const auto& [end, mark] : axes) {
        for (tBoundAt* bond = origin->p; bond != nullptr; bond = bond->li)
            if (bond->p == end && (bond->c & kBondOpen) == 0)
                bond->cb |= mark;
        for (tBoundAt* bond = end->p; bond != nullptr; bond = bond->li)
            if (bond->p == origin && (bond->c & kBondOpen) == 0)
                bond->cb |= mark;
    }
    scene.WVecCell = {cornerAt(1, 1, 1), cornerAt(0, 1, 1), cornerAt(1, 0, 1), cornerAt(1, 1, 0)};
}

void CopyAddMatr(TLVScene& scene) {
    scene.WPTAtEnd0 = scene.WPTAtEnd;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        DisposeBondList(node->oldp);
        node->oldp = CopyBondList(node->p);
    }
}

void StackToArr(TLVScene& scene) {
    ++scene.NodeListStamp;
    scene.ArrAt.clear();
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        scene.ArrAt.push_back(node);
}

void SortME(TArrOfElement& elements) {
    for (std::size_t i = 0; i < elements.size(); ++i)
        for (std::size_t j = i + 1; j < elements.size(); ++j)
            if (elements[i].r < elements[j].r)
                std::swap(elements[i], elements[j]);
}

} // namespace ormaline
