#include "viewer/core/BondSearch.h"

#include "model/CellGeometry.h"
#include "viewer/core/NodeIndex.h"
#include "viewer/core/SceneOps.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    // Over the positions of nodes (node index = position in the vector).
    TBondGrid(const std::vector<SVector>& positions, double reach) {
        double low[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::max()};
        double high[3] = {-low[0], -low[1], -low[2]};
        std::size_t finite = 0;
        for (const SVector& k : positions) {
            if (!Finite(k))
                continue;
            ++finite;
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], static_cast<double>(k[axis]));
                high[axis] = std::max(high[axis], static_cast<double>(k[axis]));
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
        std::vector<std::size_t> cellOf(positions.size(), cells);
        for (std::size_t index = 0; index < positions.size(); ++index) {
            if (!Finite(positions[index]))
                continue;
            long c[3];
            for (int axis = 0; axis < 3; ++axis)
                c[axis] = Clamp(axis, static_cast<double>(positions[index][axis]));
            cellOf[index] = Flat(c[0], c[1], c[2]);
            ++start_[cellOf[index] + 1];
        }
        for (std::size_t cell = 0; cell < cells; ++cell)
            start_[cell + 1] += start_[cell];
        members_.resize(start_[cells]);
        std::vector<std::size_t> fill(start_.begin(), start_.end() - 1);
        // Members of a cell in list order, since indexes are visited in order.
        for (std::size_t index = 0; index < positions.size(); ++index)
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

    // Calls visit(index) for every node of the grid, cell after cell; the position of a
    // call in this walk is the member's position in the ranges of ForEachCellPair.
    template <typename Visit> void ForEachMember(Visit visit) const {
        for (std::int32_t index : members_)
            visit(index);
    }

    // Calls visit(firstA, endA, firstB, endB) with the member ranges of every occupied cell
    // and itself, then of that cell and each of its 13 forward neighbours that holds
    // members: every pair of neighbouring cells once.
    template <typename Visit> void ForEachCellPair(Visit visit) const {
        if (start_.empty())
            return;
        for (long x = 0; x < dims_[0]; ++x)
            for (long y = 0; y < dims_[1]; ++y)
                for (long z = 0; z < dims_[2]; ++z) {
                    const std::size_t cell = Flat(x, y, z);
                    const std::size_t first = start_[cell], end = start_[cell + 1];
                    if (first == end)
                        continue;
                    visit(first, end, first, end);
                    for (long dx = 0; dx <= 1; ++dx)
                        for (long dy = dx == 0 ? 0 : -1; dy <= 1; ++dy)
                            for (long dz = dx == 0 && dy == 0 ? 1 : -1; dz <= 1; ++dz) {
                                const long nx = x + dx, ny = y + dy, nz = z + dz;
                                if (nx >= dims_[0] || ny < 0 || ny >= dims_[1] || nz < 0 ||
                                    nz >= dims_[2])
                                    continue;
                                const std::size_t other = Flat(nx, ny, nz);
                                if (start_[other] != start_[other + 1])
                                    visit(first, end, start_[other], start_[other + 1]);
                            }
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

// ---- Pairs within the cell ----

// The bonded pairs (a, b), a < b in list order, found cell by cell: each occupied cell
// is compared with itself and its 13 forward neighbours, over positions copied into cell
// order. Returned in the order of the straightforward loops: by a, then by b.
struct TPairs {
    std::vector<std::size_t> start;     // pairs of node a: partners[start[a] .. start[a + 1])
    std::vector<std::int32_t> partners; // the b of each pair
};

TPairs BondedPairs(const std::vector<tTopAt*>& nodes, double tolerance) {
    struct TPlaced {
        float x, y, z, rad;
        std::int32_t index;
        bool first; // may be the earlier atom of a pair (an element above 0)
    };
    // What the test reads, gathered in list order (the order of the nodes in memory).
    std::vector<TPlaced> inList(nodes.size());
    std::vector<SVector> positions(nodes.size());
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const tTopAt& node = *nodes[n];
        positions[n] = node.k;
        inList[n] = {
            node.k[0],          node.k[1], node.k[2], node.rad, static_cast<std::int32_t>(n),
            ElementOf(node) > 0};
    }
    const TBondGrid grid(positions, BondReach(nodes, tolerance));
    std::vector<TPlaced> placed;
    placed.reserve(nodes.size());
    grid.ForEachMember(
        [&](std::int32_t index) { placed.push_back(inList[static_cast<std::size_t>(index)]); });
    std::vector<std::pair<std::int32_t, std::int32_t>> found;
    const auto test = [&](const TPlaced& p, const TPlaced& q) {
        const TPlaced& a = p.index < q.index ? p : q;
        const TPlaced& b = p.index < q.index ? q : p;
        const double dx = static_cast<double>(a.x) - b.x;
        const double dy = static_cast<double>(a.y) - b.y;
        const double dz = static_cast<double>(a.z) - b.z;
        const double sum = static_cast<double>(a.rad) + b.rad + tolerance;
        if (a.first && sum * sum > dx * dx + dy * dy + dz * dz)
            found.push_back({a.index, b.index});
    };
    grid.ForEachCellPair(
        [&](std::size_t firstA, std::size_t endA, std::size_t firstB, std::size_t endB) {
            for (std::size_t i = firstA; i < endA; ++i)
                for (std::size_t j = firstA == firstB ? i + 1 : firstB; j < endB; ++j)
                    test(placed[i], placed[j]);
        });
    // Counting sort by a, then each node's few partners in order.
    TPairs pairs;
    pairs.start.assign(nodes.size() + 1, 0);
    for (const auto& [a, b] : found)
        ++pairs.start[static_cast<std::size_t>(a) + 1];
    for (std::size_t a = 0; a < nodes.size(); ++a)
        pairs.start[a + 1] += pairs.start[a];
    pairs.partners.resize(found.size());
    std::vector<std::size_t> fill(pairs.start.begin(), pairs.start.end() - 1);
    for (const auto& [a, b] : found)
        pairs.partners[fill[static_cast<std::size_t>(a)]++] = b;
    for (std::size_t a = 0; a < nodes.size(); ++a)
        std::sort(pairs.partners.begin() + static_cast<std::ptrdiff_t>(pairs.start[a]),
                  pairs.partners.begin() + static_cast<std::ptrdiff_t>(pairs.start[a + 1]));
    return pairs;
}

bool PairsStep(TLVScene& scene, const std::vector<tTopAt*>& nodes,
               const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    const TPairs pairs = BondedPairs(nodes, tolerance);
    TProgressStepper progress(monitor, scene.WCountAt);
    for (std::size_t a = 0; a < nodes.size(); ++a) {
        tTopAt& nodeA = *nodes[a];
        for (std::size_t pair = pairs.start[a]; pair < pairs.start[a + 1]; ++pair) {
            const std::int32_t b = pairs.partners[pair];
            tTopAt& nodeB = *nodes[static_cast<std::size_t>(b)];
            const double dist2 = Distance2(nodeA.k, ToDouble(nodeB.k));
            bool made = false;
            NewBAt(scene, nodeA, &nodeB, dist2, cbValence, kClosedBond, {}, made);
            NewBAt(scene, nodeB, &nodeA, dist2, cbValence, kClosedBond, {}, made);
        }
        progress.At(static_cast<int>(a));
        if (monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
    }
    return true;
}

// ---- Bonds across the cell faces ----

// Which of the 26 neighbour images of a node can come near any node: along an axis the
// image of a shift +1 lies one cell further, and the distance of two points is at least
// their difference in a fractional coordinate times the spacing of the lattice planes
// along that axis. Only nodes that near a face for some axis can have such a bond, as
// either end, so the step looks at those alone.
class TFaceBand {
public:
    TFaceBand(const TLVScene& scene, const std::vector<DVector>& fractional, double reach) {
        const tCompParam& comp = scene.CompParamMaler;
        double low[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::max()};
        double high[3] = {-low[0], -low[1], -low[2]};
        double largest = 0.0;
        for (const DVector& f : fractional) {
            if (!FiniteVector(f))
                continue;
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], f[axis]);
                high[axis] = std::max(high[axis], f[axis]);
                largest = std::max(largest, std::fabs(f[axis]));
            }
        }
        // The fractional coordinate along each axis of a Cartesian difference: the rows
        // of the inverse cell matrix, whose lengths are the inverse plane spacings.
        double inverse[3][3];
        for (int column = 0; column < 3; ++column) {
            DVector unit{0.0, 0.0, 0.0};
            unit[column] = 1.0;
            if (comp.ParamTTO.NOrth)
                OrthToFract(unit, comp.ParamTTO);
            for (int row = 0; row < 3; ++row)
                inverse[row][column] = unit[row] / comp.DC.Tr[row];
        }
        // Margins: the rounding of single-precision positions, and the boundary copies
        // that sit at 1 while their atom lies within 1e-5 of 0.
        const double slack = 1e-4 + 1e-6 * largest;
        for (int axis = 0; axis < 3; ++axis) {
            const double spacingInverse = std::sqrt(inverse[axis][0] * inverse[axis][0] +
                                                    inverse[axis][1] * inverse[axis][1] +
                                                    inverse[axis][2] * inverse[axis][2]);
            double width = (reach * (1.0 + 1e-6) + 1e-6) * spacingInverse + slack;
            if (!std::isfinite(width))
                width = std::numeric_limits<double>::infinity();
            plusBelow_[axis] = high[axis] - 1.0 + width;
            minusAbove_[axis] = low[axis] + 1.0 - width;
        }
    }

    // Bits of the shifts whose image may come near a node: 1 << (2 * axis) for +1,
    // 2 << (2 * axis) for -1 along that axis. 0 for a node of no face band.
    unsigned Directions(const DVector& f) const {
        if (!FiniteVector(f))
            return 0;
        unsigned bits = 0;
        for (int axis = 0; axis < 3; ++axis) {
            if (f[axis] <= plusBelow_[axis])
                bits |= 1u << (2 * axis);
            if (f[axis] >= minusAbove_[axis])
                bits |= 2u << (2 * axis);
        }
        return bits;
    }

    static bool Allows(unsigned bits, const ShIVector& shift) {
        for (int axis = 0; axis < 3; ++axis) {
            if (shift[axis] > 0 && (bits & (1u << (2 * axis))) == 0)
                return false;
            if (shift[axis] < 0 && (bits & (2u << (2 * axis))) == 0)
                return false;
        }
        return true;
    }

