#include "app/core/TextLookup.h"

namespace ormaline {

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
