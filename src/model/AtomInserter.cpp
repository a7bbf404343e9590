#include "model/AtomInserter.h"

#include "model/AtomList.h"

#include <algorithm>
#include <cstdlib>

namespace ormaline {

TAtomInserter::TAtomInserter(tCompParam& comp) : comp_(comp) {
    const tSteckAt* previous = nullptr;
    for (tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li) {
        Count(*atom);
        if (previous != nullptr && CompAtNI(atom, previous))
            sorted_ = false;
        lastOfElement_[atom->A.n] = atom;
        previous = atom;
    }
}

void TAtomInserter::Count(const tSteckAt& atom) {
    TElementState& state = elements_[atom.A.n];
    ++state.count;
    state.largestAbsIndex = std::max(state.largestAbsIndex, std::abs(std::int64_t{atom.A.i}));
}

std::int32_t TAtomInserter::NextIndex(std::int16_t element) const {
    auto found = elements_.find(element);
    return 1 + (found == elements_.end() ? 0 : found->second.count);
}

bool TAtomInserter::ExceedsAll(std::int16_t element, std::int32_t index) const {
    auto found = elements_.find(element);
    return found == elements_.end() ||
           std::abs(std::int64_t{index}) > found->second.largestAbsIndex;
}

tSteckAt* TAtomInserter::LastBefore(std::int16_t element) const {
    auto first = lastOfElement_.lower_bound(element);
    return first == lastOfElement_.begin() ? nullptr : std::prev(first)->second;
}

void TAtomInserter::InsertAfter(tSteckAt* previous, tSteckAt* atom) {
    if (previous == nullptr) {
        atom->li = comp_.pAt0;
        comp_.pAt0 = atom;
    } else {
        atom->li = previous->li;
        previous->li = atom;
    }
}

void TAtomInserter::Insert(tSteckAt* atom) {
    const std::int16_t element = atom->A.n;
    const std::int32_t next = NextIndex(element);
    const bool direct =
        sorted_ && (atom->A.i == next || atom->A.i == -next) && ExceedsAll(element, next);
    Count(*atom);
    if (!sorted_) {
        InsSortAt(atom, &comp_.pAt0, CompAtNI);
        return;
    }
    // The list is ordered by element, then index. An index above every |A.i| of its
    // element goes after all atoms of the element, its negative (a central atom)
    // before all of them.
    auto own = lastOfElement_.find(element);
    if (direct && atom->A.i > 0 && own != lastOfElement_.end())
        InsertAfter(own->second, atom);
    else if (direct)
        InsertAfter(LastBefore(element), atom);
    else
        InsSortAt(atom, &comp_.pAt0, CompAtNI);
    // The node is the last of its element when the next node holds another element.
    if (atom->li == nullptr || atom->li->A.n != element)
        lastOfElement_[element] = atom;
}

} // namespace ormaline
