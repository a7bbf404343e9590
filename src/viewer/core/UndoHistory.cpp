#include "viewer/core/UndoHistory.h"

#include "viewer/core/LVScene.h"
#include "viewer/core/Legend.h"
#include "viewer/core/RenderRules.h"
#include "viewer/core/SceneActions.h"
#include "viewer/core/SceneOps.h"
#include "viewer/core/ViewTransforms.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace ormaline {
namespace {

template <typename T> void DisposeList(T*& head) {
    while (head != nullptr) {
        T* next = head->li;
        delete head;
        head = next;
    }
}

template <typename T> void Push(T*& head, T* item) {
    item->li = head;
    head = item;
}

// Position a size of the recording window takes in a window of the current size.
int Rescaled(int current, int saved, int savedSize) {
    if (savedSize <= 0)
        return saved;
    return static_cast<int>(std::nearbyint(static_cast<double>(current) * saved / savedSize));
}

bool Contains(const std::vector<tTopAt*>& sorted, const tTopAt* node) {
    return !sorted.empty() &&
           std::binary_search(sorted.begin(), sorted.end(), const_cast<tTopAt*>(node));
}

// Unlinks a node from the SceneList, wherever it is, and keeps the list's markers on
// nodes that remain.
void UnlinkNode(TLVScene& scene, tTopAt* node) {
    for (tTopAt** link = &scene.WPTAll; *link != nullptr; link = &(*link)->li)
        if (*link == node) {
            *link = node->li;
            break;
        }
    for (tTopAt** marker : {&scene.WPTAtEnd, &scene.WPTAtEnd0, &scene.WPTCell})
        if (*marker == node)
            *marker = node->li;
    for (tTopAt*& corner : scene.WVecCell)
        if (corner == node)
            corner = nullptr;
    if (scene.PTMAt == node)
        scene.PTMAt = nullptr;
    if (scene.PTCurrAt == node)
        scene.PTCurrAt = nullptr;
}

void Reselect(TLVScene& scene, tTopAt* node, int colour) {
    scene.PTMAt = node;
    NotSpecAt(scene, 0);
    SpecAt(scene, colour);
}

// Runs the option toggle of a state code once more (the toggles record nothing here,
// NoUndo being off while an undo runs).
void RunToggle(TLVScene& scene, int code, TViewColours* colours) {
    switch (code) {
    case 10:
        ToggleOption(scene, 10, "Perspective", &TLatvistaOpt::Perspect);
        break;
    case 11:
        ToggleOption(scene, 11, "Group color", &TLatvistaOpt::GrColor);
        if (colours != nullptr)
            colours->ColorGr = GroupColorTable;
        ReadLegInd(scene, true);
        break;
    case 12:
        ToggleBlackWhite(scene);
        break;
    case 13:
        ToggleCell(scene);
        break;
    case 14:
        ToggleColouredBonds(scene);
        break;
    case 16:
        ToggleABCCell(scene);
        break;
    case 17:
        ToggleOption(scene, 17, "Fog", &TLatvistaOpt::Fog);
        break;
    case 18:
        ToggleLegend(scene);
        break;
    default:
        break;
    }
}

} // namespace

void DisposeEditStack(TOneEditData*& head) {
    DisposeList(head);
}

TState::~TState() {
    Release();
}

TState::TState(TState&& other) noexcept {
    *this = std::move(other);
}

TState& TState::operator=(TState&& other) noexcept {
    if (this == &other)
        return *this;
    Release();
    KSCom = other.KSCom;
    KSRemStr = std::move(other.KSRemStr);
    KSi0 = other.KSi0;
    KSj0 = other.KSj0;
    KSMatrRotor = other.KSMatrRotor;
    KSStackAt = std::exchange(other.KSStackAt, nullptr);
    KSStackBonds = std::exchange(other.KSStackBonds, nullptr);
    KSDeltaCoord = other.KSDeltaCoord;
    KSCW = other.KSCW;
    KSCH = other.KSCH;
    KSGi0 = other.KSGi0;
    KSGj0 = other.KSGj0;
    KSLegI0 = other.KSLegI0;
    KSLegJ0 = other.KSLegJ0;
    KSgl_ = other.KSgl_;
    KSmas_l = other.KSmas_l;
    KSPrevMas = other.KSPrevMas;
    KSOldMas = other.KSOldMas;
    KSmas = other.KSmas;
    KSXYZmas = other.KSXYZmas;
    KSCoefMas = other.KSCoefMas;
    KSL1 = other.KSL1;
    KSL2 = other.KSL2;
    KSL3 = other.KSL3;
    KSlin = other.KSlin;
    KSLX = other.KSLX;
    KSLZ = other.KSLZ;
    KSCutMode = other.KSCutMode;
    KSSelMode = other.KSSelMode;
    KSNumModel = other.KSNumModel;
    KSMouseMode = other.KSMouseMode;
    KSModelCryst = other.KSModelCryst;
    KSEditStack = std::exchange(other.KSEditStack, nullptr);
    return *this;
}

