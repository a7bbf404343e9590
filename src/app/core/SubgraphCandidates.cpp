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

} // namespace

std::string SelectCandidateAtoms(const std::vector<TGuid>& ids, const tSetAtSet* sets) {
    std::vector<std::string> lines = {
        "select limonid, string_agg(numat || ' ' || coalesce(specat, 0) || ' ' || "
        "coalesce(cn, 0), ';') atomlist",
        "from topology.limon_cd",
        "where limonid in (" + QuotedIdList(ids) + ")",
        "group by limonid",
    };
    // An empty set asks only for some atom, which every ligand of the result has.
    std::string having;
    for (const tSetAtSet* set = sets; set != nullptr; set = set->li)
        if (!set->s.IsEmpty())
            having += (having.empty() ? "having " : " and ") +
                      ("bool_or(coalesce(specat, 0) in (" + MemberList(set->s) + "))");
    if (!having.empty())
        lines.push_back(having);
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

// The parts of a list separated by ";".
std::vector<std::string_view> ListParts(std::string_view list) {
    std::vector<std::string_view> parts;
    for (bool more = true; more;) {
        const std::size_t end = list.find(';');
        more = end != std::string_view::npos;
        parts.push_back(list.substr(0, end));
        list = more ? list.substr(end + 1) : std::string_view();
    }
    return parts;
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

} // namespace

bool TCandidateAtoms::Build(const TGuid& id, tCompParam& comp) const {
    FreeCompParam(comp);
    InitCompParam(comp, staAtNI);
    SetPOne(comp);
    const std::string key = GuidToString(id);
    auto atoms = atomsByLigand_.find(key);
    auto lists = bondListsByLigand_.find(key);
    if (atoms == atomsByLigand_.end() || lists == bondListsByLigand_.end())
        return false;

    // The bond lists by atom number; lists of one number keep their order.
    std::vector<std::pair<std::int32_t, std::string_view>> listOf;
    for (std::string_view part : ListParts(lists->second.text)) {
        const std::int32_t number = ListInteger(part);
        listOf.emplace_back(number, part);
    }
    // A list holding the separator would split in two.
    if (static_cast<std::int32_t>(listOf.size()) != lists->second.count)
        throw EConvertError("The bond lists of ligand " + key + " are not valid");
    const auto byNumber = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(listOf.begin(), listOf.end(), byNumber);

    TAtomInserter inserter(comp);
    for (std::string_view part : ListParts(atoms->second)) {
        TLigandAtomValues values;
        values.numat = ListInteger(part);
        values.specat = ListInteger(part);
        values.cn = ListInteger(part);
        const auto [first, last] =
            std::equal_range(listOf.begin(), listOf.end(),
                             std::pair<std::int32_t, std::string_view>{values.numat, {}}, byNumber);
        for (auto list = first; list != last; ++list) {
            values.admStr = list->second;
            AddLigandAtom(comp, inserter, values);
        }
    }
    ResolveNeighbours(comp);
    comp.pAtEnd = comp.pAt0;
    return comp.pAt0 != nullptr;
}

TSubgraphRowFilter::TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId,
                                       TSubgraphTest& test, TCandidateLoading loading)
    : TSubgraphRowFilter(database, libraryId, test, loading, kBulkBlockSize) {}

TSubgraphRowFilter::TSubgraphRowFilter(TDatabase& database, const TGuid& libraryId,
                                       TSubgraphTest& test, TCandidateLoading loading,
                                       std::size_t blockSize)
    : database_(database), libraryId_(libraryId), test_(test), loading_(loading),
      blockSize_(std::max<std::size_t>(blockSize, 1)) {}

std::size_t TSubgraphRowFilter::BlockSize() const {
    return loading_ == TCandidateLoading::Bulk ? blockSize_ : 1;
}

std::vector<bool> TSubgraphRowFilter::TestBlock(const std::vector<TGuid>& ids) {
    using Clock = std::chrono::steady_clock;
    std::vector<bool> hits;
    hits.reserve(ids.size());
    if (loading_ == TCandidateLoading::Bulk) {
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
