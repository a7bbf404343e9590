// The subgraph search against a brute-force matcher written here, on random small
// molecules and fragments. The search may miss an embedding (its neighbour assignment
// is first fit), but every match it reports must be one: checked directly on the
// reported images, and, for molecules without lattice translations, by the brute
// force finding an embedding too.
#include "SubgraphTestSupport.h"

#include "model/ElementCodes.h"
#include "model/SubgraphSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace ormaline {
namespace {

using test::BuildStructure;
using test::ReadQuery;
using test::TBond;

struct TRandomMolecule {
    std::vector<std::int16_t> elements;
    std::vector<TBond> bonds;
};

const std::int16_t kElements[] = {6, 6, 6, 7, 8, 16};

TRandomMolecule RandomMolecule(std::mt19937& random, bool periodic) {
    TRandomMolecule molecule;
    const int atoms = std::uniform_int_distribution<int>(3, 9)(random);
    std::vector<int> degree(static_cast<std::size_t>(atoms), 0);
    std::set<std::pair<int, int>> joined;
    auto join = [&](int a, int b) {
        if (a == b || degree[a] >= 4 || degree[b] >= 4 ||
            !joined.insert({std::min(a, b), std::max(a, b)}).second)
            return;
        ++degree[a];
        ++degree[b];
        molecule.bonds.push_back({a + 1, b + 1});
    };
    for (int k = 0; k < atoms; ++k) {
        molecule.elements.push_back(kElements[std::uniform_int_distribution<int>(0, 5)(random)]);
        if (k > 0)
            join(k, std::uniform_int_distribution<int>(0, k - 1)(random));
    }
    const int extra = std::uniform_int_distribution<int>(0, 3)(random);
    for (int k = 0; k < extra; ++k)
        join(std::uniform_int_distribution<int>(0, atoms - 1)(random),
             std::uniform_int_distribution<int>(0, atoms - 1)(random));
    if (periodic) {
        std::uniform_int_distribution<int> shift(-1, 1);
        for (TBond& bond : molecule.bonds)
            if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
                bond.t = {static_cast<std::int8_t>(shift(random)),
                          static_cast<std::int8_t>(shift(random)),
                          static_cast<std::int8_t>(shift(random))};
        // An atom bonded to its own image along a.
        molecule.bonds.push_back({1, 1, {1, 0, 0}});
    }
    return molecule;
}

// Graph-file atom lines of a connected piece of the molecule (all bonds among the
// chosen atoms, written on both lines), with random marks and element spellings.
std::vector<std::string> RandomFragment(std::mt19937& random, const TRandomMolecule& molecule) {
    const int atoms = static_cast<int>(molecule.elements.size());
    const int wanted = std::uniform_int_distribution<int>(1, std::min(5, atoms))(random);
    std::vector<int> chosen = {std::uniform_int_distribution<int>(0, atoms - 1)(random)};
    for (std::size_t k = 0; k < chosen.size() && static_cast<int>(chosen.size()) < wanted; ++k)
        for (const TBond& bond : molecule.bonds)
            for (auto [from, to] :
                 {std::pair{bond.a - 1, bond.b - 1}, std::pair{bond.b - 1, bond.a - 1}})
                if (from == chosen[k] && static_cast<int>(chosen.size()) < wanted &&
                    std::find(chosen.begin(), chosen.end(), to) == chosen.end())
                    chosen.push_back(to);
    const bool central = std::uniform_int_distribution<int>(0, 2)(random) == 0;
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        std::string line;
        if (central && k == 0)
            line += '*';
        if (std::uniform_int_distribution<int>(0, 4)(random) == 0)
            line += '#';
        line += std::to_string(k + 1) + ' ';
        const std::string symbol(ElSymbol(molecule.elements[static_cast<std::size_t>(chosen[k])]));
        switch (std::uniform_int_distribution<int>(0, 5)(random)) {
        case 0:
            line += "{" + symbol + " N}";
            break;
        case 1:
            line += "Qq";
            break; // unknown: any element
        default:
            line += symbol;
            break;
        }
        line += " 0 0 0";
        for (std::size_t j = 0; j < chosen.size(); ++j)
            for (const TBond& bond : molecule.bonds)
                if (j != k && ((bond.a - 1 == chosen[k] && bond.b - 1 == chosen[j]) ||
                               (bond.b - 1 == chosen[k] && bond.a - 1 == chosen[j]))) {
                    line += ' ' + std::to_string(j + 1) + " v";
                    break;
                }
        lines.push_back(line);
    }
    return lines;
}

// The query as the brute force sees it, taken from the query compound before the graph
// is built (which clears the central marks).
struct TQueryAtom {
    ElementCodeSet allowed; // empty: any
    int entries = 0;
    bool marked = false;
    std::vector<int> neighbours; // indexes of named query atoms
};

std::vector<TQueryAtom> QueryAtoms(const tCompParam& query) {
    std::vector<const tSteckAt*> atoms;
    for (const tSteckAt* atom = query.pAt0; atom != nullptr; atom = atom->li)
        atoms.push_back(atom);
    std::vector<TQueryAtom> result;
    for (const tSteckAt* atom : atoms) {
        TQueryAtom q;
        if (atom->Struct != nullptr)
            q.allowed = atom->Struct->atset;
        else
            q.allowed.Include(atom->A.n);
        q.marked = atom->A.i < 0 || atom->A.kch == 1;
        for (const tAdjMatr* e = atom->PMAd; e != nullptr; e = e->li) {
            ++q.entries;
            for (std::size_t k = 0; k < atoms.size(); ++k)
                if (atoms[k]->i == e->i) {
                    q.neighbours.push_back(static_cast<int>(k));
                    break;
                }
        }
        result.push_back(q);
    }
    return result;
}

