#include "viewer/core/SceneActions.h"

#include "viewer/core/SceneOps.h"

#include <unordered_map>

namespace ormaline {
namespace {

void CountSelection(TLVScene& scene, int colour, int sign) {
    std::uint32_t low = scene.NumInsAt & 0xFFFFu;
    std::uint32_t high = scene.NumInsAt >> 16;
    const auto step = [sign](std::uint32_t& counter) {
        if (sign > 0) {
            if (counter < 0xFFFFu)
                ++counter;
        } else if (counter > 0) {
            --counter;
        }
    };
    if (colour == 1 || colour == 3)
        step(low);
    if (colour == 2 || colour == 3)
        step(high);
    scene.NumInsAt = (high << 16) | low;
    scene.CountInsAt += sign;
}

bool HasElement(const tTopAt& node) {
    return node.pSAt != nullptr && node.pSAt->A.n != 0;
}

} // namespace

std::int32_t PackPosName(int dx, int dy) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint16_t>(dx));
    const auto high = static_cast<std::uint32_t>(static_cast<std::uint16_t>(dy));
    return static_cast<std::int32_t>((high << 16) | low);
}

int PosNameDx(std::int32_t packed) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(packed) & 0xFFFFu);
}

int PosNameDy(std::int32_t packed) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(packed) >> 16);
}

void SpecAt(TLVScene& scene, int colour) {
    tTopAt* node = scene.PTMAt;
    if (node == nullptr)
        return;
    if (colour <= 0) {
        NotSpecAt(scene, -colour);
        return;
    }
    // Cell corners and the other auxiliary points are never selected.
    if (colour > 3 || (node->c & kNodeAuxiliary) != 0)
        return;
    if (tInsAt* record = node->PIAt) {
        if (record->col == colour)
            return;
        CountSelection(scene, record->col, -1);
        record->oldcol = record->col;
        record->col = static_cast<std::uint16_t>(colour);
        CountSelection(scene, colour, +1);
        return;
    }
    tInsAt* record = NewInsAt();
    record->PTA = node;
    record->col = static_cast<std::uint16_t>(colour);
    record->oldcol = 0;
    record->plo = scene.WInsAt;
    if (scene.WInsAt != nullptr)
        scene.WInsAt->phi = record;
    scene.WInsAt = record;
    node->PIAt = record;
    CountSelection(scene, colour, +1);
}

void NotSpecAt(TLVScene& scene, int colour) {
    tTopAt* node = scene.PTMAt;
    if (node == nullptr || node->PIAt == nullptr)
        return;
    tInsAt* record = node->PIAt;
    if (colour != 0 && record->col != colour)
        return;
    if (record->phi != nullptr)
        record->phi->plo = record->plo;
    else
        scene.WInsAt = record->plo;
    if (record->plo != nullptr)
        record->plo->phi = record->phi;
    CountSelection(scene, record->col, -1);
    node->PIAt = nullptr;
    DisposeInsAt(record);
}

void InsAllAtom(TLVScene& scene, int colour) {
    KeepState(scene, 3, "Select all atoms");
    tTopAt* first = scene.WLVO.ShowVertex ? scene.WPTAll : scene.WPTAtEnd;
    for (tTopAt* node = first; node != nullptr; node = node->li) {
        if ((node->c & kNodeVisible) == 0 || node->pSAt == nullptr)
            continue;
        scene.PTMAt = node;
        SpecAt(scene, colour);
    }
}

void NotInsAllAtom(TLVScene& scene) {
    scene.FreeSelection();
    scene.PTMAt = scene.WPTAtEnd;
}

