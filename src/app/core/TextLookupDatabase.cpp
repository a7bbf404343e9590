// The text lookup over the real connection. Kept apart from the checks so that their
// logic needs no connection.
#include "app/core/TextLookup.h"

#include "db/Database.h"

namespace ormaline {

TTextLookup DatabaseTextLookup(TDatabase& database, std::string column) {
    return [&database, column = std::move(column)](
               const std::string& statement) -> std::optional<std::string> {
        std::unique_ptr<TResult> result = database.Query(statement);
        std::optional<std::string> value;
        if (!result->Eof())
            value = result->AsString(column);
        result->Close();
        return value;
    };
}

} // namespace ormaline
