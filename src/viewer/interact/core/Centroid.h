// The centre of the selected atoms and the pseudo-atom that marks it, and adding an
// atom to the compound and the scene. Positions are model coordinates (Cartesian,
// angstrom, cell centre at the origin).
#pragma once

#include "viewer/core/LVScene.h"

#include <optional>
#include <string>

namespace ormaline {

// Element code of the centroid's pseudo-atom.
inline constexpr std::int16_t kCentroidElement = 113;

struct TCentroid {
    DVector centre{};          // mean position of the selected atoms
    double meanDistance = 0.0; // mean distance of the selected atoms from it
    std::int32_t count = 0;
    std::string name;   // "&C( x y z)", fractional, five decimals
    std::string report; // "Center for n atoms: " + name + " <r>=" ... " A"
    // A node already at the centre (not a cell corner), or none.
    tTopAt* existing = nullptr;
};

// The centroid of the selection; nothing without a selection.
std::optional<TCentroid> SelectionCentroid(const TLVScene& scene);
// "Pseudoatom &" + name + " coincides with " + symbol + index + "." when a node is there.
std::optional<std::string> CoincidenceMessage(const TCentroid& centroid);
// True when the user is asked to add the pseudo-atom: no node at the centre, or a hidden one.
bool AsksToAdd(const TCentroid& centroid);
// "Add pseudoatom &" + name + "?"
std::string AddQuestion(const TCentroid& centroid);

// What AddNewAtom changed.
struct TNewAtom {
    tTopAt* node = nullptr;    // the new node; none when nothing was added
    bool elementAdded = false; // the element table got an entry (and was re-sorted)
};

// Adds an atom of element `code` at the model position V to the compound (first in its
// atom list) and a node for it at the front of the scene's atom section, visible. With
// check = 1 nothing is added when an atom of that element already lies there (1e-4 per
// fractional coordinate). No undo record is made.
TNewAtom AddNewAtom(TLVScene& scene, const DVector& V, std::int16_t code, int check);

// "Yes": the pseudo-atom is added, the node list and legend rows are made again, and a
// node found at the centre is selected with colour 1.
TNewAtom AcceptCentroid(TLVScene& scene, const TCentroid& centroid);
// "No": a hidden node found at the centre is shown again.
void DeclineCentroid(TLVScene& scene, const TCentroid& centroid);

} // namespace ormaline
