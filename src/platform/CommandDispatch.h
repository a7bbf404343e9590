// The one dispatcher every command runs through: an error the command does not
// handle itself ends the command and is shown by the default error report, an error
// box with the error's message.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace ormaline {

// The default error report of an exception that escaped a command.
void ShowDefaultErrorReport(const std::exception& error);

// Runs the command; returns false when it ended with an error (already reported).
bool RunCommand(const std::function<void()>& command);

// Evaluates an enabling rule; a rule that throws counts as disabled.
bool RunRule(const std::function<bool()>& rule);

} // namespace ormaline
