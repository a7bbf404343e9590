// Building a compound's atom list in element-and-index order without walking the list
// for every new atom.
//
// Builders give each atom the index 1 + the number of atoms of its element already in
// the list and insert it with InsSortAt and CompAtNI. Both walk the whole list, which
// makes building quadratic. TAtomInserter keeps a count and the last node per element,
// and reaches the very same indexes and list order in time logarithmic in the number
// of distinct elements per atom.
#pragma once

#include "model/OurData.h"

#include <cstdint>
#include <map>
#include <unordered_map>

namespace ormaline {

class TAtomInserter {
public:
    // Takes the list that starts at comp.pAt0 as it is (usually empty). A list that is
    // not in CompAtNI order is served by InsSortAt itself, which gives the same result.
    explicit TAtomInserter(tCompParam& comp);

    // 1 + the number of atoms of this element in the list (what walking the list from
    // pAt0 and counting the atoms with the same A.n gives).
    std::int32_t NextIndex(std::int16_t element) const;

    // Inserts the atom where InsSortAt(atom, &comp.pAt0, CompAtNI) would put it. An
    // atom whose A.i is NextIndex or its negative (what builders give) is placed
    // directly while it exceeds every |A.i| of its element; any other index walks the
    // list as InsSortAt does.
    void Insert(tSteckAt* atom);

private:
    void Count(const tSteckAt& atom);
    bool ExceedsAll(std::int16_t element, std::int32_t index) const;
    // The last node of the greatest element below `element`, or nil.
    tSteckAt* LastBefore(std::int16_t element) const;
    void InsertAfter(tSteckAt* previous, tSteckAt* atom);

    tCompParam& comp_;
    bool sorted_ = true;
    struct TElementState {
        std::int32_t count = 0;           // atoms of the element in the list
        std::int64_t largestAbsIndex = 0; // largest |A.i| among them
    };
    std::unordered_map<std::int16_t, TElementState> elements_;
    std::map<std::int16_t, tSteckAt*> lastOfElement_;
};

} // namespace ormaline