void TState::Release() {
    DisposeList(KSStackAt);
    DisposeList(KSStackBonds);
    DisposeList(KSEditStack);
}

TUndoHistory::~TUndoHistory() {
    FinalizeAllUndoArr();
}

bool TUndoHistory::Recording() const {
    return scene_.WLVO.KeepForUndo && scene_.NoUndo;
}

void TUndoHistory::FinalizeAllUndoArr() {
    arrState_.clear();
    undoCount_ = 0;
    DisposeList(editStack_);
}

const TState* TUndoHistory::Top() const {
    return undoCount_ > 0 ? &arrState_[static_cast<std::size_t>(undoCount_ - 1)] : nullptr;
}

std::string TUndoHistory::UndoCaption() const {
    const TState* top = Top();
    return top != nullptr ? "Undo: " + top->KSRemStr : std::string("Undo");
}

std::string TUndoHistory::UndoHint() const {
    const TState* top = Top();
    return top != nullptr ? "Undo " + top->KSRemStr : std::string("Undo");
}

void TUndoHistory::KeepState(int code, std::string_view remark) {
    if (!scene_.WLVO.KeepForUndo)
        return;
    // The undone states above the top go with their saved lists.
    arrState_.resize(static_cast<std::size_t>(undoCount_));
    ++undoCount_;
    TState& state = arrState_.emplace_back();
    const TLVScene& s = scene_;
    const TLatvistaOpt& o = s.WLVO;
    state.KSCom = code;
    state.KSRemStr = std::string(remark);
    state.KSMatrRotor = s.WMatrRotor;
    state.KSDeltaCoord = s.WDeltaCoord;
    state.KSCW = s.ClientWidth;
    state.KSCH = s.ClientHeight;
    state.KSGi0 = s.Gi0;
    state.KSGj0 = s.Gj0;
    state.KSLegI0 = s.LegI0;
    state.KSLegJ0 = s.LegJ0;
    state.KSgl_ = s.gl_;
    state.KSPrevMas = s.PrevMas;
    state.KSOldMas = s.OldMas;
    state.KSmas = s.mas;
    state.KSXYZmas = s.XYZMas;
    state.KSCoefMas = s.CoefMas;
    state.KSL1 = o.L1;
    state.KSL2 = o.L2;
    state.KSL3 = o.L3;
    state.KSlin = o.lin;
    state.KSLX = o.LX;
    state.KSLZ = o.LZ;
    state.KSCutMode = o.CutMode;
    state.KSSelMode = 1;
    state.KSNumModel = o.NumModel;
    state.KSMouseMode = s.MouseMode;
    state.KSModelCryst = o.ModelCryst;
    state.KSEditStack = std::exchange(editStack_, nullptr);
    switch (code) {
    case 2:
    case 3:
    case 8:
        for (const tInsAt* record = s.WInsAt; record != nullptr; record = record->plo) {
            auto* saved = new TOneSelAt;
            saved->p = record->PTA;
            saved->col = static_cast<std::uint8_t>(record->col);
            saved->nm = record->PTA->nm;
            Push(state.KSStackAt, saved);
        }
        break;
    case 7:
    case 9:
        for (tTopAt* node = s.WPTAll; node != nullptr; node = node->li)
            if (node->PIAt == nullptr) {
                auto* saved = new TOneSelAt;
                saved->p = node;
                saved->nm = node->nm;
                Push(state.KSStackAt, saved);
            }
        break;
    case 23:
        for (tTopAt* node = s.WPTAll; node != nullptr; node = node->li) {
            auto* saved = new TOneSelAt;
            saved->p = node;
            saved->c = node->c;
            saved->nm = node->nm;
            saved->lAC = node->lAColor;
            saved->lFS = node->FillStyle;
            Push(state.KSStackAt, saved);
            for (tBoundAt* bond = node->p; bond != nullptr; bond = bond->li) {
                auto* savedBond = new TOneSelBond;
                savedBond->p = bond;
                savedBond->diam = bond->diam;
                savedBond->c = bond->c;
                savedBond->cb = bond->cb;
                Push(state.KSStackBonds, savedBond);
            }
        }
        break;
    default:
        break;
    }
}

