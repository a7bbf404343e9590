// Editing the scene with the selection: hiding and showing atoms, kinds, bonds and
// half-spaces, adding bonds, and "Show All". Nothing is ever removed from the structure:
// a deletion only clears visibility bits, so that Restore, Show All and undo bring it
// back. Which rule Delete and Restore apply depends on how many atoms are selected with
// which selection colour (NumInsAt, CountInsAt).
#pragma once

#include "viewer/core/LVScene.h"

namespace ormaline {

// Bond visibility over `node`'s bonds: |v| = 1 bonds to atoms of `target`'s element,
// 2 also of its atom index, 3 the closed bond to `target` itself; v < 0 hides, v > 0 shows.
void BondsOfKind(int v, tTopAt& node, const tTopAt& target);
// BondsOfKind(v, N, b) for every atom node N of a's element (and, for |v| = 2, a's index).
void KindBonds(TLVScene& scene, int v, const tTopAt& a, const tTopAt& b);
// Closed bonds a -> b and b -> a of type 1 (made or found, with edit records while
// NoUndo is set). True when both exist afterwards.
bool AddBondPair(TLVScene& scene, tTopAt& a, tTopAt& b);
// Closed bonds of type 1 between every pair of atom nodes of a's and b's elements whose
// squared distance is that of a and b within 1e-4 square angstrom.
void BondsOfEqualLength(TLVScene& scene, const tTopAt& a, const tTopAt& b);
// Shows (key 1) or hides (key 0) every node beyond the plane through the three selected
// nodes, on the side away from the model origin.
void AtomPlane(TLVScene& scene, int key);
// Shows every node of the selected nodes' crystallographic kind (key 0) or element (10).
void Atom(TLVScene& scene, int key);

// The Delete key ("Delete selection"), the Insert key ("Restore") and "Show All".
void Delete1Click(TLVScene& scene);
void Restore1Click(TLVScene& scene);
void RestoreAll1Click(TLVScene& scene);

} // namespace ormaline
