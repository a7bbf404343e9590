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

std::string LookUpOrReport(const TTextLookup& lookup, const std::string& statement,
                           const char* wrongMessage, TCheckReport& report) {
    std::optional<std::string> value;
    if (lookup)
        value = lookup(statement);
    if (value)
        return *value;
    report.Show(TCheckOutcome::Error(wrongMessage));
    return {};
}

} // namespace ormaline
