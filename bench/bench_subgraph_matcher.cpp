// The subgraph matcher on the demo ligands (data source "PostgreSQL30"): every ligand
// against each fragment of tests/data, in (fragment, ligand) pairs per second, with
// and without element comparison, beside a naive backtracking matcher written here
// that tries every atom for each query atom in file order and checks the bonds to the
// atoms placed before it. After the table the two are compared pair by pair.
#include "app/core/SubgraphCandidates.h"
#include "model/MolTextReader.h"
#include "model/SubgraphSearch.h"
#include "model/TextUtil.h"

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace ormaline;

namespace {

const char* const kFragments[] = {"carboxylate.gph", "pyridine_ring.gph", "imidazole_ring.gph"};

std::vector<std::unique_ptr<tCompParam>>& Ligands() {
    static std::vector<std::unique_ptr<tCompParam>> ligands;
    return ligands;
}

void LoadLigands() {
    TDatabase db;
    db.Open();
    std::vector<TGuid> ids;
    for (auto r = db.Query("select id from topology.limon order by id"); !r->Eof(); r->Next())
        ids.push_back(*ParseGuid(r->AsString("id")));
    TCandidateAtoms atoms;
    atoms.Load(db, ids, nullptr);
    for (const TGuid& id : ids) {
        auto comp = std::make_unique<tCompParam>();
        if (atoms.Build(id, *comp))
            Ligands().push_back(std::move(comp));
    }
}

// A fragment's compound, its graph and its atoms as the naive matcher sees them.
struct TFragment {
    tCompParam compound;
    std::unique_ptr<TMolGraph> graph;
    struct TAtom {
        ElementCodeSet allowed;
        int cn = 0;
        std::vector<int> bonded; // query atom indexes
    };
    std::vector<TAtom> atoms;
};

std::vector<std::unique_ptr<TFragment>>& Fragments() {
    static std::vector<std::unique_ptr<TFragment>> fragments;
    return fragments;
}

void LoadFragments() {
    for (const char* name : kFragments) {
        std::ifstream file(std::string(ORMALINE_BENCH_SOURCE_DIR) + "/../tests/data/" + name,
                           std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        auto fragment = std::make_unique<TFragment>();
        if (!ReadMolTextFromString(text.str(), fragment->compound, {}))
            continue;
        std::vector<const tSteckAt*> list;
        for (const tSteckAt* atom = fragment->compound.pAt0; atom != nullptr; atom = atom->li)
            list.push_back(atom);
        for (const tSteckAt* atom : list) {
            TFragment::TAtom a;
            a.allowed = atom->Struct != nullptr ? atom->Struct->atset : ElementMembers(atom->A.n);
            for (const tAdjMatr* e = atom->PMAd; e != nullptr; e = e->li) {
                ++a.cn;
                for (std::size_t k = 0; k < list.size(); ++k)
                    if (list[k]->i == e->i)
                        a.bonded.push_back(static_cast<int>(k));
            }
            fragment->atoms.push_back(a);
        }
        fragment->graph = std::make_unique<TMolGraph>(fragment->compound.pAt0);
        Fragments().push_back(std::move(fragment));
    }
}

bool Bonded(const tSteckAt* a, const tSteckAt* b) {
    for (const tAdjMatr* e = a->PMAd; e != nullptr; e = e->li)
        if (e->m == bkValence && e->p == b)
            return true;
    return false;
}

// Every atom for each query atom in turn; the bonds to the atoms placed before it must
// be exactly those of the query.
bool NaiveMatch(const TFragment& fragment, const std::vector<const tSteckAt*>& atoms,
                bool compareElements) {
    std::vector<const tSteckAt*> placed;
    auto place = [&](auto&& self) -> bool {
        const std::size_t k = placed.size();
        if (k == fragment.atoms.size())
            return true;
        const TFragment::TAtom& q = fragment.atoms[k];
        for (const tSteckAt* atom : atoms) {
            if (atom->CN < q.cn || std::find(placed.begin(), placed.end(), atom) != placed.end())
                continue;
            if (compareElements && !q.allowed.IsEmpty() && !q.allowed.Contains(atom->A.n))
                continue;
            bool consistent = true;
            for (std::size_t j = 0; j < k && consistent; ++j) {
                const bool queryBond = std::find(q.bonded.begin(), q.bonded.end(),
                                                 static_cast<int>(j)) != q.bonded.end();
                consistent = queryBond == Bonded(atom, placed[j]);
            }
            if (!consistent)
                continue;
            placed.push_back(atom);
            if (self(self))
                return true;
            placed.pop_back();
        }
        return false;
    };
    return place(place);
}

std::vector<bool> results[2][2]; // [matcher][compare elements]

void Matcher(benchmark::State& state) {
    const bool compare = state.range(0) != 0;
    std::vector<TSubgraphMatcher> matchers;
    for (const auto& fragment : Fragments())
        matchers.emplace_back(fragment->graph->Graph(), fragment->compound.DC.at_, 0.0f, 0.0f,
                              compare);
    std::vector<bool>& found = results[0][compare];
    for (auto _ : state) {
        found.clear();
        for (TSubgraphMatcher& matcher : matchers)
            for (const auto& ligand : Ligands())
                found.push_back(matcher.Search(*ligand));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * found.size()));
    state.counters["hits"] = static_cast<double>(std::count(found.begin(), found.end(), true));
}

void NaiveBacktracking(benchmark::State& state) {
    const bool compare = state.range(0) != 0;
    std::vector<std::vector<const tSteckAt*>> atoms;
    for (const auto& ligand : Ligands()) {
        atoms.emplace_back();
        for (const tSteckAt* atom = ligand->pAt0; atom != nullptr; atom = atom->li)
            atoms.back().push_back(atom);
    }
    std::vector<bool>& found = results[1][compare];
    for (auto _ : state) {
        found.clear();
        for (const auto& fragment : Fragments())
            for (const auto& ligand : atoms)
                found.push_back(NaiveMatch(*fragment, ligand, compare));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * found.size()));
    state.counters["hits"] = static_cast<double>(std::count(found.begin(), found.end(), true));
}

BENCHMARK(Matcher)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(NaiveBacktracking)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    try {
        LoadLigands();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot load the demo ligands: %s\n", error.what());
        return 1;
    }
    LoadFragments();
    std::printf("%zu ligands, %zu fragments\n", Ligands().size(), Fragments().size());
    bench::RunWithRatios(
        argc, argv, {{"Matcher/1", "NaiveBacktracking/1"}, {"Matcher/0", "NaiveBacktracking/0"}});
    for (int compare = 1; compare >= 0; --compare) {
        const std::vector<bool>& a = results[0][compare];
        const std::vector<bool>& b = results[1][compare];
        std::size_t same = 0;
        for (std::size_t k = 0; k < a.size() && k < b.size(); ++k)
            same += a[k] == b[k];
        std::printf("%s element comparison: %zu of %zu pairs give the same answer\n",
                    compare ? "with" : "without", same, a.size());
    }
    return 0;
}
