#include "viewer/core/RadiusFile.h"

#include "model/Errors.h"
#include "model/NumberFormat.h"
#include "model/TextFile.h"
#include "model/TextUtil.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace ormaline {
namespace {

bool IsBlankChar(char ch) {
    return static_cast<unsigned char>(ch) <= ' ';
}

// The next word of `rest` (leading blanks skipped); `rest` moves past it.
std::string_view NextWord(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsBlankChar(rest[start]))
        ++start;
    std::size_t end = start;
    while (end < rest.size() && !IsBlankChar(rest[end]))
        ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

} // namespace

TRadiusReadResult ReadRadiusText(std::string_view text, TElementValues& radii) {
    TRadiusReadResult result;
    int lineNumber = 0;
    for (const std::string& line : SplitLines(text)) {
        ++lineNumber;
        std::string_view rest = line;
        const std::string_view symbol = NextWord(rest);
        if (symbol.empty())
            continue;
        const std::string_view numberText = NextWord(rest);
        const int code = ElCode(symbol);
        const std::optional<double> radius = ParseNumber(numberText);
        if (code < 1 || code > kMaxElementCode || !radius || *radius < 0.0 ||
            *radius > kMaxElementRadius) {
            result.skippedLines.push_back(lineNumber);
            continue;
        }
        radii[static_cast<std::size_t>(code)] = static_cast<float>(*radius);
        ++result.applied;
    }
    return result;
}

std::string WriteRadiusText(const TElementValues& radii) {
    std::string text;
    for (int code = 1; code <= kMaxElementCode; ++code) {
        text += ElSymbol(code);
        text += ' ';
        text += FormatFixed(radii[static_cast<std::size_t>(code)], 2);
        text += "\r\n";
    }
    return text;
}

bool LoadRadiusFile(const std::string& path, TElementValues& radii, TRadiusReadResult* result) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad())
        return false;
    const TRadiusReadResult read = ReadRadiusText(content.str(), radii);
    if (result)
        *result = read;
    return true;
}

void SaveRadiusFile(const std::string& path, const TElementValues& radii) {
    WriteTextFile(path, WriteRadiusText(radii));
}

} // namespace ormaline
