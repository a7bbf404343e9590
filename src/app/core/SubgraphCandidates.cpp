#include "app/core/SubgraphCandidates.h"

#include <algorithm>

#include "app/core/StatementText.h"
#include "app/core/TTLSearchRows.h"
#include "model/Compound.h"
#include "model/Errors.h"
#include "model/Symmetry.h"
#include "model/TextUtil.h"

namespace ormaline {

namespace {

std::string QuotedIdList(const std::vector<TGuid>& ids) {
    std::string list;
    for (const TGuid& id : ids) {
        if (!list.empty())
            list += ',';
        list += "'" + GuidToStatementText(id) + "'";
    }
    return list;
}

std::string MemberList(const ElementCodeSet& set) {
    std::string list;
    for (int code = 0; code < static_cast<int>(ElementCodeSet::Capacity()); ++code)
        if (set.Contains(code))
            list += (list.empty() ? "" : ",") + std::to_string(code);
    return list;
}

// The compound fields both loaders set before the atoms: "P 1" and its tables.
void SetPOne(tCompParam& comp) {
    comp.NameSG = "P 1";
    comp.CodeSG = SpaceGroupCode(comp);
    BuildSGTables(comp);
}

// The element pre-filter as a "having" line over the element codes `column`: each
// non-empty set needs a member among them. An empty set asks only for some atom, which
// every group of the result has; without non-empty sets there is no line.
void AppendElementSetsHaving(std::vector<std::string>& lines, const tSetAtSet* sets,
                             const std::string& column) {
    std::string having;
    for (const tSetAtSet* set = sets; set != nullptr; set = set->li)
        if (!set->s.IsEmpty())
            having += (having.empty() ? "having " : " and ") +
                      ("bool_or(" + column + " in (" + MemberList(set->s) + "))");
    if (!having.empty())
        lines.push_back(having);
}

} // namespace

std::string SelectCandidateAtoms(const std::vector<TGuid>& ids, const tSetAtSet* sets) {
    std::vector<std::string> lines = {
        "select limonid, string_agg(numat || ' ' || coalesce(specat, 0) || ' ' || "
        "coalesce(cn, 0), ';') atomlist",
        "from topology.limon_cd",
        "where limonid in (" + QuotedIdList(ids) + ")",
        "group by limonid",
    };
    AppendElementSetsHaving(lines, sets, "coalesce(specat, 0)");
    return JoinStatementLines(lines);
}

std::string SelectCandidateBondLists(const std::vector<TGuid>& ids) {
    return JoinStatementLines({
        "select limonid, count(at_num) bondlists, string_agg(at_num || ' ' || "
        "coalesce(adm_str, ''), ';') bondlist",
        "from topology.limon_adm_dn",
        "where limonid in (" + QuotedIdList(ids) + ")",
        "group by limonid",
    });
}

std::string SelectSearchCandidateAtoms(const std::string& candidateStatement,
                                       const tSetAtSet* sets) {
    // The atoms and the bond lists of a ligand grouped in one pass over both tables: the
    // candidates are found once and each ligand comes back as one row.
    std::vector<std::string> lines = {
        "select u.limonid, count(*) items, string_agg(u.item, ';') itemlist",
        "from (select cd.limonid, 'a' || cd.numat || ' ' || coalesce(cd.specat, 0) || ' ' || "
        "coalesce(cd.cn, 0) item, coalesce(cd.specat, 0) specat from topology.limon_cd cd",
        "union all select adm.limonid, 'b' || adm.at_num || ' ' || coalesce(adm.adm_str, ''), "
        "null from topology.limon_adm_dn adm) u",
        "where u.limonid in (" + candidateStatement + ")",
        "group by u.limonid",
    };
    AppendElementSetsHaving(lines, sets, "u.specat");
    return JoinStatementLines(lines);
}

void TCandidateAtoms::Load(TDatabase& database, const std::vector<TGuid>& ids,
                           const tSetAtSet* sets) {
    atomsByLigand_.clear();
    bondListsByLigand_.clear();
    {
        auto atoms = database.Query(SelectCandidateAtoms(ids, sets));
        for (; !atoms->Eof(); atoms->Next())
            atomsByLigand_[atoms->AsString("limonid")] = atoms->AsString("atomlist");
        atoms->Close();
    }
    std::vector<TGuid> withAtoms;
    for (const TGuid& id : ids)
        if (atomsByLigand_.count(GuidToString(id)) > 0)
            withAtoms.push_back(id);
    if (withAtoms.empty())
        return;
    auto lists = database.Query(SelectCandidateBondLists(withAtoms));
    for (; !lists->Eof(); lists->Next())
        bondListsByLigand_[lists->AsString("limonid")] = {lists->AsInteger("bondlists"),
                                                          lists->AsString("bondlist")};
    lists->Close();
}

namespace {

// Calls `visit` with each part of a list separated by ";", in order.
template <class Visit> void ForEachListPart(std::string_view list, Visit&& visit) {
    for (bool more = true; more;) {
        const std::size_t end = list.find(';');
        more = end != std::string_view::npos;
        visit(list.substr(0, end));
        list = more ? list.substr(end + 1) : std::string_view();
    }
}

// The next blank-ended integer of `rest`.
std::int32_t ListInteger(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view field = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    if (std::optional<std::int32_t> value = ParseInt32(field))
        return *value;
    throw EConvertError("'" + std::string(field) + "' is not a valid integer value");
}

// Starts a candidate as both bulk loaders do: released, "P 1" and its tables.
void StartCandidate(tCompParam& comp) {
    FreeCompParam(comp);
    InitCompParam(comp, staAtNI);
    SetPOne(comp);
}

// An atom's number, element code and coordination number separated by blanks.
TLigandAtomValues AtomOfPart(std::string_view part) {
    TLigandAtomValues values;
    values.numat = ListInteger(part);
    values.specat = ListInteger(part);
    values.cn = ListInteger(part);
    return values;
}

// An atom number, a blank and its bond list.
TCandidateBuffers::TBondList BondListOfPart(std::string_view part) {
    const std::int32_t number = ListInteger(part);
    return {number, part};
}

// Each atom once per bond list of its number, as the loader's join pairs them, in the
// order of the atoms' numbers (the order the loader's statement gives one ligand's
// atoms); lists of one number keep their order. Then the atoms are added and their
// adjacency linked.
bool AddJoinedAtoms(TCandidateBuffers& buffers, tCompParam& comp) {
    using TBondList = TCandidateBuffers::TBondList;
    std::vector<TLigandAtomValues>& atoms = buffers.atoms;
    std::vector<TBondList>& lists = buffers.lists;
    const auto byNumber = [](const TBondList& a, const TBondList& b) { return a.first < b.first; };
    std::stable_sort(lists.begin(), lists.end(), byNumber);
    std::stable_sort(atoms.begin(), atoms.end(),
                     [](const auto& a, const auto& b) { return a.numat < b.numat; });
    TAtomInserter inserter(comp);
    for (TLigandAtomValues& values : atoms) {
        const auto [first, last] =
            std::equal_range(lists.begin(), lists.end(), TBondList{values.numat, {}}, byNumber);
        for (auto list = first; list != last; ++list) {
            values.admStr = list->second;
            AddLigandAtom(comp, inserter, values);
        }
    }
    ResolveNeighbours(comp);
    comp.pAtEnd = comp.pAt0;
    return comp.pAt0 != nullptr;
}

EConvertError InvalidBondLists(const std::string& ligand) {
    return EConvertError("The bond lists of ligand " + ligand + " are not valid");
}

} // namespace

bool TCandidateAtoms::Build(const TGuid& id, tCompParam& comp) const {
    StartCandidate(comp);
    const std::string key = GuidToString(id);
    auto atomText = atomsByLigand_.find(key);
    auto listText = bondListsByLigand_.find(key);
    if (atomText == atomsByLigand_.end() || listText == bondListsByLigand_.end())
        return false;
    TCandidateBuffers buffers;
    ForEachListPart(listText->second.text,
                    [&](std::string_view part) { buffers.lists.push_back(BondListOfPart(part)); });
    // A list holding the separator would split in two.
    if (static_cast<std::int32_t>(buffers.lists.size()) != listText->second.count)
        throw InvalidBondLists(key);
    ForEachListPart(atomText->second,
                    [&](std::string_view part) { buffers.atoms.push_back(AtomOfPart(part)); });
    return AddJoinedAtoms(buffers, comp);
}

bool BuildSearchCandidate(const std::string& ligand, std::int32_t itemCount,
                          std::string_view itemList, tCompParam& comp, TCandidateBuffers& buffers) {
    StartCandidate(comp);
    buffers.atoms.clear();
    buffers.lists.clear();
    std::int32_t items = 0;
    ForEachListPart(itemList, [&](std::string_view part) {
        ++items;
        const char kind = part.empty() ? ' ' : part.front();
        part.remove_prefix(part.empty() ? 0 : 1);
        if (kind == 'a')
            buffers.atoms.push_back(AtomOfPart(part));
        else if (kind == 'b')
            buffers.lists.push_back(BondListOfPart(part));
        else
            throw InvalidBondLists(ligand);
    });
    // A bond list holding the separator splits into more items than the row counts.
    if (items != itemCount)
        throw InvalidBondLists(ligand);
    return AddJoinedAtoms(buffers, comp);
}

namespace {

// The server groups every candidate's items in one hash table, about 1.3 kB per
// ligand. Under a server's usual work_mem it spills to disk, which costs about a third
// of the statement on 100,000 ligands; the connection runs this one statement only, so
// it may use more. The setting changes speed only: a server that refuses it still runs
// the statement.
constexpr const char* kCandidateWorkMem = "512MB";

void AllowCandidateGrouping(TDatabase& connection) {
    try {
        connection
            .Query(std::string("select set_config('work_mem', '") + kCandidateWorkMem +
                   "', false)")
            ->Close();
    } catch (const EDatabaseError&) {
    }
}

} // namespace

TSubgraphRowFilter::TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId,
                                       TSubgraphTest& test, TCandidateLoading loading)
    : TSubgraphRowFilter(database, libraryId, test, loading, kBulkBlockSize) {}

