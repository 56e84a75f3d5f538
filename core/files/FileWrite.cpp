#include "files/FileWrite.h"

#include "Logging.h"

#include <QSaveFile>

namespace kvl {

namespace {

FileWrite failed(FileWrite::Result result, const QString &path, QString reason)
{
    qCWarning(lcFiles) << "cannot write" << path << ":" << reason;
    return FileWrite{result, std::move(reason)};
}

} // namespace

FileWrite writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile flushes at commit and ignores a short
    // write there (a full disk or a size limit), then renames the cut file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(FileWrite::Result::NotOpened, path, file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    // What the disk holds, not what the calls said, decides.
    const qint64 onDisk = file.size();
    if (done != bytes.size() || onDisk != bytes.size()) {
        // A short write names no reason; the next one does.
        QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString();
        if (reason.isEmpty())
            reason = QStringLiteral("only %1 of %2 bytes could be written").arg(onDisk).arg(bytes.size());
        file.cancelWriting();
        return failed(FileWrite::Result::NotWritten, path, reason);
    }
    if (!file.commit())
        return failed(FileWrite::Result::NotCommitted, path, file.errorString());
    return FileWrite{FileWrite::Result::Written, QString()};
}

QString writeFailureText(const QString &path, const FileWrite &write)
{
    return QStringLiteral("It is impossible to write this file : ") + path + QStringLiteral(" (") +
           write.reason + QLatin1Char(')');
}

} // namespace kvl
