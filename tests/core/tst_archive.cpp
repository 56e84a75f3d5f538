// The device archive: joining overlapping downloads, what is kept and what
// is not, one transaction per import, files that are no archive, a second
// program holding it, periods loaded back into the store.

#include "Generator.h"
#include "SampleFile.h"
#include "TestCore.h"
#include "archive/Archive.h"
#include "files/DataFile.h"
#include "store/Names.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace kvl;

namespace {

using Row = QList<qint16>;

template <typename Array> Row rowOf(const Array &a)
{
    return Row(a.begin(), a.end());
}

// Records as a multiset, so that order plays no part.
std::map<Row, int> counted(const QList<Row> &rows)
{
    std::map<Row, int> m;
    for (const Row &r : rows)
        ++m[r];
    return m;
}

template <typename Rows> QList<Row> rowsOf(const Rows &rows)
{
    QList<Row> out;
    for (const auto &r : rows)
        out << rowOf(r);
    return out;
}

// Records in `next` that `held` does not hold yet, copies counted.
int newIn(const std::map<Row, int> &held, const QList<Row> &next)
{
    int added = 0;
    for (const auto &[row, n] : counted(next)) {
        const auto it = held.find(row);
        added += std::max(0, n - (it == held.end() ? 0 : it->second));
    }
    return added;
}

void merge(std::map<Row, int> &held, const QList<Row> &next)
{
    for (const auto &[row, n] : counted(next))
        held[row] = std::max(held[row], n);
}

std::unique_ptr<Store> loaded(const QByteArray &file)
{
    auto s = std::make_unique<Store>();
    if (readDataFile(file, *s).result != LoadOutcome::Loaded)
        qFatal("a generated data file did not load");
    return s;
}

ImportSource sourceOf(const QString &name, const QByteArray &bytes)
{
    return {name, sha256Hex(bytes)};
}

qint64 countRows(const QString &path, const QString &table)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
    db.setDatabaseName(path);
    qint64 n = -1;
    if (db.open()) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT count(*) FROM ") + table) && q.next())
            n = q.value(0).toLongLong();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return n;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void joinsOverlappingDownloads_data();
    void joinsOverlappingDownloads();
    void reimportAddsNothing();
    void keptRows_data();
    void keptRows();
    void twoDevicesApart();
    void unusableFiles_data();
    void unusableFiles();
    void killedImportLeavesArchiveAsBefore();
    void busyArchiveAnswers();
    void periodLoadsWithContext();
    void periodTooLongSaysWhatFits();
    void stampOrderIsChronological_data();
    void stampOrderIsChronological();
    void stampDays_data();
    void stampDays();

private:
    // A file of each test row's own.
    QString path(const QString &name) const
    {
        return m_dir.filePath(
            QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-') +
            QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char('/'), QLatin1Char('_')) +
            QLatin1Char('-') + name);
    }
    QTemporaryDir m_dir;
};

void TestArchive::joinsOverlappingDownloads_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("weeks");
    QTest::addColumn<int>("every");
    // The memory wraps after about 14 weeks (5.X) and the 3.5's shorter
    // table sooner; the autumn clock change repeats an hour of stamps.
    QTest::newRow("5.X, 30 weeks every 2") << 5 << 30 << 2;
    QTest::newRow("3.5, 40 weeks every 3") << 3 << 40 << 3;
    QTest::newRow("KVL 36, 20 weeks every 1") << 70 << 20 << 1;
}

