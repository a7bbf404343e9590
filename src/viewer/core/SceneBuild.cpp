#include "viewer/core/SceneBuild.h"

#include "model/AdjacencyLinking.h"
#include "model/AtomList.h"
#include "model/CellGeometry.h"
#include "model/Compound.h"
#include "model/Symmetry.h"
#include "viewer/core/BondSearch.h"
#include "viewer/core/Legend.h"
#include "viewer/core/NodeIndex.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/SceneOpsDetail.h"
#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace ormaline {
namespace {

constexpr double kOnFace = 1e-5;

// The contact kind of the compound (1..4) as scene bond kind bits.
std::uint8_t BondTypeOfContact(std::uint8_t kind) {
    switch (kind) {
    case bkValence:
        return cbValence;
    case bkSpecific:
        return cbSpecific;
    case bkVanDerWaals:
        return cbVanDerWaals;
    case bkHydrogen:
        return cbHydrogen;
    default:
        return 0;
    }
}

// Stops a loop: true when the user asked to cancel.
bool Stop(const TSceneBuildMonitor& monitor) {
    return monitor.Cancelled();
}

// Step 2: element list, NumAllTop, radii of the elements.
void PrepareElements(TLVScene& scene) {
    tCompParam& comp = scene.CompParamMaler;
    BuildMEl(comp);
    scene.NumAllTop = 0;
    for (t_element& element : comp.MEl) {
        scene.NumAllTop = std::max(scene.NumAllTop, element.n - 110);
        const int index = element.n < 1 || element.n > kMaxElementCode ? 111 : element.n;
        element.r = scene.WLVO.RadAt[static_cast<std::size_t>(index)];
    }
    SortME(comp.MEl);
}

// Radius of an element code from the compound's element list.
class TElementRadii {
public:
    explicit TElementRadii(const TArrOfElement& elements) {
        for (const t_element& element : elements)
            radii_.emplace(element.n, element.r);
    }
    float Of(std::int16_t code) const {
        const auto found = radii_.find(code);
        return found != radii_.end() ? found->second : 0.0f;
    }

private:
    std::unordered_map<std::int16_t, float> radii_;
};

// Step 3: one node per compound atom, each pushed at the head of the list.
bool MakeAtomNodes(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    const TElementRadii radii(scene.CompParamMaler.MEl);
    for (tSteckAt* atom = scene.CompParamMaler.pAtEnd; atom != nullptr; atom = atom->li) {
        tTopAt* node = NewTopAt();
        node->c = kNodeVisible;
        node->nm = scene.WLVO.NumModel;
        node->lAColor = clNone;
        node->FillStyle = bsSolid;
        node->rrs = 1.0;
        node->pSAt = atom;
        for (int axis = 0; axis < 3; ++axis)
            node->k[axis] = static_cast<float>(atom->A.k[axis]);
        node->rad = radii.Of(atom->A.n);
        node->li = scene.WPTAtEnd;
        scene.WPTAtEnd = node;
        scene.WPTAll = node;
        if (Stop(monitor))
            return false;
    }
    return true;
}

// Step 5: copies of the atoms on the faces through the origin, one axis after the other.
bool MakeBoundaryAtoms(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    monitor.SetStatus(1, "Generating boundary atoms...");
    for (int axis = 0; axis < 3; ++axis) {
        tTopAt* first = scene.WPTAtEnd;
        for (tTopAt* node = first; node != nullptr; node = node->li) {
            if (std::fabs(node->k[axis]) < kOnFace) {
                tTopAt* copy = NewTopAt();
                *copy = *node;
                copy->c = kNodeVisible;
                copy->t[axis] = 1;
                copy->k[axis] = 1.0f;
                copy->p = nullptr;
                copy->oldp = nullptr;
                copy->PIAt = nullptr;
                copy->li = scene.WPTAtEnd;
                scene.WPTAtEnd = copy;
                scene.WPTAll = copy;
            }
            if (Stop(monitor))
                return false;
        }
    }
    return true;
}

// Step 7: fractional positions to model positions, the cell centre as origin.
bool ProcessCoordinates(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    scene.WDeltaVec = {0.5, 0.5, 0.5};
    monitor.SetStatus(1, "Processing coordinates...");
    const tCompParam& comp = scene.CompParamMaler;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        for (int axis = 0; axis < 3; ++axis)
            node->k[axis] =
                static_cast<float>((node->k[axis] - scene.WDeltaVec[axis]) * comp.DC.Tr[axis]);
        if (comp.ParamTTO.NOrth)
            FractToOrth(node->k, comp.ParamTTO);
        if (Stop(monitor))
            return false;
    }
    return true;
}

