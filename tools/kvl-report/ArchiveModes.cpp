#include "ArchiveModes.h"

#include "archive/ArchiveReport.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace kvl {

const char *const ArchiveHelp =
    "\n"
    "Device archive (the program's SQLite archive of every download and data file):\n"
    "--import-into ARCHIVE a.kvl b.kvl ...  adds the files' records to the archive (created\n"
    "           when missing), one line per file on standard output; exit status 1 when\n"
    "           any file failed, the others are still imported.\n"
    "--archive ARCHIVE [--device SERIAL]  reports from the archive instead of files, over\n"
    "           --from/--to or every day it holds, in any mode: each device (or the one\n"
    "           named) is reported as one file named ARCHIVE#SERIAL.";

void addArchiveOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {"archive", "Report from this device archive instead of data files.", "ARCHIVE"},
        {"device", "With --archive: only the device of this serial number.", "SERIAL"},
        {"import-into", "Import the data files into this device archive.", "ARCHIVE"},
    });
}

namespace {

void say(FILE *to, const QString &text)
{
    std::fprintf(to, "%s\n", qPrintable(text));
}

bool openArchive(Archive &archive, const QString &path)
{
    const ArchiveStatus status = archive.open(path);
    if (status == ArchiveStatus::Ok)
        return true;
    say(stderr,
        QStringLiteral("kvl-report: %1: %2 (%3)").arg(path, archiveStatusText(status), archive.lastError()));
    return false;
}

} // namespace

int runImportInto(const QString &archivePath, const QList<ReportInput> &files)
{
    Archive archive;
    if (!openArchive(archive, archivePath))
        return 1;
    int status = 0;
    for (const ReportInput &file : files) {
        const ImportResult r = archive.importFile(file.name);
        if (r.status != ArchiveStatus::Ok) {
            const QString why = r.status == ArchiveStatus::Failed && !r.detail.isEmpty()
                                    ? r.detail
                                    : archiveStatusText(r.status);
            say(stderr, QStringLiteral("kvl-report: %1: %2").arg(file.name, why));
            status = 1;
        } else if (r.alreadyImported) {
            say(stdout, QStringLiteral("%1: already in the archive").arg(file.name));
        } else {
            say(stdout, QStringLiteral("%1: %2 new records").arg(file.name).arg(r.newRecords));
        }
    }
    return status;
}

int reportArchive(const QString &archivePath, const QString &serial, const ReportOptions &options,
                  const std::function<void(const FileReport &)> &done)
{
    if (!QFileInfo::exists(archivePath)) {
        say(stderr, QStringLiteral("kvl-report: %1: no such archive").arg(archivePath));
        return 1;
    }
    Archive archive;
    if (!openArchive(archive, archivePath))
        return 1;
    bool found = false;
    for (const ArchiveDevice &device : archive.devices()) {
        if (!serial.isEmpty() && device.serial != serial)
            continue;
        found = true;
        done(reportArchiveDevice(archive, device, options));
    }
    if (!serial.isEmpty() && !found) {
        say(stderr, QStringLiteral("kvl-report: %1: no device of serial number %2").arg(archivePath, serial));
        return 1;
    }
    return 0;
}

} // namespace kvl
