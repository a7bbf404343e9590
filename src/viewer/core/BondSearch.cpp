#include "viewer/core/BondSearch.h"

#include "model/CellGeometry.h"
#include "viewer/core/NodeIndex.h"
#include "viewer/core/SceneOps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace ormaline {
namespace {

constexpr char kComputingText[] = "Computing adjacency matrix...";
constexpr char kUnwrappingText[] = "Unwrapping reduced graph...";

double Distance2(const SVector& a, const DVector& b) {
    const double dx = static_cast<double>(a[0]) - b[0];
    const double dy = static_cast<double>(a[1]) - b[1];
    const double dz = static_cast<double>(a[2]) - b[2];
    return dx * dx + dy * dy + dz * dz;
}

DVector ToDouble(const SVector& k) {
    return {k[0], k[1], k[2]};
}

// The bond test of the distance search.
bool Bonded(const tTopAt& a, const tTopAt& b, double tolerance, double dist2) {
    const double sum = static_cast<double>(a.rad) + b.rad + tolerance;
    return sum * sum > dist2;
}

bool Finite(const SVector& k) {
    return std::isfinite(k[0]) && std::isfinite(k[1]) && std::isfinite(k[2]);
}

int ElementOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.n : 0;
}

// The 26 neighbour shifts in loop order: i outermost, each from -1 to 1.
std::vector<ShIVector> NeighbourShifts() {
    std::vector<ShIVector> shifts;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j)
            for (int k = -1; k <= 1; ++k)
                if (i != 0 || j != 0 || k != 0)
                    shifts.push_back({static_cast<std::int8_t>(i), static_cast<std::int8_t>(j),
                                      static_cast<std::int8_t>(k)});
    return shifts;
}

std::vector<tTopAt*> AtomNodes(const TLVScene& scene) {
    std::vector<tTopAt*> nodes;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        nodes.push_back(node);
    return nodes;
}

void CancelStep(const TSceneBuildMonitor& monitor, int maximum) {
    monitor.SetProgress(0, maximum);
    monitor.SetStatus(1, "");
}

// Uniform grid over the finite node positions. A pair closer than `reach` lies in the
// same or neighbouring cells.
class TBondGrid {
public:
    TBondGrid(const std::vector<tTopAt*>& nodes, double reach) {
        double low[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::max()};
        double high[3] = {-low[0], -low[1], -low[2]};
        std::size_t finite = 0;
        for (const tTopAt* node : nodes) {
            if (!Finite(node->k))
                continue;
            ++finite;
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], static_cast<double>(node->k[axis]));
                high[axis] = std::max(high[axis], static_cast<double>(node->k[axis]));
            }
        }
        if (finite == 0 || !(reach > 0.0) || !std::isfinite(reach))
            return;
        // A little wider than the reach, so that rounding never splits a close pair.
        double size = reach * (1.0 + 1e-6) + 1e-9;
        const double cap = 8.0 * static_cast<double>(finite) + 64.0;
        for (;;) {
            double total = 1.0;
            for (int axis = 0; axis < 3; ++axis)
                total *= std::floor((high[axis] - low[axis]) / size) + 1.0;
            if (total <= cap)
                break;
            size *= 1.5;
        }
        size_ = size;
        for (int axis = 0; axis < 3; ++axis) {
            origin_[axis] = low[axis];
            dims_[axis] = static_cast<long>(std::floor((high[axis] - low[axis]) / size)) + 1;
        }
        const std::size_t cells = static_cast<std::size_t>(dims_[0] * dims_[1] * dims_[2]);
        start_.assign(cells + 1, 0);
        std::vector<std::size_t> cellOf(nodes.size(), cells);
        for (std::size_t index = 0; index < nodes.size(); ++index) {
            if (!Finite(nodes[index]->k))
                continue;
            long c[3];
            for (int axis = 0; axis < 3; ++axis)
                c[axis] = Clamp(axis, static_cast<double>(nodes[index]->k[axis]));
            cellOf[index] = Flat(c[0], c[1], c[2]);
            ++start_[cellOf[index] + 1];
        }
        for (std::size_t cell = 0; cell < cells; ++cell)
            start_[cell + 1] += start_[cell];
        members_.resize(start_[cells]);
        std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
        // Members of a cell in list order, since indexes are visited in order.
        for (std::size_t index = 0; index < nodes.size(); ++index)
            if (cellOf[index] < cells)
                members_[fill[cellOf[index]]++] = static_cast<std::int32_t>(index);
    }

    // True when some node may lie within the reach of `position`.
    bool Reaches(const DVector& position) const {
        if (start_.empty())
            return false;
        for (int axis = 0; axis < 3; ++axis) {
            const double cell = std::floor((position[axis] - origin_[axis]) / size_);
            if (!(cell >= -1.0 && cell <= static_cast<double>(dims_[axis])))
                return false;
        }
        return true;
    }

    // Calls visit(index) for every node in the cells around `position` (within one cell).
    template <typename Visit> void ForNear(const DVector& position, Visit visit) const {
        if (start_.empty())
            return;
        long c[3];
        for (int axis = 0; axis < 3; ++axis) {
            const double cell = std::floor((position[axis] - origin_[axis]) / size_);
            if (!(cell >= -1.0 && cell <= static_cast<double>(dims_[axis])))
                return; // farther than one cell from every node, or not finite
            c[axis] = static_cast<long>(cell);
        }
        for (long x = std::max(c[0] - 1, 0L); x <= std::min(c[0] + 1, dims_[0] - 1); ++x)
            for (long y = std::max(c[1] - 1, 0L); y <= std::min(c[1] + 1, dims_[1] - 1); ++y)
                for (long z = std::max(c[2] - 1, 0L); z <= std::min(c[2] + 1, dims_[2] - 1); ++z) {
                    const std::size_t cell = Flat(x, y, z);
                    for (std::size_t m = start_[cell]; m < start_[cell + 1]; ++m)
                        visit(members_[m]);
                }
    }

