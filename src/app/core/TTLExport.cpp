#include "app/core/TTLExport.h"

#include "app/core/RefCodeList.h"
#include "app/core/StatementText.h"
#include "app/core/TTLQuery.h"

namespace ormaline {

std::string TTLDataStatement(const TTTLSearch& search, bool useLike, bool useRefCodeList,
                             const std::vector<std::string>& refCodeLines) {
    std::string description;
    std::vector<std::string> lines = {
        "select t.ttlcode, t.name, t1.refcode, t1.coordtype, ",
        "  t1.ligvol aligvol, t1.ligarea aligarea",
        "from topology.limon t, topology.limon_loc t1",
        "where t1.limonid=t.id ",
        GetQTTLStr(search, useLike, description),
    };
    AppendRefCodeLine(lines, useRefCodeList, "t1.refcode", refCodeLines);
    lines.push_back("order by t.ttlcode, t1.refcode, t1.coordtype");
    return JoinStatementLines(lines);
}

std::string TTLDataFileHeader() {
    return TabSeparatedLine({"TTLCode", "TTLName", "RefCode", "CoordType", "LigVol", "LigArea"});
}

} // namespace ormaline
