#include "model/AdjacencyLinking.h"

#include <cstdint>
#include <unordered_map>

namespace ormaline {

bool LinkAdjMatr(tSteckAt* first, tSteckAt* searchHead) {
    // The first atom of each number from the search head, found in one pass rather
    // than by walking the list for every entry.
    std::unordered_map<std::uint16_t, tSteckAt*> firstByNumber;
    for (tSteckAt* atom = searchHead; atom != nullptr; atom = atom->li)
        if (atom->i >= 0 && atom->i <= 0xFFFF)
            firstByNumber.try_emplace(static_cast<std::uint16_t>(atom->i), atom);

    auto partner = [&firstByNumber](std::uint16_t number) -> tSteckAt* {
        auto found = firstByNumber.find(number);
        return found == firstByNumber.end() ? nullptr : found->second;
    };
    for (tSteckAt* atom = first; atom != nullptr; atom = atom->li) {
        for (tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li) {
            tSteckAt* b = partner(entry->i);
            if (b == nullptr)
                return false;
            entry->p = b;
            for (tChanStack* chain = entry->Chan; chain != nullptr; chain = chain->li) {
                tSteckAt* reached = partner(chain->i);
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
