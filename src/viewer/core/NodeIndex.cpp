#include "viewer/core/NodeIndex.h"

#include <cmath>

namespace ormaline {
namespace {

constexpr double kCellSize = 1.0;
constexpr double kCellLimit = 4.0e18;

std::int64_t CellOf(double coordinate) {
    const double cell = std::floor(coordinate / kCellSize);
    if (cell > kCellLimit)
        return static_cast<std::int64_t>(kCellLimit);
    if (cell < -kCellLimit)
        return -static_cast<std::int64_t>(kCellLimit);
    return static_cast<std::int64_t>(cell);
}

bool Finite(const SVector& k) {
    return std::isfinite(k[0]) && std::isfinite(k[1]) && std::isfinite(k[2]);
}

} // namespace

std::size_t TNodeIndex::KeyHash::operator()(const Key& key) const {
    std::uint64_t h = static_cast<std::uint16_t>(key.n);
    const auto mix = [&h](std::uint64_t value) {
        h ^= value + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    };
    mix(static_cast<std::uint32_t>(key.i));
    mix(static_cast<std::uint64_t>(key.x));
    mix(static_cast<std::uint64_t>(key.y));
    mix(static_cast<std::uint64_t>(key.z));
    return static_cast<std::size_t>(h);
}

TNodeIndex::TNodeIndex(const TLVScene& scene) {
    std::int64_t position = 0;
    bool atoms = false;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li, ++position) {
        if (node == scene.WPTAtEnd)
            atoms = true;
        Add(node, (atoms ? kAtomSection : 0) + position);
    }
}

TNodeIndex::TNodeIndex(const TLVScene& scene, const std::vector<tTopAt*>& atomNodes,
                       const std::vector<std::int32_t>& chosen) {
    std::int64_t position = 0;
    for (tTopAt* node = scene.WPTAll; node != nullptr && node != scene.WPTAtEnd;
         node = node->li, ++position)
        Add(node, position);
    for (std::int32_t index : chosen)
        Add(atomNodes[static_cast<std::size_t>(index)], kAtomSection + position + index);
}

void TNodeIndex::Add(tTopAt* node, std::int64_t order) {
    if (node->pSAt == nullptr || !Finite(node->k))
        return;
    const Key key{node->pSAt->A.n, node->pSAt->A.i, CellOf(node->k[0]), CellOf(node->k[1]),
                  CellOf(node->k[2])};
    cells_[key].push_back({node, order});
}

void TNodeIndex::AddAtFront(tTopAt* node) {
    if (node->PolyVert)
        Add(node, --auxFront_);
    else
        Add(node, kAtomSection + --atomFront_);
}

tTopAt* TNodeIndex::Find(std::int16_t n, std::int32_t i, const DVector& position, Section section,
                         const tTopAt* exclude1, const tTopAt* exclude2) const {
    if (!std::isfinite(position[0]) || !std::isfinite(position[1]) || !std::isfinite(position[2]))
        return nullptr;
    std::int64_t low[3], high[3];
    for (int axis = 0; axis < 3; ++axis) {
        low[axis] = CellOf(position[axis] - kTolerance);
        high[axis] = CellOf(position[axis] + kTolerance);
    }
    const Entry* best = nullptr;
    for (std::int64_t x = low[0]; x <= high[0]; ++x)
        for (std::int64_t y = low[1]; y <= high[1]; ++y)
            for (std::int64_t z = low[2]; z <= high[2]; ++z) {
                const auto found = cells_.find(Key{n, i, x, y, z});
                if (found == cells_.end())
                    continue;
                for (const Entry& entry : found->second) {
                    const bool inAtoms = entry.order >= kAtomSection / 2;
                    if ((section == Section::Atoms && !inAtoms) ||
                        (section == Section::Auxiliary && inAtoms))
                        continue;
                    if (entry.node == exclude1 || entry.node == exclude2)
                        continue;
                    if (best != nullptr && best->order < entry.order)
                        continue;
                    const SVector& k = entry.node->k;
                    if (std::fabs(k[0] - position[0]) < kTolerance &&
                        std::fabs(k[1] - position[1]) < kTolerance &&
                        std::fabs(k[2] - position[2]) < kTolerance)
                        best = &entry;
                }
            }
    return best != nullptr ? best->node : nullptr;
}

} // namespace ormaline
