#include "platform/QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace ormaline {

namespace {

QWidget* Owner() {
    return QApplication::activeWindow();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Caption() {
    return QApplication::applicationDisplayName();
}

std::unique_ptr<UserDialogs>& Installed() {
    static std::unique_ptr<UserDialogs> dialogs;
    return dialogs;
}

} // namespace

UserDialogs& Dialogs() {
    auto& dialogs = Installed();
    if (!dialogs)
        dialogs = std::make_unique<QtUserDialogs>();
    return *dialogs;
}

std::unique_ptr<UserDialogs> InstallDialogs(std::unique_ptr<UserDialogs> dialogs) {
    auto previous = std::move(Installed());
    Installed() = std::move(dialogs);
    return previous;
}

void QtUserDialogs::Error(const std::string& text) {
    QMessageBox::critical(Owner(), Caption(), Q(text));
}

void QtUserDialogs::Information(const std::string& text) {
    QMessageBox::information(Owner(), Caption(), Q(text));
}

void QtUserDialogs::Warning(const std::string& text) {
    QMessageBox::warning(Owner(), Caption(), Q(text));
}

bool QtUserDialogs::Confirm(const std::string& text) {
    return QMessageBox::question(Owner(), Caption(), Q(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtUserDialogs::Input(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& text) {
    bool ok = false;
    QString answer =
        QInputDialog::getText(Owner(), Q(caption), Q(prompt), QLineEdit::Normal, Q(text), &ok);
    if (!ok)
        return std::nullopt;
    return answer.toStdString();
}

QString QtNameFilter(const std::string& filter) {
    QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        int open = description.lastIndexOf('(');
        if (open > 0 && description.endsWith(')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            patterns << pattern.toLower();
            if (pattern.toUpper() != pattern.toLower())
                patterns << pattern.toUpper();
        }
        filters << description + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

std::optional<std::string> QtUserDialogs::SaveFileName(const FileDialogRequest& request) {
    QFileDialog dialog(Owner(), Q(request.caption), Q(request.initialFolder),
                       QtNameFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // callers ask themselves
    dialog.selectFile(Q(request.fileName));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(Q(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

SaveFileChoice QtUserDialogs::SaveFileClosingOnTypeChange(const FileDialogRequest& request) {
    QFileDialog dialog(Owner(), Q(request.caption), Q(request.initialFolder),
                       QtNameFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // callers ask themselves
    // The widget dialog, whose filter changes are reported while it is open.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.selectFile(Q(request.fileName));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(Q(request.defaultExtension));
    SaveFileChoice choice;
    choice.filterIndex = request.filterIndex;
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const int index = static_cast<int>(filters.indexOf(filter)) + 1;
        if (index < 1 || index == choice.filterIndex)
            return;
        choice.filterIndex = index;
        choice.typeChanged = true;
        dialog.reject();
    });
    if (dialog.exec() == QDialog::Accepted && !choice.typeChanged &&
        !dialog.selectedFiles().isEmpty())
        choice.fileName = dialog.selectedFiles().front().toStdString();
    return choice;
}

std::optional<std::string> QtUserDialogs::OpenFileName(const FileDialogRequest& request) {
    QFileDialog dialog(Owner(), Q(request.caption), Q(request.initialFolder),
                       QtNameFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.fileName.empty())
        dialog.selectFile(Q(request.fileName));
    // A typed name without extension names a file of the default type.
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(Q(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

bool QtUserDialogs::Print(const std::string& caption, QPrinter& printer) {
    QPrintDialog dialog(&printer, Owner());
    dialog.setWindowTitle(Q(caption));
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ormaline
