// "Options": the options dialog on a copy of the window's options, and how the window
// applies the result.
#include "viewer/maler.h"

#include "platform/UserDialogs.h"
#include "viewer/GLRenderer.h"
#include "viewer/LVGLView.h"
#include "viewer/LVOpt.h"
#include "viewer/core/Legend.h"
#include "viewer/core/SceneActions.h"

#include <QTabWidget>
#include <QTimer>

namespace ormaline {

void TLVForm::Options1Click() {
    const TColor oldBackground = WLVO().WGBCol;
    TLatvistaOptForm dialog(this);
    dialog.lLVO = WLVO();
    dialog.ParamToLVO();
    dialog.pcOptions->setCurrentIndex(CurrentOptionTabNumber);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    bool rebuild = false;
    if (accepted) {
        TLVScene& scene = *scene_;
        CurrentOptionTabNumber = dialog.pcOptions->currentIndex();
        const TOptionChanges changes = CompareOptions(WLVO(), dialog.lLVO, dialog.DefaultOpt);
        rebuild = changes.rebuild;
        const bool cellBefore = (WLVO().NumSeeBond & cbCellEdge) != 0;
        const bool groupBefore = WLVO().GrColor;
        WLVO() = dialog.lLVO;
        if (dialog.ReadNewRad) {
            if (WLVO().AdjMatrix == 0 && Dialogs().Confirm("Recalculate adjacency matrix?"))
                rebuild = true;
            ApplyElementRadii(scene);
            dialog.ReadNewRad = false;
        }
        if (changes.legend) {
            colours_.ColorGr = GroupColorTable;
            ReadLegInd(scene, true);
        }
        if (scene.HasScene()) {
            if (changes.atomLabels)
                NewDataPTAt(scene, 1);
            if (changes.bondLabels)
                NewDataPTAt(scene, 12);
            if (changes.model)
                NewDataPTAt(scene, 0);
        }
        // Controls that differ from the new settings follow them.
        const bool cellNow = (WLVO().NumSeeBond & cbCellEdge) != 0;
        if (cellNow && !cellBefore)
            ShowCellCorners(scene);
        if (WLVO().GrColor != groupBefore && !changes.legend)
            colours_.ColorGr = GroupColorTable;
        if (!WLVO().KeepForUndo)
            scene.Undo->ClearHistory();
        SyncControls();
        if (NotErOpenGL && surface_->context() != nullptr) {
            surface_->makeCurrent();
            renderer_->InitLight(WLVO(), colours_, WLVO().WGBCol != oldBackground);
            surface_->doneCurrent();
        } else {
            InitViewColours(colours_, WLVO(), WLVO().WGBCol != oldBackground);
        }
        SwitchRotation(rotationOn_);
        WLVO().DataToFile = false;
    }
    RebuildGlyphs();
    if (rebuild) {
        NotInsAllAtom(*scene_);
        scene_->FreeScene();
        Create1Click();
    } else {
        FormResize();
    }
}

} // namespace ormaline
