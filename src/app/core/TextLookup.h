// A lookup of one value by a statement: the text of a named column of the first row,
// or nothing when no row comes back. The checks of the atom and crystal tabs find the
// id of a typed coordination figure or source database this way.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/core/CheckOutcome.h"

namespace ormaline {

class TDatabase;

using TTextLookup = std::function<std::optional<std::string>(const std::string& statement)>;

// The lookup over the connection: runs the statement, reads `column` of the first row
// as text, closes the result.
TTextLookup DatabaseTextLookup(TDatabase& database, std::string column);

// The value `statement` finds through `lookup`, or "" when it finds none: then the error
// box `wrongMessage` is added to `report`, and the check goes on without the value.
std::string LookUpOrReport(const TTextLookup& lookup, const std::string& statement,
                           const char* wrongMessage, TCheckReport& report);

} // namespace ormaline
