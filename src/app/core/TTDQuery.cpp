#include "app/core/TTDQuery.h"

#include "app/core/RefCodeList.h"
#include "app/core/SearchTexts.h"
#include "app/core/SqlLiteral.h"
#include "app/core/StatementText.h"
#include "model/TextUtil.h"

namespace ormaline {

namespace {

const std::string kCrLfText(kCrLf);

bool IsDimension(const std::string& text) {
    const std::optional<std::int32_t> value = ParseInt32(text);
    return value && *value >= 0 && *value <= 3;
}

} // namespace

std::string TTDLibraryLookupStatement(const std::string& libraryName) {
    return "select ID from topology.ttdlibrary where Name='" + EscapeQuotes(libraryName) + "'";
}

TCheckOutcome CheckTTDConditions(const TTTDPageState& page, const TLibraryLookup& lookup,
                                 TTTDSearch& search) {
    search.LibraryName = page.LibraryText;
    search.NameText = Trim(page.NameText);
    search.TS = Trim(page.TSText);
    search.NumNodeText = Trim(page.NumNodeText);
    search.DimText = Trim(page.DimText);
    search.ZText = Trim(page.ZText);
    search.RepType = page.RepTypeText;
    search.RepCode = search.RepType.empty() ? -1 : page.RepIndex;
    search.Diversity = Trim(page.DiversityText);
    // The TTDCode memo follows the rule of the TTLCode memo: valid integer lines only.
    search.TTDCodeList = TTLCodeListFromLines(page.TTDCodeLines);

    if (!search.NumNodeText.empty() && !IsValidInteger(search.NumNodeText))
        return TCheckOutcome::Error(kTTDWrongNodeCount);
    if (!search.ZText.empty() && !IsValidInteger(search.ZText))
        return TCheckOutcome::Error(kTTDWrongZ);
    if (!search.DimText.empty() && !IsDimension(search.DimText))
        return TCheckOutcome::Error(kTTDWrongDimension);

    search.LibraryID = TGuid{};
    if (lookup) {
        if (std::optional<TGuid> id = lookup(TTDLibraryLookupStatement(search.LibraryName)))
            search.LibraryID = *id;
    }
    if (page.UseRefCodeList || !search.LibraryID.IsNull() || !search.TTDCodeList.empty() ||
        !search.NameText.empty() || !search.NumNodeText.empty() || !search.DimText.empty() ||
        !search.Diversity.empty() || !search.ZText.empty() || !search.TS.empty() ||
        search.RepCode != -1)
        return TCheckOutcome::Pass();
    return TCheckOutcome::Information(kNoSearchCriteria);
}

std::string GetQTTDStr(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                       std::string& description) {
    description = "TTD";
    std::string fragment;
    // The first five pieces end without a line break; each starts with a blank.
    if (!search.LibraryID.IsNull()) {
        description += "  Library: " + search.LibraryName;
        fragment += "  and t.ttdlibraryid='" + GuidToStatementText(search.LibraryID) + "'";
    }
    AppendCodeCondition("t.ttdcode", search.TTDCodeList, fragment, description);
    if (!search.NameText.empty()) {
        description += "  Name: " + search.NameText;
        fragment += (boxes.Name ? "  and t.name like'" : "  and t.name='") +
                    EscapeQuotes(search.NameText) + "'";
    }
    if (!search.TS.empty()) {
        description += "  TS: " + search.TS;
        fragment +=
            (boxes.TS ? "  and t.ts like'" : "  and t.ts='") + EscapeQuotes(search.TS) + "'";
    }
    if (!search.NumNodeText.empty()) {
        description += "  NumNodes: " + search.NumNodeText;
        fragment += "  and t.numnodes=" + IntegerOrLiteral(search.NumNodeText);
    }
    if (!search.DimText.empty()) {
        description += "  Dimension: " + search.DimText;
        fragment += "  and t1.dimen='" + EscapeQuotes(search.DimText) + "'" + kCrLfText;
    }
    if (!search.ZText.empty()) {
        description += "  Z: " + search.ZText;
        fragment += "  and t1.Z=" + IntegerOrLiteral(search.ZText) + kCrLfText;
    }
    const std::string repCode = std::to_string(search.RepCode);
    if (search.RepCode >= 0) {
        description += "  Rep_code: " + repCode;
        fragment += "  and t1.reprtypecode=" + repCode + kCrLfText;
    }
    if (!search.Diversity.empty()) {
        // A structure qualifies when, in some representation (the chosen one, if any),
        // it has exactly that many topology occurrences.
        description += "  Diversity: " + search.Diversity;
        fragment += "  and t1.refcode in (    select tt.refcode from topology.tto tt ";
        if (search.RepCode >= 0)
            fragment += "    where tt.reprtypecode = " + repCode + " ";
        fragment += "    group by tt.refcode, tt.reprtypecode     having count(tt.refcode || "
                    "tt.reprtypecode)=" +
                    NumberOrLiteral(search.Diversity) + ")" + kCrLfText;
    }
    return fragment;
}

std::string TTDSearchStatement(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.ID, t.name, t.ttdcode, t.numnodes, count(distinct t1.refcode || t1.ttdcode || "
        "t1.Z || t1.reprtypecode) c_loc",
        "from topology.ttd t, topology.tto t1",
        "where t1.ttdid=t.id",
        GetQTTDStr(search, boxes, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t1.refcode", refCodeLines, " ");
    lines.push_back("group by t.ID, t.name, t.ttdcode, t.numnodes ");
    lines.push_back(
        "order by count(distinct t1.refcode || t1.ttdcode || t1.Z || t1.reprtypecode) desc");
    return JoinStatementLines(lines);
}

std::string TTDReadStatement(const std::string& topologyId, const TTTDSearch& search,
                             const TTTDPatternBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select distinct t1.refcode, t1.Z, t1.fwc, t1.msrc, t2.rep_name ",
        "from topology.ttd t, topology.tto t1, topology.ref_representation_type t2 ",
        "where t.id='" + EscapeQuotes(topologyId) +
            "' and t1.ttdid=t.id and t2.rep_code=t1.reprtypecode",
    };
    AppendRefCodeLine(lines, useRefCodeList, "t1.refcode", refCodeLines, " ");
    lines.push_back(GetQTTDStr(search, boxes, description));
    lines.push_back("order by t1.refcode, t1.Z");
    return JoinStatementLines(lines);
}

std::string TTDDataStatement(const TTTDSearch& search, const TTTDPatternBoxes& boxes,
                             bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t1.refcode, t1.dimen, t1.Z, t1.fwc, t1.msrc, t1.ttdcode, t.name, t2.rep_name ",
        "from topology.ttd t, topology.tto t1, topology.ref_representation_type t2",
        "where t1.ttdid=t.id and t1.reprtypecode=t2.rep_code ",
        GetQTTDStr(search, boxes, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t1.refcode", refCodeLines, " ");
    lines.push_back("order by t1.refcode, t1.dimen, t1.ttdcode, t1.reprtypecode, t1.msrc");
    return JoinStatementLines(lines);
}

} // namespace ormaline
