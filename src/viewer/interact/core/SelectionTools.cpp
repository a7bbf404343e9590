#include "viewer/interact/core/SelectionTools.h"

#include "model/TextUtil.h"
#include "viewer/core/ElementTables.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"
#include "viewer/interact/core/Editing.h"

#include <algorithm>
#include <utility>

namespace ormaline {
namespace {

constexpr std::uint8_t kComplementMark = 128;

std::size_t Ix(int oneBased) {
    return static_cast<std::size_t>(std::clamp(oneBased, 1, 3) - 1);
}

std::int16_t ElementOf(const tTopAt& node) {
    return node.pSAt != nullptr ? node.pSAt->A.n : std::int16_t{0};
}

// The node's tint, or its element's colour when it has none.
TColor EffectiveColour(const tTopAt& node) {
    return node.lAColor != clNone ? node.lAColor : ElementColor(ElementOf(node));
}

tTopAt* FirstShown(const TLVScene& scene) {
    return scene.WLVO.ShowVertex ? scene.WPTAll : scene.WPTAtEnd;
}

bool WandMatches(const tTopAt& node, const tTopAt& current, int keyAt, int row, TColor reference) {
    switch (keyAt) {
    case kWandCrystSort:
        return node.pSAt->A.n == current.pSAt->A.n && node.pSAt->A.i == current.pSAt->A.i;
    case kWandChemSort:
        return node.pSAt->A.n == current.pSAt->A.n;
    case kWandOneColour:
        return row >= 0 ? node.LegInd == current.LegInd : EffectiveColour(node) == reference;
    case kWandSelected:
        return node.PIAt != nullptr;
    case kWandAllAtoms:
        return true;
    default:
        return false;
    }
}

} // namespace

TRegionLimits& RegionLimits() {
    static TRegionLimits limits{-4.0f, 4.0f, -4.0f, 4.0f, -0.5f, 0.5f};
    return limits;
}

void MagicWandClick(TLVScene& scene, TViewColours& colours, int keyAt, int command, int selColour,
                    TBrushStyle newFill, TColor oldColour, TColor newColour, int row) {
    tTopAt* current = scene.PTCurrAt;
    // A legend row that no visible node carries leaves nothing to work on.
    if (current == nullptr || current->pSAt == nullptr)
        return;
    KeepState(scene, command == kWandChangeColour ? 23 : 3,
              command == kWandChangeColour ? "Magic wand" : "Select atoms");
    scene.NoUndo = false;
    scene.PTMAt = current;
    const auto apply = [&](tTopAt* node) {
        scene.PTMAt = node;
        switch (command) {
        case kWandChangeColour:
            node->lAColor = newColour;
            node->FillStyle = newFill;
            break;
        case kWandSelect:
        case kWandDelete:
        case kWandRestore:
            SpecAt(scene, selColour != 0 && selColour != 1 ? selColour : 1);
            break;
        case kWandUnselect:
            NotSpecAt(scene, 0);
            break;
        default:
            break;
        }
    };
    if (keyAt == kWandAtom) {
        apply(current);
    } else {
        const TColor reference = EffectiveColour(*current);
        for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
            if (node->pSAt != nullptr && (node->c & kNodeVisible) != 0 &&
                WandMatches(*node, *current, keyAt, row, reference))
                apply(node);
    }
    if (keyAt == kWandChemSort && command == kWandChangeColour) {
        if (scene.WLVO.GrColor) {
            std::replace(colours.ColorGr.begin(), colours.ColorGr.end(), oldColour, newColour);
        } else {
            const int code = current->pSAt->A.n;
            if (code >= 0 && code < kElementTableSize)
                ElementColorTable()[static_cast<std::size_t>(code)] = newColour;
        }
    }
    // Delete and Restore record their own states, so that undo brings back what they
    // hid or showed and not only the selection the wand made.
    scene.NoUndo = true;
    if (command == kWandDelete)
        Delete1Click(scene);
    else if (command == kWandRestore)
        Restore1Click(scene);
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

void Invert1Click(TLVScene& scene) {
    KeepState(scene, 3, "Complement selection");
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        record->PTA->c |= kComplementMark;
    NotInsAllAtom(scene);
    for (tTopAt* node = FirstShown(scene); node != nullptr; node = node->li) {
        if ((node->c & kComplementMark) != 0 || (node->c & kNodeVisible) == 0) {
            node->c = static_cast<std::uint8_t>(node->c & ~kComplementMark);
            continue;
        }
        scene.PTMAt = node;
        SpecAt(scene, 1);
    }
    scene.PTMAt = scene.WPTAtEnd;
}

bool ShowSelectionOnly1Click(TLVScene& scene) {
    if (scene.WInsAt == nullptr)
        return false;
    KeepState(scene, 7, "Show selection only");
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        node->c = node->PIAt != nullptr ? static_cast<std::uint8_t>(node->c | kNodeVisible)
                                        : static_cast<std::uint8_t>(node->c & ~kNodeVisible);
    return true;
}

void ReadLimitTexts(TRegionLimits& limits, const std::array<std::string, 6>& texts) {
    for (std::size_t i = 0; i < 6; ++i)
        if (const std::optional<double> value = ParseNumber(texts[i]))
            limits[i] = static_cast<float>(*value);
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (limits[2 * axis] > limits[2 * axis + 1])
            std::swap(limits[2 * axis], limits[2 * axis + 1]);
}

std::optional<double> ParseRadius(std::string_view text) {
    if (Trim(text).empty())
        return 0.0;
    return ParseNumber(text);
}

DVector RegionCentre(const TLVScene& scene) {
    return DetCentreN(scene, 2 | 8);
}

bool SelectRegion(TLVScene& scene, const TRegionLimits& limits, double radius) {
    const int cutMode = scene.WLVO.CutMode;
    double r2 = 0.0;
    if (cutMode == 2 || cutMode == 3) {
        if (!(radius >= 1e-5))
            return false;
        r2 = (radius + 1e-5) * (radius + 1e-5);
    } else if (cutMode != 1) {
        return false;
    }
    KeepState(scene, 3, "Select region");
    const TLatvistaOpt& o = scene.WLVO;
    const std::size_t l1 = Ix(o.L1), l2 = Ix(o.L2);
    const DVector& centre = scene.VCentre;
    const auto inside = [&](const tTopAt& node) {
        if (cutMode == 1) {
            const DVector f = NodeFractional(node);
            for (std::size_t axis = 0; axis < 3; ++axis)
                if (!(limits[2 * axis] < f[axis] && f[axis] < limits[2 * axis + 1]))
                    return false;
            return true;
        }
        const DVector v = RotorCoordAt(scene, node.k);
        if (cutMode == 2)
            return (v[l1] - centre[l1]) * (v[l1] - centre[l1]) +
                       (v[l2] - centre[l2]) * (v[l2] - centre[l2]) <
                   r2;
        double d2 = 0.0;
        for (std::size_t axis = 0; axis < 3; ++axis)
            d2 += (v[axis] - centre[axis]) * (v[axis] - centre[axis]);
        return d2 < r2;
    };
    for (tTopAt* node = FirstShown(scene); node != nullptr; node = node->li) {
        if ((node->c & kNodeVisible) == 0 || !inside(*node))
            continue;
        scene.PTMAt = node;
        SpecAt(scene, 1);
    }
    return true;
}

} // namespace ormaline
