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

int runImportInto(const QString &archivePath, const QStringList &files)
{
    if (files.isEmpty()) {
        say(stderr, QStringLiteral("kvl-report: no file to import (see --help)"));
        return 2;
    }
    Archive archive;
    if (!openArchive(archive, archivePath))
        return 2;
    int status = 0;
    for (const QString &file : files) {
        const ImportResult r = archive.importFile(file);
        if (r.status != ArchiveStatus::Ok) {
            const QString why = r.status == ArchiveStatus::Failed && !r.detail.isEmpty()
                                    ? r.detail
                                    : archiveStatusText(r.status);
            say(stderr, QStringLiteral("kvl-report: %1: %2").arg(file, why));
            status = 1;
        } else if (r.alreadyImported) {
            say(stdout, QStringLiteral("%1: already in the archive").arg(file));
        } else {
            say(stdout, QStringLiteral("%1: %2 new records").arg(file).arg(r.newRecords));
        }
    }
    return status;
}

int runArchiveReport(const QString &archivePath, const QString &serial, const ReportOptions &options)
{
    if (!QFileInfo::exists(archivePath)) {
        say(stderr, QStringLiteral("kvl-report: %1: no such archive").arg(archivePath));
        return 1;
    }
    Archive archive;
    if (!openArchive(archive, archivePath))
        return 1;
    QList<FileReport> reports;
    int status = 0;
    bool found = false;
    for (const ArchiveDevice &device : archive.devices()) {
        if (!serial.isEmpty() && device.serial != serial)
            continue;
        found = true;
        FileReport r = reportArchiveDevice(archive, device, options);
        for (const QString &w : r.warnings)
            say(stderr, QStringLiteral("kvl-report: %1: warning: %2").arg(r.path, w));
        if (!r.loaded) {
            say(stderr, QStringLiteral("kvl-report: %1: %2").arg(r.path, r.error));
            status = 1;
        }
        reports << r;
    }
    if (!serial.isEmpty() && !found) {
        say(stderr, QStringLiteral("kvl-report: %1: no device of serial number %2").arg(archivePath, serial));
        status = 1;
    }
    const QByteArray out = assembleReport(reports, options);
    std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
    return status;
}

} // namespace kvl
