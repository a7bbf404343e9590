// The selection tools' dialogs of the viewer window: the region of the cut shapes and
// the magic wand opened from the mouse.
#include "viewer/maler.h"

namespace ormaline {

void TLVForm::actSelectRegionExecute() {
    // The region dialogs come with the selection tools; until then nothing opens.
}

void TLVForm::MagicWandFromMouse(tTopAt* node, int row) {
    // The magic-wand dialog comes with the selection tools; until then nothing opens.
    (void)node;
    (void)row;
}

} // namespace ormaline
