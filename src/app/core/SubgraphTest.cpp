#include "app/core/SubgraphTest.h"

#include <algorithm>

namespace ormaline {

bool PassesElementSets(const tSetAtSet* sets, const tShIntMAD& elements) {
    if (sets == nullptr)
        return false;
    for (const tSetAtSet* set = sets; set != nullptr; set = set->li) {
        const bool met = set->s.IsEmpty()
                             ? !elements.empty()
                             : std::any_of(elements.begin(), elements.end(),
                                           [&](std::int8_t code) { return set->s.Contains(code); });
        if (!met)
            return false;
    }
    return true;
}

TSubgraphTest::TSubgraphTest(tCompParam& query, bool compareElements, const TKRELMOpt& options)
    : graph_(query.pAt0), matcher_(graph_.Graph(), query.DC.at_, options.MaxBPlane,
                                   options.MinBPlane, compareElements) {}

bool TSubgraphTest::Test(tCompParam& candidate) {
    return PassesElementSets(graph_.Sets(), candidate.MDC.ME) && matcher_.Search(candidate);
}

} // namespace ormaline
