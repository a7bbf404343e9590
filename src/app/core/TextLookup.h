// A lookup of one value by a statement: the text of a named column of the first row,
// or nothing when no row comes back. The checks of the atom and crystal tabs find the
// id of a typed coordination figure or source database this way.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ormaline {

class TDatabase;

using TTextLookup = std::function<std::optional<std::string>(const std::string& statement)>;

// The lookup over the connection: runs the statement, reads `column` of the first row
// as text, closes the result.
TTextLookup DatabaseTextLookup(TDatabase& database, std::string column);

} // namespace ormaline
