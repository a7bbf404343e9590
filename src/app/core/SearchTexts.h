// Texts that every search tab shows: its boxes and its count in the status line.
#pragma once

#include <string>

namespace ormaline {

inline constexpr const char* kNoSearchCriteria = "Not specified search criteria";
inline constexpr const char* kNoDataFound = "No data found";

// "Found <n> <what>.", for example "Found 12 elements.".
inline std::string FoundStatus(int count, const char* what) {
    return "Found " + std::to_string(count) + " " + what + ".";
}

} // namespace ormaline
