// Everything that blocks on the user goes through one interface: message boxes,
// confirmations, input boxes, open and save dialogs, the print dialog.
//
// The program installs the Qt implementation (real dialogs); tests install
// ScriptedUserDialogs, which answers from a queue and records every box, so that
// they drive the real windows over the real database.
#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace ormaline {

enum class DialogKind {
    Error,        // error icon, OK
    Information,  // information icon, OK
    Warning,      // warning icon, OK
    Confirmation, // question, Yes and No
    Input,        // input box: caption, prompt, text; OK and Cancel
    SaveFile,     // save-file dialog
    OpenFile,     // open-file dialog
    Print,        // print dialog
};

struct FileDialogRequest {
    std::string caption;
    std::string initialFolder;
    std::string fileName; // proposed name, without folder
    std::string filter;   // "Text files (*.txt)|*.TXT" pairs of description and pattern
    std::string defaultExtension;
    int filterIndex = 1; // the file type shown first, from 1
};

// What a save dialog that closes on a change of file type ended with: a chosen file, a
// type change (the dialog closed as if cancelled, with the new type), or a cancel.
struct SaveFileChoice {
    std::optional<std::string> fileName;
    int filterIndex = 1;      // the type shown when the dialog closed
    bool typeChanged = false; // closed because the user chose another type
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual void Error(const std::string& text) = 0;
    virtual void Information(const std::string& text) = 0;
    virtual void Warning(const std::string& text) = 0;
    // Yes: true; No: false.
    virtual bool Confirm(const std::string& text) = 0;
    // The typed text, or nothing when cancelled.
    virtual std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                             const std::string& text) = 0;
    // The chosen file name with its folder, or nothing when cancelled.
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
    // A save dialog that closes as soon as the user picks another file type. The
    // default runs SaveFileName, which never reports a type change.
    virtual SaveFileChoice SaveFileClosingOnTypeChange(const FileDialogRequest& request) {
        return {SaveFileName(request), request.filterIndex, false};
    }
    // True when the user chose to print; the dialog sets up `printer`.
    virtual bool Print(const std::string& caption, QPrinter& printer) = 0;
};

// The process-wide dialogs. Before anything is installed it is the Qt implementation.
UserDialogs& Dialogs();
// Installs a new implementation and returns the one it replaces.
std::unique_ptr<UserDialogs> InstallDialogs(std::unique_ptr<UserDialogs> dialogs);

// The question before a chosen file is written over: true when `path` does not exist
// yet or the user answers Yes to "File <path> already exists. Overwrite?".
inline bool MayWriteFile(const std::string& path) {
    std::error_code error;
    return !std::filesystem::exists(path, error) ||
           Dialogs().Confirm("File " + path + " already exists. Overwrite?");
}

// A dialog as a scripted test saw it.
struct DialogRecord {
    DialogKind kind;
    std::string caption;
    std::string text;
};

// Answers boxes from a queue and records every box. A box that needs an answer when
// the queue is empty is answered No / Cancel and counted in `unanswered`, so that a
// test that forgot an answer fails instead of hanging.
class ScriptedUserDialogs : public UserDialogs {
public:
    struct Answer {
        bool accept = true;              // Yes / OK / a file was chosen
        std::optional<std::string> text; // typed text or chosen file name
        int typeChange = 0;              // a save dialog's change to this file type
    };

    void PushYes() { answers.push_back({true, std::nullopt}); }
    void PushNo() { answers.push_back({false, std::nullopt}); }
    void PushText(std::string text) { answers.push_back({true, std::move(text)}); }
    void PushCancel() { answers.push_back({false, std::nullopt}); }
    // The user switches the save dialog to the file type of this filter index.
    void PushTypeChange(int filterIndex) { answers.push_back({false, std::nullopt, filterIndex}); }

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    std::optional<std::string> Input(const std::string& caption, const std::string& prompt,
                                     const std::string& text) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
    SaveFileChoice SaveFileClosingOnTypeChange(const FileDialogRequest& request) override;
    // A scripted answer with a text prints to that PDF file.
    bool Print(const std::string& caption, QPrinter& printer) override;

    // The texts of the recorded boxes of one kind, in order.
    std::vector<std::string> TextsOf(DialogKind kind) const;

    std::deque<Answer> answers;
    std::vector<DialogRecord> records;
    std::vector<FileDialogRequest> fileRequests;
    int unanswered = 0;

private:
    Answer NextAnswer();
};

} // namespace ormaline
