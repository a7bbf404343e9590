#include "app/core/LigandRead.h"

#include "app/core/RefCodeList.h"
#include "app/core/StatementText.h"

namespace ormaline {

namespace {

std::string QuotedGuid(const TGuid& guid) {
    return "'" + GuidToStatementText(guid) + "'";
}

} // namespace

std::string SelectLiMoN(const TGuid& libraryId, const TGuid& ligandId) {
    return "select t.id, t.name, t.countat, t.lengtha, t.lengthb, t.lengthc, t.angelalpha, "
           "t.angelbeta, t.angelgamma, t.ttlcode from topology.limon t where libraryid = " +
           QuotedGuid(libraryId) + " and t.id = " + QuotedGuid(ligandId);
}

std::string SelectLiMoN_cd(const TGuid& ligandId) {
    return "select id, specat, numat, cn, fractx, fracty, fractz from topology.limon_cd where "
           "limonid = " +
           QuotedGuid(ligandId);
}

std::string SelectLiMoN_adm(const TGuid& ligandId) {
    // The closing quote runs straight into "order"; the server accepts it.
    return "select at_num, adm_str from topology.limon_adm_dn where limonid = " +
           QuotedGuid(ligandId) + "order by at_num";
}

std::string SelectLigLoc(const TGuid& ligandId, bool useRefCodeList,
                         const std::vector<std::string>& refCodeLines) {
    std::vector<std::string> lines = {
        "select distinct refcode, coordtype, ",
        "  ligvol, ligarea from topology.limon_loc ",
        " where limonid = " + QuotedGuid(ligandId),
    };
    AppendRefCodeLine(lines, useRefCodeList, "refcode", refCodeLines);
    lines.push_back(" order by refcode");
    return JoinStatementLines(lines);
}

std::string FormatCellEdge(double angstrom) {
    return FormatFixed(angstrom, 3);
}

std::string FormatCellAngle(double degrees) {
    return FormatFixed(degrees, 2);
}

std::string FormatFractional(double coordinate) {
    return FormatFixed(coordinate, 5);
}

TLigandHeaderTexts MissingLigandHeader() {
    TLigandHeaderTexts header;
    header.Length_a = header.Length_b = header.Length_c = FormatCellEdge(0.0);
    header.Angel_alpha = header.Angel_beta = header.Angel_gamma = FormatCellAngle(0.0);
    return header;
}

} // namespace ormaline
