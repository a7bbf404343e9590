// Internals shared by the scene build files.
#pragma once

#include "viewer/core/LVScene.h"

namespace ormaline {

class TNodeIndex;

namespace detail {

// Puts an atom node at WPTAtEnd, where it becomes the new WPTAtEnd; returns the node it
// now follows (nullptr: the head of the list).
tTopAt* InsertAtomNode(TLVScene& scene, tTopAt* node);
// MultTransAtom with an index of the scene that it keeps up to date.
void MultTransAtom(TLVScene& scene, TNodeIndex& index, tTopAt* node, const ShIVector& trans);

} // namespace detail
} // namespace ormaline
