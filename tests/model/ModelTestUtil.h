// Helpers shared by the structure-model tests.
#pragma once

#include "model/AtomList.h"
#include "model/OurData.h"

#include <string>
#include <vector>

namespace ormaline::test {

// The atoms from head in list order.
inline std::vector<const tSteckAt*> AtomsOf(const tSteckAt* head) {
    std::vector<const tSteckAt*> atoms;
    for (; head != nullptr; head = head->li)
        atoms.push_back(head);
    return atoms;
}

using ormaline::ListLength;

// "H1 C1 C2 O1": symbol and A.i of each atom in list order.
std::string ListLabels(const tSteckAt* head);

// An atom node with element and index set, as builders make them.
inline tSteckAt* MakeAtom(std::int16_t element, std::int32_t index, std::int32_t number = 0) {
    tSteckAt* atom = NewSteckAt();
    atom->A.n = element;
    atom->A.i = index;
    atom->i = number;
    return atom;
}

// The members of a fixed-size set, in increasing order.
template <std::size_t Bits> std::vector<int> Members(const TBitSet<Bits>& set) {
    std::vector<int> members;
    for (int k = 0; k < static_cast<int>(Bits); ++k)
        if (set.Contains(k))
            members.push_back(k);
    return members;
}

// Appends an adjacency entry naming partner number `partner` with the given kind.
inline tAdjMatr* AddEntry(tSteckAt* atom, std::int32_t partner, std::uint8_t kind = bkValence) {
    tAdjMatr* entry = NewAdjMatr();
    entry->i = partner;
    entry->m = kind;
    AppendNode(entry, atom->PMAd);
    return entry;
}

} // namespace ormaline::test
