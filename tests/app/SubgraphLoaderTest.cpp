// The loaders of the subgraph query over the demo database: every ligand loaded one
// at a time (LiMoNFromDB) and in blocks (TCandidateAtoms) gives the atoms and bonds
// that the test's own statement finds, the server's element pre-filter passes exactly
// the ligands that pass it on the loaded compounds, and the filter decides every
// candidate of a search as the per-row scheme does whatever its block size, or with
// the whole search loaded at once.
#include "support/GuiTest.h"

#include "app/core/SubgraphCandidates.h"
#include "app/core/TTLCheck.h"
#include "app/core/TTLQuery.h"
#include "app/core/TTLSearchRows.h"
#include "model/Compound.h"
#include "model/Errors.h"
#include "model/MolTextReader.h"
#include "model/TextFile.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <map>
#include <set>

using namespace ormaline;
using namespace ormaline::testing;

namespace {

struct TLigandRow {
    TGuid library;
    std::string name;
    std::int64_t code = 0;
    std::uint32_t atoms = 0;
    float a = 0.0f;
};

// Per atom number: element, coordination number and neighbour numbers, as text.
using TAtomTable = std::map<int, std::string>;

TAtomTable AtomsOf(const tCompParam& comp) {
    TAtomTable table;
    for (const tSteckAt* atom = comp.pAt0; atom != nullptr; atom = atom->li) {
        std::string text = std::to_string(atom->A.n) + " " + std::to_string(atom->A.kch) + ":";
        for (const tAdjMatr* e = atom->PMAd; e != nullptr; e = e->li) {
            text += " " + std::to_string(e->i);
            // Linked to the atom of that number.
            if (e->p == nullptr || e->p->i != e->i)
                text += "!";
        }
        table[atom->i] = text;
    }
    return table;
}

TEST(SubgraphLoaders, BothLoadersGiveEveryLigandsAtomsAndLinkedBonds) {
    TDatabase db;
    db.Open();
    std::map<std::string, TLigandRow> ligands;
    for (auto r =
             db.Query("select id, libraryid, name, ttlcode, countat, lengtha from topology.limon");
         !r->Eof(); r->Next())
        ligands[r->AsString("id")] = {*ParseGuid(r->AsString("libraryid")), r->AsString("name"),
                                      r->AsInteger("ttlcode"),
                                      static_cast<std::uint32_t>(r->AsInteger("countat")),
                                      static_cast<float>(r->AsFloat("lengtha"))};
    std::map<std::string, TAtomTable> expected;
    for (auto r = db.Query("select c.limonid, c.numat, c.specat, c.cn, d.adm_str\r\n"
                           "from topology.limon_cd c join topology.limon_adm_dn d\r\n"
                           "  on d.limonid = c.limonid and d.at_num = c.numat");
         !r->Eof(); r->Next()) {
        std::string text = r->AsString("specat") + " " + r->AsString("cn") + ":";
        for (const std::string& number : [&] {
                 std::vector<std::string> numbers;
                 std::string rest = Trim(r->AsString("adm_str"));
                 while (!rest.empty()) {
                     const std::size_t blank = rest.find(' ');
                     numbers.push_back(rest.substr(0, blank));
                     rest = blank == std::string::npos ? "" : Trim(rest.substr(blank + 1));
                 }
                 return numbers;
             }())
            text += " " + number;
        expected[r->AsString("limonid")][r->AsInteger("numat")] = text;
    }
    ASSERT_GT(ligands.size(), 150u);

    std::vector<TGuid> ids;
    for (const auto& [id, row] : ligands)
        ids.push_back(*ParseGuid(id));
    TCandidateAtoms blocks;
    std::size_t compared = 0;
    for (std::size_t start = 0; start < ids.size(); start += 64) {
        const std::vector<TGuid> block(
            ids.begin() + static_cast<std::ptrdiff_t>(start),
            ids.begin() + static_cast<std::ptrdiff_t>(std::min(start + 64, ids.size())));
        blocks.Load(db, block, nullptr);
        for (const TGuid& id : block) {
            const std::string key = GuidToString(id);
            SCOPED_TRACE(ligands[key].name);
            const TAtomTable& want = expected[key];
            tCompParam single;
            LiMoNFromDB(db, ligands[key].library, id, single);
            EXPECT_EQ(AtomsOf(single), want);
            EXPECT_EQ(single.MDC.CmpName, ligands[key].name);
            EXPECT_EQ(single.DC.code, ligands[key].code);
            EXPECT_EQ(single.DC.at_, ligands[key].atoms);
            EXPECT_FLOAT_EQ(single.DC.Tr[0], ligands[key].a);
            EXPECT_EQ(single.NameSG.Str(), "P 1");
            EXPECT_EQ(single.pAtEnd, single.pAt0);

            tCompParam bulk;
            EXPECT_EQ(blocks.Build(id, bulk), !want.empty());
            EXPECT_EQ(AtomsOf(bulk), want);
            EXPECT_EQ(std::set<int>(bulk.MDC.ME.begin(), bulk.MDC.ME.end()),
                      std::set<int>(single.MDC.ME.begin(), single.MDC.ME.end()));
            ++compared;
        }
    }
    EXPECT_EQ(compared, ligands.size());
}

TEST(SubgraphLoaders, TheServersPrefilterPassesWhatTheCompoundsPass) {
    TDatabase db;
    db.Open();
    std::vector<TGuid> ids;
    std::map<std::string, TGuid> libraries;
    for (auto r = db.Query("select id, libraryid from topology.limon"); !r->Eof(); r->Next()) {
        ids.push_back(*ParseGuid(r->AsString("id")));
        libraries[r->AsString("id")] = *ParseGuid(r->AsString("libraryid"));
    }
    // Sets as a fragment with an N or O atom, a halogen and a wildcard atom gives them.
    ElementCodeSet nitrogenOrOxygen, halogen, any;
    nitrogenOrOxygen.Include(7);
    nitrogenOrOxygen.Include(8);
    halogen = ElementMembers(-7);
    tSetAtSet third{nullptr, any};
    tSetAtSet second{&third, halogen};
    tSetAtSet first{&second, nitrogenOrOxygen};

    TCandidateAtoms blocks;
    blocks.Load(db, ids, &first);
    int passing = 0;
    for (const TGuid& id : ids) {
        tCompParam single;
        LiMoNFromDB(db, libraries[GuidToString(id)], id, single);
        const bool passes = PassesElementSets(&first, single.MDC.ME);
        tCompParam bulk;
        EXPECT_EQ(blocks.Build(id, bulk), passes) << GuidToString(id);
        passing += passes;
    }
    EXPECT_GT(passing, 5);
    EXPECT_LT(passing, static_cast<int>(ids.size()) / 2);
}

} // namespace

