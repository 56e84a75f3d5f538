#include "archive/Archive.h"

#include "files/DataFile.h"
#include "files/UntrustedRead.h"
#include "link/Decode.h"
#include "store/Names.h"
#include "store/RecordDate.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <atomic>
#include <map>

namespace kvl {

namespace {

// Marks our databases, so a database of another program is not taken for one.
constexpr int ApplicationId = 0x4B564C41; // "KVLA"
// Rows per INSERT: one statement per batch keeps the driver's cost per row low.
constexpr int BatchRows = 256;

// The schema of each version, applied in order from the file's user_version.
//
// Records are keyed by content: device, stamp, every other field and `copy`,
// the occurrence of an identical record within one download (a clock set
// back can make the device store the same record twice; both are real).
// `seq` keeps the device's order among records of the same stamp. WITHOUT
// ROWID tables keep the records in key order, so a period is one range of
// the primary key and the file stays small.
const char *const SchemaV1[] = {
    "CREATE TABLE devices(id INTEGER PRIMARY KEY, version INTEGER NOT NULL, serial TEXT NOT NULL,"
    " UNIQUE(version, serial))",
    "CREATE TABLE imports(id INTEGER PRIMARY KEY, device INTEGER NOT NULL, source TEXT NOT NULL,"
    " sha256 TEXT NOT NULL UNIQUE, imported_at TEXT NOT NULL, new_records INTEGER NOT NULL,"
    " first_stamp INTEGER, last_stamp INTEGER, transfer_date TEXT, transfer_time TEXT,"
    " param_block BLOB NOT NULL, param_raw BLOB)",
    "CREATE INDEX imports_span ON imports(device, last_stamp)",
    "CREATE TABLE leq(device INTEGER NOT NULL, stamp INTEGER NOT NULL, stamp4 INTEGER NOT NULL,"
    " units INTEGER NOT NULL, hundreds INTEGER NOT NULL, copy INTEGER NOT NULL, seq INTEGER NOT NULL,"
    " PRIMARY KEY(device, stamp, stamp4, units, hundreds, copy)) WITHOUT ROWID",
    "CREATE TABLE events(device INTEGER NOT NULL, stamp INTEGER NOT NULL, stamp4 INTEGER NOT NULL,"
    " code_a INTEGER NOT NULL, code_b INTEGER NOT NULL, copy INTEGER NOT NULL, seq INTEGER NOT NULL,"
    " PRIMARY KEY(device, stamp, stamp4, code_a, code_b, copy)) WITHOUT ROWID",
    // The newest event of each code before a period (the door state) in one step.
    "CREATE INDEX events_code ON events(device, code_a, code_b, stamp)",
    "CREATE TABLE history(device INTEGER NOT NULL, stamp INTEGER NOT NULL, stamp4 INTEGER NOT NULL,"
    " fields BLOB NOT NULL, copy INTEGER NOT NULL, seq INTEGER NOT NULL,"
    " PRIMARY KEY(device, stamp, stamp4, fields, copy)) WITHOUT ROWID",
};

struct Migration
{
    int toVersion;
    const char *const *statements;
    int count;
};
const Migration Migrations[] = {{1, SchemaV1, int(std::size(SchemaV1))}};

// SQLite result codes the driver reports as native error codes.
ArchiveStatus statusOf(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return ArchiveStatus::Busy;
    case 11: // SQLITE_CORRUPT
        return ArchiveStatus::Damaged;
    case 26: // SQLITE_NOTADB
        return ArchiveStatus::NotAnArchive;
    case 14: // SQLITE_CANTOPEN
    case 8:  // SQLITE_READONLY
    case 23: // SQLITE_AUTH
        return ArchiveStatus::CannotOpen;
    default:
        return ArchiveStatus::Failed;
    }
}

// Whether a row of the store is archived: the store's own rule, so the
// archive holds what a loaded file shows (invalid rows carry year 255).
bool archivable(const qint16 *row, bool checkValues)
{
    return isValidRecord(row, checkValues ? RecordCheck::StampAndValues : RecordCheck::Stamp);
}

// One record on its way in or out.
struct Record
{
    qint64 stamp = 0;
    int row = 0; // table row it came from
    int stamp4 = 0;
    int a = 0, b = 0;  // Leq: units, hundreds; events: code bytes
    QByteArray fields; // history: fields 7..48
    int copy = 0;
    int seq = 0;

