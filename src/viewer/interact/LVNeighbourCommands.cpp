// The neighbour table of the viewer window.
#include "viewer/maler.h"

namespace ormaline {

void TLVForm::ShowNeighbourTable(tTopAt& node) {
    // The neighbour table comes with the calculations; until then nothing opens.
    (void)node;
}

} // namespace ormaline
