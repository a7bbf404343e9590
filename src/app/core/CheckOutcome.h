// What a tab's condition check tells its window: go ahead, or show one box.
#pragma once

#include <string>
#include <utility>
#include <vector>

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

// A check that may show a box and still go on (an unknown lookup value is reported,
// and the search runs without that condition): every box in the order shown, and
// whether the search may run.
struct TCheckReport {
    std::vector<TCheckOutcome> Boxes;
    bool Passed = false;

    TCheckReport& Show(TCheckOutcome box) {
        Boxes.push_back(std::move(box));
        return *this;
    }
    TCheckReport& Finish(TCheckOutcome last) {
        Passed = last.Passed();
        if (!Passed)
            Boxes.push_back(std::move(last));
        return *this;
    }
};

} // namespace ormaline
