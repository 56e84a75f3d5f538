#pragma once

// Reading a file named by a user or a script before the loader sees it: the
// path may be a FIFO, a device, a folder or a huge file.

#include <QByteArray>
#include <QString>

namespace kvl {

struct UntrustedBytes
{
    QByteArray bytes;
    // Why nothing was read, for "It is impossible to open this file (...)";
    // empty when read.
    QString error;
};

// Opens without waiting (a FIFO with no writer does not block), refuses
// anything but a regular file and a file larger than largestDataFile(), and
// reads a file whole only when it starts with an accepted marker: otherwise
// its start alone, enough for the loader to refuse it. The path is in the
// file system's own bytes, so that a name that is no UTF-8 still opens.
UntrustedBytes readUntrustedDataFile(const QByteArray &localPath);

} // namespace kvl
