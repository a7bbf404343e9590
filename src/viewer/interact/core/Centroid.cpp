#include "viewer/interact/core/Centroid.h"

#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/ElementCodes.h"
#include "model/NumberFormat.h"
#include "model/Symmetry.h"
#include "viewer/core/Legend.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ormaline {
namespace {

constexpr double kSamePlace = 1e-4;

bool Near(const DVector& a, const DVector& b) {
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (std::fabs(a[axis] - b[axis]) > kSamePlace)
            return false;
    return true;
}

DVector Position(const tTopAt& node) {
    return {node.k[0], node.k[1], node.k[2]};
}

DVector ModelToFractional(const TLVScene& scene, const DVector& V) {
    const tCompParam& comp = scene.CompParamMaler;
    DVector f = V;
    if (comp.ParamTTO.NOrth)
        OrthToFract(f, comp.ParamTTO);
    for (std::size_t axis = 0; axis < 3; ++axis)
        f[axis] = f[axis] / comp.DC.Tr[axis] + scene.WDeltaVec[axis];
    return f;
}

const t_element* ElementEntry(const tCompParam& comp, std::int16_t code) {
    for (const t_element& element : comp.MEl)
        if (element.n == code)
            return &element;
    return nullptr;
}

} // namespace

std::optional<TCentroid> SelectionCentroid(const TLVScene& scene) {
    if (scene.WInsAt == nullptr)
        return std::nullopt;
    TCentroid centroid;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        for (std::size_t axis = 0; axis < 3; ++axis)
            centroid.centre[axis] += record->PTA->k[axis];
        ++centroid.count;
    }
    for (double& component : centroid.centre)
        component /= centroid.count;
    for (const tInsAt* record = scene.WInsAt; record != nullptr; record = record->plo) {
        const DVector p = Position(*record->PTA);
        centroid.meanDistance += VecLen(
            {p[0] - centroid.centre[0], p[1] - centroid.centre[1], p[2] - centroid.centre[2]});
    }
    centroid.meanDistance /= centroid.count;
    centroid.name = "&C(" + StrVector(scene, centroid.centre) + ")";
    centroid.report = "Center for " + std::to_string(centroid.count) + " atoms: " + centroid.name +
                      " <r>=" + FormatFixed(centroid.meanDistance, 2) + " A";
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
        if (!node->PolyVert && node->pSAt != nullptr && Near(Position(*node), centroid.centre)) {
            centroid.existing = node;
            break;
        }
    return centroid;
}

std::optional<std::string> CoincidenceMessage(const TCentroid& centroid) {
    if (centroid.existing == nullptr)
        return std::nullopt;
    std::string symbol(ElSymbol(centroid.existing->pSAt->A.n));
    if (!symbol.empty() && symbol.front() == '&')
        symbol.insert(symbol.begin(), '&');
    return "Pseudoatom &" + centroid.name + " coincides with " + symbol +
           std::to_string(centroid.existing->pSAt->A.i) + ".";
}

bool AsksToAdd(const TCentroid& centroid) {
    return centroid.existing == nullptr || (centroid.existing->c & kNodeVisible) == 0;
}

std::string AddQuestion(const TCentroid& centroid) {
    return "Add pseudoatom &" + centroid.name + "?";
}

TNewAtom AddNewAtom(TLVScene& scene, const DVector& V, std::int16_t code, int check) {
    TNewAtom result;
    tCompParam& comp = scene.CompParamMaler;
    const DVector f = ModelToFractional(scene, V);
    if (check == 1)
        for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li)
            if (atom->A.n == code && Near(atom->A.k, f))
                return result;
    if (ElementEntry(comp, code) == nullptr) {
        t_element entry;
        entry.n = code;
        entry.r = 0.5f;
        comp.MEl.push_back(entry);
        comp.NumElComp = static_cast<std::int32_t>(comp.MEl.size());
        ApplyElementRadii(scene);
        scene.NumAllTop = std::max(scene.NumAllTop, static_cast<std::int32_t>(code) - 110);
        result.elementAdded = true;
    }

    std::int32_t index = 0, number = 0;
    for (const tSteckAt* atom = comp.pAtEnd; atom != nullptr; atom = atom->li) {
        if (atom->A.n == code)
            index = std::max(index, std::abs(atom->A.i));
        number = std::max(number, atom->i);
    }
    tSteckAt* atom = NewSteckAt();
    atom->A.n = code;
    atom->A.i = index + 1;
    atom->A.S = 1.0f;
    atom->A.k = f;
    atom->i = number + 1;
    SiteSymmetry(comp, *atom);
    // Its symmetry images; for the space group P 1 of these compounds the atom itself.
    GenerateOrbit(comp, 'P', 0, 0.00001, atom);

    tTopAt* before = nullptr;
    for (tTopAt* node = scene.WPTAll; node != nullptr && node != scene.WPTAtEnd; node = node->li)
        before = node;
    const t_element* element = ElementEntry(comp, code);
    tSteckAt* last = atom;
    for (tSteckAt* image = atom; image != nullptr; image = image->li) {
        tTopAt* node = NewTopAt();
        node->nm = scene.WLVO.NumModel;
        node->rad = element != nullptr ? element->r : 0.5f;
        const DVector k = FractionalToModel(scene, image->A.k);
        node->k = {static_cast<float>(k[0]), static_cast<float>(k[1]), static_cast<float>(k[2])};
        node->c = Near(k, V) ? kNodeVisible : 0;
        node->pSAt = image;
        node->li = scene.WPTAtEnd;
        (before != nullptr ? before->li : scene.WPTAll) = node;
        scene.WPTAtEnd = node;
        ++scene.WCountAt;
        if (image == atom)
            result.node = node;
        last = image;
    }
    const bool firstIsIndependent = comp.pAt0 == comp.pAtEnd;
    last->li = comp.pAtEnd;
    comp.pAtEnd = atom;
    if (firstIsIndependent)
        comp.pAt0 = atom;
    ++comp.DC.at_;
    return result;
}

TNewAtom AcceptCentroid(TLVScene& scene, const TCentroid& centroid) {
    const TNewAtom added = AddNewAtom(scene, centroid.centre, kCentroidElement, 1);
    StackToArr(scene);
    ReadLegInd(scene, false);
    if (centroid.existing != nullptr) {
        scene.PTMAt = centroid.existing;
        SpecAt(scene, 1);
    }
    return added;
}

void DeclineCentroid(TLVScene& /*scene*/, const TCentroid& centroid) {
    tTopAt* node = centroid.existing;
    if (node != nullptr && (node->c & kNodeVisible) == 0)
        node->c =
            static_cast<std::uint8_t>((node->c | kNodeVisible) & ~(kNodeHidden32 | kNodeHidden64));
}

} // namespace ormaline