// Step 8 with stored adjacency: the compound's contacts as bonds.
bool BondsFromContacts(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    std::unordered_map<const tSteckAt*, std::vector<tTopAt*>> nodesOf;
    for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
        nodesOf[node->pSAt].push_back(node);
    TProgressStepper progress(monitor, scene.WCountAt);
    int position = 0;
    for (tTopAt* a = scene.WPTAtEnd; a != nullptr; a = a->li, ++position) {
        for (const tAdjMatr* contact = a->pSAt->PMAd; contact != nullptr; contact = contact->li) {
            const std::uint8_t typeBond = BondTypeOfContact(contact->m);
            const auto partners = nodesOf.find(contact->p);
            if (partners == nodesOf.end())
                continue;
            for (tTopAt* b : partners->second) {
                bool made = false;
                if (contact->a != ShIVector{0, 0, 0}) {
                    const DVector image = DetCoordAt(scene, *b, contact->a);
                    double dist2 = 0.0;
                    for (int axis = 0; axis < 3; ++axis)
                        dist2 += (a->k[axis] - image[axis]) * (a->k[axis] - image[axis]);
                    NewBAt(scene, *a, b, dist2, typeBond, kOpenBond, contact->a, made);
                } else {
                    double dist2 = 0.0;
                    for (int axis = 0; axis < 3; ++axis) {
                        const double d = static_cast<double>(a->k[axis]) - b->k[axis];
                        dist2 += d * d;
                    }
                    NewBAt(scene, *a, b, dist2, typeBond, kClosedBond, {}, made);
                }
            }
        }
        progress.At(position);
        if (Stop(monitor))
            return false;
    }
    return true;
}

// Step 9: atoms on the faces through the origin shown again one cell further, with
// their bonds. `multiply` is the lattice copy used.
template <typename Multiply>
bool MultiplyFaceAtomsWith(TLVScene& scene, const TSceneBuildMonitor& monitor, Multiply multiply) {
    for (int axis = 0; axis < 3; ++axis) {
        ShIVector unit{};
        unit[axis] = 1;
        std::vector<tTopAt*> onFace;
        for (tTopAt* node = scene.WPTAtEnd; node != nullptr; node = node->li)
            if (std::fabs(node->t[axis] + node->pSAt->A.k[axis]) < kOnFace)
                onFace.push_back(node);
        for (tTopAt* node : onFace) {
            multiply(node, unit);
            if (Stop(monitor))
                return false;
        }
    }
    return true;
}

} // namespace

bool MultiplyFaceAtoms(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    TNodeIndex index(scene);
    return MultiplyFaceAtomsWith(scene, monitor, [&](tTopAt* node, const ShIVector& unit) {
        detail::MultTransAtom(scene, index, node, unit);
    });
}

bool MultiplyFaceAtomsStraightforward(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    return MultiplyFaceAtomsWith(scene, monitor, [&](tTopAt* node, const ShIVector& unit) {
        MultTransAtomStraightforward(scene, node, unit);
    });
}

TProgressStepper::TProgressStepper(const TSceneBuildMonitor& monitor, int maximum)
    : monitor_(monitor), maximum_(maximum), step_(std::max(1, maximum / 200)) {}

void TProgressStepper::At(int position) {
    if (position >= next_) {
        monitor_.SetProgress(position, maximum_);
        next_ = position + step_;
    }
}

