#pragma once

// Every file the program writes (data files, CSV, images, PDF documents)
// goes through here: the bytes are written to a temporary file beside the
// target, checked on disk, and only then put in the target's place.

#include <QByteArray>
#include <QString>

namespace kvl {

struct FileWrite
{
    enum class Result {
        Written,      // the target holds exactly the bytes given
        NotOpened,    // no temporary file could be made (folder, existing file)
        NotWritten,   // fewer bytes reached the disk than were given
        NotCommitted, // the temporary file could not take the target's place
    };
    Result result = Result::NotOpened;
    // The system's reason for a failure, e.g. "Permission denied".
    QString reason;

    bool ok() const { return result == Result::Written; }
};

// On any failure the target keeps its old contents and no temporary file is left.
FileWrite writeFileAtomically(const QString &path, const QByteArray &bytes);

// "It is impossible to write this file : PATH (reason)", for a failed write.
QString writeFailureText(const QString &path, const FileWrite &write);

} // namespace kvl
