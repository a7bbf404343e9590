#include "viewer/interact/core/SelectionTools.h"

namespace ormaline {

void MagicWandClick(TLVScene& scene, TViewColours& colours, int keyAt, int command, int selColour,
                    TBrushStyle newFill, TColor oldColour, TColor newColour, int row) {
    // The wand's commands come with the selection tools; until then it changes nothing.
    (void)scene;
    (void)colours;
    (void)keyAt;
    (void)command;
    (void)selColour;
    (void)newFill;
    (void)oldColour;
    (void)newColour;
    (void)row;
}

tTopAt* FirstNodeOfRow(const TLVScene& scene, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= scene.ArrLeg.size())
        return nullptr;
    const std::int32_t ind = scene.ArrLeg[static_cast<std::size_t>(row)].ind;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        if ((node->c & kNodeVisible) != 0 && node->LegInd == ind)
            return node;
    return nullptr;
}

} // namespace ormaline
