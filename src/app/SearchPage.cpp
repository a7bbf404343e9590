#include "app/SearchPage.h"

#include "model/Errors.h"

#include <cerrno>
#include <cstring>

namespace ormaline {

void ShowOutcome(const TCheckOutcome& outcome) {
    if (outcome.Kind == TMessageKind::mkError)
        Dialogs().Error(outcome.Message);
    else if (outcome.Kind == TMessageKind::mkInformation)
        Dialogs().Information(outcome.Message);
}

bool ShowReport(const TCheckReport& report) {
    for (const TCheckOutcome& box : report.Boxes)
        ShowOutcome(box);
    return report.Passed;
}

ExportFile::ExportFile(std::string fileName) : fileName_(std::move(fileName)) {
    stream_.open(fileName_, std::ios::binary | std::ios::trunc);
    if (!stream_.is_open())
        Fail();
}

void ExportFile::Write(const std::string& bytes) {
    stream_ << bytes;
    if (!stream_)
        Fail();
}

void ExportFile::Close() {
    stream_.close();
    if (stream_.fail())
        Fail();
}

void ExportFile::Fail() {
    throw EInOutError("Cannot write file \"" + fileName_ + "\". " + std::strerror(errno));
}

} // namespace ormaline
