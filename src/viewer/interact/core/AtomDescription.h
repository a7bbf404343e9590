// The description of an atom shown in the status bar when it is picked: symbol and index,
// fractional position, lattice translation, the counts of its bonds by kind and the
// composition of its bonded partners.
#pragma once

#include "viewer/core/SceneRecords.h"

#include <cstdint>
#include <string>

namespace ormaline {

struct TAtomDescription {
    std::string text;  // the status text
    std::string StrCN; // bond counts of the kinds "Val" .. "Hb" joined by ":" (4:0:0:0:0:0)
    std::string StrCP; // partners' symbols with their counts, in order of appearance (O3N1)
};

// Over the bonds whose kind shares a bit with `numSeeBond`: StrCN counts them by kind,
// StrCP the shown ones by partner element. `trans` is shown as "t(...)" when not zero.
TAtomDescription WrAtom(const tTopAt& TA, const ShIVector& trans, std::uint16_t numSeeBond);

// " " + symbol + "(" + index + ") (" + x + "," + y + "," + z + ")", the fractional position
// with width 6 and 3 decimals, as the messages about one atom name it.
std::string AtomCaption(const tTopAt& TA);

} // namespace ormaline
