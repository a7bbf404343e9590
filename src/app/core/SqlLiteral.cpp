#include "app/core/SqlLiteral.h"

#include "model/TextUtil.h"

namespace ormaline {

std::string EscapeQuotes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        result += c;
        if (c == '\'')
            result += '\'';
    }
    return result;
}

std::string QuotedLiteral(std::string_view text) {
    return "'" + EscapeQuotes(text) + "'";
}

std::string NumberOrLiteral(std::string_view text) {
    return IsNumber(text) ? std::string(text) : QuotedLiteral(text);
}

std::string IntegerOrLiteral(std::string_view text) {
    return IsValidInteger(text) ? std::string(text) : QuotedLiteral(text);
}

} // namespace ormaline
