// The subgraph condition of one ligand search: the loaded fragment's molecular graph,
// built when the search starts, and the test each candidate ligand must pass, first
// the element pre-filter, then the subgraph search.
#pragma once

#include "model/OurData.h"
#include "model/SubgraphSearch.h"

namespace ormaline {

// The element pre-filter: for every set of the list, the candidate's distinct
// elements (codes 0..127 of `elements`, the compound's MDC.ME) hold a member of it.
// An empty set (a query atom that takes any element) asks only for some element.
// An empty list (a fragment without atoms) passes no candidate.
bool PassesElementSets(const tSetAtSet* sets, const tShIntMAD& elements);

class TSubgraphTest {
public:
    // Builds the graph from the query compound's atoms (which makes its central atoms
    // ordinary ones for later searches). `compareElements` is "With Species"; the
    // ratio bounds are those of the options record.
    TSubgraphTest(tCompParam& query, bool compareElements, const TKRELMOpt& options);

    const tSetAtSet* Sets() const { return graph_.Sets(); }

    // True when the candidate, whose adjacency entries are linked, passes the
    // pre-filter and holds the fragment.
    bool Test(tCompParam& candidate);

private:
    TMolGraph graph_;
    TSubgraphMatcher matcher_;
};

} // namespace ormaline
