#include "model/TextFile.h"

#include "model/Errors.h"
#include "model/TextUtil.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace ormaline {

void ReadTextFileLines(const std::string& path, std::vector<std::string>& lines) {
    // A folder opens like a file but does not read.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw EInOutError("Cannot read file \"" + path + "\". " + std::strerror(EISDIR));
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EInOutError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        throw EInOutError("Cannot read file \"" + path + "\". " +
                          std::strerror(errno != 0 ? errno : EIO));
    for (std::string& line : SplitLines(text))
        lines.push_back(std::move(line));
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw EInOutError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file)
        throw EInOutError("Cannot write file \"" + path + "\". " + std::strerror(errno));
}

} // namespace ormaline
