// Life cycle of a compound and its element table.
#pragma once

#include "model/OurData.h"

namespace ormaline {

// Zeroes the whole record and sets it up for the given sort type: DC.ALI[2..5] = -1,
// DCOld = DC, DC1poz = DC1pozOld = -1, NameSG empty, CodesOfSG[0] the identity code,
// MDC.NameMChar = {0, 0}, MDC.RemMChar = {0}. Lists the compound still holds are
// released first, so re-initialising a filled compound loses nothing to leaks.
void InitCompParam(tCompParam& comp, tSortTypeAtom sortType);

// pAt0 = pAtEnd = nil, Count = 0, SortType and its ordering function SortFunc.
void SetSortType(tCompParam& comp, tSortTypeAtom sortType);

// Releases the atom list (every node reachable from pAtEnd, and from pAt0 when a
// builder has not yet joined the two) with its adjacency lists and constraint blocks,
// clears MDC.ME, MDC.MEZ, MDC.NameMChar, MDC.RemMChar, ArrAtoms, CompMEZ and MEl, and
// sets pAt0 = pAtEnd = nil, SortFunc = nil, Count = 0. The descriptor strings stay.
// Safe to call again.
void FreeCompParam(tCompParam& comp);

// Rebuilds MEl with one entry (n = code, other fields 0) per distinct element code of
// the atoms from pAt0 on and their direct DsOr children, sorted by symbol in ascending
// ordinal order; NumElComp and DC.El_ := the number of entries (DC.El_ at most 255).
void BuildMEl(tCompParam& comp);

} // namespace ormaline
