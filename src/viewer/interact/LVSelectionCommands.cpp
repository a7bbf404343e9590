// The selection tools' dialogs of the viewer window: the region of the cut shapes and
// the magic wand opened from the mouse.
#include "viewer/maler.h"

#include "platform/UserDialogs.h"
#include "viewer/core/ElementTables.h"
#include "viewer/interact/LimRect.h"
#include "viewer/interact/MagicWandUnit.h"
#include "viewer/interact/core/Calculations.h"
#include "viewer/interact/core/InteractShared.h"
#include "viewer/interact/core/SelectionTools.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>

#include <cmath>

namespace ormaline {
namespace {

// The colour of what the wand was used on: an atom (node) or a legend row.
TColor WandColourOf(const TLVScene& scene, const TViewColours& colours, const tTopAt* node,
                    int row) {
    const TLatvistaOpt& o = scene.WLVO;
    const TRecLeg* legend = row >= 0 && static_cast<std::size_t>(row) < scene.ArrLeg.size()
                                ? &scene.ArrLeg[static_cast<std::size_t>(row)]
                                : nullptr;
    if (o.Black_White) {
        if (legend != nullptr && o.LegMode == 4) {
            const auto grey = static_cast<TColor>(std::nearbyint(255.0 * legend->KTint));
            return grey | (grey << 8) | (grey << 16);
        }
        return 0xFFFFFF;
    }
    if (node != nullptr) {
        const int code = node->pSAt != nullptr ? node->pSAt->A.n : 0;
        if (node->lAColor != clNone)
            return node->lAColor;
        if (o.GrColor)
            return GroupColorOf(code, colours.ColorGr);
        if (o.LegMode == 4)
            return ParamColor(*node, colours);
        return ElementColor(code);
    }
    if (legend == nullptr)
        return 0;
    if (o.GrColor)
        return GroupColorOf(legend->n, colours.ColorGr);
    if (o.LegMode == 4)
        return static_cast<TColor>(255u << static_cast<int>(std::nearbyint(16.0 * legend->KTint)));
    return ElementColor(legend->n);
}

} // namespace

void TLVForm::actSelectRegionExecute() {
    if (!CanRunSceneCommands())
        return;
    TLVScene& scene = *scene_;
    const int cutMode = WLVO().CutMode;
    TRegionLimits& limits = RegionLimits();
    double radius = 0.0;
    if (cutMode == 1) {
        TFLimRect dialog(this);
        dialog.SetLimits(limits);
        if (dialog.exec() != QDialog::Accepted)
            return;
        ReadLimitTexts(limits, dialog.Texts());
    } else if (cutMode == 2 || cutMode == 3) {
        scene.VCentre = RegionCentre(scene);
        const std::string caption =
            std::string("Radius of selected ") + (cutMode == 2 ? "circle" : "sphere");
        std::string text;
        for (;;) {
            const std::optional<std::string> answer = Dialogs().Input(caption, "Radius", text);
            if (!answer)
                return;
            if (const std::optional<double> value = ParseRadius(*answer)) {
                radius = *value;
                break;
            }
            text = *answer;
            Dialogs().Error("Error in radius string: " + text);
        }
    }
    if (!SelectRegion(scene, limits, radius))
        return;
    Repaint();
    if (std::optional<std::string> line = Dimension(scene))
        OutPutToStatusBar1(*line);
}

void TLVForm::MagicWandFromMouse(tTopAt* node, int row) {
    TLVScene& scene = *scene_;
    TInteractShared& shared = InteractShared();
    scene.PTCurrAt = node;
    if (node != nullptr)
        row = -1;
    shared.WandColor = WandColourOf(scene, colours_, node, row);
    if (node != nullptr)
        shared.WandFill = node->FillStyle;
    else if (row >= 0 && static_cast<std::size_t>(row) < scene.ArrLeg.size())
        shared.WandFill = scene.ArrLeg[static_cast<std::size_t>(row)].LegFillStyle;
    else
        return;
    TMagicWandForm& dialog = MagicWandForm();
    dialog.ImageComboBox->setCurrentIndex(shared.WandFill);
    dialog.CommandComboBox->setCurrentIndex(scene.MWComand);
    dialog.SetDoforIndex(node != nullptr ? scene.MWType : kWandOneColour);
    dialog.DoforGroup->setEnabled(node != nullptr);
    const TColor c = shared.WandColor;
    dialog.ColorPanel->setStyleSheet(QString("background-color: rgb(%1,%2,%3)")
                                         .arg(c & 0xFF)
                                         .arg((c >> 8) & 0xFF)
                                         .arg((c >> 16) & 0xFF));
    if (dialog.exec() == QDialog::Accepted) {
        scene.MWType = dialog.DoforIndex();
        const auto fill =
            static_cast<TBrushStyle>(std::max(0, dialog.ImageComboBox->currentIndex()));
        if (row >= 0) {
            const std::int16_t element = scene.ArrLeg[static_cast<std::size_t>(row)].n;
            for (TRecLeg& legendRow : scene.ArrLeg)
                if (&legendRow == &scene.ArrLeg[static_cast<std::size_t>(row)] ||
                    legendRow.n == element)
                    legendRow.LegFillStyle = fill;
            scene.PTCurrAt = FirstNodeOfRow(scene, row);
        }
        scene.MWComand = std::max(0, dialog.CommandComboBox->currentIndex());
        MagicWandClick(scene, colours_, scene.MWType, scene.MWComand, 1, fill, shared.WandColor, 0,
                       row);
        Repaint();
    }
    if (std::optional<std::string> line = Dimension(scene))
        OutPutToStatusBar1(*line);
}

} // namespace ormaline
