// Reading a whole text file as lines.
#pragma once

#include <string>
#include <vector>

namespace ormaline {

// Appends the lines of the file to `lines` (split at CR LF, LF or CR; a final line
// break starts no empty line). A file that cannot be opened or read throws
// EInOutError naming the file and the reason; nothing is appended then.
void ReadTextFileLines(const std::string& path, std::vector<std::string>& lines);

// Creates (or truncates) the file and writes `text` as it is. A file that cannot be
// created or written throws EInOutError naming the file and the reason.
void WriteTextFile(const std::string& path, const std::string& text);

} // namespace ormaline
