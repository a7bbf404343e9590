#include "app/core/TTLSearchRows.h"

#include "app/core/SqlLiteral.h"
#include "model/Errors.h"

namespace ormaline {

std::string FoundLigandsStatus(int hitCount) {
    return FoundStatus(hitCount, "ligands");
}

TGridRow TTLGridRow(const TOneRecStr& record) {
    return {std::to_string(record.ident), std::to_string(record.count_at), record.name,
            GuidToString(record.ID), std::to_string(record.c_loc)};
}

std::string TTLQueryFileHeader() {
    return "TTLCode\tCountAt\tTTLName\tOccur." + std::string(kCrLf);
}

std::string TTLQueryFileLine(const TOneRecStr& record) {
    return std::to_string(record.ident) + '\t' + std::to_string(record.count_at) + '\t' +
           record.name + '\t' + std::to_string(record.c_loc) + std::string(kCrLf);
}

std::string TTLQueryFileText(const std::vector<TOneRecStr>& records) {
    std::string text = TTLQueryFileHeader();
    for (const TOneRecStr& record : records)
        text += TTLQueryFileLine(record);
    return text;
}

TGuid GuidFromColumnText(std::string_view text) {
    if (std::optional<TGuid> guid = ParseGuid(text))
        return *guid;
    throw EConvertError("'" + std::string(text) + "' is not a valid GUID value");
}

} // namespace ormaline
