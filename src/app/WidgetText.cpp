#include "app/WidgetText.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace ormaline {

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

std::string Text(const QComboBox* combo) {
    return combo->currentText().toStdString();
}

std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
    std::vector<std::string> lines;
    const QTextDocument* document = memo->document();
    // An empty memo has one empty block and no lines.
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    return lines;
}

void SetText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

void ProcessPendingMessages() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace ormaline
