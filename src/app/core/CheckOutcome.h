// What a tab's condition check tells its window: go ahead, or show one box.
#pragma once

#include <string>
#include <utility>

namespace ormaline {

enum class TMessageKind {
    mkNone,        // no box: the check passed
    mkError,       // error icon, OK button
    mkInformation, // information icon, OK button
};

struct TCheckOutcome {
    TMessageKind Kind = TMessageKind::mkNone;
    std::string Message;

    bool Passed() const { return Kind == TMessageKind::mkNone; }

    static TCheckOutcome Pass() { return {}; }
    static TCheckOutcome Error(std::string message) {
        return {TMessageKind::mkError, std::move(message)};
    }
    static TCheckOutcome Information(std::string message) {
        return {TMessageKind::mkInformation, std::move(message)};
    }
};

} // namespace ormaline
