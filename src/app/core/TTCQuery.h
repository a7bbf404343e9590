// The crystal tab ("TTC"): its condition check, the condition fragment with its
// description, the statements of the search, the read and the crystal data export, and
// their rows.
//
// The fragment uses the alias t for crystals.crystal_structures, whose column remark
// holds the structure's reference code.
#pragma once

#include <string>
#include <vector>

#include "app/core/CheckOutcome.h"
#include "app/core/ExportLine.h"
#include "app/core/SearchConditions.h"
#include "app/core/TTLSearchRows.h"
#include "app/core/TextLookup.h"

namespace ormaline {

// The crystal page's control states that the check reads, as the window shows them.
struct TTTCPageState {
    std::string RefCodeText;     // edRefCode
    std::string FStructuralText; // edFStructural
    std::string FTotalText;      // edFTotal
    std::string ChemNameText;    // edChemName
    std::string DataBaseText;    // text of cmbDataBase
    bool UseRefCodeList = false; // cbTTCUseRCL
    bool ReliableData = false;   // cbReliableData
};

// The "use like" boxes and "Reliable Data", read from the page when a fragment is built.
struct TTTCBoxes {
    bool RefCode = false;      // cbRefCode
    bool FStructural = false;  // cbFStructural
    bool FTotal = false;       // cbFTotal
    bool ChemName = false;     // cbChemName
    bool ReliableData = false; // cbReliableData: structures not listed as erroneous
};

inline constexpr const char* kTTCWrongDatabase = "The reference database is wrong.";
inline constexpr const char* kTTCQueryFileName = "TTCQuery";
inline constexpr const char* kTTCDataFileName = "TTCData";
inline constexpr const char* kLoadTTCData = "Load crystal data.";

// "select id from crystals.ref_structure_databases where name='<name>'", quotes doubled.
std::string DatabaseLookupStatement(const std::string& name);

// Fills `search` from the page; looks up the source database through `lookup`. An
// unknown database shows "The reference database is wrong." and the check goes on
// without it; no condition at all shows "Not specified search criteria".
TCheckReport CheckTTCConditions(const TTTCPageState& page, const TTextLookup& lookup,
                                TTTCSearch& search);

// The condition fragment of `search`; `description` receives its one-line description.
// No piece ends with a line break.
std::string GetQTTCStr(const TTTCSearch& search, const TTTCBoxes& boxes, std::string& description);

// The search: per source database the number of matching structure links, most first.
std::string TTCSearchStatement(const TTTCSearch& search, const TTTCBoxes& boxes,
                               bool useRefCodeList, const std::vector<std::string>& refCodeLines);
// The read: the matching structures linked to the database `databaseId` (the hidden
// "db_id" of the chosen row of sgTTC), by reference code.
std::string TTCReadStatement(const std::string& databaseId, const TTTCSearch& search,
                             const TTTCBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines);
// The crystal data export: every matching structure, by reference code.
std::string TTCDataStatement(const TTTCSearch& search, const TTTCBoxes& boxes, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines);

// Row `k` (from 1) of sgTTC: "N", "DataBase", "Occur.", "db_id" (hidden).
template <class Result> TGridRow TTCGridRow(const Result& result, int k) {
    return {std::to_string(k), result.AsString("databasename"), result.AsString("c_loc"),
            result.AsString("id")};
}
std::string TTCQueryFileHeader();
template <class Result> std::string TTCQueryFileLine(const Result& result) {
    return TabSeparatedLine({result.AsString("databasename"), result.AsString("c_loc")});
}

// Row `k` (from 1) of sgTTCOccurrence: "N", "RefCode", "Struct.Formula",
// "Total Formula", "Chem.Name".
template <class Result> TGridRow TTCOccurrenceRow(const Result& result, int k) {
    return {std::to_string(k), result.AsString("remark"), result.AsString("cf_structural"),
            result.AsString("cf_sum"), result.AsString("chem_name_systematic")};
}
std::string TTCDataFileHeader();
template <class Result> std::string TTCDataFileLine(const Result& result) {
    return TabSeparatedLine({result.AsString("refcode"), result.AsString("cf_structural"),
                             result.AsString("cf_sum"), result.AsString("chem_name_systematic")});
}

} // namespace ormaline
