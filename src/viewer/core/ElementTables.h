// The per-element tables of the viewer: the two built-in radius systems, the element
// colour table, the element groups of the element dialog and the group colours.
// Tables have 121 entries indexed by element code 0..120.
#pragma once

#include "model/ElementCodes.h"
#include "model/OurData.h"
#include "viewer/core/Colour.h"

#include <array>
#include <cstdint>

namespace ormaline {

inline constexpr int kElementTableSize = 121;

// One single-precision value per element code 0..120 (radii in angstrom).
using TElementValues = TDataElement;
// One colour per element code 0..120.
using TElementColors = std::array<TColor, kElementTableSize>;

// Radius systems: 0 "Slater", 1 "Sph.Domain".
inline constexpr int kRadiusSystems = 2;
extern const std::array<TElementValues, kRadiusSystems> ElementRadiiTables;

// The built-in table of a radius system; any system other than 1 gives system 0.
const TElementValues& ElementRadiiTable(int system);

// The colours the element colour table starts with.
extern const TElementColors DefaultElementColors;

// The process-wide element colour table, read by both renderers and the legend; the
// magic wand changes single entries. Used only from the user-interface thread.
TElementColors& ElementColorTable();
void ResetElementColorTable();

// The colour of an element code in the process-wide table; codes outside 0..120 give black.
TColor ElementColor(int code);

// Element groups of the element dialog by tag: 1..26 are the element-group sets of the
// structure model (tag g is the set of code -g), 27..36 the columns "3" to "12" of the
// periodic table. Any other tag gives the empty set.
inline constexpr int kFirstColumnGroup = 27;
inline constexpr int kLastElementGroup = 36;
ElementCodeSet ElementGroupSet(int tag);

// Colours of the 13 colour groups (element-group sets 1..13, in that order).
inline constexpr int kColorGroups = 13;
using TGroupColors = std::array<TColor, kColorGroups>;
extern const TGroupColors GroupColorTable;

// The colour of an element when atoms are coloured by group: the entry of `groupColors`
// for the first of the sets 1..13 that contains the element, black when none does.
TColor GroupColorOf(int code, const TGroupColors& groupColors);

} // namespace ormaline
