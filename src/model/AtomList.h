// Node constructors and the operations on the singly linked lists of the structure
// records (atoms, adjacency entries, chains).
#pragma once

#include "model/OurData.h"

namespace ormaline {

// Allocates an atom node: counters, indexes and VDP values 0, WyckL a blank,
// A zeroed with A.tr = PackTr(0, 0, 0) and A.DegOx = 16, all pointers nil.
void NewSteckAt(tSteckAt*& node);
tSteckAt* NewSteckAt();

// Allocates an adjacency node: metrics 0, m = 0, misc = 0, tc = 1, a = (0, 0, 0),
// Lab false, rank 0, ChanSize 0, all pointers nil. i, CSym and Br are the caller's.
void NewAdjMatr(tAdjMatr*& node);
tAdjMatr* NewAdjMatr();

// Links node after the last node of the list (or makes it the head of an empty list);
// node.li := nil. Walks the list: callers that append many nodes keep a tail instead.
template <typename Node> void AppendNode(Node* node, Node*& head) {
    node->li = nullptr;
    Node** link = &head;
    while (*link != nullptr)
        link = &(*link)->li;
    *link = node;
}

// `node` goes before `b` when node.A.n < b.A.n, or the codes are equal and
// node.A.i < b.A.i. Strict, so equal keys keep their reading order.
bool CompAtNI(const tSteckAt* node, const tSteckAt* b);

// The ordering function of a sort type (CompAtNI for staAtNI; nil for the others,
// which no operation of this system selects).
TCompAtFunc SortFuncOf(tSortTypeAtom sortType);

// Walks the list from *head and inserts node before the first node B for which
// order(node, B) is true, or at the end. A nil order appends.
void InsSortAt(tSteckAt* node, tSteckAt** head, TCompAtFunc order);

// Frees nodes from head while head is not stop; at the end head = stop.
template <typename Node> void DisposeList(Node*& head, Node* stop = nullptr) {
    while (head != nullptr && head != stop) {
        Node* next = head->li;
        delete head;
        head = next;
    }
}

// Frees adjacency nodes, each with its Chan list, from head up to stop; head = stop.
void DisposeAdjList(tAdjMatr*& head, tAdjMatr* stop = nullptr);

// Frees atom nodes from head up to stop, each with its PMAd and PMAd_ lists, its
// DsOr subtree and its Struct block; head = stop.
void DisposeAtList(tSteckAt*& head, tSteckAt* stop = nullptr);

// Frees the subtrees of all nodes of the list, then the list itself; head = nil.
void DisposeDsOrTree(tSteckAt*& head);

// Number of nodes from head to the end of the list.
template <typename Node> int ListLength(const Node* head) {
    int count = 0;
    for (; head != nullptr; head = head->li)
        ++count;
    return count;
}

} // namespace ormaline
