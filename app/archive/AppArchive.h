#pragma once

// The program's device archive: where it lives (remembered between runs),
// whether downloads go into it, and the archive as a data source of the
// views. The archive never holds the program hostage: when it cannot be
// opened the user is told once and files and downloads work as before.

#include "archive/Archive.h"
#include "tables/RecordedSpan.h"

#include <QDate>
#include <QString>

class QMenu;
class QWidget;

namespace kvl {

struct Store;

// The archive file: the one chosen before, else the application data folder's.
QString archivePath();
// Chooses another archive file (remembered) and opens it.
void setArchivePath(const QString &path);
QString defaultArchivePath();

// Whether every completed download goes into the archive (on by default).
bool archiveDownloads();
void setArchiveDownloads(bool on);

// The open archive, or nullptr when it cannot be opened (said once per file).
Archive *appArchive();
// The same when the archive file exists; nothing is created.
Archive *existingAppArchive();
// Chooses a device as the views' source: its newest day is loaded and the
// session starts. False after a message.
bool openArchiveDevice(Store &store, qint64 device);
// Closes it (tests, and before another file is chosen).
void closeAppArchive();

// Adds a completed download; a failure is said, the download stays loaded.
void archiveCompletedDownload(const Store &store);

// The device the views read from the archive, 0 when they read the store's
// own data (a file or a download).
qint64 archiveSessionDevice();
void startArchiveSession(qint64 device);
void endArchiveSession();

// The recorded span the period dialogs show and propose: the archive's
// span of the session's device, else the store's.
RecordedSpan recordedSpanForDialogs(const Store &store, RecordedData which = RecordedData::All);
// "Recorded data: ..." of that span.
QString recordedDataTextForDialogs(const Store &store, RecordedData which = RecordedData::All);

// Loads the days from..to of the session's device into the store before a
// view opens. True when there is no session or it loaded; false after a
// message (the period does not fit, or the archive failed).
bool loadArchivePeriod(Store &store, const QDate &from, const QDate &to);

// Message when a period does not fit the store's tables.
QString periodTooLongText(const QDate &from, const QDate &to, const PeriodFit &fit, int version);

// The main window's "Archive" menu.
QMenu *makeArchiveMenu(QWidget *parent);

// "KVL 24-2 5.X" style name of a device's model and firmware.
QString deviceModelText(int version);

} // namespace kvl