private:
    static bool FiniteVector(const DVector& f) {
        return std::isfinite(f[0]) && std::isfinite(f[1]) && std::isfinite(f[2]);
    }
    double plusBelow_[3] = {0, 0, 0};
    double minusAbove_[3] = {0, 0, 0};
};

// The first node in list order showing each wanted atom with translation 0.
class TBaseNodes {
public:
    TBaseNodes(const std::vector<tTopAt*>& nodes, const std::vector<tTopAt*>& wanted) {
        std::size_t size = 16;
        while (size < 2 * wanted.size())
            size *= 2;
        slots_.assign(size, {nullptr, nullptr});
        for (const tTopAt* node : wanted)
            if (node->pSAt != nullptr)
                Slot(node->pSAt).atom = node->pSAt;
        for (tTopAt* node : nodes) {
            if (node->t != ShIVector{0, 0, 0} || node->pSAt == nullptr)
                continue;
            TSlot& slot = Slot(node->pSAt);
            if (slot.atom == node->pSAt && slot.base == nullptr)
                slot.base = node;
        }
    }
    tTopAt* Of(const tSteckAt* atom) const {
        const TSlot& slot = const_cast<TBaseNodes*>(this)->Slot(atom);
        return slot.atom == atom ? slot.base : nullptr;
    }

private:
    struct TSlot {
        const tSteckAt* atom;
        tTopAt* base;
    };
    // Open addressing: the atom's slot, or the empty slot where it would go.
    TSlot& Slot(const tSteckAt* atom) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = (reinterpret_cast<std::uintptr_t>(atom) * 0x9E3779B97F4A7C15ull) >> 20;
        for (;; ++at) {
            TSlot& slot = slots_[at & mask];
            if (slot.atom == atom || slot.atom == nullptr)
                return slot;
        }
    }
    std::vector<TSlot> slots_;
};

