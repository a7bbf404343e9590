// Finds the node of a compound atom at a model position without walking the scene:
// nodes are hashed by element, atom index and a 1 angstrom cell of their position, and
// each remembers its place in the list, so a lookup answers with the first matching
// node in list order, as a walk of the list would.
#pragma once

#include "viewer/core/LVScene.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ormaline {

class TNodeIndex {
public:
    enum class Section { Any, Auxiliary, Atoms };

    // Indexes every node of the scene at its current position.
    explicit TNodeIndex(const TLVScene& scene);
    // Indexes the auxiliary section and the chosen nodes of the atom section: `atomNodes`
    // is that section in list order, `chosen` ascending positions in it.
    TNodeIndex(const TLVScene& scene, const std::vector<tTopAt*>& atomNodes,
               const std::vector<std::int32_t>& chosen);

    // A node just put at the head of its section (auxiliary or atom section).
    void AddAtFront(tTopAt* node);

    // The first node in list order, within `section` and other than `exclude`, of element
    // `n` and atom index `i` whose position is within 1e-4 of `position` per coordinate.
    tTopAt* Find(std::int16_t n, std::int32_t i, const DVector& position, Section section,
                 const tTopAt* exclude1 = nullptr, const tTopAt* exclude2 = nullptr) const;

    // Tolerance of a position match in angstrom.
    static constexpr double kTolerance = 1e-4;

private:
    struct Key {
        std::int16_t n;
        std::int32_t i;
        std::int64_t x, y, z;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Entry {
        tTopAt* node;
        std::int64_t order; // smaller is earlier in the list
    };

    void Add(tTopAt* node, std::int64_t order);

    static constexpr std::int64_t kAtomSection = std::int64_t{1} << 40;
    std::unordered_map<Key, std::vector<Entry>, KeyHash> cells_;
    std::int64_t auxFront_ = 0;
    std::int64_t atomFront_ = 0;
};

} // namespace ormaline
