// The undo history of a viewer window. Before each user step the window records the view
// and, depending on the step, the selection or the visibility of nodes and bonds
// (`KeepState`); undo puts the newest recorded state back, one step at a time. Edit
// records (new and changed nodes and bonds) made since the last recorded state are
// attached to the next recorded state and are reversed with it.
//
// Ownership: the history owns its states, and each state owns its saved lists and edit
// records (singly linked through `li`, newest first). Saved entries point into the
// scene; the history is finalized whenever the scene is rebuilt or freed, so that no
// state outlives the nodes it names.
#pragma once

#include "viewer/core/SceneRecords.h"
#include "viewer/core/SceneUndo.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ormaline {

struct TLVScene;
struct TViewColours;

// A saved node: its selection colour, state bits, model, tint and fill.
struct TOneSelAt {
    TOneSelAt* li = nullptr;
    tTopAt* p = nullptr;
    std::uint8_t col = 0;
    std::uint8_t c = 0;
    std::int32_t nm = 0;
    TColor lAC = clNone;
    TBrushStyle lFS = bsSolid;
};

// A saved bond: its state bits (and, for reference, thickness and kind).
struct TOneSelBond {
    TOneSelBond* li = nullptr;
    tBoundAt* p = nullptr;
    float diam = -1.0f;
    std::uint8_t c = 0;
    std::uint8_t cb = 0;
};

// Kinds of edit records.
inline constexpr std::int32_t kEditNewNode = 30;
inline constexpr std::int32_t kEditNewBond = 31;
inline constexpr std::int32_t kEditNodeState = 32;
inline constexpr std::int32_t kEditBondState = 33;

// One edit record. `EditPTAt` is the node (kinds 30, 32) or the bond's owner (31, 33).
// Nodes of this version carry no polyhedron, so `EditAtom_GP` of the record has no place.
struct TOneEditData {
    TOneEditData* li = nullptr;
    std::int32_t cmCode = 0;
    tTopAt* EditPTAt = nullptr;
    tTopAt* PTAt_ = nullptr; // the node before a new node in the SceneList; none at the head
    std::uint8_t EditAtom_c = 0;
    tBoundAt* EditAtom_p = nullptr; // the node's bond list head
    tTopAt* EditBond_p = nullptr;   // the bond's partner
    ShIVector EditBond_t{};
    std::uint8_t EditBond_c = 0;
    std::uint8_t EditBond_cb = 0;
    tBoundAt* p = nullptr; // the bond
};

// One undo step. Owns its three lists.
struct TState {
    TState() = default;
    ~TState();
    TState(TState&& other) noexcept;
    TState& operator=(TState&& other) noexcept;
    TState(const TState&) = delete;
    TState& operator=(const TState&) = delete;
    // Frees the saved lists and edit records.
    void Release();

    std::int32_t KSCom = 0;
    std::string KSRemStr;
    std::int32_t KSi0 = 0, KSj0 = 0;
    std::array<std::array<double, 3>, 3> KSMatrRotor{};
    TOneSelAt* KSStackAt = nullptr;
    TOneSelBond* KSStackBonds = nullptr;
    SVector KSDeltaCoord{};
    std::int32_t KSCW = 0, KSCH = 0;
    std::int32_t KSGi0 = 0, KSGj0 = 0, KSLegI0 = 0, KSLegJ0 = 0;
    SVector KSgl_{};
    double KSmas_l = 0.0;
    double KSPrevMas = 0.0, KSOldMas = 0.0, KSmas = 0.0, KSXYZmas = 0.0, KSCoefMas = 0.0;
    std::uint8_t KSL1 = 1, KSL2 = 2, KSL3 = 3, KSlin = 1, KSLX = 2, KSLZ = 3;
    std::int32_t KSCutMode = 1;
    std::int32_t KSSelMode = 1;
    std::int32_t KSNumModel = 0, KSMouseMode = 0, KSModelCryst = 0;
    TOneEditData* KSEditStack = nullptr;
};

// What an undo asks of the window besides the scene changes it made.
struct TUndoResult {
    bool done = false; // a state was applied
    std::int32_t code = 0;
};

class TUndoHistory : public TSceneUndo {
public:
    explicit TUndoHistory(TLVScene& scene) : scene_(scene) {}
    ~TUndoHistory() override;
    TUndoHistory(const TUndoHistory&) = delete;
    TUndoHistory& operator=(const TUndoHistory&) = delete;

    // Records a state (nothing while KeepForUndo is off). Callers check NoUndo.
    void KeepState(int code, std::string_view remark) override;
    // The edit-record makers; they record only while KeepForUndo and NoUndo are set.
    void RecordNewNode(tTopAt* node, tTopAt* predecessor) override;
    void RecordNodeState(tTopAt* node) override;
    void RecordNewBond(tTopAt* node, tBoundAt* bond) override;
    void RecordBondState(tTopAt* node, tBoundAt* bond) override;
    void ClearHistory() override { FinalizeAllUndoArr(); }

    void SaveNewAtomToEditArr(tTopAt* node, tTopAt* predecessor);
    void SaveNewBondToEditArr(tTopAt* owner, tBoundAt* bond);
    void SaveAtomToEditArr(tTopAt* node);
    void SaveBondToEditArr(tTopAt* owner, tBoundAt* bond);

    // Releases every state and the pending edit records; UndoCount := 0.
    void FinalizeAllUndoArr();

    // Undoes the top state for a window of the given client size; `colours` (may be
    // none) receives the group colours of an undone group-colour toggle.
    TUndoResult actUndoExecute(int clientWidth, int clientHeight, TViewColours* colours);

    std::int32_t UndoCount() const { return undoCount_; }
    // "Undo: " + remark of the top state, or "Undo" when there is none.
    std::string UndoCaption() const;
    // "Undo " + remark of the top state, or "Undo".
    std::string UndoHint() const;
    const TState* Top() const;
    // Every state in the array, valid or stale (for tests and measurements).
    const std::vector<TState>& ArrState() const { return arrState_; }
    const TOneEditData* WEditStack() const { return editStack_; }

private:
    bool Recording() const;
    void InitItemEditArr(TOneEditData* record);
    void UndoEditRecords(TState& state, std::vector<tTopAt*>& freed);

    TLVScene& scene_;
    std::vector<TState> arrState_;
    std::int32_t undoCount_ = 0;
    TOneEditData* editStack_ = nullptr;
};

// Frees a list of edit records.
void DisposeEditStack(TOneEditData*& head);

} // namespace ormaline
