// Operations on a built scene that the scene build and the interaction tools share:
// bonds, positions of lattice copies, lattice copies themselves, the cell corners and
// the completion copy.
#pragma once

#include "viewer/core/LVScene.h"

namespace ormaline {

// Kinds of NewBAt: 0 open bond (partner is an image), 1 closed bond, 3 closed bond that
// may reuse an open bond of `node` whose partner image is `partner`.
inline constexpr int kOpenBond = 0;
inline constexpr int kClosedBond = 1;
inline constexpr int kClosedReuseOpen = 3;

// Adds (or finds) the bond node -> partner with translation `trans`. No bond is made
// between a pseudo-atom (element above 110) and an ordinary atom at a distance. A bond
// with the same partner and translation is returned unchanged. `dist2` is the squared
// length in square angstrom. Returns the bond, or nullptr when none may be made.
tBoundAt* NewBAt(TLVScene& scene, tTopAt& node, tTopAt* partner, double dist2,
                 std::uint8_t typeBond, int typeCycle, const ShIVector& trans, bool& newBond);

// Model position (angstrom, cell centre at the origin) of a fractional point.
DVector FractionalToModel(const TLVScene& scene, const DVector& fractional);
// Model position of the node's compound atom shifted by the node's translation plus `trans`.
DVector DetCoordAt(const TLVScene& scene, const tTopAt& node, const ShIVector& trans);
// Fractional position (atom + translation) of a node.
DVector NodeFractional(const tTopAt& node);

// Shows the copy of `node` shifted by `trans` with its bonds; an existing copy is only
// made visible.
void MultTransAtom(TLVScene& scene, tTopAt* node, const ShIVector& trans);

// The same, searching the list for the copy and for every bond partner instead of
// using an index; kept as the reference of the indexed version.
void MultTransAtomStraightforward(TLVScene& scene, tTopAt* node, const ShIVector& trans);

// Creates the cell atom, the 8 corners and their edges (BondsCell).
void InsCellData(TLVScene& scene);
void BondsCell(TLVScene& scene);

// Saves every node's bond list into oldp; WPTAtEnd0 := WPTAtEnd.
void CopyAddMatr(TLVScene& scene);
// ArrAt := every node in list order. Every change of the node list is followed by it
// before the next paint or pick (it counts the change in NodeListStamp).
void StackToArr(TLVScene& scene);
// Orders an element list by radius, largest first (exchange sort).
void SortME(TArrOfElement& elements);

// Lattice translations.
ShIVector AddTr(const ShIVector& a, const ShIVector& b);
ShIVector SubTr(const ShIVector& a, const ShIVector& b);

} // namespace ormaline
