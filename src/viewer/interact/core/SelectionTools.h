// The selection tools that act on many atoms at once: the magic wand, the complement,
// "Show selection only" and the region selection of the cut shapes.
#pragma once

#include "viewer/core/LVScene.h"
#include "viewer/core/RenderRules.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

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
// legend row clicked, -1 for an atom. "Chem.Sort" colour changes also change the group
// colours (GrColor on) or the process-wide element colour of the element.
void MagicWandClick(TLVScene& scene, TViewColours& colours, int keyAt, int command, int selColour,
                    TBrushStyle newFill, TColor oldColour, TColor newColour, int row);

// The first visible node of legend row `row` (PTCurrAt of a legend-row command), or none.
tTopAt* FirstNodeOfRow(const TLVScene& scene, int row);

// "Complement Selection": every visible unselected node selected with colour 1, the
// selected ones deselected.
void Invert1Click(TLVScene& scene);
// "Show Selection Only": the selected nodes visible, every other node hidden. False
// (nothing done) without a selection.
bool ShowSelectionOnly1Click(TLVScene& scene);

// Region limits of the rectangle cut, process-wide: fractional a min, a max, b min,
// b max, c min, c max.
using TRegionLimits = std::array<float, 6>;
TRegionLimits& RegionLimits();
// The limits dialog's OK: each text that is a number replaces its limit; a pair whose
// minimum exceeds its maximum is swapped.
void ReadLimitTexts(TRegionLimits& limits, const std::array<std::string, 6>& texts);
// A typed radius: empty gives 0, a number its value, anything else none.
std::optional<double> ParseRadius(std::string_view text);
// Centre of the circle and sphere cuts in view coordinates: of the selected nodes of
// colours 1 and 3, or of every visible node without a selection.
DVector RegionCentre(const TLVScene& scene);
// Selects with colour 1 every visible node inside the region of CutMode: the rectangle
// limits (strictly inside), or the circle or sphere of `radius` about VCentre. A radius
// below 1e-5 for the circle and sphere selects nothing and records nothing. True when
// the undo state "Select region" was recorded and the nodes tested.
bool SelectRegion(TLVScene& scene, const TRegionLimits& limits, double radius);

} // namespace ormaline
