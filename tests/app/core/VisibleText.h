// Statement and file texts with their invisible characters shown, so that a failing
// comparison points at the missing blank or line break: CR as <CR>, LF as <LF> and a
// line break after it, tab as <TAB>, blank as a middle dot.
#pragma once

#include <string>

namespace ormaline::test {

inline std::string Visible(const std::string& text) {
    std::string shown;
    for (char c : text) {
        switch (c) {
        case '\r':
            shown += "<CR>";
            break;
        case '\n':
            shown += "<LF>\n";
            break;
        case '\t':
            shown += "<TAB>";
            break;
        case ' ':
            shown += "\xC2\xB7";
            break;
        default:
            shown += c;
        }
    }
    return shown;
}

} // namespace ormaline::test
