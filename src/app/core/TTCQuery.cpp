#include "app/core/TTCQuery.h"

#include "app/core/RefCodeList.h"
#include "app/core/SearchTexts.h"
#include "app/core/SqlLiteral.h"
#include "app/core/StatementText.h"
#include "model/TextUtil.h"

namespace ormaline {

namespace {

// "  and t.<column>='<text>'" or, with the pattern box, "  and t.<column> like '<text>'".
std::string TextCondition(const char* column, const std::string& text, bool pattern) {
    return std::string("  and t.") + column + (pattern ? " like '" : "='") + EscapeQuotes(text) +
           "'";
}

} // namespace

std::string DatabaseLookupStatement(const std::string& name) {
    return "select id from crystals.ref_structure_databases where name='" + EscapeQuotes(name) +
           "'";
}

TCheckReport CheckTTCConditions(const TTTCPageState& page, const TTextLookup& lookup,
                                TTTCSearch& search) {
    search.RefCode = Trim(page.RefCodeText);
    search.FStructural = Trim(page.FStructuralText);
    search.FTotal = Trim(page.FTotalText);
    search.ChemName = Trim(page.ChemNameText);
    search.DataBase = Trim(page.DataBaseText);
    search.DB_id.clear();

    TCheckReport report;
    if (!search.DataBase.empty())
        search.DB_id = LookUpOrReport(lookup, DatabaseLookupStatement(search.DataBase),
                                      kTTCWrongDatabase, report);
    const bool anyCondition = page.UseRefCodeList || page.ReliableData || !search.RefCode.empty() ||
                              !search.FStructural.empty() || !search.FTotal.empty() ||
                              !search.ChemName.empty() || !search.DB_id.empty();
    return report.Finish(anyCondition ? TCheckOutcome::Pass()
                                      : TCheckOutcome::Information(kNoSearchCriteria));
}

std::string GetQTTCStr(const TTTCSearch& search, const TTTCBoxes& boxes, std::string& description) {
    description = "TTC";
    std::string fragment;
    if (!search.RefCode.empty()) {
        description += "  RefCode:" + search.RefCode;
        fragment += TextCondition("remark", search.RefCode, boxes.RefCode);
    }
    if (!search.FStructural.empty()) {
        description += "  Struct.Formula:" + search.FStructural;
        fragment += TextCondition("cf_structural", search.FStructural, boxes.FStructural);
    }
    if (!search.FTotal.empty()) {
        description += "  Total Formula:" + search.FTotal;
        fragment += TextCondition("cf_sum", search.FTotal, boxes.FTotal);
    }
    if (!search.ChemName.empty()) {
        description += "  Chem.Name:" + search.ChemName;
        fragment += TextCondition("chem_name_systematic", search.ChemName, boxes.ChemName);
    }
    if (!search.DB_id.empty()) {
        description += "  DataBase:" + search.DataBase;
        fragment += "  and exists(    select * from crystals.link_database_structure t3    where "
                    "t.remark=t3.refcode and t3.csd_id=" +
                    IntegerOrLiteral(search.DB_id) + ") ";
    }
    if (boxes.ReliableData) {
        description += "  Only Reliable Data";
        fragment += "  and not exists(    select * from crystals.crystal_structures_err t4    "
                    "where t.remark=t4.refcode) ";
    }
    return fragment;
}

std::string TTCSearchStatement(const TTTCSearch& search, const TTTCBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t2.name databasename, t2.id, count(t.remark) c_loc ",
        "from crystals.crystal_structures t, ",
        "     crystals.link_database_structure t1, ",
        "     crystals.ref_structure_databases t2  ",
        "where t.remark=t1.refcode and t1.csd_id=t2.id ",
        GetQTTCStr(search, boxes, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.remark", refCodeLines, " ");
    lines.push_back("group by t1.csd_id, t2.name, t2.id");
    lines.push_back("order by count(t.remark) desc ");
    return JoinStatementLines(lines);
}

std::string TTCReadStatement(const std::string& databaseId, const TTTCSearch& search,
                             const TTTCBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.remark, t.cf_structural, cf_sum, chem_name_systematic",
        "from crystals.crystal_structures t",
        "where TRUE ",
        GetQTTCStr(search, boxes, description),
        "  and exists(",
        "    select * from crystals.link_database_structure ttt",
        "    where t.remark=ttt.refcode and ttt.csd_id=" + IntegerOrLiteral(databaseId) + ") ",
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.remark", refCodeLines, " ");
    lines.push_back("order by t.remark");
    return JoinStatementLines(lines);
}

std::string TTCDataStatement(const TTTCSearch& search, const TTTCBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.remark refcode, t.cf_structural, cf_sum, chem_name_systematic",
        "from crystals.crystal_structures t",
        "where TRUE ",
        GetQTTCStr(search, boxes, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t.remark", refCodeLines, " ");
    lines.push_back("order by t.remark");
    return JoinStatementLines(lines);
}

std::string TTCQueryFileHeader() {
    return "Database\tOccur." + std::string(kCrLf);
}

std::string TTCDataFileHeader() {
    return "RefCode\tStruct.Formula\tTotal Formula\tChem.Name" + std::string(kCrLf);
}

} // namespace ormaline
