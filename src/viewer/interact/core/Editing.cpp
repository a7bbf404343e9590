#include "viewer/interact/core/Editing.h"

#include "model/PlaneKernels.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"

#include <cmath>

namespace ormaline {
namespace {

std::int16_t ElementOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.n : std::int16_t{-1000};
}

std::int32_t IndexOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.i : -1;
}

double Distance2(const SVector& a, const SVector& b) {
    double sum = 0.0;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const double d = static_cast<double>(a[axis]) - b[axis];
        sum += d * d;
    }
    return sum;
}

DVector Minus(const SVector& a, const SVector& b) {
    return {static_cast<double>(a[0]) - b[0], static_cast<double>(a[1]) - b[1],
            static_cast<double>(a[2]) - b[2]};
}

bool ClosedBondTo(const tTopAt& from, const tTopAt& to) {
    for (const tBoundAt* bond = from.p; bond != nullptr; bond = bond->li)
        if (bond->p == &to && (bond->c & kBondOpen) == 0)
            return true;
    return false;
}

// A closed bond of type 1 from -> to, recorded as a new bond while NoUndo is set; the
// found bond is recorded as changed when `recordFound` is set.
tBoundAt* ClosedBond(TLVScene& scene, tTopAt& from, tTopAt& to, double dist2,
                     const ShIVector& trans, bool recordFound) {
    bool made = false;
    tBoundAt* bond = NewBAt(scene, from, &to, dist2, cbValence, kClosedBond, trans, made);
    if (bond != nullptr && scene.NoUndo) {
        if (made)
            scene.Undo->RecordNewBond(&from, bond);
        else if (recordFound)
            scene.Undo->RecordBondState(&from, bond);
    }
    return bond;
}

void HideSelected(TLVScene& scene, std::uint8_t hiddenBits) {
    KeepState(scene, 2, "Delete atom");
    for (tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        tTopAt& node = *record->PTA;
        node.c = static_cast<std::uint8_t>((node.c & ~kNodeVisible) | hiddenBits);
    }
}

struct TSelectionCounts {
    std::uint32_t lo, hi;
    std::int32_t n;
    tTopAt* a; // newest selected
    tTopAt* b; // the one before it
};

TSelectionCounts Counts(const TLVScene& scene) {
    TSelectionCounts counts{scene.NumInsAt & 0xFFFFu, scene.NumInsAt >> 16, scene.CountInsAt,
                            nullptr, nullptr};
    if (scene.WInsAt != nullptr) {
        counts.a = scene.WInsAt->PTA;
        if (scene.WInsAt->plo != nullptr)
            counts.b = scene.WInsAt->plo->PTA;
    }
    return counts;
}

} // namespace

void BondsOfKind(int v, tTopAt& node, const tTopAt& target) {
    const int level = std::abs(v);
    for (tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
        if (bond->p == nullptr)
            continue;
        bool match = false;
        if (level == 1)
            match = ElementOf(*bond->p) == ElementOf(target);
        else if (level == 2)
            match =
                ElementOf(*bond->p) == ElementOf(target) && IndexOf(*bond->p) == IndexOf(target);
        else if (level == 3)
            match = bond->p == &target && (bond->c & kBondOpen) == 0;
        if (!match)
            continue;
        if (v < 0)
            bond->c = static_cast<std::uint8_t>(bond->c & ~kBondShown);
        else
            bond->c |= kBondShown;
    }
}

void KindBonds(TLVScene& scene, int v, const tTopAt& a, const tTopAt& b) {
    const bool byIndex = std::abs(v) == 2;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        if (ElementOf(*node) == ElementOf(a) && (!byIndex || IndexOf(*node) == IndexOf(a)))
            BondsOfKind(v, *node, b);
}

bool AddBondPair(TLVScene& scene, tTopAt& a, tTopAt& b) {
    const double d2 = Distance2(a.k, b.k);
    if (scene.NoUndo) {
        scene.Undo->RecordNodeState(&a);
        scene.Undo->RecordNodeState(&b);
    }
    const tBoundAt* there = ClosedBond(scene, a, b, d2, b.t, true);
    const tBoundAt* back = ClosedBond(scene, b, a, d2, a.t, true);
    return there != nullptr && back != nullptr;
}

void BondsOfEqualLength(TLVScene& scene, const tTopAt& a, const tTopAt& b) {
    const double d2 = Distance2(a.k, b.k);
    const std::int16_t ea = ElementOf(a), eb = ElementOf(b);
    for (tTopAt* n = scene.WPTAtEnd; n != nullptr; n = n->li) {
        const std::int16_t en = ElementOf(*n);
        if (en != ea && en != eb)
            continue;
        for (tTopAt* m = n->li; m != nullptr; m = m->li) {
            const std::int16_t em = ElementOf(*m);
            if (!((en == ea && em == eb) || (en == eb && em == ea)))
                continue;
            if (std::fabs(Distance2(n->k, m->k) - d2) >= 1e-4)
                continue;
            ClosedBond(scene, *n, *m, d2, {}, false);
            ClosedBond(scene, *m, *n, d2, {}, false);
        }
    }
}

