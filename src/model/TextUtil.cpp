#include "model/TextUtil.h"

#include <charconv>
#include <cmath>

namespace ormaline {

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the run of digits starting at position.
std::size_t DigitRun(std::string_view text, std::size_t position) {
    std::size_t end = position;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - position;
}

template <typename Int> std::optional<Int> ParseIntegerAs(std::string_view text) {
    // Plain digits with an optional minus, the usual case (database rows, lists of
    // numbers), need neither trimming nor the separate check.
    Int value{};
    if (!text.empty()) {
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size())
            return value;
    }
    std::string_view trimmed = TrimView(text);
    if (!IsValidInteger(trimmed))
        return std::nullopt;
    if (trimmed.front() == '+')
        trimmed.remove_prefix(1);
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string TrimLeft(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsBlankOrControl(text[begin]))
        ++begin;
    return std::string(text.substr(begin));
}

std::string TrimRight(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlankOrControl(text[end - 1]))
        --end;
    return std::string(text.substr(0, end));
}

bool IsValidInteger(std::string_view text) {
    std::string_view trimmed = TrimView(text);
    std::size_t position = 0;
    if (position < trimmed.size() && (trimmed[position] == '+' || trimmed[position] == '-'))
        ++position;
    std::size_t digits = DigitRun(trimmed, position);
    return digits > 0 && position + digits == trimmed.size();
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return ParseIntegerAs<std::int32_t>(text);
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
    return ParseIntegerAs<std::int64_t>(text);
}

bool IsNumber(std::string_view text) {
    std::string_view trimmed = TrimView(text);
    std::size_t position = 0;
    if (position < trimmed.size() && (trimmed[position] == '+' || trimmed[position] == '-'))
        ++position;
    std::size_t integerDigits = DigitRun(trimmed, position);
    position += integerDigits;
    std::size_t fractionDigits = 0;
    if (position < trimmed.size() && trimmed[position] == '.') {
        ++position;
        fractionDigits = DigitRun(trimmed, position);
        position += fractionDigits;
    }
    if (integerDigits + fractionDigits == 0)
        return false;
    if (position < trimmed.size() && (trimmed[position] == 'e' || trimmed[position] == 'E')) {
        ++position;
        if (position < trimmed.size() && (trimmed[position] == '+' || trimmed[position] == '-'))
            ++position;
        std::size_t exponentDigits = DigitRun(trimmed, position);
        if (exponentDigits == 0)
            return false;
        position += exponentDigits;
    }
    return position == trimmed.size();
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view trimmed = TrimView(text);
    if (!IsNumber(trimmed))
        return std::nullopt;
    if (trimmed.front() == '+')
        trimmed.remove_prefix(1);
    double value = 0.0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched on overflow or underflow; give the
        // magnitude the text asks for.
        bool negative = trimmed.front() == '-';
        std::size_t ePosition = trimmed.find_first_of("eE");
        bool tiny = ePosition != std::string_view::npos && ePosition + 1 < trimmed.size() &&
                    trimmed[ePosition + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
        return negative ? -value : value;
    }
    if (error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return value;
}

std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string ToLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace ormaline
