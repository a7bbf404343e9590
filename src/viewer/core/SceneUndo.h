// Where the scene records undo states and edit records. The scene's own history
// (TUndoHistory) implements it; the shared instance `None` records nothing.
#pragma once

#include <string_view>

namespace ormaline {

struct tTopAt;
struct tBoundAt;

class TSceneUndo {
public:
    virtual ~TSceneUndo() = default;
    // A user step about to change the view or the scene (`KeepState` code and caption).
    virtual void KeepState(int /*code*/, std::string_view /*caption*/) {}
    // Edit records of the scene build's lattice copies and bonds.
    // A new node linked in after `predecessor` (nullptr: at the head of the list).
    virtual void RecordNewNode(tTopAt* /*node*/, tTopAt* /*predecessor*/) {}
    virtual void RecordNodeState(tTopAt* /*node*/) {}
    virtual void RecordNewBond(tTopAt* /*node*/, tBoundAt* /*bond*/) {}
    virtual void RecordBondState(tTopAt* /*node*/, tBoundAt* /*bond*/) {}
    // Forget every recorded state.
    virtual void ClearHistory() {}

    // The shared instance that records nothing.
    static TSceneUndo& None() {
        static TSceneUndo none;
        return none;
    }
};

} // namespace ormaline
