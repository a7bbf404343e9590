#include "app/core/RefCodeList.h"

#include "app/core/SqlLiteral.h"
#include "model/TextUtil.h"

namespace ormaline {

std::string RefCodeList(const std::vector<std::string>& lines, int& c) {
    std::string list;
    c = 0;
    for (const std::string& line : lines) {
        if (Trim(line).empty())
            continue;
        if (c % 10 == 0)
            list += kCrLf;
        if (c > 0)
            list += ',';
        list += QuotedLiteral(line);
        ++c;
    }
    return list;
}

std::optional<std::string> RefCodeCondition(std::string_view column,
                                            const std::vector<std::string>& lines,
                                            std::string_view trailing) {
    int c = 0;
    std::string list = RefCodeList(lines, c);
    if (c == 0)
        return std::nullopt;
    std::string condition = " and ";
    condition += column;
    if (c == 1)
        condition += "=" + list;
    else
        condition += " in (" + list + ")";
    condition += trailing;
    return condition;
}

void AppendRefCodeLine(std::vector<std::string>& statementLines, bool useRefCodeList,
                       std::string_view column, const std::vector<std::string>& lines,
                       std::string_view trailing) {
    if (!useRefCodeList)
        return;
    if (std::optional<std::string> condition = RefCodeCondition(column, lines, trailing))
        statementLines.push_back(std::move(*condition));
}

} // namespace ormaline
