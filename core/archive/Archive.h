#pragma once

// The device archive: every download and data file of a device joined into
// one history, in one SQLite file. A record is stored once, keyed by its
// content (device, table, stamp and every field); each import is one
// transaction, so an interrupted import leaves the archive as it was.

#include "store/Store.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace kvl {

enum class ArchiveStatus {
    Ok,
    CannotOpen,   // no such folder, no permission
    NotAnArchive, // a file of another kind, or a database of another program
    Damaged,      // the database is corrupt
    NewerVersion, // written by a newer program: left untouched
    Busy,         // another program holds the archive longer than we wait
    Failed,       // any other database error
    Cancelled,
};

// The message box text of a failed archive operation ("" for Ok).
QString archiveStatusText(ArchiveStatus status);

struct ArchiveDevice
{
    qint64 id = 0;
    int version = 0; // Device_Version: model and firmware family
    QString serial;
    QDate first, last; // first and last recorded day, invalid when no record
    int imports = 0;
    qint64 records = 0; // Leq, event and parameter history records
};

// Where an import comes from: "download" or the file's name, and the SHA-256
// of the data file image.
struct ImportSource
{
    QString name;
    QByteArray sha256; // hex
};

struct ImportResult
{
    ArchiveStatus status = ArchiveStatus::Failed;
    bool alreadyImported = false; // the same bytes were imported before: nothing added
    qint64 device = 0;
    int newRecords = 0;
    QString detail; // the database's own message, or the loader's
};

// How a period fits the store's tables.
struct PeriodFit
{
    bool fits = false;
    int leq = 0, events = 0, history = 0; // records the period needs
    // The last day of the longest period from the same start that fits;
    // invalid when not even the first day fits.
    QDate longestEnd;
};

enum class ArchiveTable { Leq, Events, History };

class Archive
{
public:
    // Called after each batch of rows inside an import; false cancels it.
    using BatchHook = std::function<bool()>;

    static constexpr int SchemaVersion = 1;
    // How long a write waits for another program holding the archive.
    static constexpr int BusyTimeoutMs = 1500;

    Archive();
    ~Archive();
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    // Opens (or creates) the archive file, bringing an older schema up to date.
    ArchiveStatus open(const QString &path);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    // The database's message of the last failure.
    QString lastError() const { return m_lastError; }

    // Adds the valid records of a loaded store. Rows that fail the store's
    // validity are left out; records already held are not added again.
    ImportResult importStore(const Store &store, const ImportSource &source, const BatchHook &hook = {});
    // Reads and imports a data file.
    ImportResult importFile(const QString &path, const BatchHook &hook = {});

    QList<ArchiveDevice> devices();
    // The device of that serial number, 0 when none (or several models share it).
    qint64 deviceBySerial(const QString &serial);
    ArchiveStatus removeDevice(qint64 device);

    // Whether the days from..to (both included) fit the store's tables.
    PeriodFit periodFit(qint64 device, const QDate &from, const QDate &to);
    // Fills the store with the device's records of the days from..to, what
    // the views read from before them (the newest record of each kind and
    // event code before the period), the parameter history and the
    // parameter block of the latest import covering the period. Data_Loaded
    // is set on success; on a period that does not fit nothing is changed.
    ArchiveStatus loadPeriod(qint64 device, const QDate &from, const QDate &to, Store &store,
                             PeriodFit *fit = nullptr);

    // Every record of a table of a device in the store's order, each row its
    // fields from 1 (8, or 48 for the history).
    QList<QList<qint16>> records(qint64 device, ArchiveTable table);

    // Result of PRAGMA integrity_check ("ok" when sound).
    QString integrityCheck();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    QString m_path;
    QString m_lastError;
};

// SHA-256 of bytes, hex.
QByteArray sha256Hex(const QByteArray &bytes);

// The content key of a record stamp: yymmddhhmm as one number, so that
// numeric order is the store's chronological order. Fields from 1.
qint64 recordStamp(const qint16 *row);
// The stamp of a day's first and last minute.
qint64 dayStartStamp(const QDate &day);
qint64 dayEndStamp(const QDate &day);
// The day of a stamp (days the device may write, like 30 February, roll on).
QDate stampDay(qint64 stamp);

} // namespace kvl
