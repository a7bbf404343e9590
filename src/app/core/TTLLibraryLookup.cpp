// The library lookup of the ligand check over the real connection. Kept apart from
// the check so that the check's logic needs no connection.
#include "app/core/TTLCheck.h"
#include "app/core/TTLSearchRows.h"

#include "db/Database.h"

namespace ormaline {

TLibraryLookup DatabaseLibraryLookup(TDatabase& database) {
    return [&database](const std::string& statement) -> std::optional<TGuid> {
        std::unique_ptr<TResult> result = database.Query(statement);
        std::optional<TGuid> id;
        if (!result->Eof())
            id = GuidFromColumnText(result->AsString("ID"));
        result->Close();
        return id;
    };
}

} // namespace ormaline
