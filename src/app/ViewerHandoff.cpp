#include "app/ViewerHandoff.h"

#include "viewer/core/LatvistaOpt.h"

namespace ormaline {

std::unique_ptr<TLVForm> NewHandoffViewer() {
    auto viewer = std::make_unique<TLVForm>();
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    TLVScene& scene = viewer->Scene();
    DefaultLatvistaOpt(scene.WLVO);
    scene.WLVO.RadAt = ElementRadiiTable(scene.WLVO.RadSyst);
    viewer->SyncControls();
    scene.LVNumProg = 0;
    scene.MalerCompPos = -1;
    return viewer;
}

} // namespace ormaline