private:
    long Clamp(int axis, double coordinate) const {
        const long cell = static_cast<long>(std::floor((coordinate - origin_[axis]) / size_));
        return std::clamp(cell, 0L, dims_[axis] - 1);
    }
    std::size_t Flat(long x, long y, long z) const {
        return static_cast<std::size_t>((x * dims_[1] + y) * dims_[2] + z);
    }

    double size_ = 1.0;
    double origin_[3] = {0, 0, 0};
    long dims_[3] = {0, 0, 0};
    std::vector<std::size_t> start_;
    std::vector<std::int32_t> members_;
};

// The largest |rA + rB + tolerance| over all pairs: no bonded pair is farther apart.
double BondReach(const std::vector<tTopAt*>& nodes, double tolerance) {
    double lowest = std::numeric_limits<double>::max();
    double highest = -lowest;
    for (const tTopAt* node : nodes) {
        lowest = std::min(lowest, static_cast<double>(node->rad));
        highest = std::max(highest, static_cast<double>(node->rad));
    }
    if (nodes.empty())
        return 0.0;
    return std::max(std::fabs(2 * highest + tolerance), std::fabs(2 * lowest + tolerance));
}

// The node that shows `atom` at its own place (translation 0), first in list order.
std::unordered_map<const tSteckAt*, tTopAt*> BaseNodes(const std::vector<tTopAt*>& nodes) {
    std::unordered_map<const tSteckAt*, tTopAt*> base;
    for (tTopAt* node : nodes)
        if (node->t == ShIVector{0, 0, 0})
            base.emplace(node->pSAt, node);
    return base;
}

} // namespace

