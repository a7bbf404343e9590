// Writer of graph files (molecule text format): the header, the cell line and one
// line per atom, in the form the reader (MolTextReader.h) takes back. The selection
// files supply the atom records; the writer numbers atoms from 1 in output order.
#pragma once

#include "model/OurData.h"

#include <string>
#include <vector>

namespace ormaline {

// A bond of a written atom: the partner's running number in the file (from 1) and the
// BondKind (1 valence, 2 specific, 3 van der Waals, 4 hydrogen bond).
struct TMolTextBond {
    std::int32_t partner = 0;
    std::uint8_t kind = bkValence;
};

// One atom line.
struct TMolTextAtom {
    bool central = false;     // written with a leading "*"
    std::int16_t element = 0; // element code, written as its symbol
    std::int32_t multiplicity = 0;
    std::string siteSymmetry = "?"; // site-symmetry name, written trimmed
    std::string colour;             // colour text between < and >
    DVector k{};                    // fractional coordinates
    std::vector<TMolTextBond> bonds;
};

// The letter of a bond kind in graph files ('v', 's', 'w', 'h'); '\0' for other kinds.
char BondLetter(std::uint8_t kind);

// "VER=1;" + DC.code + ":" + DC.RefCode + ":" + MDC.CmpName.
std::string MolTextHeader(const tCompParam& comp);

// a, b, c with three decimals and α, β, γ with two, separated by single blanks.
std::string MolTextCellLine(const tCompParam& comp);

// [*]number symbol[mult,site]<colour> x y z  then "partner letter " per bond; the
// coordinates have three decimals and are each followed by a blank. An empty colour
// text writes no <> group (the reader would not take an empty group). Bonds whose
// partner is not among 1..atomCount, or whose kind has no letter, are left out.
std::string MolTextAtomLine(std::int32_t number, const TMolTextAtom& atom, std::size_t atomCount);

// The whole file as lines (without line ends): header, cell line, atoms numbered from 1.
std::vector<std::string> WriteMolText(const tCompParam& comp,
                                      const std::vector<TMolTextAtom>& atoms);

// The atoms of a compound, from pAtEnd in list order, as records: central when A.i is
// negative, multiplicity and site name of their site, colour of their constraint
// block, and bonds to the atom each entry links to (p, or else the first atom with the
// entry's number, as linking finds it).
std::vector<TMolTextAtom> MolTextAtomsFromCompound(const tCompParam& comp);

} // namespace ormaline