struct TImageOf {
    const tSteckAt* atom = nullptr;
    TImageShift t{};
    bool operator==(const TImageOf&) const = default;
};

// Valence bonds from one image to another.
int BondsBetween(const TImageOf& from, const TImageOf& to) {
    int count = 0;
    for (const tAdjMatr* e = from.atom->PMAd; e != nullptr; e = e->li)
        if (e->m == bkValence && e->p == to.atom && from.t[0] + e->a[0] == to.t[0] &&
            from.t[1] + e->a[1] == to.t[1] && from.t[2] + e->a[2] == to.t[2])
            ++count;
    return count;
}

struct TSettings {
    bool compare = true;
    float maxB = 0.0f;
    float minB = 0.0f;
};

// Whether images[k] for query atom k form an embedding: distinct images of fitting
// atoms, a valence bond for every query bond, no structure bond between images whose
// query atoms are not bonded, and the in-bond ratio within its bounds.
bool IsEmbedding(const std::vector<TQueryAtom>& query, const std::vector<TImageOf>& images,
                 const TSettings& settings) {
    if (images.size() != query.size())
        return false;
    for (std::size_t u = 0; u < query.size(); ++u) {
        const tSteckAt& atom = *images[u].atom;
        if (atom.CN < query[u].entries)
            return false;
        if (settings.compare && !query[u].allowed.IsEmpty() && !query[u].allowed.Contains(atom.A.n))
            return false;
        for (std::size_t v = 0; v < query.size(); ++v) {
            if (u == v)
                continue;
            if (images[u] == images[v])
                return false;
            const bool queryBond = std::count(query[u].neighbours.begin(),
                                              query[u].neighbours.end(), static_cast<int>(v)) > 0;
            if (queryBond != (BondsBetween(images[u], images[v]) > 0))
                return false;
        }
    }
    if (settings.maxB > 0.0001f) {
        double bonds = 0, inBonds = 0;
        for (std::size_t u = 0; u < query.size(); ++u) {
            bonds += images[u].atom->CN;
            if (query[u].marked) {
                inBonds += query[u].entries;
            } else {
                for (const TImageOf& other : images)
                    inBonds += BondsBetween(images[u], other);
            }
        }
        const double ratio = bonds == 0 ? 1.0 : inBonds / bonds;
        if (ratio + 0.0001 < settings.minB || ratio - 0.0001 > settings.maxB)
            return false;
    }
    return true;
}

// Every injective placement of the query atoms on atoms of the home cell.
bool BruteForceFinds(const std::vector<TQueryAtom>& query, const tCompParam& structure,
                     const TSettings& settings) {
    std::vector<const tSteckAt*> atoms;
    for (const tSteckAt* atom = structure.pAt0; atom != nullptr; atom = atom->li)
        atoms.push_back(atom);
    std::vector<TImageOf> images;
    auto place = [&](auto&& self) -> bool {
        if (images.size() == query.size())
            return IsEmbedding(query, images, settings);
        for (const tSteckAt* atom : atoms) {
            images.push_back({atom, {0, 0, 0}});
            if (self(self))
                return true;
            images.pop_back();
        }
        return false;
    };
    return place(place);
}

TEST(SubgraphSearch, EveryReportedMatchIsAnEmbedding) {
    std::mt19937 random(20240611);
    int reported = 0, bruteFound = 0, bruteOnly = 0;
    for (int pair = 0; pair < 1500; ++pair) {
        const bool periodic = pair % 4 == 3;
        const TRandomMolecule molecule = RandomMolecule(random, periodic);
        // Usually a piece of this molecule, otherwise of another one.
        const TRandomMolecule source = pair % 3 == 0 ? RandomMolecule(random, false) : molecule;
        const std::vector<std::string> lines = RandomFragment(random, source);
        TSettings settings;
        settings.compare = pair % 2 == 0;
        if (pair % 5 == 0) {
            settings.maxB = std::uniform_real_distribution<float>(0.3f, 1.0f)(random);
            settings.minB =
                settings.maxB - std::uniform_real_distribution<float>(0.0f, 0.4f)(random);
        }
        SCOPED_TRACE("pair " + std::to_string(pair) + ": " + lines.front());

        tCompParam query;
        ReadQuery(query, lines);
        const std::vector<TQueryAtom> queryAtoms = QueryAtoms(query);
        tCompParam structure;
        BuildStructure(structure, molecule.elements, molecule.bonds);
        TMolGraph graph(query.pAt0);
        TSubgraphMatch found;
        const bool result = SubgraphSearch(structure, query.DC.at_, graph.Graph(), settings.maxB,
                                           settings.minB, settings.compare, &found);
        if (result) {
            ++reported;
            // Images in query-atom order: node k of the graph is query atom k.
            std::vector<TImageOf> images(queryAtoms.size());
            for (const TMatchNode& node : found) {
                std::size_t k = 0;
                for (const MFO1* m = graph.Graph(); m != node.query; m = m->li)
                    ++k;
                images.at(k) = {node.atom, node.t};
            }
            EXPECT_EQ(found.size(), queryAtoms.size());
            EXPECT_TRUE(IsEmbedding(queryAtoms, images, settings));
        }
        if (!periodic) {
            const bool brute = BruteForceFinds(queryAtoms, structure, settings);
            bruteFound += brute;
            bruteOnly += brute && !result;
            EXPECT_TRUE(brute || !result) << "a match the brute force does not know";
        }
    }
    // The comparison means something: many pairs match, and few embeddings are missed.
    EXPECT_GT(reported, 800);
    EXPECT_GT(bruteFound, 600);
    EXPECT_LT(bruteOnly * 20, bruteFound) << bruteOnly << " of " << bruteFound << " missed";
}

} // namespace
} // namespace ormaline
