#include "model/AdjacencyLinking.h"

namespace ormaline {

bool LinkAdjMatr(tSteckAt* first, tSteckAt* searchHead) {
    // The first atom of each number from the search head, found in one pass rather
    // than by walking the list for every entry.
    const TAtomNumberIndex index(searchHead);
    for (tSteckAt* atom = first; atom != nullptr; atom = atom->li) {
        for (tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li) {
            tSteckAt* b = index.Find(entry->i);
            if (b == nullptr)
                return false;
            entry->p = b;
            for (tChanStack* chain = entry->Chan; chain != nullptr; chain = chain->li) {
                tSteckAt* reached = index.Find(chain->i);
                if (reached == nullptr)
                    return false;
                chain->pC = reached;
            }
        }
    }
    return true;
}

bool SpreadAdjMatr(tCompParam& /*comp*/) {
    return true;
}

} // namespace ormaline
