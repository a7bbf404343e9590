// The selection tools that act on many atoms at once.
#pragma once

#include "viewer/core/LVScene.h"
#include "viewer/core/RenderRules.h"

namespace ormaline {

// Commands of the magic wand (its "Command:" list).
inline constexpr int kWandChangeColour = 0;
inline constexpr int kWandSelect = 1;
inline constexpr int kWandUnselect = 2;
inline constexpr int kWandDelete = 3;
inline constexpr int kWandRestore = 4;
// Its "Do for" choices.
inline constexpr int kWandAtom = 0;
inline constexpr int kWandCrystSort = 1;
inline constexpr int kWandChemSort = 2;
inline constexpr int kWandOneColour = 3;
inline constexpr int kWandSelected = 4;
inline constexpr int kWandAllAtoms = 5;

// Applies one magic-wand command (`command`, with selection colour `selColour`, fill and
// colours) to PTCurrAt alone or to every visible atom matched by `keyAt`; `row` is the
// legend row clicked, -1 for an atom.
void MagicWandClick(TLVScene& scene, TViewColours& colours, int keyAt, int command, int selColour,
                    TBrushStyle newFill, TColor oldColour, TColor newColour, int row);

// The first visible node of legend row `row` (PTCurrAt of a legend-row command), or none.
tTopAt* FirstNodeOfRow(const TLVScene& scene, int row);

} // namespace ormaline
