#include "model/AtomList.h"

namespace ormaline {

void NewSteckAt(tSteckAt*& node) {
    node = new tSteckAt{};
    node->Rsd = 0.0f;
    node->G3 = 0.0f;
    node->WCN = 0.0f;
    node->CSym = 0;
    node->Br = 0;
    node->NSite = 0;
    node->OptSt = 0;
    node->iold = 0;
    node->CN = 0;
    node->CNdop = 0;
    node->i = 0;
    node->code = 0;
    node->WyckL = u' ';
    node->A = tSAtom{};
    node->A.tr = PackTr(0, 0, 0);
    node->A.DegOx = 16;
    node->DsOr = nullptr;
    node->Struct = nullptr;
    node->PMAd = nullptr;
    node->PMAd_ = nullptr;
    node->li = nullptr;
}

tSteckAt* NewSteckAt() {
    tSteckAt* node = nullptr;
    NewSteckAt(node);
    return node;
}

void NewAdjMatr(tAdjMatr*& node) {
    node = new tAdjMatr{};
    node->R = node->SA = node->Rseg = node->SSeg = node->VSeg = 0.0f;
    node->m = 0;
    node->misc = 0;
    node->tc = 1;
    node->a = {0, 0, 0};
    node->Lab = false;
    node->rank = 0;
    node->ChanSize = 0;
    node->Chan = nullptr;
    node->p = nullptr;
    node->pRingSt = nullptr;
    node->li = nullptr;
}

tAdjMatr* NewAdjMatr() {
    tAdjMatr* node = nullptr;
    NewAdjMatr(node);
    return node;
}

bool CompAtNI(const tSteckAt* node, const tSteckAt* b) {
    return node->A.n < b->A.n || (node->A.n == b->A.n && node->A.i < b->A.i);
}

TCompAtFunc SortFuncOf(tSortTypeAtom sortType) {
    return sortType == staAtNI ? &CompAtNI : nullptr;
}

void InsSortAt(tSteckAt* node, tSteckAt** head, TCompAtFunc order) {
    tSteckAt** link = head;
    while (*link != nullptr && !(order != nullptr && order(node, *link)))
        link = &(*link)->li;
    node->li = *link;
    *link = node;
}

void DisposeAdjList(tAdjMatr*& head, tAdjMatr* stop) {
    while (head != nullptr && head != stop) {
        tAdjMatr* next = head->li;
        DisposeList(head->Chan);
        delete head;
        head = next;
    }
}

namespace {

// Frees what an atom node owns besides its subtree.
void ReleaseAtomParts(tSteckAt* atom) {
    DisposeAdjList(atom->PMAd);
    DisposeAdjList(atom->PMAd_);
    delete atom->Struct;
    atom->Struct = nullptr;
}

} // namespace

void DisposeDsOrTree(tSteckAt*& head) {
    while (head != nullptr) {
        tSteckAt* next = head->li;
        DisposeDsOrTree(head->DsOr);
        ReleaseAtomParts(head);
        delete head;
        head = next;
    }
}

void DisposeAtList(tSteckAt*& head, tSteckAt* stop) {
    while (head != nullptr && head != stop) {
        tSteckAt* next = head->li;
        ReleaseAtomParts(head);
        DisposeDsOrTree(head->DsOr);
        delete head;
        head = next;
    }
}

} // namespace ormaline