bool DetAdjPairs(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    const std::vector<tTopAt*> nodes = AtomNodes(scene);
    const TBondGrid grid(nodes, BondReach(nodes, tolerance));
    TProgressStepper progress(monitor, scene.WCountAt);
    std::vector<std::int32_t> near;
    for (std::size_t a = 0; a < nodes.size(); ++a) {
        tTopAt& nodeA = *nodes[a];
        if (nodeA.li != nullptr && ElementOf(nodeA) > 0 && Finite(nodeA.k)) {
            near.clear();
            grid.ForNear(ToDouble(nodeA.k), [&](std::int32_t b) {
                if (static_cast<std::size_t>(b) > a)
                    near.push_back(b);
            });
            std::sort(near.begin(), near.end());
            for (std::int32_t b : near) {
                tTopAt& nodeB = *nodes[static_cast<std::size_t>(b)];
                const double dist2 = Distance2(nodeA.k, ToDouble(nodeB.k));
                if (!Bonded(nodeA, nodeB, tolerance, dist2))
                    continue;
                bool made = false;
                NewBAt(scene, nodeA, &nodeB, dist2, cbValence, kClosedBond, {}, made);
                NewBAt(scene, nodeB, &nodeA, dist2, cbValence, kClosedBond, {}, made);
            }
        }
        progress.At(static_cast<int>(a));
        if (monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
    }
    return true;
}

bool DetAdjUnwrap(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    const std::vector<tTopAt*> nodes = AtomNodes(scene);
    const TBondGrid grid(nodes, BondReach(nodes, tolerance));
    const TNodeIndex index(scene);
    const auto base = BaseNodes(nodes);
    const std::vector<ShIVector> shifts = NeighbourShifts();
    TProgressStepper progress(monitor, scene.WCountAt);
    std::vector<std::int32_t> near;
    for (std::size_t a = 0; a < nodes.size(); ++a) {
        tTopAt& nodeA = *nodes[a];
        const tSteckAt* atom = nodeA.pSAt;
        const auto m = base.find(atom);
        if (atom != nullptr && m != base.end()) {
            tTopAt* baseNode = m->second;
            for (const ShIVector& shift : shifts) {
                const DVector image = DetCoordAt(scene, nodeA, shift);
                // No node near the image: nothing to bond, whether the image is shown or not.
                if (!grid.Reaches(image))
                    continue;
                if (index.Find(atom->A.n, atom->A.i, image, TNodeIndex::Section::Any) != nullptr)
                    continue;
                near.clear();
                grid.ForNear(image, [&](std::int32_t b) { near.push_back(b); });
                std::sort(near.begin(), near.end());
                const ShIVector trans = SubTr(AddTr(nodeA.t, shift), baseNode->t);
                for (std::int32_t b : near) {
                    tTopAt& nodeB = *nodes[static_cast<std::size_t>(b)];
                    const double dist2 = Distance2(nodeB.k, image);
                    if (!Bonded(nodeA, nodeB, tolerance, dist2))
                        continue;
                    bool made = false;
                    NewBAt(scene, nodeB, baseNode, dist2, cbValence, kOpenBond, trans, made);
                }
            }
        }
        progress.At(static_cast<int>(a));
        if (monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
    }
    return true;
}

bool DetAdjMatrix(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    monitor.SetStatus(1, kComputingText);
    monitor.SetProgress(0, scene.WCountAt);
    if (!DetAdjPairs(scene, monitor))
        return false;
    if (scene.WLVO.TMax != std::array<std::uint8_t, 3>{0, 0, 0})
        return true;
    monitor.SetStatus(1, kUnwrappingText);
    return DetAdjUnwrap(scene, monitor);
}

// ---- The straightforward loops ----

bool DetAdjPairsAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    int position = 0;
    for (tTopAt* a = scene.WPTAtEnd; a != nullptr; a = a->li, ++position) {
        if (a->li != nullptr && ElementOf(*a) > 0)
            for (tTopAt* b = a->li; b != nullptr; b = b->li) {
                const double dist2 = Distance2(a->k, ToDouble(b->k));
                if (Bonded(*a, *b, tolerance, dist2)) {
                    bool made = false;
                    NewBAt(scene, *a, b, dist2, cbValence, kClosedBond, {}, made);
                    NewBAt(scene, *b, a, dist2, cbValence, kClosedBond, {}, made);
                }
            }
        monitor.SetProgress(position, scene.WCountAt);
        if (monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
    }
    return true;
}

bool DetAdjUnwrapAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    const tCompParam& comp = scene.CompParamMaler;
    const std::vector<ShIVector> shifts = NeighbourShifts();
    int position = 0;
    for (tTopAt* a = scene.WPTAtEnd; a != nullptr; a = a->li, ++position) {
        const tSteckAt* atom = a->pSAt;
        for (const ShIVector& shift : shifts) {
            if (atom == nullptr)
                break;
            const DVector image = DetCoordAt(scene, *a, shift);
            bool present = false;
            for (tTopAt* n = scene.WPTAll; n != nullptr && !present; n = n->li)
                present = n->pSAt != nullptr && n->pSAt->A.n == atom->A.n &&
                          n->pSAt->A.i == atom->A.i && std::fabs(n->k[0] - image[0]) < 1e-4 &&
                          std::fabs(n->k[1] - image[1]) < 1e-4 &&
                          std::fabs(n->k[2] - image[2]) < 1e-4;
            if (present)
                continue;
            // The node showing the atom at its base position: its fractional position,
            // taken back from the model position, less its translation is the atom's.
            tTopAt* baseNode = nullptr;
            for (tTopAt* m = scene.WPTAtEnd; m != nullptr && baseNode == nullptr; m = m->li) {
                if (m->pSAt != atom)
                    continue;
                DVector f = ToDouble(m->k);
                if (comp.ParamTTO.NOrth)
                    OrthToFract(f, comp.ParamTTO);
                bool atBase = true;
                for (int axis = 0; axis < 3; ++axis) {
                    const double fractional = f[axis] / comp.DC.Tr[axis] + scene.WDeltaVec[axis];
                    atBase = atBase && std::fabs(atom->A.k[axis] - fractional - m->t[axis]) < 0.001;
                }
                if (atBase)
                    baseNode = m;
            }
            if (baseNode == nullptr)
                continue;
            for (tTopAt* b = scene.WPTAtEnd; b != nullptr; b = b->li) {
                const double dist2 = Distance2(b->k, image);
                if (Bonded(*a, *b, tolerance, dist2)) {
                    bool made = false;
                    NewBAt(scene, *b, baseNode, dist2, cbValence, kOpenBond,
                           SubTr(AddTr(a->t, shift), baseNode->t), made);
                }
            }
        }
        monitor.SetProgress(position, scene.WCountAt);
        if (monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
    }
    return true;
}

bool DetAdjMatrixAllPairs(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    monitor.SetStatus(1, kComputingText);
    if (!DetAdjPairsAllPairs(scene, monitor))
        return false;
    if (scene.WLVO.TMax != std::array<std::uint8_t, 3>{0, 0, 0})
        return true;
    monitor.SetStatus(1, kUnwrappingText);
    return DetAdjUnwrapAllPairs(scene, monitor);
}

} // namespace ormaline
