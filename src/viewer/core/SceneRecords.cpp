#include "viewer/core/SceneRecords.h"

namespace ormaline {

tTopAt* NewTopAt() {
    return new tTopAt();
}
tBoundAt* NewBoundAt() {
    return new tBoundAt();
}
tInsAt* NewInsAt() {
    return new tInsAt();
}

void DisposeBondList(tBoundAt*& head) {
    while (head != nullptr) {
        tBoundAt* next = head->li;
        delete head;
        head = next;
    }
}

void DisposeTopAt(tTopAt*& node) {
    if (node == nullptr)
        return;
    DisposeBondList(node->p);
    DisposeBondList(node->oldp);
    delete node;
    node = nullptr;
}

void DisposeInsAt(tInsAt*& record) {
    delete record;
    record = nullptr;
}

tBoundAt* CopyBondList(const tBoundAt* head) {
    tBoundAt* first = nullptr;
    tBoundAt* last = nullptr;
    for (const tBoundAt* bond = head; bond != nullptr; bond = bond->li) {
        tBoundAt* copy = NewBoundAt();
        *copy = *bond;
        copy->li = nullptr;
        copy->li_ = last;
        if (last != nullptr)
            last->li = copy;
        else
            first = copy;
        last = copy;
    }
    return first;
}

void AppendBond(tTopAt& node, tBoundAt* bond) {
    bond->li = nullptr;
    if (node.p == nullptr) {
        bond->li_ = nullptr;
        node.p = bond;
        return;
    }
    tBoundAt* last = node.p;
    while (last->li != nullptr)
        last = last->li;
    last->li = bond;
    bond->li_ = last;
}

void UnlinkBond(tTopAt& node, tBoundAt* bond) {
    if (bond->li_ != nullptr)
        bond->li_->li = bond->li;
    else
        node.p = bond->li;
    if (bond->li != nullptr)
        bond->li->li_ = bond->li_;
    bond->li = nullptr;
    bond->li_ = nullptr;
}

int BondCount(const tTopAt& node) {
    int count = 0;
    for (const tBoundAt* bond = node.p; bond != nullptr; bond = bond->li)
        ++count;
    return count;
}

} // namespace ormaline
