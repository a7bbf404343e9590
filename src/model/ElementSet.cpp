// Parsing of typed element lists into element-code sets.
#include "model/ElementCodes.h"

#include "model/TextUtil.h"

#include <string>

namespace ormaline {

namespace {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Capitalises a token as element symbols are written: ZN becomes Zn and ZR Zr, while
// XX and the pseudo-elements ZA .. ZJ stay as typed.
std::string NormaliseToken(std::string_view token) {
    std::string symbol(token);
    symbol[0] = UpperAscii(symbol[0]);
    if (symbol.size() == 2 && symbol != "XX" &&
        !(symbol[0] == 'Z' && symbol[1] != 'N' && symbol[1] != 'R'))
        symbol[1] = LowerAscii(symbol[1]);
    return symbol;
}

} // namespace

bool ParseElSet(std::string_view text, ElementCodeSet& set) {
    std::string rest = Trim(text);
    set.Clear();
    if (!rest.empty() && rest.front() == '*') {
        set.Include(0);
        rest.erase(0, 1);
    }
    if (rest.empty())
        return false;

    const char separator = rest.find(' ') != std::string::npos ? ' ' : ',';
    bool include = true;
    std::string_view remaining = rest;
    while (!remaining.empty()) {
        std::size_t end = remaining.find(separator);
        std::string_view token = remaining.substr(0, end);
        remaining = end == std::string_view::npos ? std::string_view{} : remaining.substr(end + 1);
        if (token.empty() || token.size() > 2)
            return true;

        std::string symbol = NormaliseToken(token);
        if (symbol == "-") {
            include = false;
            continue;
        }
        ElementCodeSet members;
        if (symbol == "El") {
            for (int code = 1; code <= kMaxElementCode; ++code)
                members.Include(code);
        } else {
            std::int16_t code = ElCode(symbol);
            if (code == kUnknownElement || code < kMinElementCode)
                return true;
            members = ElementMembers(code);
        }
        if (include)
            set |= members;
        else
            set -= members;
    }
    return false;
}

} // namespace ormaline