namespace {

// The flags of every candidate of the search of the ligands of "Ligands" on `page`,
// decided by the filter with `loading` in blocks of `blockSize`.
std::map<std::string, bool> Flags(TDatabase& db, const TTTLPageState& page,
                                  const std::string& fragment, TCandidateLoading loading,
                                  std::size_t blockSize) {
    TTTLSearch search;
    CheckTTLConditions(page, DatabaseLibraryLookup(db), search);
    tCompParam query;
    std::vector<std::string> lines;
    ReadTextFileLines(std::string(ORMALINE_TEST_DATA) + "/" + fragment, lines);
    EXPECT_TRUE(ReadMolText(lines, query, {}));
    TKRELMOpt options;
    TSubgraphTest test(query, false, options);
    TSubgraphRowFilter filter(db, search.LibraryID, test, loading, blockSize);
    std::map<std::string, bool> flags;
    filter.StartSearch(TTLCandidateStatement(search, true, false, {}));
    auto result = db.Query(TTLSearchStatement(search, true, false, {}));
    filter.TestSearch({});
    DecideTTLSearchRows(
        ReadTTLSearchRows(*result), [](const TOneRecStr&, int) {},
        [&](const std::vector<TGuid>& ids) {
            std::vector<bool> hits = filter.TestBlock(ids);
            for (std::size_t k = 0; k < ids.size(); ++k)
                flags[GuidToString(ids[k])] = hits[k];
            return hits;
        },
        filter.BlockSize());
    result->Close();
    EXPECT_EQ(filter.Tested(), static_cast<int>(flags.size()));
    return flags;
}

} // namespace

