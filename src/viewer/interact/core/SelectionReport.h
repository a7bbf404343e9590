// The report of the selected atoms: their composition by legend row, their bonds by
// pair of legend rows, and the least-squares plane and line through them.
#pragma once

#include "viewer/core/LVScene.h"

#include <string>
#include <vector>

namespace ormaline {

// A tally of the report: a count and a legend name (or a pair of names "A-B").
struct RecLegComp {
    std::int32_t num = 0;
    std::string StrLeg;
};
struct RecLegBond {
    std::int32_t num = 0;
    std::string StrLeg;
};

// The name of a node's legend row; empty when the node has no row.
std::string LegendName(const TLVScene& scene, const tTopAt& node);

// The selected atoms by legend row, in order of first appearance (newest first).
std::vector<RecLegComp> LegendComposition(const TLVScene& scene);
// " All atoms: " + "  " + name + count + " " per row, then CR LF CR LF.
std::string TotalLegComp(const TLVScene& scene);

// The bonds between selected atoms (not open, of a drawn kind) by pair of legend names,
// the name of the larger legend index first; every bond is counted from both ends.
std::vector<RecLegBond> LegendBonds(const TLVScene& scene);
// " All bonds:" CR LF, "  " + pair + " - " + count/2 + CR LF per pair, then CR LF.
std::string TotalLegBond(const TLVScene& scene);

// The whole report of SelectedAtomsClick (composition, bonds, plane and line); it fits
// the scene's last plane on the way.
std::string SelectedAtomsReport(TLVScene& scene);

} // namespace ormaline
