#include "model/AtomInserter.h"

#include "model/AtomList.h"

namespace ormaline {

TAtomInserter::TAtomInserter(tCompParam& comp) : comp_(comp) {
    const tSteckAt* previous = nullptr;
    for (tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li) {
        ++countByElement_[atom->A.n];
        if (previous != nullptr && CompAtNI(atom, previous))
            sorted_ = false;
        lastOfKey_[Key{atom->A.n, atom->A.i}] = atom;
        tail_ = atom;
        previous = atom;
    }
}

std::int32_t TAtomInserter::NextIndex(std::int16_t element) const {
    auto found = countByElement_.find(element);
    return 1 + (found == countByElement_.end() ? 0 : found->second);
}

void TAtomInserter::InsertAfter(tSteckAt* previous, tSteckAt* atom) {
    if (previous == nullptr) {
        atom->li = comp_.pAt0;
        comp_.pAt0 = atom;
    } else {
        atom->li = previous->li;
        previous->li = atom;
    }
    if (atom->li == nullptr)
        tail_ = atom;
}

void TAtomInserter::Insert(tSteckAt* atom) {
    ++countByElement_[atom->A.n];
    if (!sorted_) {
        InsSortAt(atom, &comp_.pAt0, CompAtNI);
        return;
    }
    // In a sorted list the node goes after the last node whose key is not greater
    // than its own, which is where the strict CompAtNI walk stops.
    const Key key{atom->A.n, atom->A.i};
    if (tail_ == nullptr || !CompAtNI(atom, tail_)) {
        InsertAfter(tail_, atom);
    } else {
        auto firstGreater = lastOfKey_.upper_bound(key);
        tSteckAt* previous =
            firstGreater == lastOfKey_.begin() ? nullptr : std::prev(firstGreater)->second;
        InsertAfter(previous, atom);
    }
    lastOfKey_[key] = atom;
}

} // namespace ormaline
