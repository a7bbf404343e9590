#include "model/SubgraphSearch.h"

#include "model/AdjacencyLinking.h"
#include "model/AtomList.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_map>

namespace ormaline {

namespace {

// Slack of the in-bond ratio bounds, and the bound at or below which the ratio test
// is off.
constexpr double kRatioSlack = 0.0001;

bool RatioTestOn(float maxBPlane) {
    return static_cast<double>(maxBPlane) > kRatioSlack;
}

bool IsValence(const tAdjMatr& entry) {
    return entry.m == bkValence && entry.p != nullptr;
}

TImageShift Shifted(const TImageShift& t, const ShIVector& a) {
    return {t[0] + a[0], t[1] + a[1], t[2] + a[2]};
}

bool SameImage(const TMatchNode& node, const tSteckAt* atom, const TImageShift& t) {
    return node.atom == atom && SameShift(node.t, t);
}

bool ImageInMatch(const TSubgraphMatch& match, const tSteckAt* atom, const TImageShift& t) {
    return std::any_of(match.begin(), match.end(),
                       [&](const TMatchNode& node) { return SameImage(node, atom, t); });
}

} // namespace

void BuildMolGraph(tSteckAt* queryAtoms, MFO1*& graph, tSetAtSet*& sets) {
    graph = nullptr;
    sets = nullptr;
    MFO1** tail = &graph;
    std::unordered_map<const tSteckAt*, MFO1*> nodeOf;
    for (tSteckAt* atom = queryAtoms; atom != nullptr; atom = atom->li) {
        auto* node = new MFO1{};
        if (atom->A.i < 0) {
            node->center |= kCentralNode | kMarkedNode;
            atom->A.i = -atom->A.i;
        }
        if (atom->A.kch == 1)
            node->center |= kMarkedNode;
        node->cn = static_cast<std::uint8_t>(
            std::min(ListLength(atom->PMAd), int{std::numeric_limits<std::uint8_t>::max()}));
        if (atom->Struct != nullptr) {
            node->At = *atom->Struct;
        } else {
            node->At = tAtData{};
            node->At.atset.Include(atom->A.n); // nothing outside 0..127
        }
        bool known = false;
        for (const tSetAtSet* set = sets; set != nullptr && !known; set = set->li)
            known = set->s == node->At.atset;
        if (!known)
            sets = new tSetAtSet{sets, node->At.atset};
        *tail = node;
        tail = &node->li;
        nodeOf.emplace(atom, node);
    }

    const TAtomNumberIndex byNumber(queryAtoms);
    MFO1* node = graph;
    for (tSteckAt* atom = queryAtoms; atom != nullptr; atom = atom->li, node = node->li) {
        for (const tAdjMatr* entry = atom->PMAd; entry != nullptr; entry = entry->li) {
            const tSteckAt* partner = byNumber.Find(entry->i);
            if (partner != nullptr)
                node->r = new okr1{node->r, nodeOf.at(partner)};
        }
    }
}

void FreeMolGraph(MFO1*& graph) {
    while (graph != nullptr) {
        MFO1* next = graph->li;
        DisposeList(graph->r);
        delete graph;
        graph = next;
    }
}

void FreeSetAtSet(tSetAtSet*& sets) {
    DisposeList(sets);
}

bool AtomMatches(const tAtData& c, const tSteckAt& a, bool compareElements) {
    return !compareElements || c.atset.IsEmpty() || c.atset.Contains(a.A.n);
}

bool NodeFits(const MFO1& q, const tSteckAt& a, bool compareElements) {
    return a.CN >= q.cn && AtomMatches(q.At, a, compareElements);
}

int ShellCount(const TMatchNode& r, const TSubgraphMatch& match) {
    int count = 0;
    for (const tAdjMatr* e = r.atom->PMAd; e != nullptr; e = e->li)
        if (IsValence(*e) && ImageInMatch(match, e->p, Shifted(r.t, e->a)))
            ++count;
    return count;
}

bool SubgraphSearch(tCompParam& s, std::uint32_t n, MFO1* g, float maxBPlane, float minBPlane,
                    bool compareElements, TSubgraphMatch* found) {
    TSubgraphMatcher matcher(g, n, maxBPlane, minBPlane, compareElements);
    return matcher.Search(s, found);
}

// ---------------------------------------------------------------- TSubgraphMatcher

TSubgraphMatcher::TSubgraphMatcher(MFO1* g, std::uint32_t n, float maxBPlane, float minBPlane,
                                   bool compareElements)
    : n_(n), maxBPlane_(maxBPlane), minBPlane_(minBPlane), compareElements_(compareElements) {
    std::unordered_map<const MFO1*, int> indexOf;
    for (MFO1* node = g; node != nullptr; node = node->li) {
        indexOf.emplace(node, static_cast<int>(nodes_.size()));
        if (start_ < 0 && (node->center & kCentralNode) != 0)
            start_ = static_cast<int>(nodes_.size());
        nodes_.push_back(node);
    }
    neighbours_.resize(nodes_.size());
    for (std::size_t k = 0; k < nodes_.size(); ++k)
        for (const okr1* entry = nodes_[k]->r; entry != nullptr; entry = entry->li)
            neighbours_[k].push_back(indexOf.at(entry->p));
    matchOf_.assign(nodes_.size(), -1);
    candidates_.resize(static_cast<std::size_t>(n_) + 2);
}

bool TSubgraphMatcher::Search(tCompParam& s, TSubgraphMatch* found) {
    s_ = &s;
    match_.clear();
    std::fill(matchOf_.begin(), matchOf_.end(), -1);
    const bool result = MatchStep(1, 0);
    if (result && found != nullptr)
        *found = match_;
    match_.clear();
    std::fill(matchOf_.begin(), matchOf_.end(), -1);
    s_ = nullptr;
    return result;
}

bool TSubgraphMatcher::InMatch(const TImage& image) const {
    return ImageInMatch(match_, image.atom, image.t);
}

bool TSubgraphMatcher::Complete() const {
    if (!RatioTestOn(maxBPlane_))
        return true;
    double inBonds = 0.0;
    double bonds = 0.0;
    for (const TMatchNode& node : match_) {
        bonds += node.atom->CN;
        inBonds +=
            (node.query->center & kMarkedNode) != 0 ? node.query->cn : ShellCount(node, match_);
    }
    // Without any bond at the matched atoms no bond leaves the match.
    const double ratio = bonds == 0.0 ? 1.0 : inBonds / bonds;
    return !(ratio + kRatioSlack < static_cast<double>(minBPlane_) ||
             ratio - kRatioSlack > static_cast<double>(maxBPlane_));
}

int TSubgraphMatcher::FirstLargestUnmatched() const {
    int best = -1;
    for (std::size_t k = 0; k < nodes_.size(); ++k)
        if (matchOf_[k] < 0 && (best < 0 || nodes_[k]->cn > nodes_[best]->cn))
            best = static_cast<int>(k);
    return best;
}

int TSubgraphMatcher::ChooseNext(std::uint32_t depth, std::int32_t level, std::int32_t& stepLevel) {
    stepLevel = level;
    if (depth == 1 && start_ >= 0)
        return start_;
    if (match_.empty())
        return FirstLargestUnmatched();

    // Unmatched neighbours of the match (1); with a central node, those of a match node
    // of the previous shell, level - 1, outrank the others (2).
    const std::size_t count = nodes_.size();
    frontier_.assign(count, 0);
    bool innerShell = false;
    for (std::size_t x = 0; x < count; ++x) {
        const int at = matchOf_[x];
        if (at < 0)
            continue;
        const bool previousShell =
            start_ >= 0 && match_[static_cast<std::size_t>(at)].level == level - 1;
        for (int y : neighbours_[x]) {
            char& mark = frontier_[static_cast<std::size_t>(y)];
            if (matchOf_[static_cast<std::size_t>(y)] >= 0)
                continue;
            if (previousShell) {
                mark = 2;
                innerShell = true;
            } else if (mark == 0) {
                mark = 1;
            }
        }
    }
    if (start_ >= 0 && !innerShell)
        stepLevel = level + 1;
    const char wanted = innerShell ? 2 : 1;

    int best = -1;
    int bestScore = -1;
    for (std::size_t y = 0; y < count; ++y) {
        if (frontier_[y] < wanted)
            continue;
        int score = 0;
        for (int x : neighbours_[y])
            if (matchOf_[static_cast<std::size_t>(x)] >= 0)
                ++score;
        if (score > bestScore ||
            (score == bestScore && nodes_[y]->cn > nodes_[static_cast<std::size_t>(best)]->cn)) {
            best = static_cast<int>(y);
            bestScore = score;
        }
    }
    if (best >= 0)
        return best;
    // The match covers whole components: the next one starts afresh.
    return FirstLargestUnmatched();
}

void TSubgraphMatcher::SplitNeighbours(int q) {
    matchedNeighbours_.clear();
    unmatchedNeighbours_.clear();
    // Each list is built by putting entries at the front while the neighbour list is
    // walked, so both come out in the order in which the query atom's bonds are written.
    const std::vector<int>& around = neighbours_[static_cast<std::size_t>(q)];
    for (auto it = around.rbegin(); it != around.rend(); ++it) {
        const int at = matchOf_[static_cast<std::size_t>(*it)];
        if (at >= 0) {
            const TMatchNode& node = match_[static_cast<std::size_t>(at)];
            matchedNeighbours_.push_back({{node.atom, node.t}, false});
        } else {
            unmatchedNeighbours_.push_back(*it);
        }
    }
}

bool TSubgraphMatcher::NeighboursAssign(const TImage& candidate) {
    std::size_t assigned = 0;
    bool kept = true;
    for (const tAdjMatr* f = candidate.atom->PMAd; f != nullptr && kept; f = f->li) {
        if (!IsValence(*f))
            continue;
        const TImage image{f->p, Shifted(candidate.t, f->a)};
        auto matched = std::find_if(
            matchedNeighbours_.begin(), matchedNeighbours_.end(),
            [&](const TMatchedNeighbour& m) { return !m.flagged && m.image == image; });
        if (matched != matchedNeighbours_.end()) {
            matched->flagged = true;
        } else if (InMatch(image)) {
            kept = false; // the structure has a bond that the query lacks
        } else {
            for (int u : unmatchedNeighbours_) {
                MFO1& node = *nodes_[static_cast<std::size_t>(u)];
                if (node.n && AtomMatches(node.At, *f->p, compareElements_)) {
                    node.n = false;
                    ++assigned;
                    break;
                }
            }
        }
    }
    kept = kept && assigned == unmatchedNeighbours_.size() &&
           std::all_of(matchedNeighbours_.begin(), matchedNeighbours_.end(),
                       [](const TMatchedNeighbour& m) { return m.flagged; });
    for (int u : unmatchedNeighbours_)
        nodes_[static_cast<std::size_t>(u)]->n = true;
    for (TMatchedNeighbour& m : matchedNeighbours_)
        m.flagged = false;
    return kept;
}

void TSubgraphMatcher::CollectCandidates(int q, std::vector<TImage>& candidates) {
    candidates.clear();
    const MFO1& node = *nodes_[static_cast<std::size_t>(q)];
    auto consider = [&](const TImage& image) {
        if (NeighboursAssign(image))
            candidates.push_back(image);
    };
    if (matchedNeighbours_.empty()) {
        for (tSteckAt* atom = s_->pAt0; atom != nullptr; atom = atom->li) {
            const TImage image{atom, {0, 0, 0}};
            if (NodeFits(node, *atom, compareElements_) && !InMatch(image))
                consider(image);
        }
        return;
    }
    considered_.clear();
    for (const TMatchedNeighbour& r : matchedNeighbours_) {
        for (tAdjMatr* e = r.image.atom->PMAd; e != nullptr; e = e->li) {
            if (!IsValence(*e))
                continue;
            const TImage image{e->p, Shifted(r.image.t, e->a)};
            if (InMatch(image) ||
                std::find(considered_.begin(), considered_.end(), image) != considered_.end())
                continue;
            considered_.push_back(image);
            if (NodeFits(node, *e->p, compareElements_))
                consider(image);
        }
    }
}

bool TSubgraphMatcher::MatchStep(std::uint32_t depth, std::int32_t level) {
    if (depth > n_)
        return Complete();
    std::int32_t stepLevel = level;
    const int q = ChooseNext(depth, level, stepLevel);
    if (q < 0)
        return false;
    SplitNeighbours(q);
    if (depth >= candidates_.size())
        candidates_.resize(depth + 1);
    std::vector<TImage>& candidates = candidates_[depth];
    CollectCandidates(q, candidates);
    // Each new candidate went to the front of the list: the last one found is tried first.
    for (std::size_t k = candidates.size(); k-- > 0;) {
        const TImage image = candidates[k];
        matchOf_[static_cast<std::size_t>(q)] = static_cast<int>(match_.size());
        match_.push_back({nodes_[static_cast<std::size_t>(q)], image.atom, image.t, stepLevel});
        const bool complete = MatchStep(depth + 1, stepLevel);
        if (complete)
            return true;
        match_.pop_back();
        matchOf_[static_cast<std::size_t>(q)] = -1;
    }
    return false;
}

} // namespace ormaline
