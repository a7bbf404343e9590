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
    if (!text.empty() && text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string FormatFixed(double value, int width, int decimals) {
    std::string text = FormatFixed(value, decimals);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

long long RoundHalfEven(double value) {
    return static_cast<long long>(std::nearbyint(value));
}

std::string FormatExponent(double value) {
    constexpr std::size_t kWidth = 23;
    if (std::isnan(value) || std::isinf(value)) {
        std::string text = FormatFixed(value, 0);
        return std::string(kWidth - text.size(), ' ') + text;
    }
    if (value == 0.0)
        value = 0.0; // no minus sign for a negative zero
    std::array<char, 64> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    if (error != std::errc())
        return std::string(kWidth - 3, ' ') + "NAN";
    // to_chars writes "-1.50000000000000e+00": mantissa, 'e', sign, at least two digits.
    std::string text(buffer.data(), end);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const char exponentSign = text[e + 1];
    std::string exponentDigits = text.substr(e + 2);
    if (exponentDigits.size() < 4)
        exponentDigits.insert(0, 4 - exponentDigits.size(), '0');
    if (mantissa.front() != '-')
        mantissa.insert(0, 1, ' ');
    return mantissa + 'E' + exponentSign + exponentDigits;
}

std::string FormatMeanWithDeviation(double mean, double deviation, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return FormatFixed(mean, decimals) + "(" + std::to_string(RoundHalfEven(deviation * scale)) +
           ")";
}

} // namespace ormaline
