#include "platform/CommandDispatch.h"

#include "platform/UserDialogs.h"

namespace ormaline {

void ShowDefaultErrorReport(const std::exception& error) {
    Dialogs().Error(error.what());
}

bool RunCommand(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& error) {
        ShowDefaultErrorReport(error);
    } catch (...) {
        Dialogs().Error("Unknown error.");
    }
    return false;
}

bool RunRule(const std::function<bool()>& rule) {
    try {
        return rule();
    } catch (...) {
        return false;
    }
}

} // namespace ormaline