void TestArchive::joinsOverlappingDownloads()
{
    QFETCH(int, version);
    QFETCH(int, weeks);
    QFETCH(int, every);
    const kvlsim::DeviceHistory history = kvlsim::generateHistory(version, 11, weeks, every);
    const auto files = kvlsim::historyDataFiles(version, 11, weeks, every);
    QVERIFY(files.size() >= 10);

    Archive archive;
    QCOMPARE(archive.open(path(QStringLiteral("join.sqlite"))), ArchiveStatus::Ok);
    std::map<Row, int> held;
    qint64 device = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto store = loaded(files[i].bytes);
        QList<Row> all = rowsOf(history.downloads[i].leq);
        all += rowsOf(history.downloads[i].events);
        all += rowsOf(history.downloads[i].history);
        const ImportResult r = archive.importStore(*store, sourceOf(files[i].name, files[i].bytes));
        QCOMPARE(r.status, ArchiveStatus::Ok);
        QVERIFY(!r.alreadyImported);
        // Only the records no earlier download held.
        QCOMPARE(r.newRecords, newIn(held, all));
        merge(held, all);
        QVERIFY(device == 0 || device == r.device);
        device = r.device;
    }
    // The union is the simulator's whole history, every copy included.
    QCOMPARE(counted(archive.records(device, ArchiveTable::Leq)), counted(rowsOf(history.leq)));
    QCOMPARE(counted(archive.records(device, ArchiveTable::Events)), counted(rowsOf(history.events)));
    QCOMPARE(counted(archive.records(device, ArchiveTable::History)), counted(rowsOf(history.history)));
    const QList<ArchiveDevice> devices = archive.devices();
    QCOMPARE(devices.size(), 1);
    QCOMPARE(devices[0].imports, int(files.size()));
    QCOMPARE(devices[0].version, version);
    QCOMPARE(devices[0].serial, serialNumberOf(*loaded(files.back().bytes)));
    QCOMPARE(devices[0].records, qint64(history.leq.size() + history.events.size() + history.history.size()));
}

void TestArchive::reimportAddsNothing()
{
    const QByteArray file = kvlsim::sampleDataFile(5, 3, 3);
    const QString fileName = path(QStringLiteral("a.kvl"));
    QFile f(fileName);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    f.close();
    Archive archive;
    const QString db = path(QStringLiteral("re.sqlite"));
    QCOMPARE(archive.open(db), ArchiveStatus::Ok);
    const ImportResult first = archive.importFile(fileName);
    QCOMPARE(first.status, ArchiveStatus::Ok);
    QVERIFY(first.newRecords > 1000);
    const QString records = archive.integrityCheck();

    // The same bytes: nothing at all, not even an import row.
    const ImportResult again = archive.importFile(fileName);
    QCOMPARE(again.status, ArchiveStatus::Ok);
    QVERIFY(again.alreadyImported);
    QCOMPARE(again.newRecords, 0);
    QCOMPARE(countRows(db, QStringLiteral("imports")), qint64(1));

    // The same records saved again (another transfer time): an import, no record.
    auto store = loaded(file);
    store->Transfer_Time = QStringLiteral("10:00:00");
    const QByteArray resaved = buildDataFile(*store, 5);
    const ImportResult other = archive.importStore(*store, sourceOf(QStringLiteral("b.kvl"), resaved));
    QCOMPARE(other.status, ArchiveStatus::Ok);
    QVERIFY(!other.alreadyImported);
    QCOMPARE(other.newRecords, 0);
    QCOMPARE(countRows(db, QStringLiteral("imports")), qint64(2));

    // A file the loader refuses names the loader's message.
    const QString bad = path(QStringLiteral("bad.kvl"));
    QFile b(bad);
    QVERIFY(b.open(QIODevice::WriteOnly) && b.write("not a data file") > 0);
    b.close();
    const ImportResult refused = archive.importFile(bad);
    QCOMPARE(refused.status, ArchiveStatus::Failed);
    QVERIFY2(refused.detail.contains(QStringLiteral("It is not a KVL 24-2/36 file !!!!")),
             qPrintable(refused.detail));
}

// Which rows are archived: the store's validity decides; equal stamps with
// other content, and identical copies, are all kept.
void TestArchive::keptRows_data()
{
    kvl::test::addDataRows(QStringLiteral("archive/rows.txt"));
}

void TestArchive::keptRows()
{
    QFETCH(QStringList, c);
    const QString table = c[1];
    const int kept = c[3].toInt();
    auto store = std::make_unique<Store>();
    store->Device_Version = Version5X;
    store->Leq_Records.fill(255);
    store->Event_Records.fill(255);
    store->Param_History.fill(255);
    int row = 0;
    for (const QString &text : kvl::test::items(c[2])) {
        const QStringList values = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ++row;
        for (int f = 1; f <= values.size(); ++f) {
            const qint16 v = qint16(values[f - 1].toInt());
            if (table == QLatin1String("leq"))
                store->Leq_Records(row, f) = v;
            else if (table == QLatin1String("events"))
                store->Event_Records(row, f) = v;
            else
                store->Param_History(row, f) = v;
        }
    }
    Archive archive;
    QCOMPARE(archive.open(path(QStringLiteral("rows.sqlite"))), ArchiveStatus::Ok);
    const ImportResult r = archive.importStore(*store, {QStringLiteral("rows"), QByteArray("x")});
    QCOMPARE(r.status, ArchiveStatus::Ok);
    QCOMPARE(r.newRecords, kept);
    const ArchiveTable t = table == QLatin1String("leq")      ? ArchiveTable::Leq
                           : table == QLatin1String("events") ? ArchiveTable::Events
                                                              : ArchiveTable::History;
    QCOMPARE(archive.records(r.device, t).size(), kept);
}

