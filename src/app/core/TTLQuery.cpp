#include "app/core/TTLQuery.h"

#include "app/core/RefCodeList.h"
#include "app/core/SqlLiteral.h"
#include "app/core/StatementText.h"

namespace ormaline {

namespace {

const std::string kCrLfText(kCrLf);

} // namespace

std::string GetQTTLStr(const TTTLSearch& search, bool useLike, std::string& description) {
    description = "TTL  Library: " + search.LibraryName;
    std::string fragment =
        " and t.libraryid='" + GuidToStatementText(search.LibraryID) + "'" + kCrLfText;

    AppendCodeCondition("t.ttlcode", search.TTLCodeList, fragment, description);

    if (!search.NameText.empty()) {
        description += "  Name: " + search.NameText;
        fragment += useLike ? "  and t.name like'" : "  and t.name='";
        fragment += EscapeQuotes(search.NameText) + "'" + kCrLfText;
    }
    if (!search.AtNumText.empty()) {
        description += "  CountAt: " + search.AtNumText;
        fragment += "  and t.countat=" + IntegerOrLiteral(search.AtNumText) + kCrLfText;
    }
    if (!search.CoordType.empty()) {
        description += "  CoordType: " + search.CoordType;
        fragment += " and t1.coordtype='" + EscapeQuotes(search.CoordType) + "'" + kCrLfText;
    }
    if (!search.Diversity.empty()) {
        // A structure qualifies when exactly that many distinct ligand types occur in it.
        description += "  Diversity: " + search.Diversity;
        fragment += "  and t1.refcode in (    select tt.refcode from topology.limon_loc tt "
                    "group by tt.refcode     having count(distinct tt.ligtype)=" +
                    NumberOrLiteral(search.Diversity) + ")" + kCrLfText;
    }
    return fragment;
}

namespace {

// The tables and conditions of the search: the lines after the select list, up to
// the grouping.
std::vector<std::string> TTLSearchFromWhere(const TTTLSearch& search, bool useLike,
                                            bool useRefCodeList,
                                            const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "from topology.limon t, topology.limon_loc t1",
        "where t1.limonid=t.id ",
        GetQTTLStr(search, useLike, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t1.refcode", refCodeLines);
    return lines;
}

} // namespace

std::string TTLSearchStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                               const std::vector<std::string>& refCodeLines) {
    std::vector<std::string> lines = {
        "select t.ID, t.name, t.countat, t.ttlcode, count(distinct t1.refcode || "
        "t1.coordtype) c_loc",
    };
    for (std::string& line : TTLSearchFromWhere(search, useLike, useRefCodeList, refCodeLines))
        lines.push_back(std::move(line));
    lines.push_back("group by t.ID, t.name, t.countat, t.ttlcode ");
    lines.push_back("order by count(distinct t1.refcode || t1.coordtype) desc, t.name");
    return JoinStatementLines(lines);
}

std::string TTLCandidateStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                                  const std::vector<std::string>& refCodeLines) {
    std::vector<std::string> lines = {"select t.id"};
    for (std::string& line : TTLSearchFromWhere(search, useLike, useRefCodeList, refCodeLines))
        lines.push_back(std::move(line));
    return JoinStatementLines(lines);
}

} // namespace ormaline
