// Subgraph search: does a query fragment, read from a graph file, occur in a compound?
//
// The query compound becomes a molecular graph once per ligand search (BuildMolGraph):
// one node (MFO1) per query atom with its allowed elements and its neighbours (okr1),
// and the list of the distinct element sets of the nodes (tSetAtSet), which callers
// use to reject candidates quickly. SubgraphSearch then maps query atoms onto images
// of structure atoms (an atom with a lattice translation) along valence bonds, by
// backtracking, and stops at the first complete match. Translations add up along a
// path, so one structure atom may take part in a match several times, in different
// cells.
//
// Choices where the rules leave room:
// - A valence entry of the structure whose partner pointer is not linked is skipped
//   (never followed, never counted inside a match); it still counts in the atom's CN.
// - The in-bond ratio of a match whose structure atoms have no valence bonds at all
//   (B = 0) is taken as 1: no bond leaves the match.
// - A query graph of several components is matched component by component: when no
//   unmatched node neighbours the match, the next component starts at its first node
//   of the largest cn, on the compound's atoms in the home cell, and an atom already
//   in the match is no candidate.
#pragma once

#include "model/OurData.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ormaline {

struct MFO1;

// Neighbour entry of a molecular-graph node.
struct okr1 {
    okr1* li = nullptr;
    MFO1* p = nullptr; // the neighbour's node
};

// Bits of MFO1.center.
inline constexpr std::uint8_t kCentralNode = 1; // "*" in the file: the match starts here
inline constexpr std::uint8_t kMarkedNode = 2;  // "#" (and every central node)

// Node of a molecular graph: one query atom.
struct MFO1 {
    MFO1* li = nullptr;      // next node, in the order of the query atom list
    std::uint8_t cn = 0;     // adjacency entries of the query atom, all kinds (at most 255)
    std::uint8_t center = 0; // kCentralNode, kMarkedNode
    tAtData At;              // constraints; the search reads only atset
    bool n = true;           // availability while neighbours are assigned; true at rest
    okr1* r = nullptr;       // neighbours
};

// A distinct element set of the nodes.
struct tSetAtSet {
    tSetAtSet* li = nullptr;
    ElementCodeSet s;
};

// Builds the graph of the query atoms from `queryAtoms` (a compound's pAt0) and the
// list of the distinct atsets of its nodes, newest first. Node neighbours come from
// the atoms' adjacency entries of every kind, by partner number; an entry naming no
// atom is skipped; each node's neighbour list is in reverse order of its entries.
// Central atoms (negative A.i) get their A.i made positive in the query compound
// itself, so a second graph of the same compound has no central atom.
void BuildMolGraph(tSteckAt* queryAtoms, MFO1*& graph, tSetAtSet*& sets);

// Frees every node with its neighbour list; graph := nil.
void FreeMolGraph(MFO1*& graph);
// Frees the set list; sets := nil.
void FreeSetAtSet(tSetAtSet*& sets);

// Owns the graph and set list of one query for the length of a search.
class TMolGraph {
public:
    explicit TMolGraph(tSteckAt* queryAtoms) { BuildMolGraph(queryAtoms, graph_, sets_); }
    ~TMolGraph() {
        FreeMolGraph(graph_);
        FreeSetAtSet(sets_);
    }
    TMolGraph(const TMolGraph&) = delete;
    TMolGraph& operator=(const TMolGraph&) = delete;

    MFO1* Graph() const { return graph_; }
    const tSetAtSet* Sets() const { return sets_; }

private:
    MFO1* graph_ = nullptr;
    tSetAtSet* sets_ = nullptr;
};

// A lattice translation of an image. Wider than the records' 8-bit translations, so
// that sums along long paths do not wrap.
using TImageShift = std::array<std::int32_t, 3>;

// Field by field: the comparison runs in the search's innermost loops.
constexpr bool SameShift(const TImageShift& a, const TImageShift& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// One matched query node on the current search path.
struct TMatchNode {
    MFO1* query = nullptr;
    tSteckAt* atom = nullptr;
    TImageShift t{};
    std::int32_t level = 0; // shell, used only when the query has a central node
};
using TSubgraphMatch = std::vector<TMatchNode>;

// True when comparison is off, or c.atset is empty, or a's element is in 0..127 and in
// c.atset.
bool AtomMatches(const tAtData& c, const tSteckAt& a, bool compareElements);
// a.CN >= q.cn and AtomMatches(q.At, a, compareElements).
bool NodeFits(const MFO1& q, const tSteckAt& a, bool compareElements);
// The number of linked valence bonds of r's atom whose image (partner, translation
// + r.t) belongs to the match.
int ShellCount(const TMatchNode& r, const TSubgraphMatch& match);

// Does the query graph `g` of `n` atoms occur in `s`? The search follows the linked
// valence entries of s (m = 1, p set). With maxBPlane > 0.0001 a complete match also
// needs its in-bond ratio within [minBPlane, maxBPlane] (each with 0.0001 of slack):
// the sum over the match of the query cn of marked nodes and of ShellCount of the
// others, over the sum of the structure atoms' CN. `found`, when given, receives
// the match (in matching order) when the result is true.
bool SubgraphSearch(tCompParam& s, std::uint32_t n, MFO1* g, float maxBPlane, float minBPlane,
                    bool compareElements, TSubgraphMatch* found = nullptr);

// The same search prepared once for many compounds: the node order, neighbour
// indexes and scratch lists are made when it is created, not per compound.
class TSubgraphMatcher {
public:
    TSubgraphMatcher(MFO1* g, std::uint32_t n, float maxBPlane, float minBPlane,
                     bool compareElements);
    bool Search(tCompParam& s, TSubgraphMatch* found = nullptr);

private:
    struct TImage {
        tSteckAt* atom = nullptr;
        TImageShift t{};
        friend bool operator==(const TImage& a, const TImage& b) {
            return a.atom == b.atom && SameShift(a.t, b.t);
        }
    };
    struct TMatchedNeighbour {
        TImage image;
        bool flagged = false;
    };

    bool MatchStep(std::uint32_t depth, std::int32_t level);
    bool Complete() const;
    // The next node to match and the level it gets; -1 when no node is left.
    int ChooseNext(std::uint32_t depth, std::int32_t level, std::int32_t& stepLevel);
    int FirstLargestUnmatched() const;
    void SplitNeighbours(int q);
    void CollectCandidates(int q, std::vector<TImage>& candidates);
    // The neighbour assignment of a candidate image for the node being matched: every
    // matched neighbour reached by its own bond, every unmatched one given an image
    // (first fit), and no bond to another image of the match.
    bool NeighboursAssign(const TImage& candidate);
    bool InMatch(const TImage& image) const;

    std::vector<MFO1*> nodes_;
    std::vector<std::vector<int>> neighbours_; // node indexes, in the order of each r
    std::uint32_t n_ = 0;
    int start_ = -1;
    float maxBPlane_ = 0.0f;
    float minBPlane_ = 0.0f;
    bool compareElements_ = false;

    tCompParam* s_ = nullptr;
    TSubgraphMatch match_;
    std::vector<int> matchOf_;                    // index into match_ per node, or -1
    std::vector<std::vector<TImage>> candidates_; // per depth
    std::vector<TImage> considered_;
    std::vector<char> frontier_;
    std::vector<TMatchedNeighbour> matchedNeighbours_;
    std::vector<int> unmatchedNeighbours_;
};

} // namespace ormaline