void TestArchive::twoDevicesApart()
{
    Archive archive;
    QCOMPARE(archive.open(path(QStringLiteral("two.sqlite"))), ArchiveStatus::Ok);
    const QByteArray a = kvlsim::sampleDataFile(5, 21, 2);
    const QByteArray b = kvlsim::sampleDataFile(5, 22, 2);
    const auto sa = loaded(a), sb = loaded(b);
    QVERIFY(serialNumberOf(*sa) != serialNumberOf(*sb));
    const ImportResult ra = archive.importStore(*sa, sourceOf(QStringLiteral("a"), a));
    const ImportResult rb = archive.importStore(*sb, sourceOf(QStringLiteral("b"), b));
    QVERIFY(ra.device != rb.device);
    const QList<Row> leqA = archive.records(ra.device, ArchiveTable::Leq);
    QCOMPARE(leqA.size() + archive.records(ra.device, ArchiveTable::Events).size() +
                 archive.records(ra.device, ArchiveTable::History).size(),
             ra.newRecords);
    QCOMPARE(archive.deviceBySerial(serialNumberOf(*sb)), rb.device);
    QCOMPARE(archive.devices().size(), 2);

    QCOMPARE(archive.removeDevice(rb.device), ArchiveStatus::Ok);
    QCOMPARE(archive.devices().size(), 1);
    QCOMPARE(archive.records(rb.device, ArchiveTable::Leq).size(), 0);
    QCOMPARE(archive.records(ra.device, ArchiveTable::Leq), leqA);
    QCOMPARE(archive.deviceBySerial(serialNumberOf(*sb)), qint64(0));
    // Removed with its imports: the same file is new again.
    const ImportResult back = archive.importStore(*sb, sourceOf(QStringLiteral("b"), b));
    QVERIFY(!back.alreadyImported);
    QCOMPARE(back.newRecords, rb.newRecords);
}

void TestArchive::unusableFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("status");
    QTest::newRow("text file") << "text" << int(ArchiveStatus::NotAnArchive);
    QTest::newRow("database of another program") << "foreign" << int(ArchiveStatus::NotAnArchive);
    QTest::newRow("newer archive") << "newer" << int(ArchiveStatus::NewerVersion);
    QTest::newRow("damaged header") << "header" << int(ArchiveStatus::NotAnArchive);
    QTest::newRow("damaged pages") << "pages" << int(ArchiveStatus::Damaged);
    QTest::newRow("folder") << "folder" << int(ArchiveStatus::CannotOpen);
    QTest::newRow("missing folder") << "missing" << int(ArchiveStatus::CannotOpen);
    QTest::newRow("empty file becomes an archive") << "empty" << int(ArchiveStatus::Ok);
}