void AtomPlane(TLVScene& scene, int key) {
    const tInsAt* first = scene.WInsAt;
    if (first == nullptr || first->plo == nullptr || first->plo->plo == nullptr)
        return;
    const SVector& p1 = first->PTA->k;
    const SVector& p2 = first->plo->PTA->k;
    const SVector& p3 = first->plo->plo->PTA->k;
    const DVector e2 = Minus(p2, p1), e3 = Minus(p3, p1);
    const double ref = Det3(
        {-static_cast<double>(p1[0]), -static_cast<double>(p1[1]), -static_cast<double>(p1[2])}, e2,
        e3);
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        if (node->pSAt == nullptr)
            continue;
        const double s = Det3(Minus(node->k, p1), e2, e3);
        if (s * ref >= -0.001)
            continue;
        if (key == 1)
            node->c |= kNodeVisible;
        else
            node->c = static_cast<std::uint8_t>(node->c & ~kNodeVisible);
    }
}

void Atom(TLVScene& scene, int key) {
    tTopAt* first = scene.WLVO.ShowVertex ? scene.WPTAll : scene.WPTAtEnd;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        const tTopAt& selected = *record->PTA;
        for (tTopAt* node = first; node != nullptr; node = node->li) {
            if (ElementOf(*node) != ElementOf(selected) ||
                (key == 0 && IndexOf(*node) != IndexOf(selected)))
                continue;
            node->c = static_cast<std::uint8_t>((node->c & ~(kNodeHidden32 | kNodeHidden64)) |
                                                kNodeVisible);
        }
    }
}

void Delete1Click(TLVScene& scene) {
    KeepState(scene, 3, "Select");
    if (scene.WInsAt == nullptr)
        return;
    const TSelectionCounts s = Counts(scene);
    if (s.hi == 0 && s.lo > 0) {
        HideSelected(scene, kNodeHidden32);
    } else if (s.hi > 0 && s.lo == 0) {
        HideSelected(scene, kNodeHidden64);
    } else if (s.hi == s.lo && s.lo == static_cast<std::uint32_t>(s.n) && s.n != 1 && s.n != 3) {
        HideSelected(scene, kNodeHidden32 | kNodeHidden64);
    } else if (s.n == 2 && scene.NumInsAt == 0x10001u) {
        KeepState(scene, 23, "Delete bond");
        KindBonds(scene, -1, *s.a, *s.b);
        KindBonds(scene, -1, *s.b, *s.a);
    } else if (s.n == 2 && scene.NumInsAt == 0x10002u) {
        KeepState(scene, 23, "Delete bond");
        BondsOfKind(-3, *s.a, *s.b);
        BondsOfKind(-3, *s.b, *s.a);
    } else if (s.n == 2 && scene.NumInsAt == 0x20001u) {
        KeepState(scene, 23, "Delete bond");
        KindBonds(scene, -2, *s.a, *s.b);
        KindBonds(scene, -2, *s.b, *s.a);
    } else if (s.n == 3 && scene.NumInsAt == 0x30003u) {
        KeepState(scene, 23, "Delete region");
        AtomPlane(scene, 0);
    }
    NotInsAllAtom(scene);
}

void Restore1Click(TLVScene& scene) {
    if (scene.WInsAt == nullptr)
        return;
    const TSelectionCounts s = Counts(scene);
    switch (scene.NumInsAt) {
    case 0x10000u:
        Atom(scene, 0);
        break;
    case 0x10001u:
        if (s.n == 1) {
            Atom(scene, 10);
        } else if (s.n == 2) {
            KeepState(scene, 23, "Restore bond");
            KindBonds(scene, 2, *s.a, *s.b);
            KindBonds(scene, 2, *s.b, *s.a);
        }
        break;
    case 0x10002u:
        if (s.n == 2) {
            KeepState(scene, 23, "Restore bond");
            BondsOfKind(3, *s.a, *s.b);
            BondsOfKind(3, *s.b, *s.a);
        }
        break;
    case 0x20000u:
        if (s.n == 2) {
            KeepState(scene, 23, "Restore bond");
            BondsOfEqualLength(scene, *s.a, *s.b);
        }
        break;
    case 0x20001u:
        if (s.n == 2) {
            KeepState(scene, 23, "Restore bond");
            KindBonds(scene, 1, *s.a, *s.b);
            KindBonds(scene, 1, *s.b, *s.a);
        }
        break;
    case 0x20002u:
        if (s.n == 2 && !(ClosedBondTo(*s.a, *s.b) && ClosedBondTo(*s.b, *s.a))) {
            AddBondPair(scene, *s.a, *s.b);
            KeepState(scene, 29, "Add new bond");
        }
        break;
    case 0x30003u:
        if (s.n == 3) {
            KeepState(scene, 23, "Restore region");
            AtomPlane(scene, 1);
        }
        break;
    default:
        break;
    }
    if (s.hi == 0 && s.lo > 0) {
        KeepState(scene, 23, "Restore all bonds");
        for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
            for (tBoundAt* bond = record->PTA->p; bond != nullptr; bond = bond->li) {
                if ((bond->c & kBondOpen) != 0 || bond->p == nullptr)
                    continue;
                bond->p->c |= kNodeVisible;
                bond->c |= kBondShown;
            }
    }
}

void RestoreAll1Click(TLVScene& scene) {
    KeepState(scene, 23, "Restore all");
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        node->c =
            static_cast<std::uint8_t>((node->c & ~(kNodeHidden32 | kNodeHidden64)) | kNodeVisible);
        for (tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
            bond->c |= kBondShown;
    }
}

} // namespace ormaline
