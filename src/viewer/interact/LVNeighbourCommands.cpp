// The neighbour table of the viewer window.
#include "viewer/maler.h"

#include "viewer/interact/VDPData.h"

namespace ormaline {

void TLVForm::ShowNeighbourTable(tTopAt& node) {
    TListViewForm form(this);
    form.Fill(node);
    form.exec();
}

} // namespace ormaline
