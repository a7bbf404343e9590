// The molecular graph of a query and the subgraph search on small hand-made
// structures: element sets, central and marked atoms, shells, bond kinds, lattice
// translations, the in-bond ratio, and the choices made where the rules leave room.
#include "SubgraphTestSupport.h"

#include "model/SubgraphSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ormaline {
namespace {

using test::BuildStructure;
using test::ReadQuery;
using test::TBond;

constexpr std::int16_t H = 1, C = 6, N = 7, O = 8, S = 16, Cl = 17;

using test::Members;

// The query atom numbers (tSteckAt.i) of a node's neighbours, in list order.
std::vector<int> NeighbourNumbers(const MFO1& node, const MFO1* graph, const tSteckAt* atoms) {
    std::vector<int> numbers;
    for (const okr1* entry = node.r; entry != nullptr; entry = entry->li) {
        const tSteckAt* atom = atoms;
        for (const MFO1* other = graph; other != entry->p; other = other->li)
            atom = atom->li;
        numbers.push_back(atom->i);
    }
    return numbers;
}

TEST(BuildMolGraph, NodesSetsAndNeighbours) {
    tCompParam query;
    ReadQuery(query, {
                         "*1 C 0 0 0 2 v 3 s 4 w 9 v", // 9 names no atom
                         "#2 {O S} 0 0 0 1 v",
                         "3 Qq 0 0 0 1 s",
                         "4 O[2] 0 0 0 1 w",
                         "5 {N O S} 0 0 0",
                         "6 Me 0 0 0",
                     });
    MFO1* graph = nullptr;
    tSetAtSet* sets = nullptr;
    BuildMolGraph(query.pAt0, graph, sets);

    struct Expected {
        int number, cn, center;
        std::vector<int> atset, neighbours;
    };
    // By atom number; the nodes follow the list order (element code, then index).
    std::vector<Expected> expected;
    for (const tSteckAt* atom = query.pAt0; atom != nullptr; atom = atom->li) {
        switch (atom->i) {
        case 1:
            expected.push_back({1, 4, kCentralNode | kMarkedNode, {C}, {4, 3, 2}});
            break;
        case 2:
            expected.push_back({2, 1, kMarkedNode, {O, S}, {1}});
            break;
        case 3:
            expected.push_back({3, 1, 0, {}, {1}});
            break;
        case 4:
            expected.push_back({4, 1, 0, {O}, {1}});
            break;
        case 5:
            expected.push_back({5, 0, 0, {N, O, S}, {}});
            break;
        case 6:
            expected.push_back({6, 0, 0, {}, {}});
            break; // a group symbol alone
        }
    }
    ASSERT_EQ(expected.size(), 6u);
    const MFO1* node = graph;
    for (const Expected& e : expected) {
        SCOPED_TRACE("atom " + std::to_string(e.number));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->cn, e.cn);
        EXPECT_EQ(node->center, e.center);
        EXPECT_TRUE(node->n);
        EXPECT_EQ(Members(node->At.atset), e.atset);
        EXPECT_EQ(NeighbourNumbers(*node, graph, query.pAt0), e.neighbours);
        node = node->li;
    }
    EXPECT_EQ(node, nullptr);

    // Distinct sets, the newest first.
    std::vector<std::vector<int>> setList;
    for (const tSetAtSet* set = sets; set != nullptr; set = set->li)
        setList.push_back(Members(set->s));
    std::vector<std::vector<int>> distinct;
    for (const Expected& e : expected)
        if (std::find(distinct.begin(), distinct.end(), e.atset) == distinct.end())
            distinct.insert(distinct.begin(), e.atset);
    EXPECT_EQ(setList, distinct);

    // The central atom's index is positive now: a second graph has no central node.
    for (const tSteckAt* atom = query.pAt0; atom != nullptr; atom = atom->li)
        EXPECT_GT(atom->A.i, 0);
    MFO1* again = nullptr;
    tSetAtSet* againSets = nullptr;
    BuildMolGraph(query.pAt0, again, againSets);
    for (const MFO1* k = again; k != nullptr; k = k->li)
        EXPECT_EQ(k->center & kCentralNode, 0);
    FreeMolGraph(again);
    FreeSetAtSet(againSets);
    FreeMolGraph(graph);
    FreeSetAtSet(sets);
    EXPECT_EQ(graph, nullptr);
    EXPECT_EQ(sets, nullptr);
}

