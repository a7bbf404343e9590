// The ligand search with a subgraph on the large database (data source
// "OrmalineLarge", 100,000 ligands): every ligand of the library "Ligands" is a
// candidate (name pattern %), and the pyridine-ring and carboxylate fragments of
// tests/data restrict the hits. The candidates are loaded all at once over the
// search's own conditions (what the program does) and in blocks of ids, both with the
// element pre-filter on the server, against the reference scheme of two statements
// per candidate. Each run reports the time of the search's own statement with its
// rows read (search_s; the whole search's candidates load meanwhile), the time then
// spent waiting for the database (db_s: candidates' statements and rows) and in
// building and matching the compounds (match_s), and the hits; after the table the
// hits of both schemes are compared row for row.
#include "app/core/SubgraphCandidates.h"
#include "app/core/TTLCheck.h"
#include "app/core/TTLQuery.h"
#include "app/core/TTLSearchRows.h"
#include "model/MolTextReader.h"
#include "model/TextUtil.h"

#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace ormaline;

namespace {

const char* const kLargeDatabase = "DSN=OrmalineLarge;";

TDatabase& Connection() {
    static TDatabase database(kLargeDatabase);
    if (!database.IsOpen())
        database.Open();
    return database;
}

TTTLSearch AllLigands() {
    TTTLPageState page;
    page.LibraryText = "Ligands";
    page.NameText = "%";
    TTTLSearch search;
    CheckTTLConditions(page, DatabaseLibraryLookup(Connection()), search);
    return search;
}

std::vector<std::string> Fragment(const std::string& name) {
    std::ifstream file(std::string(ORMALINE_BENCH_SOURCE_DIR) + "/../tests/data/" + name,
                       std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return SplitLines(text.str());
}

// The hit IDs of each run, by benchmark name.
std::map<std::string, std::vector<TGuid>>& Hits() {
    static std::map<std::string, std::vector<TGuid>> hits;
    return hits;
}

void FilteredSearch(benchmark::State& state, const std::string& fragment, TCandidateLoading loading,
                    const std::string& key) {
    const TTTLSearch search = AllLigands();
    if (search.LibraryID.IsNull()) {
        state.SkipWithError("the large database has no library \"Ligands\"");
        return;
    }
    const std::string statement = TTLSearchStatement(search, true, false, {});
    const std::string candidateStatement = TTLCandidateStatement(search, true, false, {});
    const std::vector<std::string> lines = Fragment(fragment);
    std::vector<TGuid> hits;
    double databaseSeconds = 0, matchingSeconds = 0, outerSeconds = 0;
    int candidates = 0;
    for (auto _ : state) {
        tCompParam query;
        if (!ReadMolText(lines, query, {})) {
            state.SkipWithError("the fragment does not read");
            return;
        }
        TKRELMOpt options; // the ratio test off, as at start-up
        TSubgraphTest test(query, false, options);
        TSubgraphRowFilter filter(Connection(), search.LibraryID, test, loading);
        hits.clear();
        const auto start = std::chrono::steady_clock::now();
        filter.StartSearch(candidateStatement);
        auto result = Connection().Query(statement);
        // As the window does: the rows are read while the candidates still load.
        const std::vector<TOneRecStr> records = ReadTTLSearchRows(*result);
        result->Close();
        const auto outerDone = std::chrono::steady_clock::now();
        filter.TestSearch({});
        DecideTTLSearchRows(
            records, [&](const TOneRecStr& record, int) { hits.push_back(record.ID); },
            [&](const std::vector<TGuid>& ids) { return filter.TestBlock(ids); },
            filter.BlockSize());
        outerSeconds = std::chrono::duration<double>(outerDone - start).count();
        databaseSeconds = std::chrono::duration<double>(filter.DatabaseTime()).count();
        matchingSeconds = std::chrono::duration<double>(filter.MatchingTime()).count();
        candidates = filter.Tested();
    }
    state.counters["candidates"] = candidates;
    state.counters["hits"] = static_cast<double>(hits.size());
    state.counters["search_s"] = outerSeconds;
    state.counters["db_s"] = databaseSeconds;
    state.counters["match_s"] = matchingSeconds;
    Hits()[key] = hits;
}

void PyridineWholeSearch(benchmark::State& state) {
    FilteredSearch(state, "pyridine_ring.gph", TCandidateLoading::WholeSearch,
                   "PyridineWholeSearch");
}
void CarboxylateWholeSearch(benchmark::State& state) {
    FilteredSearch(state, "carboxylate.gph", TCandidateLoading::WholeSearch,
                   "CarboxylateWholeSearch");
}
void PyridineBulk(benchmark::State& state) {
    FilteredSearch(state, "pyridine_ring.gph", TCandidateLoading::Bulk, "PyridineBulk");
}
void PyridinePerRow(benchmark::State& state) {
    FilteredSearch(state, "pyridine_ring.gph", TCandidateLoading::PerRow, "PyridinePerRow");
}
void CarboxylateBulk(benchmark::State& state) {
    FilteredSearch(state, "carboxylate.gph", TCandidateLoading::Bulk, "CarboxylateBulk");
}
void CarboxylatePerRow(benchmark::State& state) {
    FilteredSearch(state, "carboxylate.gph", TCandidateLoading::PerRow, "CarboxylatePerRow");
}

BENCHMARK(PyridineWholeSearch)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(PyridineBulk)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(PyridinePerRow)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(CarboxylateWholeSearch)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(CarboxylateBulk)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(CarboxylatePerRow)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    try {
        Connection();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot open the large database: %s\n", error.what());
        return 1;
    }
    bench::RunWithRatios(argc, argv,
                         {{"PyridineWholeSearch/iterations:3", "PyridinePerRow/iterations:1"},
                          {"PyridineBulk/iterations:3", "PyridinePerRow/iterations:1"},
                          {"CarboxylateWholeSearch/iterations:3", "CarboxylatePerRow/iterations:1"},
                          {"CarboxylateBulk/iterations:3", "CarboxylatePerRow/iterations:1"}});
    for (const char* fragment : {"Pyridine", "Carboxylate"}) {
        const auto perRow = Hits().find(std::string(fragment) + "PerRow");
        if (perRow == Hits().end())
            continue;
        for (const char* scheme : {"WholeSearch", "Bulk"}) {
            const auto hits = Hits().find(std::string(fragment) + scheme);
            if (hits == Hits().end())
                continue;
            std::printf("%s: %zu hits %s, %zu per row, %s\n", fragment, hits->second.size(), scheme,
                        perRow->second.size(),
                        hits->second == perRow->second ? "identical row for row" : "DIFFERENT");
        }
    }
    return 0;
}