TSubgraphRowFilter::TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId,
                                       TSubgraphTest& test, TCandidateLoading loading,
                                       std::size_t blockSize)
    : database_(database), libraryId_(libraryId), test_(test), loading_(loading),
      blockSize_(std::max<std::size_t>(blockSize, 1)) {}

std::size_t TSubgraphRowFilter::BlockSize() const {
    return loading_ == TCandidateLoading::PerRow ? 1 : blockSize_;
}

void TSubgraphRowFilter::StartSearch(const std::string& candidateStatement) {
    if (loading_ != TCandidateLoading::WholeSearch)
        return;
    searchHits_.clear();
    searchTested_ = false;
    // A fragment without atoms passes no candidate: there is nothing to load.
    if (test_.Sets() == nullptr) {
        searchTested_ = true;
        return;
    }
    // The worker owns its connection and its result and shares nothing else; both come
    // back whole through the future, an error as its exception.
    searchLoad_ =
        std::async(std::launch::async,
                   [statement = SelectSearchCandidateAtoms(candidateStatement, test_.Sets()),
                    connectionString = database_.ConnectionString()] {
                       TLoadedCandidates loaded;
                       loaded.connection = std::make_unique<TDatabase>(connectionString);
                       loaded.connection->Open();
                       AllowCandidateGrouping(*loaded.connection);
                       loaded.rows = loaded.connection->Query(statement);
                       return loaded;
                   });
}

