// A new viewer window as the ligand handoff and the subgraph "View" give it: owned by
// the application (freed when closed), its options copy reset to the defaults, no
// calling program and no base-file position. The caller fills its compound, sets
// ShowMoleculeOnly, runs Create1Click and shows it.
#pragma once

#include "viewer/maler.h"

#include <memory>

namespace ormaline {

std::unique_ptr<TLVForm> NewHandoffViewer();

} // namespace ormaline
