#include "viewer/core/LVScene.h"

#include "model/AtomList.h"

namespace ormaline {

TLVScene::TLVScene() {
    DefaultLatvistaOpt(WLVO);
    for (int axis = 0; axis < 3; ++axis)
        WMatrRotor[static_cast<std::size_t>(axis)][static_cast<std::size_t>(axis)] = 1.0;
}

TLVScene::~TLVScene() {
    FreeScene();
}

void TLVScene::FreeSelection() {
    while (WInsAt != nullptr) {
        tInsAt* older = WInsAt->plo;
        if (WInsAt->PTA != nullptr)
            WInsAt->PTA->PIAt = nullptr;
        DisposeInsAt(WInsAt);
        WInsAt = older;
    }
    NumInsAt = 0;
    CountInsAt = 0;
}

void TLVScene::FreeScene() {
    // No undo state outlives the nodes it names.
    UndoHistory.FinalizeAllUndoArr();
    FreeSelection();
    ArrAt.clear();
    while (WPTAll != nullptr) {
        tTopAt* next = WPTAll->li;
        DisposeTopAt(WPTAll);
        WPTAll = next;
    }
    DisposeAtList(WPTopEnd);
    WPTAtEnd = WPTAtEnd0 = WPTCell = nullptr;
    PTMAt = PTCurrAt = nullptr;
    WVecCell = {};
    WCountAt = 0;
    OldWCountAt = 0;
    ++NodeListStamp;
    PickIndex.Clear();
}

int CountNodes(const tTopAt* head) {
    int count = 0;
    for (; head != nullptr; head = head->li)
        ++count;
    return count;
}

} // namespace ormaline