void NewDataPTAt(TLVScene& scene, int key) {
    const TLatvistaOpt& options = scene.WLVO;
    if (key == 1 && options.AtomLabels == 0)
        scene.WPosName = 0;
    const bool labels = options.AtomLabels != 0;
    const auto labelBits =
        static_cast<std::uint8_t>((options.BondLabels * 4) & (kBondLabelKinds | kBondLabelLength));
    const auto setBondLabels = [labelBits](tTopAt& node, bool selectedPartnersOnly) {
        for (tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
            if ((bond->c & kBondOpen) != 0)
                continue;
            if (selectedPartnersOnly && (bond->p == nullptr || bond->p->PIAt == nullptr))
                continue;
            bond->c = static_cast<std::uint8_t>((bond->c & ~(kBondLabelKinds | kBondLabelLength)) |
                                                labelBits);
        }
    };
    if (scene.WInsAt != nullptr) {
        KeepState(scene, 8, "Model selected atoms");
        for (tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
            tTopAt& node = *record->PTA;
            switch (key) {
            case 0:
                node.nm = options.NumModel;
                break;
            case 1:
            case 11:
                if (labels && !node.LabelExist)
                    node.PosName = 0;
                node.LabelExist = labels;
                node.PosName = PackPosName(PosNameDx(node.PosName) + PosNameDx(scene.lWPosName),
                                           PosNameDy(node.PosName) + PosNameDy(scene.lWPosName));
                break;
            case 12:
                setBondLabels(node, true);
                break;
            default:
                break;
            }
        }
        return;
    }
    KeepState(scene, 9, "Model all atoms");
    tTopAt* first = options.ShowVertex ? scene.WPTAll : scene.WPTAtEnd;
    for (tTopAt* node = first; node != nullptr; node = node->li) {
        switch (key) {
        case 0:
            if (HasElement(*node))
                node->nm = options.NumModel;
            break;
        case 1:
        case 11:
            node->LabelExist = labels;
            node->PosName = scene.WPosName;
            break;
        case 12:
            setBondLabels(*node, false);
            break;
        default:
            break;
        }
    }
}

void ApplyElementRadii(TLVScene& scene) {
    TArrOfElement& elements = scene.CompParamMaler.MEl;
    std::unordered_map<std::int16_t, float> radii;
    for (t_element& element : elements) {
        const int index = element.n < 1 || element.n > kMaxElementCode ? 111 : element.n;
        element.r = scene.WLVO.RadAt[static_cast<std::size_t>(index)];
        radii[element.n] = element.r;
    }
    if (!scene.HasScene())
        return;
    SortME(elements);
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li) {
        if (node->pSAt == nullptr)
            continue;
        const auto found = radii.find(node->pSAt->A.n);
        if (found != radii.end())
            node->rad = found->second;
    }
}

void InitWindowScene(TLVScene& scene, const TLatvistaOpt& processWide) {
    scene.WLVO = processWide;
    if (scene.WLVO.ModelCryst > 253)
        scene.WLVO.ModelCryst = 1;
    scene.WLVO.SelInsAt = true;
    scene.WLVO.RadAt = ElementRadiiTable(scene.WLVO.RadSyst);
    scene.FreeSelection();
    scene.WPosName = scene.lWPosName = 0;
    scene.NumAllTop = 0;
    scene.CoefMas = 1.0;
    scene.MouseMode = 1;
    scene.MouseMove = false;
    scene.MWType = scene.MWComand = 0;
    scene.dwTickCount = 0;
    scene.IsFirstClick = false;
    scene.rx_ = -1;
    scene.WCurrentAtom = scene.WLVO.CurrentAtom;
    scene.Undo->ClearHistory();
    scene.NoUndo = true;
    scene.ShowMoleculeOnly = false;
}

void SetDrawingModel(TLVScene& scene, int model) {
    scene.WLVO.NumModel = model;
    NewDataPTAt(scene, 0);
}

void ToggleAtomLabels(TLVScene& scene) {
    scene.WLVO.AtomLabels = scene.WLVO.AtomLabels != 0 ? 0 : 3;
    NewDataPTAt(scene, 1);
}

void ToggleBondLabels(TLVScene& scene) {
    scene.WLVO.BondLabels = scene.WLVO.BondLabels != 0 ? 0 : 2;
    NewDataPTAt(scene, 12);
}

void RadPlus(TLVScene& scene) {
    std::uint8_t& part = scene.WLVO.PartRad;
    part = part > 1 ? static_cast<std::uint8_t>(part - 1) : std::uint8_t{3};
}

void ToggleOption(TLVScene& scene, int code, std::string_view remark, bool TLatvistaOpt::*option) {
    KeepState(scene, code, remark);
    scene.WLVO.*option = !(scene.WLVO.*option);
}

void ToggleColouredBonds(TLVScene& scene) {
    ToggleOption(scene, 14, "Color bonds", &TLatvistaOpt::ColBonds);
}

void ToggleBlackWhite(TLVScene& scene) {
    ToggleOption(scene, 12, "Black and white", &TLatvistaOpt::Black_White);
}

void SetRenderMode(TLVScene& scene, int tag) {
    KeepState(scene, 24, "Image model");
    scene.WLVO.ModelCryst = static_cast<std::uint8_t>(tag == 1 ? 1 : 0);
}

} // namespace ormaline
