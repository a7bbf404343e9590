#include "app/core/StatementText.h"

#include "app/core/SqlLiteral.h"

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

} // namespace ormaline
