// Linking of adjacency entries, which name their partners by atom number, to the
// partner atoms themselves.
#pragma once

#include "model/OurData.h"

namespace ormaline {

// For each atom from `first` to the end of its list, in list order, and each entry E
// of its PMAd (then each chain node of E.Chan): E.p := the first atom B from
// `searchHead` on with B.i = E.i (C.pC likewise). Atom numbers outside 0..65535 are
// never found, since entries hold 16-bit numbers. Returns false at the first entry
// or chain node without a partner; links made before it stay. PMAd_ is not visited.
// The viewer passes pAt0 as the first atom and pAtEnd as the search head.
bool LinkAdjMatr(tSteckAt* first, tSteckAt* searchHead);

// Would give each symmetry image (an atom before pAt0) the adjacency entries of its
// source atom. Compounds of this system are in P 1 and have no images, so it returns
// true and changes nothing.
bool SpreadAdjMatr(tCompParam& comp);

} // namespace ormaline