// Blocks of one ligand, of a few and of many, and the whole search loaded at once,
// decide every candidate as the per-row scheme does (the demo library fits in one
// block of the program's size), also when the search's own conditions narrow the
// candidates.
TEST(SubgraphLoaders, BlocksAndTheWholeSearchDecideAsThePerRowScheme) {
    TDatabase db;
    db.Open();
    struct Conditions {
        const char* name;
        const char* atoms;
        const char* coordType;
    };
    for (const Conditions& conditions : {Conditions{"%", "", ""}, Conditions{"%", "", "M1"},
                                         Conditions{"%a%", "", ""}, Conditions{"%", "14", ""}}) {
        TTTLPageState page;
        page.LibraryText = "Ligands";
        page.NameText = conditions.name;
        page.AtNumText = conditions.atoms;
        page.CoordTypeText = conditions.coordType;
        const bool all =
            page.NameText == "%" && page.AtNumText.empty() && page.CoordTypeText.empty();
        for (const char* fragment : {"pyridine_ring.gph", "carboxylate.gph"}) {
            SCOPED_TRACE(std::string(fragment) + " name " + conditions.name + " atoms " +
                         conditions.atoms + " coordination " + conditions.coordType);
            const std::map<std::string, bool> perRow =
                Flags(db, page, fragment, TCandidateLoading::PerRow, 1);
            ASSERT_GT(perRow.size(), all ? 150u : 5u);
            if (all) {
                EXPECT_GT(
                    std::count_if(perRow.begin(), perRow.end(), [](auto& f) { return f.second; }),
                    5);
                for (std::size_t blockSize : {1u, 7u, 64u}) {
                    SCOPED_TRACE(blockSize);
                    EXPECT_EQ(Flags(db, page, fragment, TCandidateLoading::Bulk, blockSize),
                              perRow);
                }
            }
            EXPECT_EQ(Flags(db, page, fragment, TCandidateLoading::WholeSearch, 16), perRow);
        }
    }
}

// An atom whose bond list holds the separator of the whole search's atom list makes
// the row's atom count disagree with its parts: the row is refused, not misread.
TEST(SubgraphLoaders, AWholeSearchRowWithTheSeparatorInABondListIsRefused) {
    tCompParam comp;
    TCandidateBuffers buffers;
    // Items in any order; atom 3 has no bond list and is left out, as the loader's join
    // leaves it out.
    EXPECT_TRUE(BuildSearchCandidate("{L}", 5, "b2 1;a2 8 1;a1 6 1;a3 1 0;b1 2", comp, buffers));
    EXPECT_EQ(AtomsOf(comp), (TAtomTable{{1, "6 1: 2"}, {2, "8 1: 1"}}));
    EXPECT_THROW(BuildSearchCandidate("{L}", 4, "a1 6 1;a2 8 1;b1 2;3 4;b2 1", comp, buffers),
                 EConvertError);
    EXPECT_THROW(BuildSearchCandidate("{L}", 4, "a1 6 1;a2 8 1;b1 2;b2 1;b2", comp, buffers),
                 EConvertError);
    FreeCompParam(comp);
}

// The whole search's load runs beside the search's own statement on a connection of
// its own: a statement the server refuses reaches the caller as the database's error
// when the candidates are tested, and the search's own connection stays usable.
TEST(SubgraphLoaders, AWholeSearchLoadTheServerRefusesThrowsItsError) {
    TDatabase db;
    db.Open();
    tCompParam query;
    std::vector<std::string> lines;
    ReadTextFileLines(std::string(ORMALINE_TEST_DATA) + "/pyridine_ring.gph", lines);
    ASSERT_TRUE(ReadMolText(lines, query, {}));
    TKRELMOpt options;
    TSubgraphTest test(query, false, options);
    TSubgraphRowFilter filter(db, TGuid{}, test, TCandidateLoading::WholeSearch, 16);
    filter.StartSearch("select no_such_column from topology.limon");
    try {
        filter.TestSearch({});
        ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("no_such_column"), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(db.IsOpen());
}
