#pragma once

// kvl-report's archive modes: reporting from a device archive, and
// importing data files into one.

#include "export/Report.h"

class QCommandLineParser;

namespace kvl {

void addArchiveOptions(QCommandLineParser &parser);
extern const char *const ArchiveHelp;

// --import-into FILE a.kvl ...: 0 when every file was imported (or was
// there already), 1 when any failed (the others are still imported) or the
// archive cannot be used.
int runImportInto(const QString &archivePath, const QList<ReportInput> &files);

// --archive FILE [--device SERIAL]: every device, or the one, each handed to
// `done` as the report of a file is. 1 when the archive or the device cannot
// be read.
int reportArchive(const QString &archivePath, const QString &serial, const ReportOptions &options,
                  const std::function<void(const FileReport &)> &done);

} // namespace kvl
