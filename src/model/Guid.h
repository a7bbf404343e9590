// GUIDs and their two text forms: the 38-character braced upper-case form in which
// the database layer returns an ID column ("{0A1B...}"), and the 36-character
// upper-case form without braces that statements carry between single quotes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ormaline {

struct TGuid {
    std::array<std::uint8_t, 16> bytes{}; // in text order: 8-4-4-4-12 hex digits

    bool IsNull() const;
    friend bool operator==(const TGuid&, const TGuid&) = default;
};

// Accepts the braced and the unbraced form, in either case, after trimming.
std::optional<TGuid> ParseGuid(std::string_view text);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
std::string GuidToString(const TGuid& guid);
// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
std::string GuidToStatementText(const TGuid& guid);

// Text conversions between the two forms. A text that is not a GUID is returned
// as it is, trimmed, so that a statement built from it is refused by the server
// rather than silently matching nothing else.
std::string BracedGuidText(std::string_view anyForm);
std::string StatementGuidText(std::string_view anyForm);

} // namespace ormaline

// GUIDs as keys of hashed containers: the leading bytes, random for the database's IDs.
template <> struct std::hash<ormaline::TGuid> {
    std::size_t operator()(const ormaline::TGuid& guid) const noexcept {
        std::uint64_t leading = 0;
        for (int k = 0; k < 8; ++k)
            leading = leading << 8 | guid.bytes[k];
        return static_cast<std::size_t>(leading);
    }
};