// One search of a query (atom lines) in a structure.
struct Search {
    std::vector<std::string> query;
    std::vector<std::int16_t> elements;
    std::vector<TBond> bonds;
    bool compareElements = true;
    float maxBPlane = 0.0f;
    float minBPlane = 0.0f;

    bool Run(TSubgraphMatch* found = nullptr) const {
        tCompParam q;
        ReadQuery(q, query);
        tCompParam s;
        BuildStructure(s, elements, bonds);
        TMolGraph graph(q.pAt0);
        return SubgraphSearch(s, q.DC.at_, graph.Graph(), maxBPlane, minBPlane, compareElements,
                              found);
    }
};

const std::vector<std::string> kCO = {"1 C 0 0 0 2 v", "2 O 0 0 0 1 v"};
const std::vector<std::string> kChain4 = {"1 C 0 0 0 2 v", "2 C 0 0 0 1 v 3 v", "3 C 0 0 0 2 v 4 v",
                                          "4 C 0 0 0 3 v"};
const std::vector<std::string> kChain3 = {"1 C 0 0 0 2 v", "2 C 0 0 0 1 v 3 v", "3 C 0 0 0 2 v"};
const std::vector<std::string> kRing3 = {"1 C 0 0 0 2 v 3 v", "2 C 0 0 0 1 v 3 v",
                                         "3 C 0 0 0 1 v 2 v"};
const std::vector<TBond> kWaterBonds = {{1, 2}, {1, 3}};
const ShIVector kAlongA = {1, 0, 0};

struct EdgeCase {
    const char* name;
    Search search;
    bool expected;
};

class SubgraphEdgeCases : public testing::TestWithParam<EdgeCase> {};

std::string CaseName(const testing::TestParamInfo<EdgeCase>& row) {
    return row.param.name;
}