void TUndoHistory::InitItemEditArr(TOneEditData* record) {
    Push(editStack_, record);
}

void TUndoHistory::SaveNewAtomToEditArr(tTopAt* node, tTopAt* predecessor) {
    if (!Recording() || node == nullptr)
        return;
    auto* record = new TOneEditData;
    record->cmCode = kEditNewNode;
    record->EditPTAt = node;
    record->PTAt_ = predecessor;
    InitItemEditArr(record);
}

void TUndoHistory::SaveNewBondToEditArr(tTopAt* owner, tBoundAt* bond) {
    if (!Recording() || bond == nullptr)
        return;
    auto* record = new TOneEditData;
    record->cmCode = kEditNewBond;
    record->EditPTAt = owner;
    record->p = bond;
    InitItemEditArr(record);
}

void TUndoHistory::SaveAtomToEditArr(tTopAt* node) {
    if (!Recording() || node == nullptr)
        return;
    auto* record = new TOneEditData;
    record->cmCode = kEditNodeState;
    record->EditPTAt = node;
    record->EditAtom_c = node->c;
    record->EditAtom_p = node->p;
    InitItemEditArr(record);
}

void TUndoHistory::SaveBondToEditArr(tTopAt* owner, tBoundAt* bond) {
    if (!Recording() || bond == nullptr)
        return;
    auto* record = new TOneEditData;
    record->cmCode = kEditBondState;
    record->EditPTAt = owner;
    record->p = bond;
    record->EditBond_p = bond->p;
    record->EditBond_t = bond->t;
    record->EditBond_c = bond->c;
    record->EditBond_cb = bond->cb;
    InitItemEditArr(record);
}

void TUndoHistory::RecordNewNode(tTopAt* node, tTopAt* predecessor) {
    SaveNewAtomToEditArr(node, predecessor);
}

void TUndoHistory::RecordNodeState(tTopAt* node) {
    SaveAtomToEditArr(node);
}

void TUndoHistory::RecordNewBond(tTopAt* node, tBoundAt* bond) {
    SaveNewBondToEditArr(node, bond);
}

void TUndoHistory::RecordBondState(tTopAt* node, tBoundAt* bond) {
    SaveBondToEditArr(node, bond);
}

void TUndoHistory::UndoEditRecords(TState& state, std::vector<tTopAt*>& freed) {
    TLVScene& scene = scene_;
    for (TOneEditData* record = state.KSEditStack; record != nullptr; record = record->li)
        if (record->cmCode == kEditNewNode && record->EditPTAt->PIAt != nullptr) {
            scene.PTMAt = record->EditPTAt;
            NotSpecAt(scene, 0);
        }
    for (TOneEditData* record = state.KSEditStack; record != nullptr; record = record->li) {
        switch (record->cmCode) {
        case kEditNewNode: {
            tTopAt* node = record->EditPTAt;
            UnlinkNode(scene, node);
            DisposeTopAt(node);
            freed.push_back(record->EditPTAt);
            --scene.WCountAt;
            break;
        }
        case kEditNewBond: {
            tBoundAt* bond = record->p;
            UnlinkBond(*record->EditPTAt, bond);
            bond->li = bond->li_ = nullptr;
            DisposeBondList(bond);
            break;
        }
        case kEditNodeState:
            record->EditPTAt->c = record->EditAtom_c;
            record->EditPTAt->p = record->EditAtom_p;
            break;
        case kEditBondState:
            record->p->p = record->EditBond_p;
            record->p->t = record->EditBond_t;
            record->p->c = record->EditBond_c;
            record->p->cb = record->EditBond_cb;
            break;
        default:
            break;
        }
    }
    DisposeList(state.KSEditStack);
    std::sort(freed.begin(), freed.end());
    if (freed.empty())
        return;
    // Records made since the top state was recorded may name a node just freed: they
    // are dropped with it.
    for (TOneEditData** link = &editStack_; *link != nullptr;) {
        TOneEditData* record = *link;
        if (Contains(freed, record->EditPTAt)) {
            *link = record->li;
            delete record;
        } else {
            link = &record->li;
        }
    }
}

