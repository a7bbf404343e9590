#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ormaline {

std::string ProgramFolder() {
    QString executableFolder = QCoreApplication::applicationDirPath();
    QFileInfo info(executableFolder);
    if (!executableFolder.isEmpty() && info.isDir() && info.isWritable())
        return QDir::toNativeSeparators(executableFolder).toStdString();
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return QDir::toNativeSeparators(data).toStdString();
}

} // namespace ormaline