bool UnwrapStep(TLVScene& scene, const std::vector<tTopAt*>& nodes,
                const TSceneBuildMonitor& monitor) {
    const double tolerance = scene.WLVO.AdjTol;
    std::vector<DVector> fractional(nodes.size());
    for (std::size_t n = 0; n < nodes.size(); ++n)
        fractional[n] = NodeFractional(*nodes[n]);
    const TFaceBand band(scene, fractional, BondReach(nodes, tolerance));
    // The nodes of the face bands, in list order, with the shifts each may take.
    std::vector<std::int32_t> banded;
    std::vector<unsigned> directions;
    std::vector<tTopAt*> bandNodes;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (const unsigned bits = band.Directions(fractional[n]); bits != 0) {
            banded.push_back(static_cast<std::int32_t>(n));
            directions.push_back(bits);
            bandNodes.push_back(nodes[n]);
        }
    std::vector<SVector> bandPositions(bandNodes.size());
    for (std::size_t n = 0; n < bandNodes.size(); ++n)
        bandPositions[n] = bandNodes[n]->k;
    const TBondGrid grid(bandPositions, BondReach(nodes, tolerance));
    const TNodeIndex index(scene, nodes, banded);
    const TBaseNodes base(nodes, bandNodes);
    const std::vector<ShIVector> shifts = NeighbourShifts();
    TProgressStepper progress(monitor, scene.WCountAt);
    std::vector<std::int32_t> near;
    for (std::size_t entry = 0; entry < banded.size(); ++entry) {
        const auto a = static_cast<std::size_t>(banded[entry]);
        // As the straightforward loop, which tests the request after every node.
        if (a > 0 && monitor.Cancelled()) {
            CancelStep(monitor, scene.WCountAt);
            return false;
        }
        tTopAt& nodeA = *nodes[a];
        const tSteckAt* atom = nodeA.pSAt;
        tTopAt* baseNode = atom != nullptr ? base.Of(atom) : nullptr;
        if (baseNode != nullptr) {
            for (const ShIVector& shift : shifts) {
                if (!TFaceBand::Allows(directions[entry], shift))
                    continue;
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
                    tTopAt& nodeB = *bandNodes[static_cast<std::size_t>(b)];
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

} // namespace

bool DetAdjPairs(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    return PairsStep(scene, AtomNodes(scene), monitor);
}

bool DetAdjUnwrap(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    return UnwrapStep(scene, AtomNodes(scene), monitor);
}

bool DetAdjMatrix(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    monitor.SetStatus(1, kComputingText);
    monitor.SetProgress(0, scene.WCountAt);
    const std::vector<tTopAt*> nodes = AtomNodes(scene);
    if (!PairsStep(scene, nodes, monitor))
        return false;
    if (scene.WLVO.TMax != std::array<std::uint8_t, 3>{0, 0, 0})
        return true;
    monitor.SetStatus(1, kUnwrappingText);
    return UnwrapStep(scene, nodes, monitor);
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