    bool sameContent(const Record &o) const
    {
        return stamp == o.stamp && stamp4 == o.stamp4 && a == o.a && b == o.b && fields == o.fields;
    }
};

enum class Kind { Leq, Events, History };

const char *tableName(Kind k)
{
    switch (k) {
    case Kind::Leq:
        return "leq";
    case Kind::Events:
        return "events";
    case Kind::History:
        break;
    }
    return "history";
}

const char *columns(Kind k)
{
    switch (k) {
    case Kind::Leq:
        return "stamp, stamp4, units, hundreds, copy, seq";
    case Kind::Events:
        return "stamp, stamp4, code_a, code_b, copy, seq";
    case Kind::History:
        break;
    }
    return "stamp, stamp4, fields, copy, seq";
}

// Valid rows of a table in the store's order, with their copy and seq.
template <typename Table> std::vector<Record> recordsOf(const Table &table, int rows, Kind kind)
{
    std::vector<Record> out;
    for (int r = 1; r <= rows; ++r) {
        const qint16 *row = table.row(r);
        if (!archivable(row, kind != Kind::History))
            continue;
        Record rec;
        rec.stamp = recordStamp(row);
        rec.row = r;
        rec.stamp4 = fieldOf(row, field::Kind);
        if (kind == Kind::History) {
            rec.fields.resize(Table::fieldCount - 6);
            for (int f = 7; f <= Table::fieldCount; ++f)
                rec.fields[f - 7] = char(quint8(fieldOf(row, f)));
        } else {
            rec.a = fieldOf(row, 7);
            rec.b = fieldOf(row, 8);
        }
        out.push_back(std::move(rec));
    }
    // A file may not be sorted; equal stamps keep the table's order.
    std::stable_sort(out.begin(), out.end(),
                     [](const Record &x, const Record &y) { return x.stamp < y.stamp; });
    for (std::size_t i = 0, group = 0; i < out.size(); ++i) {
        if (i == 0 || out[i].stamp != out[i - 1].stamp)
            group = i;
        out[i].seq = int(i - group);
        for (std::size_t j = group; j < i; ++j)
            if (out[j].sameContent(out[i]))
                out[i].copy = std::max(out[i].copy, out[j].copy + 1);
    }
    return out;
}

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

QByteArray blockBytes(const ParamBlockTable &block)
{
    QByteArray bytes(ParamBlockTable::size, 0);
    for (int i = 0; i < ParamBlockTable::size; ++i)
        bytes[i] = char(quint8(block[i]));
    return bytes;
}

QByteArray rawBytes(const ParamRawTable &raw)
{
    QByteArray bytes(ParamRawTable::size, 0);
    for (int i = 0; i < ParamRawTable::size; ++i)
        bytes[i] = char(quint8(raw[i]));
    return bytes;
}

} // namespace

QString archiveStatusText(ArchiveStatus status)
{
    switch (status) {
    case ArchiveStatus::Ok:
        return QString();
    case ArchiveStatus::CannotOpen:
        return QStringLiteral(
            "The archive cannot be opened or written (check the folder and its permissions).");
    case ArchiveStatus::NotAnArchive:
        return QStringLiteral("This file is not a device archive of this program.");
    case ArchiveStatus::Damaged:
        return QStringLiteral("The archive is damaged. Choose another archive file, or restore a copy.");
    case ArchiveStatus::NewerVersion:
        return QStringLiteral(
            "The archive was written by a newer version of this program; it is left unchanged.");
    case ArchiveStatus::Busy:
        return QStringLiteral("The archive is in use by another program. Try again in a moment.");
    case ArchiveStatus::Failed:
        return QStringLiteral("The archive could not be read or written.");
    case ArchiveStatus::Cancelled:
        return QStringLiteral("The import was cancelled; the archive is as it was before it.");
    }
    return QString();
}

qint64 recordStamp(const qint16 *row)
{
    qint64 s = fieldOf(row, field::Year);
    for (int f : {field::Month, field::Day, field::Hour, field::Minute})
        s = s * 100 + fieldOf(row, f);
    return s;
}