TUndoResult TUndoHistory::actUndoExecute(int clientWidth, int clientHeight, TViewColours* colours) {
    TUndoResult result;
    TLVScene& scene = scene_;
    if (!scene.WLVO.KeepForUndo || undoCount_ <= 0)
        return result;
    --undoCount_;
    scene.NoUndo = false;
    TState& state = arrState_[static_cast<std::size_t>(undoCount_)];
    TLatvistaOpt& o = scene.WLVO;
    scene.WMatrRotor = state.KSMatrRotor;
    scene.WDeltaCoord = state.KSDeltaCoord;
    scene.gl_ = state.KSgl_;
    scene.mas = state.KSmas;
    scene.XYZMas = state.KSXYZmas;
    scene.CoefMas = state.KSCoefMas;
    scene.PrevMas = state.KSPrevMas;
    scene.OldMas = state.KSOldMas;
    o.L1 = state.KSL1;
    o.L2 = state.KSL2;
    o.L3 = state.KSL3;
    o.lin = state.KSlin;
    o.LX = state.KSLX;
    o.LZ = state.KSLZ;
    o.NumModel = state.KSNumModel;
    o.CutMode = state.KSCutMode;
    scene.MouseMode = state.KSMouseMode;
    o.ModelCryst = static_cast<std::uint8_t>(state.KSModelCryst);
    scene.Gi0 = Rescaled(clientWidth, state.KSGi0, state.KSCW);
    scene.Gj0 = Rescaled(clientHeight, state.KSGj0, state.KSCH);
    scene.LegI0 = Rescaled(clientWidth, state.KSLegI0, state.KSCW);
    scene.LegJ0 = Rescaled(clientHeight, state.KSLegJ0, state.KSCH);

    tTopAt* current = scene.PTMAt;
    std::vector<tTopAt*> freed;
    if (state.KSEditStack != nullptr) {
        UndoEditRecords(state, freed);
        StackToArr(scene);
    }
    if (Contains(freed, current))
        current = nullptr;

    switch (state.KSCom) {
    case 2:
    case 7:
    case 9:
        for (TOneSelAt* saved = state.KSStackAt; saved != nullptr; saved = saved->li) {
            tTopAt* node = saved->p;
            if (Contains(freed, node))
                continue;
            node->c = static_cast<std::uint8_t>((node->c & ~(kNodeHidden32 | kNodeHidden64)) |
                                                kNodeVisible);
            for (tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
                bond->c |= kBondShown;
            node->nm = saved->nm;
            scene.PTMAt = node;
            SpecAt(scene, saved->col);
        }
        break;
    case 3:
    case 8:
        scene.FreeSelection();
        for (TOneSelAt* saved = state.KSStackAt; saved != nullptr; saved = saved->li) {
            if (Contains(freed, saved->p))
                continue;
            saved->p->nm = saved->nm;
            Reselect(scene, saved->p, saved->col);
        }
        break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
    case 18:
        RunToggle(scene, state.KSCom, colours);
        break;
    case 22:
        scene.MouseMove = false;
        break;
    case 23:
        for (TOneSelAt* saved = state.KSStackAt; saved != nullptr; saved = saved->li) {
            if (Contains(freed, saved->p))
                continue;
            saved->p->c = saved->c;
            saved->p->lAColor = saved->lAC;
            saved->p->FillStyle = saved->lFS;
        }
        {
            // A bond of a freed node went with its node; the other bonds are alive.
            std::unordered_set<const tBoundAt*> alive;
            if (!freed.empty())
                for (const tTopAt* node = scene.WPTAll; node != nullptr; node = node->li)
                    for (const tBoundAt* bond = node->p; bond != nullptr; bond = bond->li)
                        alive.insert(bond);
            for (TOneSelBond* saved = state.KSStackBonds; saved != nullptr; saved = saved->li)
                if (freed.empty() || alive.count(saved->p) != 0)
                    saved->p->c = saved->c;
        }
        break;
    default:
        break;
    }
    scene.PTMAt = current;
    scene.NoUndo = true;
    result.done = true;
    result.code = state.KSCom;
    return result;
}

} // namespace ormaline
