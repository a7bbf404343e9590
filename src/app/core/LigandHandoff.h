// The compound of a ligand as the detail panel of the ligand tab shows it: the cell
// from the six cell edits, the atoms from the rows of the atom grid (in element and
// index order) and each atom's adjacency list from the bond grid row at the same
// position. Qt-free.
#pragma once

#include "model/OurData.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

// The texts of the panel.
struct TLigandPanelTexts {
    // a, b, c, alpha, beta, gamma
    std::array<std::string, 6> Cell;
    // Data rows of sgLigAtoms: "N", "SpecAt", "NumAt", "CN", "x", "y", "z".
    std::vector<std::vector<std::string>> AtomRows;
    // Column "Atoms" of the data rows of sgLigBonds, by row position.
    std::vector<std::string> BondCells;
};

// The code as an element code; outside -26..120 it throws EConvertError.
std::int16_t CheckedElementCode(std::int32_t code);

// Appends one adjacency entry (m = 1, valence) per neighbour number of `text` to the
// atom's PMAd in text order; CN and A.S grow by one per entry. Numbers are separated by
// blanks; a number that is not a valid integer from 0 to 65535 throws EConvertError.
void ParseAdjacencyText(std::string_view text, tSteckAt& atom);

// Fills `comp` (initialised here for the element-and-index order) from the panel:
// cell and its derived parameters, "P 1" with code 1, the atoms with their index among
// atoms of the same element, the element list in order of first appearance and the
// adjacency lists. A cell text that is no number gives 0; an atom column that is not a
// valid integer or number throws EConvertError (the atoms read so far stay in `comp`).
void BuildLigandCompound(const TLigandPanelTexts& panel, tCompParam& comp);

} // namespace ormaline