TEST_P(SubgraphEdgeCases, Result) {
    EXPECT_EQ(GetParam().search.Run(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    RatioOff, SubgraphEdgeCases,
    testing::Values(
        EdgeCase{"OneAtomOfAnAllowedElement", {{"1 O 0 0 0"}, {O, H, H}, kWaterBonds}, true},
        EdgeCase{"OneAtomOfAnAbsentElement", {{"1 N 0 0 0"}, {O, H, H}, kWaterBonds}, false},
        EdgeCase{"OneAtomWithoutComparison", {{"1 N 0 0 0"}, {O, H, H}, kWaterBonds, false}, true},
        EdgeCase{"OneAtomInNoAtoms", {{"1 N 0 0 0"}, {}, {}, false}, false},
        EdgeCase{"ValenceBondFollowed", {kCO, {C, O}, {{1, 2}}}, true},
        EdgeCase{"ContactNeverFollowed", {kCO, {C, O}, {{1, 2, {}, bkSpecific}}}, false},
        EdgeCase{"HydrogenBondNeverFollowed", {kCO, {C, O}, {{1, 2, {}, bkHydrogen}}}, false},
        EdgeCase{"AnyValenceBondWithoutComparison", {kCO, {N, N}, {{1, 2}}, false}, true},
        EdgeCase{"NoValenceBondWithoutComparison",
                 {kCO, {N, N}, {{1, 2, {}, bkVanDerWaals}}, false},
                 false},
        EdgeCase{"QueryContactNeedsAValenceBond",
                 {{"1 C 0 0 0 2 s", "2 O 0 0 0 1 s"}, {C, O}, {{1, 2}}},
                 true},
        EdgeCase{"QueryContactNotMetByAContact",
                 {{"1 C 0 0 0 2 s", "2 O 0 0 0 1 s"}, {C, O}, {{1, 2, {}, bkSpecific}}},
                 false},
        EdgeCase{"ThreeBondsNeverOnTwoValenceBonds",
                 {{"1 C 0 0 0 2 v 3 v 4 v", "2 O 0 0 0 1 v", "3 O 0 0 0 1 v", "4 O 0 0 0 1 v"},
                  {C, O, O, O},
                  {{1, 2}, {1, 3}, {1, 4, {}, bkVanDerWaals}},
                  false},
                 false},
        EdgeCase{"ThreeBondsOnThreeValenceBonds",
                 {{"1 C 0 0 0 2 v 3 v 4 v", "2 O 0 0 0 1 v", "3 O 0 0 0 1 v", "4 O 0 0 0 1 v"},
                  {C, O, O, O},
                  {{1, 2}, {1, 3}, {1, 4}},
                  false},
                 true},
        EdgeCase{"UnknownSymbolTakesAnyElement",
                 {{"1 Qq 0 0 0 2 v", "2 O 0 0 0 1 v"}, {N, O}, {{1, 2}}},
                 true},
        EdgeCase{
            "ElementListMember", {{"1 {N S} 0 0 0 2 v", "2 O 0 0 0 1 v"}, {S, O}, {{1, 2}}}, true},
        EdgeCase{"ElementListNonMember",
                 {{"1 {N S} 0 0 0 2 v", "2 O 0 0 0 1 v"}, {C, O}, {{1, 2}}},
                 false},
        EdgeCase{"ElementGroupInBraces",
                 {{"1 {E6} 0 0 0 2 v", "2 O 0 0 0 1 v"}, {S, O}, {{1, 2}}},
                 true},
        EdgeCase{"ChainOfFourNotInARingOfFour",
                 {kChain4, {C, C, C, C}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}},
                 false},
        EdgeCase{"ChainOfFourInAChainOfFive",
                 {kChain4, {C, C, C, C, C}, {{1, 2}, {2, 3}, {3, 4}, {4, 5}}},
                 true},
        EdgeCase{"RingOfThreeInARingOfThree", {kRing3, {C, C, C}, {{1, 2}, {2, 3}, {3, 1}}}, true},
        EdgeCase{"RingOfThreeNotInAChain", {kRing3, {C, C, C}, {{1, 2}, {2, 3}}}, false},
        // One atom per cell bonded to its neighbours along a: images in three cells.
        EdgeCase{"ChainAlongAPolymer", {kChain4, {C}, {{1, 1, kAlongA}}}, true},
        EdgeCase{"RingNotInAPolymerChain", {kRing3, {C}, {{1, 1, kAlongA}}}, false},
        EdgeCase{"ChainOfThreeNeedsThreeImages", {kChain3, {C, C}, {{1, 2}}}, false}),
    CaseName);

// In-bond ratio of C-O found in H-O-C (B = 1 + 2, in-bonds 1 + 1: 2/3) and in C=O
// alone (1), with the bounds as the options dialog stores them (floats).
INSTANTIATE_TEST_SUITE_P(
    Ratio, SubgraphEdgeCases,
    testing::Values(
        EdgeCase{"MaxZeroSwitchesTheTestOff",
                 {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 0.0f, 5.0f},
                 true},
        EdgeCase{"MaxAtTheThresholdIsOff",
                 {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 0.0001f, 1.0f},
                 true},
        EdgeCase{"WholeMoleculeIsOne", {kCO, {C, O}, {{1, 2}}, true, 1.0f, 1.0f}, true},
        EdgeCase{
            "BondLeavingTheMatch", {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 1.0f, 1.0f}, false},
        EdgeCase{"TwoThirdsWithin", {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 0.7f, 0.6f}, true},
        EdgeCase{"TwoThirdsBelowMin", {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 1.0f, 0.7f}, false},
        EdgeCase{"SlackAboveMax", {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 0.6666f, 0.5f}, true},
        EdgeCase{"BeyondTheSlack", {kCO, {C, O, H}, {{1, 2}, {2, 3}}, true, 0.6665f, 0.5f}, false},
        // A marked atom counts its query entries (here one to an atom the file lacks).
        EdgeCase{"MarkedAtomCountsItsEntries",
                 {{"1 C 0 0 0 2 v", "#2 O 0 0 0 1 v 9 v"},
                  {C, O, H},
                  {{1, 2}, {2, 3}},
                  true,
                  1.0f,
                  1.0f},
                 true},
        EdgeCase{
            "UnmarkedAtomCountsItsShell",
            {{"1 C 0 0 0 2 v", "2 O 0 0 0 1 v 9 v"}, {C, O, H}, {{1, 2}, {2, 3}}, true, 1.0f, 1.0f},
            false},
        // Matched atoms without any valence bond: nothing leaves the match, ratio 1.
        EdgeCase{"NoBondsAtAllIsOne", {{"1 Cl 0 0 0"}, {Cl}, {}, true, 1.0f, 1.0f}, true},
        EdgeCase{"NoBondsAtAllAboveMax", {{"1 Cl 0 0 0"}, {Cl}, {}, true, 0.5f, 0.0f}, false}),
    CaseName);

// The query atom numbers of a found match in matching order, with their shells.
std::vector<std::pair<int, int>> MatchOrder(const Search& search) {
    tCompParam q;
    ReadQuery(q, search.query);
    tCompParam s;
    BuildStructure(s, search.elements, search.bonds);
    TMolGraph graph(q.pAt0);
    TSubgraphMatch found;
    EXPECT_TRUE(SubgraphSearch(s, q.DC.at_, graph.Graph(), 0.0f, 0.0f, false, &found));
    std::vector<std::pair<int, int>> order;
    for (const TMatchNode& node : found) {
        const tSteckAt* atom = q.pAt0;
        for (const MFO1* k = graph.Graph(); k != node.query; k = k->li)
            atom = atom->li;
        order.emplace_back(atom->i, node.level);
    }
    return order;
}

// A branched query: 3 is bonded to 5, 2 and 4, and 4 to 1. List order by element:
// Li(1) Be(2) C(3) N(4) O(5).
std::vector<std::string> Branched(const char* fifth) {
    return {"1 Li 0 0 0 4 v", "2 Be 0 0 0 3 v", "3 C 0 0 0 5 v 2 v 4 v", "4 N 0 0 0 3 v 1 v",
            std::string(fifth) + " O 0 0 0 3 v"};
}
const std::vector<std::int16_t> kBranchedElements = {3, 4, C, N, O};
const std::vector<TBond> kBranchedBonds = {{3, 5}, {3, 2}, {3, 4}, {4, 1}};

TEST(SubgraphSearch, WithoutCentralAtomTheBestConnectedNodeComesNext) {
    // The largest cn first (3); then N (cn 2) before the other neighbours of 3; then
    // the earlier of equal nodes: Li, Be, O.
    EXPECT_EQ(MatchOrder({Branched("5"), kBranchedElements, kBranchedBonds}),
              (std::vector<std::pair<int, int>>{{3, 0}, {4, 0}, {1, 0}, {2, 0}, {5, 0}}));
}

TEST(SubgraphSearch, CentralAtomMatchesInShells) {
    // From O (*5): C in shell 1; N (larger cn) and Be in shell 2, Be before Li because
    // it neighbours shell 1; Li in shell 3.
    EXPECT_EQ(MatchOrder({Branched("*5"), kBranchedElements, kBranchedBonds}),
              (std::vector<std::pair<int, int>>{{5, 0}, {3, 1}, {4, 2}, {2, 2}, {1, 3}}));
}

TEST(SubgraphSearch, TheLastCandidateFoundIsTriedFirst) {
    tCompParam q;
    ReadQuery(q, {"1 C 0 0 0"});
    tCompParam s;
    BuildStructure(s, {C, C, C}, {});
    TMolGraph graph(q.pAt0);
    TSubgraphMatch found;
    ASSERT_TRUE(SubgraphSearch(s, 1, graph.Graph(), 0.0f, 0.0f, true, &found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().atom->i, 3);
}

TEST(SubgraphSearch, NeighboursAreAssignedFirstFitInTheStructuresBondOrder) {
    // The centre's unmatched neighbours in file order: 2 ({C N}), then 3 (N). Each bond
    // of the candidate goes to the first neighbour that takes its element.
    const std::vector<std::string> query = {"1 C 0 0 0 2 v 3 v", "2 {C N} 0 0 0 1 v",
                                            "3 N 0 0 0 1 v"};
    // Bonds to C then N: C goes to 2, N to 3.
    EXPECT_TRUE((Search{query, {C, N, C}, {{1, 3}, {1, 2}}}.Run()));
    // Bonds to N then C: N goes to 2, and C fits no one left, so the centre is refused.
    EXPECT_FALSE((Search{query, {C, N, C}, {{1, 2}, {1, 3}}}.Run()));
}

TEST(SubgraphSearch, CentralAtomIsMarkedOnlyInTheFirstSearchOfItsGraph) {
    // *C has two entries, one to an atom the file lacks: while central (marked) it counts
    // 2 in-bonds, the ratio is (2 + 1) / (2 + 1). Afterwards its shell counts 1.
    tCompParam q;
    ReadQuery(q, {"*1 C 0 0 0 2 v 9 v", "2 O 0 0 0 1 v"});
    tCompParam s;
    BuildStructure(s, {C, O, H}, {{1, 2}, {1, 3}});
    std::vector<bool> results;
    for (int search = 0; search < 2; ++search) {
        TMolGraph graph(q.pAt0);
        results.push_back(SubgraphSearch(s, q.DC.at_, graph.Graph(), 1.0f, 1.0f, true));
    }
    EXPECT_EQ(results, (std::vector<bool>{true, false}));
}

TEST(SubgraphSearch, StarHashStaysMarkedInLaterSearches) {
    tCompParam q;
    ReadQuery(q, {"*#1 C 0 0 0 2 v 9 v", "2 O 0 0 0 1 v"});
    tCompParam s;
    BuildStructure(s, {C, O, H}, {{1, 2}, {1, 3}});
    for (int search = 0; search < 2; ++search) {
        TMolGraph graph(q.pAt0);
        EXPECT_TRUE(SubgraphSearch(s, q.DC.at_, graph.Graph(), 1.0f, 1.0f, true)) << search;
    }
}

TEST(SubgraphSearch, ComponentsAreMatchedOneAfterAnother) {
    const std::vector<std::string> query = {"1 C 0 0 0 2 v", "2 O 0 0 0 1 v", "3 N 0 0 0"};
    EXPECT_TRUE((Search{query, {C, O, N}, {{1, 2}}}.Run()));
    EXPECT_FALSE((Search{query, {C, O}, {{1, 2}}}.Run()));
    // The N is bonded to the matched C, which the query does not have.
    EXPECT_FALSE((Search{query, {C, O, N}, {{1, 2}, {1, 3}}}.Run()));
    // One atom can stand for one query atom only.
    EXPECT_FALSE((Search{{"1 C 0 0 0", "2 C 0 0 0"}, {C}, {}}.Run()));
    EXPECT_TRUE((Search{{"1 C 0 0 0", "2 C 0 0 0"}, {C, C}, {}}.Run()));
}

TEST(SubgraphSearch, UnlinkedValenceEntriesAreSkipped) {
    for (int unlinkedEnd = 0; unlinkedEnd < 2; ++unlinkedEnd) {
        tCompParam q;
        ReadQuery(q, kCO);
        tCompParam s;
        BuildStructure(s, {C, O}, {{1, 2}});
        tSteckAt* atom = unlinkedEnd == 0 ? s.pAt0 : s.pAt0->li;
        atom->PMAd->p = nullptr;
        TMolGraph graph(q.pAt0);
        EXPECT_FALSE(SubgraphSearch(s, 2, graph.Graph(), 0.0f, 0.0f, true)) << unlinkedEnd;
        EXPECT_EQ(ShellCount({nullptr, atom, {0, 0, 0}, 0},
                             {{nullptr, s.pAt0, {}, 0}, {nullptr, s.pAt0->li, {}, 0}}),
                  0);
    }
}

TEST(SubgraphSearch, ShellCountFollowsTranslations) {
    tCompParam s;
    BuildStructure(s, {C}, {{1, 1, kAlongA}});
    tSteckAt* c = s.pAt0;
    const TSubgraphMatch match = {{nullptr, c, {0, 0, 0}, 0}, {nullptr, c, {1, 0, 0}, 0}};
    EXPECT_EQ(ShellCount(match[0], match), 1);
    EXPECT_EQ(ShellCount({nullptr, c, {2, 0, 0}, 0}, match), 1);
    EXPECT_EQ(ShellCount({nullptr, c, {5, 0, 0}, 0}, match), 0);
}

} // namespace
} // namespace ormaline
