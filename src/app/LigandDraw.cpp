// "Draw": the selected ligand read again and shown in a new viewer window.
#include "app/TTLUnit.h"

#include "app/ViewerHandoff.h"
#include "app/WidgetText.h"
#include "app/core/LigandHandoff.h"
#include "platform/StringGrid.h"
#include "viewer/maler.h"

#include <QLineEdit>

#include <memory>

namespace ormaline {

namespace {

TLigandPanelTexts PanelTexts(const TfrmTTLServices& window) {
    TLigandPanelTexts panel;
    const QLineEdit* cell[6] = {window.edLength_a,    window.edLength_b,   window.edLength_c,
                                window.edAngel_alpha, window.edAngel_beta, window.edAngel_gamma};
    for (std::size_t i = 0; i < 6; ++i)
        panel.Cell[i] = Text(cell[i]);
    for (int row = 1; row < window.sgLigAtoms->RowCount(); ++row)
        panel.AtomRows.push_back(window.sgLigAtoms->RowTexts(row));
    for (int row = 1; row < window.sgLigBonds->RowCount(); ++row)
        panel.BondCells.push_back(window.sgLigBonds->Cell(1, row));
    return panel;
}

} // namespace

void TfrmTTLServices::actLigDrawExecute() {
    // An error of the read ends the command before any window exists.
    btnTTLReadClick();
    // The window belongs to the application: it frees itself when the user closes it.
    // Until it is shown it is held here, so that a conversion error frees it unshown.
    std::unique_ptr<TLVForm> viewer = NewHandoffViewer();
    TLVScene& scene = viewer->Scene();
    BuildLigandCompound(PanelTexts(*this), scene.CompParamMaler);
    scene.ShowMoleculeOnly = true;
    viewer->Create1Click();
    viewer.release()->show();
}

} // namespace ormaline
