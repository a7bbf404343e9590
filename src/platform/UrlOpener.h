// Opening an address in the desktop's default web browser (the DOI pages of the Total
// tab). The program uses the desktop's opener; tests install a recording one, so that
// no browser is ever started and the opened addresses can be checked.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ormaline {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Asks the desktop to open `address`; an address it cannot open is not reported.
    virtual void Open(const std::string& address) = 0;
};

// The process-wide opener; the desktop's until another is installed.
UrlOpener& Urls();
// Installs a new opener and returns the one it replaces.
std::unique_ptr<UrlOpener> InstallUrlOpener(std::unique_ptr<UrlOpener> opener);

// Records the addresses instead of opening them.
class RecordingUrlOpener : public UrlOpener {
public:
    void Open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

} // namespace ormaline
