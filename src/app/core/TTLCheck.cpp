#include "app/core/TTLCheck.h"

#include "app/core/SqlLiteral.h"
#include "model/TextUtil.h"

namespace ormaline {

std::string LibraryLookupStatement(const std::string& libraryName) {
    return "select ID from topology.LiMoN_Library where Name='" + EscapeQuotes(libraryName) + "'";
}

std::vector<std::string> TTLCodeListFromLines(const std::vector<std::string>& lines) {
    std::vector<std::string> codes;
    for (const std::string& line : lines) {
        std::string code = Trim(line);
        if (IsValidInteger(code))
            codes.push_back(std::move(code));
    }
    return codes;
}

TCheckOutcome CheckTTLConditions(const TTTLPageState& page, const TLibraryLookup& lookup,
                                 TTTLSearch& search) {
    search.LibraryName = page.LibraryText;
    search.NameText = Trim(page.NameText);
    search.AtNumText = Trim(page.AtNumText);
    search.CoordType = Trim(page.CoordTypeText);
    search.Diversity = Trim(page.DiversityText);
    search.TTLCodeList = TTLCodeListFromLines(page.TTLCodeLines);

    if (!search.AtNumText.empty() && !IsValidInteger(search.AtNumText))
        return TCheckOutcome::Error(kTTLWrongAtomCount);

    search.LibraryID = TGuid{};
    if (lookup) {
        if (std::optional<TGuid> id = lookup(LibraryLookupStatement(search.LibraryName)))
            search.LibraryID = *id;
    }
    if (search.LibraryID.IsNull())
        return TCheckOutcome::Information(kTTLNoLibrary);

    if (page.UseRefCodeList || !search.TTLCodeList.empty() || !search.NameText.empty() ||
        !search.AtNumText.empty() || !search.CoordType.empty() || !search.Diversity.empty())
        return TCheckOutcome::Pass();
    return TCheckOutcome::Information(kTTLNoCriteria);
}

} // namespace ormaline
