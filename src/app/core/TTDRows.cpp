#include "app/core/TTDRows.h"

namespace ormaline {

TGridRow TTDGridRow(const TOneRecTTD& record) {
    return {std::to_string(record.ttdcode), std::to_string(record.numnodes), record.name,
            GuidToStatementText(record.ID), std::to_string(record.c_loc)};
}

std::string TTDQueryFileHeader() {
    return "TTDCode\tNumNodes\tTTDName\tOccur." + std::string(kCrLf);
}

std::string TTDQueryFileLine(const TOneRecTTD& record) {
    return TabSeparatedLine({std::to_string(record.ttdcode), std::to_string(record.numnodes),
                             record.name, std::to_string(record.c_loc)});
}

std::string TTDDataFileHeader() {
    return "RefCode\tDimen\tZ\tFWC\tMSRC\tTTDCode\tTopology\tRepresentation" + std::string(kCrLf);
}

} // namespace ormaline