void TestArchive::unusableFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, status);
    QString file = path(kind + QStringLiteral(".sqlite"));
    auto makeArchive = [&] {
        Archive a;
        QCOMPARE(a.open(file), ArchiveStatus::Ok);
        const QByteArray bytes = kvlsim::sampleDataFile(5, 4, 6);
        QCOMPARE(a.importStore(*loaded(bytes), sourceOf(QStringLiteral("s"), bytes)).status,
                 ArchiveStatus::Ok);
        a.close();
        // Everything in the main file, as after a clean close.
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")) ||
                QFile(file + QStringLiteral("-wal")).size() == 0);
    };
    auto patch = [&](qint64 at, const QByteArray &bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(at));
        f.write(bytes);
    };
    if (kind == QLatin1String("text")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("KVL_24-2_Data_for_Version_5!!!\r\n").repeated(200));
    } else if (kind == QLatin1String("foreign")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(file);
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE notes(text)"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    } else if (kind == QLatin1String("newer")) {
        makeArchive();
        // user_version is the big-endian word at byte 60 of the header.
        patch(60, QByteArray("\x00\x00\x00\x63", 4));
    } else if (kind == QLatin1String("header")) {
        makeArchive();
        patch(0, QByteArray(16, 'x'));
    } else if (kind == QLatin1String("pages")) {
        makeArchive();
        QVERIFY(QFile(file).size() > 8 * 4096);
        patch(3 * 4096, QByteArray(4 * 4096, '\x5A'));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(file));
    } else if (kind == QLatin1String("missing")) {
        file = path(QStringLiteral("no/such/folder/a.sqlite"));
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QByteArray original;
    {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            original = f.readAll();
    }
    Archive archive;
    const ArchiveStatus got = archive.open(file);
    QCOMPARE(int(got), status);
    QVERIFY(!archiveStatusText(got).isEmpty() || got == ArchiveStatus::Ok);
    if (got != ArchiveStatus::Ok) {
        QVERIFY(!archive.isOpen());
        // Nothing written into a file that is not ours.
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            QCOMPARE(f.readAll(), original);
    } else {
        QCOMPARE(archive.integrityCheck(), QStringLiteral("ok"));
        QVERIFY(archive.devices().isEmpty());
    }
}

void TestArchive::killedImportLeavesArchiveAsBefore()
{
    const QString db = path(QStringLiteral("kill.sqlite"));
    const auto files = kvlsim::historyDataFiles(5, 31, 30, 10);
    QVERIFY(files.size() >= 3);
    {
        Archive archive;
        QCOMPARE(archive.open(db), ArchiveStatus::Ok);
        QCOMPARE(archive.importStore(*loaded(files[0].bytes), sourceOf(files[0].name, files[0].bytes)).status,
                 ArchiveStatus::Ok);
    }
    const qint64 leq = countRows(db, QStringLiteral("leq")), events = countRows(db, QStringLiteral("events"));
    const qint64 imports = countRows(db, QStringLiteral("imports"));
    QVERIFY(leq > 0);

    // The child dies by SIGKILL in the middle of the large second import,
    // after several batches are written into the open transaction.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        Archive archive;
        if (archive.open(db) != ArchiveStatus::Ok)
            _exit(3);
        int batches = 0;
        archive.importStore(*loaded(files.back().bytes), sourceOf(files.back().name, files.back().bytes),
                            [&] {
                                if (++batches == 12)
                                    ::kill(getpid(), SIGKILL);
                                return true;
                            });
        _exit(4); // the import ended before the kill: the test is void
    }
    int wstatus = 0;
    QCOMPARE(waitpid(child, &wstatus, 0), child);
    QVERIFY2(WIFSIGNALED(wstatus) && WTERMSIG(wstatus) == SIGKILL, "the child was not killed mid-import");

    Archive archive;
    QCOMPARE(archive.open(db), ArchiveStatus::Ok);
    QCOMPARE(archive.integrityCheck(), QStringLiteral("ok"));
    archive.close();
    QCOMPARE(countRows(db, QStringLiteral("leq")), leq);
    QCOMPARE(countRows(db, QStringLiteral("events")), events);
    QCOMPARE(countRows(db, QStringLiteral("imports")), imports);
    // And the import can be made again in full.
    QCOMPARE(archive.open(db), ArchiveStatus::Ok);
    const ImportResult again =
        archive.importStore(*loaded(files.back().bytes), sourceOf(files.back().name, files.back().bytes));
    QCOMPARE(again.status, ArchiveStatus::Ok);
    QVERIFY(again.newRecords > 0);
}