bool SeeCryst(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    scene.NoUndo = false;
    tCompParam& comp = scene.CompParamMaler;
    const auto cancelled = [&scene]() {
        scene.FreeScene();
        return false;
    };
    monitor.SetStatus(1, "Generating symmetry codes for " + comp.NameSG.Str() + "...");
    // The symmetry tables of the compound's setting, unless its creator built them: the
    // site multiplicities of the selection files read them.
    if (comp.SGMult == 0)
        BuildSGTables(comp);
    PrepareElements(scene);
    if (!MakeAtomNodes(scene, monitor))
        return cancelled();

    const bool stored = scene.WLVO.AdjMatrix == 1 && !scene.WLVO.Sublattice &&
                        LinkAdjMatr(comp.pAt0, comp.pAtEnd) && SpreadAdjMatr(comp);
    if (!stored && !MakeBoundaryAtoms(scene, monitor))
        return cancelled();

    InsCellData(scene);
    ReadLegInd(scene, true);
    scene.WCountAt = CountNodes(scene.WPTAll);

    if (!ProcessCoordinates(scene, monitor))
        return cancelled();

    if (stored) {
        if (!BondsFromContacts(scene, monitor))
            return cancelled();
    } else if (scene.WLVO.AdjMatrix != 2) {
        if (!DetAdjMatrix(scene, monitor))
            return cancelled();
    }
    if (Stop(monitor))
        return cancelled();

    NewRotorCryst(scene);
    if (stored && !scene.ShowMoleculeOnly && !MultiplyFaceAtoms(scene, monitor))
        return cancelled();
    scene.OldWCountAt = scene.WCountAt;
    CopyAddMatr(scene);
    return true;
}

bool OldCryst(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    scene.FreeSelection();
    scene.ArrAt.clear();
    ++scene.NodeListStamp;
    scene.PTMAt = nullptr;
    scene.PTCurrAt = nullptr;
    bool fromCompletion = false;
    for (tTopAt* node = scene.WPTAll; node != nullptr; node = node->li) {
        if (node == scene.WPTAtEnd0)
            fromCompletion = true;
        node->lAColor = clNone;
        node->FillStyle = bsSolid;
        node->param = 0.0f;
        node->c &=
            static_cast<std::uint8_t>(~(kNodeVisible | 4 | 8 | kNodeHidden32 | kNodeHidden64));
        if (fromCompletion || (node->pSAt != nullptr && node->pSAt->A.n == 0))
            node->c |= kNodeVisible;
        DisposeBondList(node->p);
        node->p = CopyBondList(node->oldp);
        if (Stop(monitor))
            return false;
    }
    // Nodes added after completion are dropped.
    tTopAt** link = &scene.WPTAll;
    while (*link != nullptr) {
        tTopAt* node = *link;
        if ((node->c & kNodeVisible) == 0) {
            *link = node->li;
            DisposeTopAt(node);
        } else {
            link = &node->li;
        }
    }
    scene.WPTAtEnd = scene.WPTAtEnd0;
    scene.WCountAt = CountNodes(scene.WPTAll);
    NewRotorCryst(scene);
    scene.PrevMas = scene.OldMas;
    ReadLegInd(scene, true);
    return true;
}

void PrepareSceneBuild(TLVScene& scene) {
    scene.ParamStep = scene.ParamRank = scene.GParamMin = scene.GParamMax = 0.0f;
    if (scene.HasScene()) {
        scene.FreeSelection();
        if (scene.WLVO.Sublattice)
            scene.FreeScene();
    }
    scene.WLVO.DataToFile = false;
    scene.Undo->ClearHistory();
}

bool RunSceneBuild(TLVScene& scene, const TSceneBuildMonitor& monitor) {
    monitor.SetProgress(0, 0);
    const bool built = scene.HasScene() ? OldCryst(scene, monitor) : SeeCryst(scene, monitor);
    if (!built || monitor.Cancelled()) {
        scene.FreeScene();
        scene.NoUndo = true;
        return false;
    }
    NewRotorCryst(scene);
    CurrCentre(scene);
    scene.mas = MaxOrthDist(scene);
    scene.GLXYZMas = 4.0 * scene.mas;
    scene.XYZMas = scene.GLXYZMas != 0.0 ? scene.mas_l / scene.GLXYZMas : 0.0;
    scene.PrevMas = scene.mas;
    scene.WPosName = 0;
    scene.NoUndo = false;
    NewDataPTAt(scene, 1);
    if (scene.WLVO.BondLabels > 0)
        NewDataPTAt(scene, 12);
    scene.NoUndo = true;
    return true;
}

std::optional<std::string> CompleteSceneBuild(TLVScene& scene) {
    const tCompParam& comp = scene.CompParamMaler;
    if (comp.DC.at_ == 0 || comp.CodeSG == 0)
        return std::string("Incomplete data on crystal structure");
    StackToArr(scene);
    return std::nullopt;
}

} // namespace ormaline
