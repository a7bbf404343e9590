// Real dialogs over Qt, owned by the active window.
#pragma once

#include "platform/UserDialogs.h"

#include <QString>

namespace ormaline {

class QtUserDialogs : public UserDialogs {
public:
    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& text) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    SaveFileChoice SaveFileClosingOnTypeChange(const FileDialogRequest& request) override;
    bool Print(const std::string& caption, QPrinter& printer) override;
};

// "Text files (*.txt)|*.TXT" as a Qt name filter. Patterns match without regard to
// case, as the system's users expect: "*.TXT" also finds "a.txt".
QString QtNameFilter(const std::string& filter);

} // namespace ormaline
