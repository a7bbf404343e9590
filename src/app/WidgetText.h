// Control texts as the system's records hold them (UTF-8 std::string).
#pragma once

#include <QString>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace ormaline {

std::string Text(const QLineEdit* edit);
std::string Text(const QComboBox* combo);
// The memo's lines in order, untrimmed.
std::vector<std::string> MemoLines(const QPlainTextEdit* memo);
void SetText(QLineEdit* edit, const std::string& text);
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Lets the window repaint (the status line first of all) before a long step. User
// input waits, so that a command cannot be started again while one runs.
void ProcessPendingMessages();

} // namespace ormaline
