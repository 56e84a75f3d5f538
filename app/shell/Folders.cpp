#include "shell/Folders.h"

#include "files/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kvl {

namespace {

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/folders.ini");
}

QString key(const QString &kind)
{
    return QStringLiteral("folders/") + (kind.isEmpty() ? QStringLiteral("other") : kind);
}

} // namespace

QString fileKind(const QString &programFilter)
{
    return filterExtensions(programFilter).value(0);
}

QString startFolder(const QString &kind)
{
    const QString last = QSettings(settingsFile(), QSettings::IniFormat).value(key(kind)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const bool image = kind == QLatin1String("png") || kind == QLatin1String("svg");
    QString folder = QStandardPaths::writableLocation(image ? QStandardPaths::PicturesLocation
                                                            : QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder;
}

void rememberFolder(const QString &kind, const QString &path)
{
    if (path.isEmpty())
        return;
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(key(kind), QFileInfo(path).absolutePath());
}

} // namespace kvl