qint64 dayStartStamp(const QDate &day)
{
    return ((qint64(day.year() - 2000) * 100 + day.month()) * 100 + day.day()) * 10000;
}

qint64 dayEndStamp(const QDate &day)
{
    return dayStartStamp(day) + 2359;
}

QDate stampDay(qint64 stamp)
{
    std::array<qint16, 6> row{};
    row[field::Minute - 1] = qint16(stamp % 100);
    row[field::Hour - 1] = qint16(stamp / 100 % 100);
    row[field::Day - 1] = qint16(stamp / 10000 % 100);
    row[field::Month - 1] = qint16(stamp / 1000000 % 100);
    row[field::Year - 1] = qint16(stamp / 100000000);
    const QDate date = recordDate(row.data());
    if (date.isValid())
        return date;
    // A day the month lacks (the store keeps 31 February) sorts after the
    // month's last day and before the next month: it counts as that last day.
    const QDate month(2000 + row[field::Year - 1], row[field::Month - 1], 1);
    return month.isValid() ? month.addDays(month.daysInMonth() - 1) : QDate();
}

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

struct Archive::Impl
{
    QString connection;
    QSqlDatabase db;

    QSqlQuery query() const { return QSqlQuery(db); }
};

Archive::Archive() : d(std::make_unique<Impl>())
{
    static std::atomic<int> counter{0};
    d->connection = QStringLiteral("kvl-archive-%1").arg(counter++);
}

Archive::~Archive()
{
    close();
}

bool Archive::isOpen() const
{
    return d->db.isOpen();
}

void Archive::close()
{
    if (d->db.isValid()) {
        d->db.close();
        d->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(d->connection);
    }
}

ArchiveStatus Archive::open(const QString &path)
{
    close();
    m_path = path;
    m_lastError.clear();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_lastError = QStringLiteral("the SQLite driver of Qt is not installed");
        return ArchiveStatus::CannotOpen;
    }
    if (QFileInfo(path).isDir()) {
        m_lastError = QStringLiteral("is a folder");
        return ArchiveStatus::CannotOpen;
    }
    d->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->connection);
    d->db.setDatabaseName(path);
    d->db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    QSqlQuery q;
    // Queries go before the connection does.
    auto drop = [&] {
        q = QSqlQuery();
        close();
    };
    auto fail = [&](const QSqlError &e, ArchiveStatus fallback = ArchiveStatus::Failed) {
        m_lastError = e.text();
        const ArchiveStatus s = statusOf(e);
        drop();
        return s == ArchiveStatus::Failed ? fallback : s;
    };
    if (!d->db.open())
        return fail(d->db.lastError(), ArchiveStatus::CannotOpen);

    q = d->query();
    // Reading the header tells a foreign or damaged file at once.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return fail(q.lastError());
    const int version = q.value(0).toInt();
    if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next())
        return fail(q.lastError());
    const int appId = q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next())
        return fail(q.lastError());
    const int objects = q.value(0).toInt();
    if ((version == 0 && objects > 0) || (version > 0 && appId != ApplicationId)) {
        m_lastError = QStringLiteral("no archive tables");
        drop();
        return ArchiveStatus::NotAnArchive;
    }
    if (version > SchemaVersion) {
        m_lastError =
            QStringLiteral("schema version %1, this program knows %2").arg(version).arg(SchemaVersion);
        close();
        return ArchiveStatus::NewerVersion;
    }
    if (version > 0) {
        // A damaged archive is told at once, not halfway through an import.
        if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")) || !q.next())
            return fail(q.lastError(), ArchiveStatus::Damaged);
        if (q.value(0).toString() != QLatin1String("ok")) {
            m_lastError = q.value(0).toString();
            drop();
            return ArchiveStatus::Damaged;
        }
    }
    // WAL: readers (another window, kvl-report) never wait for an import.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return fail(q.lastError());
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    if (version < SchemaVersion) {
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return fail(q.lastError());
        // Another program may have created it meanwhile.
        q.exec(QStringLiteral("PRAGMA user_version"));
        int current = q.next() ? q.value(0).toInt() : version;
        for (const Migration &m : Migrations) {
            if (m.toVersion <= current)
                continue;
            for (int i = 0; i < m.count; ++i)
                if (!q.exec(QString::fromLatin1(m.statements[i]))) {
                    const QSqlError e = q.lastError();
                    q.exec(QStringLiteral("ROLLBACK"));
                    return fail(e);
                }
            q.exec(QStringLiteral("PRAGMA user_version=%1").arg(m.toVersion));
            current = m.toVersion;
        }
        q.exec(QStringLiteral("PRAGMA application_id=%1").arg(ApplicationId));
        if (!q.exec(QStringLiteral("COMMIT"))) {
            const QSqlError e = q.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(e);
        }
    }
    return ArchiveStatus::Ok;
}

