#include "app/core/QueryList.h"

#include "app/core/ExportLine.h"
#include "app/core/SqlLiteral.h"
#include "app/core/StatementText.h"

#include <string_view>

namespace ormaline {

std::string SubqueryHead(const std::string& kind) {
    if (kind == kQueryKindLigand)
        return "select distinct t1.refcode from topology.limon t, topology.limon_loc t1 where "
               "t1.limonid = t.id ";
    if (kind == kQueryKindAtom)
        return "select distinct t.refcode from atoms.cp_vdp t where TRUE ";
    if (kind == kQueryKindTopology)
        return "select distinct t1.refcode from topology.ttd t, topology.tto t1 where "
               "t1.ttdid=t.id ";
    if (kind == kQueryKindCrystal)
        return "select distinct t.remark refcode from crystals.crystal_structures t where TRUE ";
    return {};
}

TTotalQuery CombinedQuery(const std::vector<TQueryEntry>& entries) {
    TTotalQuery query;
    std::vector<std::string> lines;
    for (const TQueryEntry& entry : entries) {
        if (!entry.Checked)
            continue;
        query.Description += std::string(kCrLf) + "  " + entry.Description;
        if (!lines.empty())
            lines.push_back("INTERSECT");
        lines.push_back(SubqueryHead(entry.Kind));
        lines.push_back(entry.Fragment);
    }
    query.Statement = JoinStatementLines(lines);
    return query;
}

std::string SelectionCodeList(const std::string& selection) {
    // Each CR LF closes one code and, unless it ends the selection, opens the next.
    std::string list = "'";
    std::size_t start = 0;
    for (;;) {
        const std::size_t lineBreak = selection.find(kCrLf, start);
        if (lineBreak == std::string::npos) {
            list += EscapeQuotes(std::string_view(selection).substr(start)) + "'";
            return list;
        }
        list += EscapeQuotes(std::string_view(selection).substr(start, lineBreak - start)) + "'";
        start = lineBreak + kCrLf.size();
        if (start == selection.size())
            return list;
        list += ",'";
    }
}

std::string DoiStatement(const std::string& codeList) {
    return JoinStatementLines({"select doi ", "from crystals.link_doi_structure ",
                               "where refcode in (" + codeList + ")"});
}

std::string DoiAddress(const std::string& doi) {
    return kDoiResolver + doi;
}

bool IsUnknownDoi(const std::string& doi) {
    return doi == "None";
}

std::string DoiStatus(int openCount, int possibleCount) {
    return "It is open " + std::to_string(openCount) + " matches out of " +
           std::to_string(possibleCount) + " possible.";
}

std::string TotalDataFileHeader() {
    return TabSeparatedLine({"RefCode"});
}

std::string TotalDataFileLine(const std::string& refcode) {
    return TabSeparatedLine({refcode});
}

} // namespace ormaline
