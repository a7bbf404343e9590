// Building a compound's atom list in element-and-index order without walking the list
// for every new atom.
//
// Builders give each atom the index 1 + the number of atoms of its element already in
// the list and insert it with InsSortAt and CompAtNI. Both walk the whole list, which
// makes building quadratic. TAtomInserter keeps a count per element and the last node
// of each (element, index) key, and reaches the very same indexes and list order in
// logarithmic time per atom.
#pragma once

#include "model/OurData.h"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

namespace ormaline {

class TAtomInserter {
public:
    // Takes the list that starts at comp.pAt0 as it is (usually empty). A list that is
    // not in CompAtNI order is served by InsSortAt itself, which gives the same result.
    explicit TAtomInserter(tCompParam& comp);

    // 1 + the number of atoms of this element in the list (what walking the list from
    // pAt0 and counting the atoms with the same A.n gives).
    std::int32_t NextIndex(std::int16_t element) const;

    // Inserts the atom where InsSortAt(atom, &comp.pAt0, CompAtNI) would put it.
    void Insert(tSteckAt* atom);

private:
    using Key = std::pair<std::int16_t, std::int32_t>;

    void InsertAfter(tSteckAt* previous, tSteckAt* atom);

    tCompParam& comp_;
    bool sorted_ = true;
    tSteckAt* tail_ = nullptr;
    std::unordered_map<std::int16_t, std::int32_t> countByElement_;
    std::map<Key, tSteckAt*> lastOfKey_;
};

} // namespace ormaline