QString Archive::integrityCheck()
{
    if (!isOpen())
        return QStringLiteral("not open");
    QSqlQuery q = d->query();
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
        return q.lastError().text();
    QStringList lines;
    while (q.next())
        lines << q.value(0).toString();
    return lines.join(QLatin1Char('\n'));
}

ImportResult Archive::importFile(const QString &path, const BatchHook &hook)
{
    ImportResult result;
    const UntrustedBytes read = readUntrustedDataFile(QFile::encodeName(path));
    if (!read.error.isEmpty()) {
        result.detail =
            QStringLiteral("It is impossible to open this file (") + read.error + QLatin1Char(')');
        return result;
    }
    auto store = std::make_unique<Store>();
    const LoadOutcome loaded = readDataFile(read.bytes, *store);
    if (loaded.result != LoadOutcome::Loaded) {
        result.detail = loaded.caption.trimmed() + QStringLiteral(": ") + loaded.text + QStringLiteral(" (") +
                        loaded.detailText() + QLatin1Char(')');
        return result;
    }
    return importStore(*store, {QFileInfo(path).fileName(), sha256Hex(read.bytes)}, hook);
}

ImportResult Archive::importStore(const Store &store, const ImportSource &source, const BatchHook &hook)
{
    ImportResult result;
    if (!isOpen()) {
        result.status = ArchiveStatus::CannotOpen;
        return result;
    }
    const int version = store.Device_Version;
    const QString serial = serialNumberOf(store);

    QSqlQuery q = d->query();
    auto fail = [&](const QSqlError &e) {
        result.status = statusOf(e);
        result.detail = e.text();
        m_lastError = e.text();
        QSqlQuery(d->db).exec(QStringLiteral("ROLLBACK"));
        return result;
    };
    // The write lock first, so a busy archive is known before any work.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(q.lastError());

    q.prepare(QStringLiteral("SELECT device FROM imports WHERE sha256 = ?"));
    q.addBindValue(QString::fromLatin1(source.sha256));
    if (!q.exec())
        return fail(q.lastError());
    if (q.next()) {
        result.device = q.value(0).toLongLong();
        q.finish();
        QSqlQuery(d->db).exec(QStringLiteral("ROLLBACK"));
        result.status = ArchiveStatus::Ok;
        result.alreadyImported = true;
        return result;
    }

    q.prepare(QStringLiteral("INSERT OR IGNORE INTO devices(version, serial) VALUES(?, ?)"));
    q.addBindValue(version);
    q.addBindValue(serial);
    if (!q.exec())
        return fail(q.lastError());
    q.prepare(QStringLiteral("SELECT id FROM devices WHERE version = ? AND serial = ?"));
    q.addBindValue(version);
    q.addBindValue(serial);
    if (!q.exec() || !q.next())
        return fail(q.lastError());
    const qint64 device = q.value(0).toLongLong();
    q.finish();
    result.device = device;

    qint64 first = -1, last = -1;
    int added = 0;
    auto insertAll = [&](Kind kind, const std::vector<Record> &records) -> bool {
        if (!records.empty()) {
            first = first < 0 ? records.front().stamp : std::min(first, records.front().stamp);
            last = std::max(last, records.back().stamp);
        }
        // The values are numbers we made (and the history's bytes as a blob
        // literal), written into the statement: binding them one by one
        // through the driver costs more than the whole insert.
        const QByteArray head = QByteArrayLiteral("INSERT OR IGNORE INTO ") + tableName(kind) +
                                QByteArrayLiteral("(device, ") + columns(kind) +
                                QByteArrayLiteral(") VALUES ");
        const QByteArray deviceText = QByteArray::number(device);
        QByteArray sql;
        QSqlQuery ins(d->db);
        for (std::size_t at = 0; at < records.size(); at += BatchRows) {
            const std::size_t n = std::min<std::size_t>(BatchRows, records.size() - at);
            sql = head;
            for (std::size_t i = 0; i < n; ++i) {
                const Record &r = records[at + i];
                sql += i ? ",(" : "(";
                sql += deviceText;
                sql += ',';
                sql += QByteArray::number(r.stamp);
                sql += ',';
                sql += QByteArray::number(r.stamp4);
                if (kind == Kind::History) {
                    sql += ",X'";
                    sql += r.fields.toHex();
                    sql += '\'';
                } else {
                    sql += ',';
                    sql += QByteArray::number(r.a);
                    sql += ',';
                    sql += QByteArray::number(r.b);
                }
                sql += ',';
                sql += QByteArray::number(r.copy);
                sql += ',';
                sql += QByteArray::number(r.seq);
                sql += ')';
            }
            if (!ins.exec(QString::fromLatin1(sql))) {
                fail(ins.lastError());
                return false;
            }
            added += ins.numRowsAffected();
            if (hook && !hook()) {
                result.status = ArchiveStatus::Cancelled;
                QSqlQuery(d->db).exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
        return true;
    };
    if (!insertAll(Kind::Leq, recordsOf(store.Leq_Records, leqRows(version), Kind::Leq)) ||
        !insertAll(Kind::Events, recordsOf(store.Event_Records, EventTable::rowCount, Kind::Events)))
        return result;
    if (isVersion5Family(version) &&
        !insertAll(Kind::History, recordsOf(store.Param_History, HistoryTable::rowCount, Kind::History)))
        return result;

    q.prepare(
        QStringLiteral("INSERT INTO imports(device, source, sha256, imported_at, new_records, first_stamp,"
                       " last_stamp, transfer_date, transfer_time, param_block, param_raw)"
                       " VALUES(?,?,?,?,?,?,?,?,?,?,?)"));
    q.addBindValue(device);
    q.addBindValue(source.name);
    q.addBindValue(QString::fromLatin1(source.sha256));
    q.addBindValue(nowText());
    q.addBindValue(added);
    q.addBindValue(first < 0 ? QVariant() : QVariant(first));
    q.addBindValue(last < 0 ? QVariant() : QVariant(last));
    const bool dated = isVersion5Family(version);
    q.addBindValue(dated ? store.Transfer_Date : QString());
    q.addBindValue(dated ? store.Transfer_Time : QString());
    q.addBindValue(blockBytes(store.Param_Block));
    q.addBindValue(version == Version35 ? QVariant(rawBytes(store.Param_Raw)) : QVariant());
    if (!q.exec())
        return fail(q.lastError());
    if (!q.exec(QStringLiteral("COMMIT")))
        return fail(q.lastError());
    result.status = ArchiveStatus::Ok;
    result.newRecords = added;
    return result;
}

QList<ArchiveDevice> Archive::devices()
{
    QList<ArchiveDevice> list;
    if (!isOpen())
        return list;
    QSqlQuery q = d->query();
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, version, serial FROM devices ORDER BY version, serial")))
        return list;
    while (q.next()) {
        ArchiveDevice dev;
        dev.id = q.value(0).toLongLong();
        dev.version = q.value(1).toInt();
        dev.serial = q.value(2).toString();
        list << dev;
    }
    for (ArchiveDevice &dev : list) {
        qint64 lo = -1, hi = -1;
        for (const char *table : {"leq", "events"}) {
            q.prepare(QStringLiteral("SELECT min(stamp), max(stamp), count(*) FROM %1 WHERE device = ?")
                          .arg(QLatin1String(table)));
            q.addBindValue(dev.id);
            if (q.exec() && q.next()) {
                if (!q.value(0).isNull()) {
                    lo = lo < 0 ? q.value(0).toLongLong() : std::min(lo, q.value(0).toLongLong());
                    hi = std::max(hi, q.value(1).toLongLong());
                }
                dev.records += q.value(2).toLongLong();
            }
        }
        q.prepare(QStringLiteral("SELECT count(*) FROM history WHERE device = ?"));
        q.addBindValue(dev.id);
        if (q.exec() && q.next())
            dev.records += q.value(0).toLongLong();
        q.prepare(QStringLiteral("SELECT count(*) FROM imports WHERE device = ?"));
        q.addBindValue(dev.id);
        if (q.exec() && q.next())
            dev.imports = q.value(0).toInt();
        if (lo >= 0) {
            dev.first = stampDay(lo);
            dev.last = stampDay(hi);
        }
    }
    return list;
}

qint64 Archive::deviceBySerial(const QString &serial)
{
    qint64 found = 0;
    for (const ArchiveDevice &dev : devices()) {
        if (dev.serial != serial)
            continue;
        if (found)
            return 0;
        found = dev.id;
    }
    return found;
}

ArchiveStatus Archive::removeDevice(qint64 device)
{
    if (!isOpen())
        return ArchiveStatus::CannotOpen;
    QSqlQuery q = d->query();
    auto fail = [&](const QSqlError &e) {
        m_lastError = e.text();
        QSqlQuery(d->db).exec(QStringLiteral("ROLLBACK"));
        return statusOf(e);
    };
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(q.lastError());
    for (const char *sql : {"DELETE FROM leq WHERE device = ?", "DELETE FROM events WHERE device = ?",
                            "DELETE FROM history WHERE device = ?", "DELETE FROM imports WHERE device = ?",
                            "DELETE FROM devices WHERE id = ?"}) {
        q.prepare(QString::fromLatin1(sql));
        q.addBindValue(device);
        if (!q.exec())
            return fail(q.lastError());
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return fail(q.lastError());
    return ArchiveStatus::Ok;
}

namespace {

// Records of a device with their stamp, in store order.
std::vector<Record> selectRecords(QSqlDatabase &db, Kind kind, const QString &where,
                                  const QVariantList &values)
{
    std::vector<Record> out;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY stamp, seq")
                  .arg(QLatin1String(columns(kind)), QLatin1String(tableName(kind)), where));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return out;
    while (q.next()) {
        Record r;
        r.stamp = q.value(0).toLongLong();
        r.stamp4 = q.value(1).toInt();
        if (kind == Kind::History) {
            r.fields = q.value(2).toByteArray();
        } else {
            r.a = q.value(2).toInt();
            r.b = q.value(3).toInt();
        }
        out.push_back(std::move(r));
    }
    return out;
}

// The stamp's fields 1..6 of a row.
void writeStamp(qint16 *row, const Record &r)
{
    qint64 s = r.stamp;
    for (int f : {field::Minute, field::Hour, field::Day, field::Month, field::Year}) {
        row[f - 1] = qint16(s % 100);
        s /= 100;
    }
    row[field::Kind - 1] = qint16(r.stamp4);
}

template <typename Table> void fillTable(Table &table, int rows, const std::vector<Record> &records)
{
    table.fill(255);
    int r = 1;
    for (const Record &rec : records) {
        if (r > rows)
            break;
        qint16 *row = table.row(r++);
        writeStamp(row, rec);
        if constexpr (Table::fieldCount > RecordFields) {
            for (int f = 7; f <= Table::fieldCount && f - 7 < rec.fields.size(); ++f)
                row[f - 1] = qint16(quint8(rec.fields[f - 7]));
        } else {
            row[6] = qint16(rec.a);
            row[7] = qint16(rec.b);
        }
    }
}

// Newest of each stamp4 (Leq) among records in time order.
std::vector<Record> newestOfEachKind(const std::vector<Record> &records)
{
    std::map<int, qint64> newest;
    for (const Record &r : records)
        newest[r.stamp4] = r.stamp;
    std::vector<Record> out;
    for (const Record &r : records)
        if (newest[r.stamp4] == r.stamp)
            out.push_back(r);
    return out;
}

int versionOfDevice(QSqlDatabase &db, qint64 device)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT version FROM devices WHERE id = ?"));
    q.addBindValue(device);
    return q.exec() && q.next() ? q.value(0).toInt() : 0;
}

} // namespace

// What a period needs from before it: the Leq records of the day before (a
// 10-minute level starts where the one before it ended), the newest event
// of each code (door state) and the parameter record in force.
struct PeriodRecords
{
    std::vector<Record> leq, events, history;
};

static PeriodRecords periodRecords(QSqlDatabase &db, qint64 device, qint64 from, qint64 to, bool allHistory)
{
    PeriodRecords p;
    const QDate firstDay = stampDay(from);
    const qint64 dayBefore = dayStartStamp(firstDay.addDays(-1));
    p.leq = newestOfEachKind(selectRecords(
        db, Kind::Leq, QStringLiteral("device = ? AND stamp >= ? AND stamp < ?"), {device, dayBefore, from}));
    const std::vector<Record> leq = selectRecords(
        db, Kind::Leq, QStringLiteral("device = ? AND stamp BETWEEN ? AND ?"), {device, from, to});
    p.leq.insert(p.leq.end(), leq.begin(), leq.end());

    // Newest of each code pair before the period, one index step each.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT DISTINCT code_a, code_b FROM events WHERE device = ?"));
    q.addBindValue(device);
    std::vector<std::pair<int, int>> codes;
    if (q.exec())
        while (q.next())
            codes.push_back({q.value(0).toInt(), q.value(1).toInt()});
    for (const auto &c : codes) {
        const auto before = selectRecords(
            db, Kind::Events,
            QStringLiteral("stamp = (SELECT max(stamp) FROM events WHERE device = ? AND code_a = ? AND "
                           "code_b = ? AND stamp < ?) AND device = ? AND code_a = ? AND code_b = ?"),
            {device, c.first, c.second, from, device, c.first, c.second});
        p.events.insert(p.events.end(), before.begin(), before.end());
    }
    std::stable_sort(p.events.begin(), p.events.end(),
                     [](const Record &x, const Record &y) { return x.stamp < y.stamp; });
    const auto events = selectRecords(
        db, Kind::Events, QStringLiteral("device = ? AND stamp BETWEEN ? AND ?"), {device, from, to});
    p.events.insert(p.events.end(), events.begin(), events.end());

    if (allHistory) {
        p.history = selectRecords(db, Kind::History, QStringLiteral("device = ?"), {device});
    } else {
        p.history = selectRecords(db, Kind::History,
                                  QStringLiteral("device = ? AND stamp = (SELECT max(stamp) FROM history "
                                                 "WHERE device = ? AND stamp < ?)"),
                                  {device, device, from});
        const auto inside = selectRecords(
            db, Kind::History, QStringLiteral("device = ? AND stamp BETWEEN ? AND ?"), {device, from, to});
        p.history.insert(p.history.end(), inside.begin(), inside.end());
    }
    return p;
}

QList<QList<qint16>> Archive::records(qint64 device, ArchiveTable table)
{
    QList<QList<qint16>> rows;
    if (!isOpen())
        return rows;
    const Kind kind = table == ArchiveTable::Leq      ? Kind::Leq
                      : table == ArchiveTable::Events ? Kind::Events
                                                      : Kind::History;
    const int fields = kind == Kind::History ? HistoryFields : RecordFields;
    for (const Record &r : selectRecords(d->db, kind, QStringLiteral("device = ?"), {device})) {
        QList<qint16> row(fields, 0);
        writeStamp(row.data(), r);
        if (kind == Kind::History) {
            for (int f = 7; f <= fields && f - 7 < r.fields.size(); ++f)
                row[f - 1] = qint16(quint8(r.fields[f - 7]));
        } else {
            row[6] = qint16(r.a);
            row[7] = qint16(r.b);
        }
        rows << row;
    }
    return rows;
}

PeriodFit Archive::periodFit(qint64 device, const QDate &from, const QDate &to)
{
    PeriodFit fit;
    if (!isOpen() || !from.isValid() || !to.isValid() || to < from)
        return fit;
    const int version = versionOfDevice(d->db, device);
    const int leqCapacity = leqRows(version);
    QSqlQuery q = d->query();
    q.prepare(QStringLiteral("SELECT count(*) FROM history WHERE device = ?"));
    q.addBindValue(device);
    const bool allHistory = q.exec() && q.next() && q.value(0).toInt() <= HistoryRows;
    q.finish();

    const qint64 start = dayStartStamp(from);
    const PeriodRecords needed = periodRecords(d->db, device, start, dayEndStamp(to), allHistory);
    fit.leq = int(needed.leq.size());
    fit.events = int(needed.events.size());
    fit.history = int(needed.history.size());
    fit.fits = fit.leq <= leqCapacity && fit.events <= EventRows && fit.history <= HistoryRows;
    if (fit.fits) {
        fit.longestEnd = to;
        return fit;
    }
    // Day by day from the start: what lies before the period is already counted.
    const PeriodRecords context = periodRecords(d->db, device, start, start - 1, allHistory);
    int leq = int(context.leq.size()), events = int(context.events.size());
    int history = int(context.history.size());
    std::map<qint64, std::array<int, 3>> perDay;
    for (Kind kind : {Kind::Leq, Kind::Events, Kind::History}) {
        if (kind == Kind::History && allHistory)
            continue;
        q.prepare(QStringLiteral("SELECT stamp / 10000, count(*) FROM %1 WHERE device = ? AND stamp >= ?"
                                 " GROUP BY stamp / 10000")
                      .arg(QLatin1String(tableName(kind))));
        q.addBindValue(device);
        q.addBindValue(start);
        if (q.exec())
            while (q.next())
                perDay[q.value(0).toLongLong()][int(kind)] += q.value(1).toInt();
    }
    QDate longest = from.addDays(-1);
    for (const auto &[day, counts] : perDay) {
        leq += counts[0];
        events += counts[1];
        history += counts[2];
        const QDate date = stampDay(day * 10000);
        if (leq > leqCapacity || events > EventRows || history > HistoryRows) {
            longest = std::max(longest, date.addDays(-1));
            break;
        }
        longest = date;
    }
    fit.longestEnd = longest >= from ? longest : QDate();
    return fit;
}

ArchiveStatus Archive::loadPeriod(qint64 device, const QDate &from, const QDate &to, Store &store,
                                  PeriodFit *fitOut)
{
    if (!isOpen())
        return ArchiveStatus::CannotOpen;
    const int version = versionOfDevice(d->db, device);
    if (!isKnownVersion(version))
        return ArchiveStatus::Failed;
    const PeriodFit fit = periodFit(device, from, to);
    if (fitOut)
        *fitOut = fit;
    if (!fit.fits)
        return ArchiveStatus::Failed;
    QSqlQuery q = d->query();
    q.prepare(QStringLiteral("SELECT count(*) FROM history WHERE device = ?"));
    q.addBindValue(device);
    const bool allHistory = q.exec() && q.next() && q.value(0).toInt() <= HistoryRows;
    const qint64 start = dayStartStamp(from), end = dayEndStamp(to);
    const PeriodRecords records = periodRecords(d->db, device, start, end, allHistory);

    // The parameters of the latest import covering the period, else of the
    // latest one before it, else of any.
    q.prepare(QStringLiteral("SELECT param_block, param_raw, transfer_date, transfer_time FROM imports"
                             " WHERE device = ? ORDER BY (first_stamp <= ? AND last_stamp >= ?) DESC,"
                             " (first_stamp <= ?) DESC, last_stamp DESC, id DESC LIMIT 1"));
    q.addBindValue(device);
    q.addBindValue(end);
    q.addBindValue(start);
    q.addBindValue(end);
    if (!q.exec() || !q.next()) {
        m_lastError = q.lastError().text();
        return statusOf(q.lastError());
    }
    const QByteArray block = q.value(0).toByteArray();
    const QByteArray raw = q.value(1).toByteArray();
    const QString transferDate = q.value(2).toString();
    const QString transferTime = q.value(3).toString();
    q.finish();

    store.Data_Loaded = false;
    store.Device_Version = qint16(version);
    store.Leq_Count = leqRows(version);
    fillTable(store.Leq_Records, store.Leq_Count, records.leq);
    fillTable(store.Event_Records, EventTable::rowCount, records.events);
    fillTable(store.Param_History, HistoryTable::rowCount, records.history);
    for (int i = 0; i < ParamBlockTable::size; ++i)
        store.Param_Block[i] = qint16(i < block.size() ? quint8(block[i]) : 255);
    for (int i = 0; i < ParamRawTable::size && i < raw.size(); ++i)
        store.Param_Raw[i] = qint16(quint8(raw[i]));
    if (isVersion5Family(version)) {
        store.Transfer_Date = transferDate;
        // As after a file load: hours and minutes.
        store.Transfer_Time = transferTime.left(5);
    }
    Lire_Numero_Serie(store);
    store.Data_Loaded = true;
    return ArchiveStatus::Ok;
}

} // namespace kvl
