// The candidates of a ligand search with a subgraph: their atoms loaded and tested
// against the fragment, either one ligand at a time with the two statements of
// LiMoNFromDB (the reference scheme), in blocks of a few hundred ligands with one
// statement per table and block, or all at once with one statement that hands the
// server the search's own conditions. The last two also apply the element pre-filter
// on the server. All give the same hits.
#pragma once

#include "app/core/LiMoNFromDB.h"
#include "app/core/SubgraphTest.h"
#include "db/Database.h"

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ormaline {

// The atoms of the ligands `ids`, one row per ligand that has atoms, in no particular
// order: "limonid" and "atomlist", the atoms separated by ";", each as its number,
// element code and coordination number separated by blanks. With a set list, only
// ligands whose atoms hold a member of each non-empty set come back (a necessary
// condition of PassesElementSets, which also counts only atoms with a bond list).
std::string SelectCandidateAtoms(const std::vector<TGuid>& ids, const tSetAtSet* sets);
// The bond lists of the ligands `ids`, one row per ligand that has any: "limonid",
// "bondlists" (their number) and "bondlist", the lists separated by ";", each as the
// atom number, a blank and the list.
std::string SelectCandidateBondLists(const std::vector<TGuid>& ids);
// The atoms and bond lists of the ligands that `candidateStatement`
// (TTLCandidateStatement) gives, one row per ligand that has any, in no particular
// order: "limonid", "items" (their number) and "itemlist", the items separated by ";":
// each atom as "a" and its number, element code and coordination number, each bond
// list as "b" and its atom number and list, separated by blanks. With a set list, only
// ligands whose atoms hold a member of each non-empty set come back.
std::string SelectSearchCandidateAtoms(const std::string& candidateStatement,
                                       const tSetAtSet* sets);

// What a builder reuses from one candidate to the next: the atoms and the bond lists
// read from the text, before they are paired.
struct TCandidateBuffers {
    using TBondList = std::pair<std::int32_t, std::string_view>; // atom number, list
    std::vector<TLigandAtomValues> atoms;
    std::vector<TBondList> lists;
};

// Builds the row of SelectSearchCandidateAtoms into `comp` as TCandidateAtoms::Build
// does. A bond list holding the separator ";" throws EConvertError.
bool BuildSearchCandidate(const std::string& ligand, std::int32_t itemCount,
                          std::string_view itemList, tCompParam& comp, TCandidateBuffers& buffers);

// The atoms of one block of ligands, kept until the next block is loaded. The atoms
// and the bond lists are read from their tables separately and paired by atom number
// here, as the loader's join pairs them: the server then scans each table once per
// block instead of joining row by row.
class TCandidateAtoms {
public:
    // Runs SelectCandidateAtoms, then SelectCandidateBondLists for the ligands that
    // came back, and keeps their rows by ligand.
    void Load(TDatabase& database, const std::vector<TGuid>& ids, const tSetAtSet* sets);
    // Builds ligand `id` of the last block into `comp` with the atoms LiMoNFromDB
    // gives it ("P 1", each atom with a bond list, in element-and-index order, linked
    // adjacency), without the cell, name, code and coordinates, which the search does
    // not read. False, with `comp` holding no atoms, when the ligand has none. A bond
    // list holding the separator ";" throws EConvertError.
    bool Build(const TGuid& id, tCompParam& comp) const;

private:
    struct TBondLists {
        std::int32_t count = 0;
        std::string text;
    };
    std::unordered_map<std::string, std::string> atomsByLigand_;
    std::unordered_map<std::string, TBondLists> bondListsByLigand_;
};

// How candidates are loaded.
enum class TCandidateLoading {
    PerRow,      // two statements per candidate
    Bulk,        // two statements per block of candidates
    WholeSearch, // one statement for all candidates, tested before the rows are walked
};

// Decides, block by block, which candidate rows of the search are hits, and keeps
// the time spent in the database and in building and testing the compounds.
class TSubgraphRowFilter {
public:
    static constexpr std::size_t kBulkBlockSize = 500;

    TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId, TSubgraphTest& test,
                       TCandidateLoading loading);

    // `blockSize` rows per block in bulk (at least 1).
    TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId, TSubgraphTest& test,
                       TCandidateLoading loading, std::size_t blockSize);

    // Rows per block: 1 for the per-row scheme.
    std::size_t BlockSize() const;

    // With whole-search loading, starts loading every candidate of `candidateStatement`
    // (TTLCandidateStatement of the search whose rows are walked next) on a connection
    // of its own to the same data source, on a worker thread, so that the search's own
    // statement and the window go on meanwhile; does nothing with the other schemes.
    void StartSearch(const std::string& candidateStatement);
    // Reports the ligands tested so far and the hits among them.
    using TProgress = std::function<void(int tested, int hits)>;
    // Waits for the candidates of StartSearch, reporting (0, 0) now and then while the
    // server works, then tests them all and keeps the hits, reporting progress. A
    // database error of the load is thrown here. Does nothing without StartSearch.
    void TestSearch(const TProgress& progress);
    // One flag per ligand, in order. With whole-search loading the flags are those of
    // TestSearch; before it the block is loaded as in bulk.
    std::vector<bool> TestBlock(const std::vector<TGuid>& ids);

    int Tested() const { return tested_; }
    std::chrono::steady_clock::duration DatabaseTime() const { return databaseTime_; }
    std::chrono::steady_clock::duration MatchingTime() const { return matchingTime_; }

private:
    TDatabase& database_;
    TGuid libraryId_;
    TSubgraphTest& test_;
    TCandidateLoading loading_;
    std::size_t blockSize_;
    tCompParam scratch_; // the candidate being tested
    TCandidateBuffers buffers_;
    TCandidateAtoms block_;
    // The candidates' rows with the connection they were read on (the rows go first).
    struct TLoadedCandidates {
        std::unique_ptr<TDatabase> connection;
        std::unique_ptr<TResult> rows;
    };
    std::future<TLoadedCandidates> searchLoad_;
    bool searchTested_ = false;
    std::unordered_set<TGuid> searchHits_;
    int tested_ = 0;
    std::chrono::steady_clock::duration databaseTime_{};
    std::chrono::steady_clock::duration matchingTime_{};
};

} // namespace ormaline
