#include "platform/UserDialogs.h"

#include <QPrinter>

namespace ormaline {

ScriptedUserDialogs::Answer ScriptedUserDialogs::NextAnswer() {
    if (answers.empty()) {
        ++unanswered;
        return {false, std::nullopt};
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUserDialogs::Error(const std::string& text) {
    records.push_back({DialogKind::Error, "", text});
}

void ScriptedUserDialogs::Information(const std::string& text) {
    records.push_back({DialogKind::Information, "", text});
}

void ScriptedUserDialogs::Warning(const std::string& text) {
    records.push_back({DialogKind::Warning, "", text});
}

bool ScriptedUserDialogs::Confirm(const std::string& text) {
    records.push_back({DialogKind::Confirmation, "", text});
    return NextAnswer().accept;
}

std::optional<std::string> ScriptedUserDialogs::Input(const std::string& caption,
                                                      const std::string& prompt,
                                                      const std::string& text) {
    records.push_back({DialogKind::Input, caption, prompt});
    Answer answer = NextAnswer();
    if (!answer.accept)
        return std::nullopt;
    return answer.text ? *answer.text : text;
}

std::optional<std::string> ScriptedUserDialogs::SaveFileName(const FileDialogRequest& request) {
    records.push_back({DialogKind::SaveFile, request.caption, request.fileName});
    fileRequests.push_back(request);
    Answer answer = NextAnswer();
    if (!answer.accept)
        return std::nullopt;
    return answer.text ? *answer.text : request.initialFolder + "/" + request.fileName;
}

SaveFileChoice ScriptedUserDialogs::SaveFileClosingOnTypeChange(const FileDialogRequest& request) {
    records.push_back({DialogKind::SaveFile, request.caption, request.fileName});
    fileRequests.push_back(request);
    const Answer answer = NextAnswer();
    if (answer.typeChange != 0)
        return {std::nullopt, answer.typeChange, true};
    if (!answer.accept)
        return {std::nullopt, request.filterIndex, false};
    return {answer.text ? *answer.text : request.initialFolder + "/" + request.fileName,
            request.filterIndex, false};
}

std::optional<std::string> ScriptedUserDialogs::OpenFileName(const FileDialogRequest& request) {
    records.push_back({DialogKind::OpenFile, request.caption, request.fileName});
    fileRequests.push_back(request);
    Answer answer = NextAnswer();
    if (!answer.accept || !answer.text)
        return std::nullopt;
    return *answer.text;
}

bool ScriptedUserDialogs::Print(const std::string& caption, QPrinter& printer) {
    records.push_back({DialogKind::Print, caption, ""});
    const Answer answer = NextAnswer();
    if (answer.accept && answer.text) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(*answer.text));
    }
    return answer.accept;
}

std::vector<std::string> ScriptedUserDialogs::TextsOf(DialogKind kind) const {
    std::vector<std::string> texts;
    for (const auto& record : records)
        if (record.kind == kind)
            texts.push_back(record.text);
    return texts;
}

} // namespace ormaline