void TestArchive::busyArchiveAnswers()
{
    const QString db = path(QStringLiteral("busy.sqlite"));
    Archive archive;
    QCOMPARE(archive.open(db), ArchiveStatus::Ok);
    const QByteArray file = kvlsim::sampleDataFile(4, 5, 2);
    const auto store = loaded(file);
    {
        // Another program in the middle of a write.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(db);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
        const ImportResult r = archive.importStore(*store, sourceOf(QStringLiteral("x"), file));
        QCOMPARE(r.status, ArchiveStatus::Busy);
        QVERIFY(!archiveStatusText(r.status).isEmpty());
        // Readers go on meanwhile (WAL).
        QCOMPARE(archive.devices().size(), 0);
        QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    // Once free, the same import goes through.
    QCOMPARE(archive.importStore(*store, sourceOf(QStringLiteral("x"), file)).status, ArchiveStatus::Ok);
}

void TestArchive::periodLoadsWithContext()
{
    const kvlsim::DeviceHistory history = kvlsim::generateHistory(5, 41, 12, 2);
    const auto files = kvlsim::historyDataFiles(5, 41, 12, 2);
    Archive archive;
    QCOMPARE(archive.open(path(QStringLiteral("period.sqlite"))), ArchiveStatus::Ok);
    qint64 device = 0;
    for (const auto &f : files)
        device = archive.importStore(*loaded(f.bytes), sourceOf(f.name, f.bytes)).device;

    const QDate from = history.downloadDays[1].addDays(-3), to = from.addDays(6);
    auto store = std::make_unique<Store>();
    PeriodFit fit;
    QVERIFY2(archive.periodFit(device, from, to).fits, qPrintable(archive.lastError()));
    const ArchiveStatus loadedStatus = archive.loadPeriod(device, from, to, *store, &fit);
    QVERIFY2(loadedStatus == ArchiveStatus::Ok, qPrintable(archive.lastError()));
    QVERIFY(fit.fits);
    QVERIFY(store->Data_Loaded);
    QCOMPARE(store->Device_Version, qint16(5));
    QCOMPARE(store->Serial_Number, serialNumberOf(*loaded(files[0].bytes)));

    // Every record of the period, and before it only the newest of each kind.
    const qint64 start = dayStartStamp(from), end = dayEndStamp(to);
    auto inPeriod = [&](const auto &rows) {
        QList<Row> out;
        for (const auto &r : rows) {
            const qint64 s = recordStamp(r.data());
            if (s >= start && s <= end)
                out << rowOf(r);
        }
        return out;
    };
    QList<Row> loadedLeq, before;
    for (int r = 1; r <= LeqRowsMax && store->Leq_Records(r, 6) != 255; ++r) {
        Row fields;
        for (int f = 1; f <= 8; ++f)
            fields << store->Leq_Records(r, f);
        (recordStamp(fields.data()) < start ? before : loadedLeq) << fields;
    }
    QCOMPARE(counted(loadedLeq), counted(inPeriod(history.leq)));
    QVERIFY(before.size() >= 1 && before.size() <= 2);
    // The parameter record in force at the start is there.
    int historyBefore = 0;
    for (int r = 1; r <= HistoryRows && store->Param_History(r, 6) != 255; ++r)
        historyBefore += recordStamp(store->Param_History.row(r)) < start;
    QVERIFY(historyBefore >= 1);
    // A door event before the period tells the door state at its start.
    bool doorBefore = false;
    for (int r = 1; r <= EventRows && store->Event_Records(r, 6) != 255; ++r)
        doorBefore |= recordStamp(store->Event_Records.row(r)) < start && store->Event_Records(r, 7) == 0 &&
                      (store->Event_Records(r, 8) == 32 || store->Event_Records(r, 8) == 64);
    QVERIFY(doorBefore);
    // The store is in the order the views expect.
    for (int r = 2; r <= LeqRowsMax && store->Leq_Records(r, 6) != 255; ++r)
        QVERIFY(recordStamp(store->Leq_Records.row(r - 1)) <= recordStamp(store->Leq_Records.row(r)));
    // Parameters of the latest download covering the period (the memory has
    // not wrapped in twelve weeks: the last one).
    QCOMPARE(store->Transfer_Date, history.downloadDays.back().toString(QStringLiteral("dd/MM/yyyy")));
    QCOMPARE(store->Transfer_Time, QStringLiteral("09:41"));
}

void TestArchive::periodTooLongSaysWhatFits()
{
    const auto files = kvlsim::historyDataFiles(5, 51, 30, 4);
    Archive archive;
    QCOMPARE(archive.open(path(QStringLiteral("fit.sqlite"))), ArchiveStatus::Ok);
    qint64 device = 0;
    for (const auto &f : files)
        device = archive.importStore(*loaded(f.bytes), sourceOf(f.name, f.bytes)).device;
    const ArchiveDevice dev = archive.devices().value(0);
    QVERIFY(dev.first.isValid());

    const PeriodFit all = archive.periodFit(device, dev.first, dev.last);
    QVERIFY(!all.fits);
    QVERIFY(all.leq > LeqRowsMax);
    QVERIFY(all.longestEnd.isValid() && all.longestEnd < dev.last);
    // The longest period is the longest: one day more does not fit.
    QVERIFY(archive.periodFit(device, dev.first, all.longestEnd).fits);
    QVERIFY(!archive.periodFit(device, dev.first, all.longestEnd.addDays(1)).fits);

    // A period that does not fit changes nothing in the store.
    auto store = std::make_unique<Store>();
    store->Data_Loaded = true;
    store->Leq_Records(1, 1) = 42;
    QCOMPARE(archive.loadPeriod(device, dev.first, dev.last, *store), ArchiveStatus::Failed);
    QVERIFY(store->Data_Loaded);
    QCOMPARE(store->Leq_Records(1, 1), qint16(42));
}

void TestArchive::stampOrderIsChronological_data()
{
    QTest::addColumn<QString>("earlier");
    QTest::addColumn<QString>("later");
    // minute hour day stamp4 month year
    QTest::newRow("minute") << "0 10 5 1 3 26"
                            << "1 10 5 1 3 26";
    QTest::newRow("hour before minute") << "59 9 5 1 3 26"
                                        << "0 10 5 1 3 26";
    QTest::newRow("day 31 before the next month") << "59 23 31 1 1 26"
                                                  << "0 0 1 1 2 26";
    QTest::newRow("December before January") << "59 23 31 1 12 26"
                                             << "0 0 1 1 1 27";
    QTest::newRow("stamp4 plays no part") << "0 10 5 99 3 26"
                                          << "0 10 5 1 3 26";
}

void TestArchive::stampOrderIsChronological()
{
    QFETCH(QString, earlier);
    QFETCH(QString, later);
    auto stampOf = [](const QString &text) {
        std::array<qint16, 8> row{};
        const QStringList v = text.split(QLatin1Char(' '));
        for (int i = 0; i < 6; ++i)
            row[std::size_t(i)] = qint16(v[i].toInt());
        return recordStamp(row.data());
    };
    QVERIFY(stampOf(earlier) <= stampOf(later));
    QVERIFY(stampOf(earlier) < stampOf(later) || earlier.split(' ')[3] != later.split(' ')[3]);
    // A day's first and last minute bound its stamps.
    QCOMPARE(dayStartStamp(QDate(2026, 3, 5)), stampOf(QStringLiteral("0 0 5 1 3 26")));
    QCOMPARE(dayEndStamp(QDate(2026, 3, 5)), stampOf(QStringLiteral("59 23 5 1 3 26")));
    QCOMPARE(stampDay(stampOf(later)), QDate(2000 + later.split(' ')[5].toInt(), later.split(' ')[4].toInt(),
                                             later.split(' ')[2].toInt()));
}

void TestArchive::stampDays_data()
{
    QTest::addColumn<qint64>("stamp");
    QTest::addColumn<QDate>("day");
    QTest::newRow("a real day") << qint64(2603051410) << QDate(2026, 3, 5);
    QTest::newRow("its last minute") << qint64(2603052359) << QDate(2026, 3, 5);
    QTest::newRow("29 February of a leap year") << qint64(2802290000) << QDate(2028, 2, 29);
    // Days the store keeps but the month lacks sort before the next month:
    // they count as the month's last day, never as a day of the next month.
    QTest::newRow("29 February, no leap year") << qint64(2602291200) << QDate(2026, 2, 28);
    QTest::newRow("31 February") << qint64(2602312359) << QDate(2026, 2, 28);
    QTest::newRow("31 April") << qint64(2604310000) << QDate(2026, 4, 30);
    QTest::newRow("year 98") << qint64(9812310000) << QDate(2098, 12, 31);
}

void TestArchive::stampDays()
{
    QFETCH(qint64, stamp);
    QFETCH(QDate, day);
    QCOMPARE(stampDay(stamp), day);
    QVERIFY(dayStartStamp(day) <= stamp);
    QVERIFY(stamp < dayStartStamp(day.addDays(1)));
}

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
