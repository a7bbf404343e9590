#include "viewer/interact/core/SelectionReport.h"

#include "viewer/interact/core/PlaneEquations.h"

#include <algorithm>

namespace ormaline {
namespace {

bool IsSelected(const tTopAt* node) {
    return node != nullptr && node->PIAt != nullptr;
}

template <typename Tally> void Count(std::vector<Tally>& tallies, const std::string& name) {
    const auto found = std::find_if(tallies.begin(), tallies.end(),
                                    [&](const Tally& tally) { return tally.StrLeg == name; });
    if (found != tallies.end())
        ++found->num;
    else
        tallies.push_back({1, name});
}

} // namespace

std::string LegendName(const TLVScene& scene, const tTopAt& node) {
    for (const TRecLeg& row : scene.ArrLeg)
        if (row.ind == node.LegInd)
            return row.st;
    return {};
}

std::vector<RecLegComp> LegendComposition(const TLVScene& scene) {
    std::vector<RecLegComp> tallies;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo)
        Count(tallies, LegendName(scene, *record->PTA));
    return tallies;
}

std::string TotalLegComp(const TLVScene& scene) {
    std::string text = " All atoms: ";
    for (const RecLegComp& tally : LegendComposition(scene))
        text += "  " + tally.StrLeg + std::to_string(tally.num) + " ";
    return text + "\r\n\r\n";
}

std::vector<RecLegBond> LegendBonds(const TLVScene& scene) {
    std::vector<RecLegBond> tallies;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        const tTopAt& node = *record->PTA;
        for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li) {
            if ((bond->c & kBondOpen) != 0 || !IsSelected(bond->p) ||
                (bond->cb & scene.WLVO.NumSeeBond) == 0)
                continue;
            const tTopAt& partner = *bond->p;
            const bool nodeFirst = node.LegInd >= partner.LegInd;
            const std::string first = LegendName(scene, nodeFirst ? node : partner);
            const std::string second = LegendName(scene, nodeFirst ? partner : node);
            Count(tallies, first + "-" + second);
        }
    }
    return tallies;
}

std::string TotalLegBond(const TLVScene& scene) {
    std::string text = " All bonds:\r\n";
    for (const RecLegBond& tally : LegendBonds(scene))
        text += "  " + tally.StrLeg + " - " + std::to_string(tally.num / 2) + "\r\n";
    return text + "\r\n";
}

std::string SelectedAtomsReport(TLVScene& scene) {
    std::string text = TotalLegComp(scene) + TotalLegBond(scene);
    const TPlaneTexts& texts = PlaneTexts();
    if (scene.CountInsAt > 2 && EquationPlaneMNK(scene)) {
        CalcPlEq(scene, 1, scene.zx, scene.zx4, scene.MaxDistLoc, scene.Sigma);
        text += " Plane equation in orthogonal coord.: \r\n  " + texts.OrthoEq1 + "\r\n\r\n";
        if (!texts.FracEq1.empty())
            text += " Plane equation in fractional coord.: \r\n  " + texts.FracEq1 + "\r\n\r\n";
    }
    if (scene.CountInsAt > 1 && EquationLineMNK(scene))
        text += " Line equation in orthogonal coord.: \r\n" + texts.LineEq + "\r\n";
    return text;
}

} // namespace ormaline