void TSubgraphRowFilter::TestSearch(const TProgress& progress) {
    using Clock = std::chrono::steady_clock;
    if (!searchLoad_.valid())
        return;
    // The time waited here is what the load adds to the search's own statement, which
    // ran meanwhile.
    Clock::time_point start = Clock::now();
    constexpr std::chrono::milliseconds kWaitStep{20};
    while (searchLoad_.wait_for(kWaitStep) != std::future_status::ready)
        if (progress)
            progress(0, 0);
    TLoadedCandidates loaded = searchLoad_.get();
    TResult& rows = *loaded.rows;
    int tested = 0;
    for (; !rows.Eof(); rows.Next()) {
        const Clock::time_point fetched = Clock::now();
        databaseTime_ += fetched - start;
        const std::string& ligand = rows.AsString(0);
        if (BuildSearchCandidate(ligand, rows.AsInteger("items"), rows.AsString(2), scratch_,
                                 buffers_) &&
            test_.Test(scratch_))
            searchHits_.insert(GuidFromColumnText(ligand));
        ++tested;
        matchingTime_ += Clock::now() - fetched;
        if (progress)
            progress(tested, static_cast<int>(searchHits_.size()));
        start = Clock::now();
    }
    rows.Close();
    databaseTime_ += Clock::now() - start;
    searchTested_ = true;
}

std::vector<bool> TSubgraphRowFilter::TestBlock(const std::vector<TGuid>& ids) {
    using Clock = std::chrono::steady_clock;
    std::vector<bool> hits;
    hits.reserve(ids.size());
    if (loading_ == TCandidateLoading::WholeSearch && searchTested_) {
        for (const TGuid& id : ids)
            hits.push_back(searchHits_.count(id) > 0);
    } else if (loading_ != TCandidateLoading::PerRow) {
        const Clock::time_point start = Clock::now();
        block_.Load(database_, ids, test_.Sets());
        const Clock::time_point loaded = Clock::now();
        for (const TGuid& id : ids)
            hits.push_back(block_.Build(id, scratch_) && test_.Test(scratch_));
        databaseTime_ += loaded - start;
        matchingTime_ += Clock::now() - loaded;
    } else {
        for (const TGuid& id : ids) {
            const Clock::time_point start = Clock::now();
            LiMoNFromDB(database_, libraryId_, id, scratch_);
            const Clock::time_point loaded = Clock::now();
            hits.push_back(test_.Test(scratch_));
            databaseTime_ += loaded - start;
            matchingTime_ += Clock::now() - loaded;
        }
    }
    tested_ += static_cast<int>(ids.size());
    return hits;
}

} // namespace ormaline
