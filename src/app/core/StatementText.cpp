#include "app/core/StatementText.h"

#include "app/core/SqlLiteral.h"

#include <string>

namespace ormaline {

std::string JoinStatementLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += kCrLf;
        text += lines[i];
    }
    return text;
}

void AppendCodeCondition(std::string_view column, const std::vector<std::string>& codes,
                         std::string& fragment, std::string& description) {
    if (codes.empty())
        return;
    const std::string name(column);
    if (codes.size() == 1) {
        fragment += " and " + name + "=" + IntegerOrLiteral(codes.front());
    } else {
        fragment += " and (  " + name + "=" + IntegerOrLiteral(codes.front());
        for (std::size_t i = 1; i < codes.size(); ++i)
            fragment += "  or " + name + "=" + IntegerOrLiteral(codes[i]);
        fragment += " )";
        fragment += kCrLf;
    }
    description += "  Code(s): ";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i > 0)
            description += ',';
        description += codes[i];
    }
}

} // namespace ormaline
