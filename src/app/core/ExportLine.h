// Lines of the text exports: fields separated by tabs, the line ended by CR LF.
#pragma once

#include <initializer_list>
#include <string>

#include "app/core/SqlLiteral.h"

namespace ormaline {

inline std::string TabSeparatedLine(std::initializer_list<std::string> fields) {
    std::string line;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            line += '\t';
        line += field;
        first = false;
    }
    line += kCrLf;
    return line;
}

} // namespace ormaline
