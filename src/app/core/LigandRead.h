// The read of one ligand into the detail panel under sgLigands: the four statements,
// their progress texts and the texts of the panel's edits and grid rows.
//
// Real numbers are fixed-point with a decimal point whatever the locale: cell edges
// (angstrom) 3 decimals, cell angles (degrees) 2, fractional coordinates 5.
#pragma once

#include <string>
#include <vector>

#include "app/core/TTLSearchRows.h"
#include "model/Guid.h"
#include "model/NumberFormat.h"

namespace ormaline {

// Status texts, each set (with pending messages processed) before its statement runs.
inline constexpr const char* kLoadLigandData = "Load ligand data.";
inline constexpr const char* kLoadAtomData = "Load data on atoms.";
inline constexpr const char* kLoadAdjacencyMatrix = "Load adjacency matrix.";
inline constexpr const char* kLoadOccurrence = "Load the occurrence.";

// The ligand's header in library `libraryId` (the library of the last ligand check).
std::string SelectLiMoN(const TGuid& libraryId, const TGuid& ligandId);
// Its atoms, in the server's order.
std::string SelectLiMoN_cd(const TGuid& ligandId);
// Its bond lists, by atom number.
std::string SelectLiMoN_adm(const TGuid& ligandId);
// The structures it occurs in, by reference code; with `useRefCodeList` only those of
// the codes in `refCodeLines` (no filter when there are none).
std::string SelectLigLoc(const TGuid& ligandId, bool useRefCodeList,
                         const std::vector<std::string>& refCodeLines);

std::string FormatCellEdge(double angstrom);
std::string FormatCellAngle(double degrees);
std::string FormatFractional(double coordinate);

// The texts of page "Ligand".
struct TLigandHeaderTexts {
    std::string LigID; // braced GUID text
    std::string LigName;
    std::string LigCode;
    std::string LigAtNum;
    std::string Length_a;
    std::string Length_b;
    std::string Length_c;
    std::string Angel_alpha;
    std::string Angel_beta;
    std::string Angel_gamma;
};

// The header of a ligand that SelectLiMoN did not find (it is not in the library of
// the last check): empty texts, the cell as zeros (0.000 and 0.00).
TLigandHeaderTexts MissingLigandHeader();

// Page "Ligand" from the SelectLiMoN result (TResult or anything read the same way).
template <class Result> TLigandHeaderTexts ReadLigandHeader(const Result& result) {
    if (result.Eof())
        return MissingLigandHeader();
    TLigandHeaderTexts header;
    header.LigName = result.AsString("name");
    header.LigAtNum = result.AsString("countat");
    header.LigCode = result.AsString("ttlcode");
    header.LigID = result.AsString("ID");
    header.Length_a = FormatCellEdge(result.AsFloat("lengtha"));
    header.Length_b = FormatCellEdge(result.AsFloat("lengthb"));
    header.Length_c = FormatCellEdge(result.AsFloat("lengthc"));
    header.Angel_alpha = FormatCellAngle(result.AsFloat("angelalpha"));
    header.Angel_beta = FormatCellAngle(result.AsFloat("angelbeta"));
    header.Angel_gamma = FormatCellAngle(result.AsFloat("angelgamma"));
    return header;
}

// Row `k` (from 1) of sgLigAtoms: "N", "SpecAt", "NumAt", "CN", "x", "y", "z".
template <class Result> TGridRow ReadLigandAtomRow(const Result& result, int k) {
    return {std::to_string(k),
            result.AsString("specat"),
            std::to_string(result.AsInteger("numat")),
            result.AsString("cn"),
            FormatFractional(result.AsFloat("fractx")),
            FormatFractional(result.AsFloat("fracty")),
            FormatFractional(result.AsFloat("fractz"))};
}

// A row of sgLigBonds: "N" (the atom number), "Atoms" (its neighbours' numbers).
template <class Result> TGridRow ReadLigandBondRow(const Result& result) {
    return {result.AsString("at_num"), result.AsString("adm_str")};
}

// Row `k` (from 1) of sgLigOccurrence: "N", "RefCode", "CoordType", "LigVol", "LigArea".
template <class Result> TGridRow ReadLigandOccurrenceRow(const Result& result, int k) {
    return {std::to_string(k), result.AsString("refcode"), result.AsString("coordtype"),
            result.AsString("ligvol"), result.AsString("ligarea")};
}

} // namespace ormaline
