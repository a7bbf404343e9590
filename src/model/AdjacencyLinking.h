// Linking of adjacency entries, which name their partners by atom number, to the
// partner atoms themselves.
#pragma once

#include "model/OurData.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace ormaline {

// True for the numbers an adjacency entry can name (0..65535).
constexpr bool IsNameableAtomNumber(std::int32_t number) {
    return number >= 0 && number <= 0xFFFF;
}

// The first atom of each number from a list head on, as adjacency entries name their
// partners: only numbers 0..65535 can be named, so an atom numbered outside that
// range is never found, and neither is an entry's number outside it (such a number is
// kept as read and simply never links). Atom is tSteckAt or const tSteckAt.
template <class Atom> class TBasicAtomNumberIndex {
public:
    explicit TBasicAtomNumberIndex(Atom* head) {
        for (Atom* atom = head; atom != nullptr; atom = atom->li)
            if (IsNameableAtomNumber(atom->i))
                byNumber_.emplace_back(atom->i, atom);
        // Stable: of equal numbers the one nearest the head stays first.
        std::stable_sort(byNumber_.begin(), byNumber_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    // The first atom from the head with this number, or nil.
    Atom* Find(std::int32_t number) const {
        if (!IsNameableAtomNumber(number))
            return nullptr;
        auto found =
            std::lower_bound(byNumber_.begin(), byNumber_.end(), number,
                             [](const auto& entry, std::int32_t n) { return entry.first < n; });
        return found == byNumber_.end() || found->first != number ? nullptr : found->second;
    }

private:
    std::vector<std::pair<std::int32_t, Atom*>> byNumber_;
};
using TAtomNumberIndex = TBasicAtomNumberIndex<tSteckAt>;
using TConstAtomNumberIndex = TBasicAtomNumberIndex<const tSteckAt>;

// For each atom from `first` to the end of its list, in list order, and each entry E
// of its PMAd (then each chain node of E.Chan): E.p := the first atom B from
// `searchHead` on with B.i = E.i (C.pC likewise). Atom numbers outside 0..65535 are
// never found. Returns false at the first entry or chain node without a partner;
// links made before it stay. PMAd_ is not visited.
// The viewer passes pAt0 as the first atom and pAtEnd as the search head.
bool LinkAdjMatr(tSteckAt* first, tSteckAt* searchHead);

// Would give each symmetry image (an atom before pAt0) the adjacency entries of its
// source atom. Compounds of this system are in P 1 and have no images, so it returns
// true and changes nothing.
bool SpreadAdjMatr(tCompParam& comp);

} // namespace ormaline
