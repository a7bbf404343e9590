#include "model/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>

namespace ormaline {

std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (decimals < 0)
        decimals = 0;
    std::array<char, 512> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc())
        return "NAN";
    std::string text(buffer.data(), end);
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

long long RoundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));
}

} // namespace ormaline
