// Space-group fields of a compound and the operations on them. Every compound of this
// system is in "P 1": one operation (the identity), no centring translations, no
// images, site index 0, general multiplicity 1 and Wyckoff letter a. Other symbols
// are recognised as unsupported (setting code 0) and get no tables.
#pragma once

#include "model/OurData.h"

#include <array>
#include <string_view>

namespace ormaline {

// The 50 Schoenflies site-symmetry names, numbered from 1; index 0 is "?", the name
// of a general position. Names that occur several times stand for different
// orientations.
inline constexpr std::array<std::string_view, 51> SiteSymmetryNames = {
    "?",   "C1",  "Cs",  "Cs",  "Cs",  "C2",  "C2",  "C2",  "C2v", "C2v", "C2v", "D2",  "S4",
    "C4",  "C4v", "D2d", "D2d", "D4",  "C3",  "C3v", "C3v", "D3",  "D3",  "C3h", "C6",  "C6v",
    "D3h", "D3h", "D6",  "T",   "Td",  "O",   "C3",  "C3v", "D3",  "Ci",  "C2h", "C2h", "C2h",
    "D2h", "C3i", "C4h", "D4h", "D3d", "D3d", "D6h", "C6h", "Oh",  "Th",  "C3i", "D3d"};

// The first index 1..50 whose name equals name exactly; 0 when none does ("?" too).
int SiteSymIndex(std::string_view name);

// Reads NameSG and sets nbr, NGC and CodeSingon. Returns the setting code: 1 for
// "P 1" (nbr = NGC = CodeSingon = 1); 0 for any other symbol, which leaves NGC and
// CodeSingon 0 and nbr the index of its lattice letter (P 1, A 2, B 3, C 4, F 5,
// I 6, R 7; 0 for none).
std::uint16_t SpaceGroupCode(tCompParam& comp);

// Fills the symmetry tables from CodeSG. For code 1 (P 1): NCode 0, SGMult 1, center
// false, CodesOfSG[0] the identity, RotSym[0] the unit matrix, everything else zero.
// Any other code leaves the tables as InitCompParam set them (SGMult 0).
void BuildSGTables(tCompParam& comp);

// Sets the atom's NSite and WyckL: for P 1 with tables NSite 0 and WyckL 'a'; without
// tables (SGMult 0) NSite 0 and WyckL stays as it is.
void SiteSymmetry(const tCompParam& comp, tSteckAt& atom);

// SGMult div (MasSubgr[NSite].krat + 1); 0 for an NSite outside the table.
int SiteMult(const tCompParam& comp, const tSteckAt& atom);

// The site-symmetry name of the atom: SiteSymmetryNames[MasSubgr[NSite].SiteSym],
// "?" for a general position or an index outside the tables.
std::string_view SiteSymName(const tCompParam& comp, const tSteckAt& atom);

// Appends to the list the images of its atoms under operations 1..NCode and the
// centring translations of the lattice letter, numbering new atoms from DC.at_ + 1,
// and sets CSym, Br and A.tr of the listed atoms to 0. With NCode = 0 and the letter
// P, as for every compound of this system, it appends nothing. `flags` and
// `tolerance` (fractional) are those of the images' duplicate test.
void GenerateOrbit(const tCompParam& comp, char latticeLetter, int flags, double tolerance,
                   tSteckAt*& list);

} // namespace ormaline
