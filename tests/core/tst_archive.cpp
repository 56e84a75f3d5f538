// The device archive: joining overlapping downloads, what is kept and what
// is not, one transaction per import, files that are no archive, a second
// program holding it, periods loaded back into the store.

#include "Generator.h"
#include "SampleFile.h"
#include "TestCore.h"
#include "archive/Archive.h"
#include "files/DataFile.h"
#include "store/Names.h"

#include <QtTest>

#include <csignal>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace kvl;
using namespace kvl::test;

namespace {

using Row = QList<qint16>;

// Records as a multiset, so that order plays no part.
template <typename Rows> std::map<Row, int> counted(const Rows &rows)
{
    std::map<Row, int> m;
    for (const auto &r : rows)
        ++m[Row(r.begin(), r.end())];
    return m;
}

std::unique_ptr<Store> loaded(const QByteArray &file)
{
    auto s = std::make_unique<Store>();
    if (readDataFile(file, *s).result != LoadOutcome::Loaded)
        qFatal("a generated data file did not load");
    return s;
}

ImportResult importBytes(Archive &archive, const QString &name, const QByteArray &bytes,
                         const Archive::BatchHook &hook = {})
{
    return archive.importStore(*loaded(bytes), {name, sha256Hex(bytes)}, hook);
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

    // A new file at each call.
    QString path(const QString &name) { return m_dir.filePath(QString::number(++m_files) + name); }
    QTemporaryDir m_dir;
    int m_files = 0;

private slots:
    void joinsOverlappingDownloads_data() { addDataRows(QStringLiteral("archive/rows.txt"), "joins"); }
    void joinsOverlappingDownloads()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), weeks = c[2].toInt(), every = c[3].toInt();
        const kvlsim::DeviceHistory history = kvlsim::generateHistory(version, 11, weeks, every);
        const auto files = kvlsim::historyDataFiles(version, 11, weeks, every);

        Archive archive;
        QCOMPARE(archive.open(path(QStringLiteral("join.sqlite"))), ArchiveStatus::Ok);
        qint64 device = 0, held = 0;
        for (const kvlsim::HistoryFile &f : files) {
            const ImportResult r = importBytes(archive, f.name, f.bytes);
            QCOMPARE(r.status, ArchiveStatus::Ok);
            QVERIFY(!r.alreadyImported);
            QVERIFY(device == 0 || device == r.device);
            device = r.device;
            // Only the records no earlier download held are new.
            const qint64 now = archive.devices().value(0).records;
            QCOMPARE(qint64(r.newRecords), now - held);
            held = now;
        }
        // The union is the simulator's whole history, every copy included.
        QCOMPARE(counted(archive.records(device, ArchiveTable::Leq)), counted(history.leq));
        QCOMPARE(counted(archive.records(device, ArchiveTable::Events)), counted(history.events));
        QCOMPARE(counted(archive.records(device, ArchiveTable::History)), counted(history.history));
        const QList<ArchiveDevice> devices = archive.devices();
        QCOMPARE(devices.size(), 1);
        QCOMPARE(devices[0].imports, int(files.size()));
        QCOMPARE(devices[0].records,
                 qint64(history.leq.size() + history.events.size() + history.history.size()));
    }

    // Imports are known by their bytes, devices by model and serial number.
    void importsAndDevices()
    {
        Archive archive;
        QCOMPARE(archive.open(path(QStringLiteral("two.sqlite"))), ArchiveStatus::Ok);
        const QByteArray a = kvlsim::sampleDataFile(5, 21, 2), b = kvlsim::sampleDataFile(5, 22, 2);
        const QString serialB = serialNumberOf(*loaded(b));
        const ImportResult ra = importBytes(archive, QStringLiteral("a.kvl"), a);
        QCOMPARE(ra.status, ArchiveStatus::Ok);
        QVERIFY(ra.newRecords > 0);
        // The same bytes: nothing at all, not even an import.
        const ImportResult again = importBytes(archive, QStringLiteral("a.kvl"), a);
        QCOMPARE(again.status, ArchiveStatus::Ok);
        QVERIFY(again.alreadyImported);
        QCOMPARE(again.newRecords, 0);
        QCOMPARE(archive.devices().value(0).imports, 1);
        // The same records saved again under the same name (another transfer
        // time): an import, no record.
        auto resaved = loaded(a);
        resaved->Transfer_Time = QStringLiteral("10:00:00");
        const ImportResult other = importBytes(archive, QStringLiteral("a.kvl"), buildDataFile(*resaved, 5));
        QCOMPARE(other.status, ArchiveStatus::Ok);
        QVERIFY(!other.alreadyImported);
        QCOMPARE(other.newRecords, 0);
        QCOMPARE(archive.devices().value(0).imports, 2);

        const ImportResult rb = importBytes(archive, QStringLiteral("b.kvl"), b);
        QVERIFY(ra.device != rb.device);
        QCOMPARE(archive.deviceBySerial(serialB), rb.device);
        QCOMPARE(archive.devices().size(), 2);
        const QList<Row> leqA = archive.records(ra.device, ArchiveTable::Leq);
        QCOMPARE(archive.removeDevice(rb.device), ArchiveStatus::Ok);
        QCOMPARE(archive.devices().size(), 1);
        QCOMPARE(archive.records(rb.device, ArchiveTable::Leq).size(), 0);
        QCOMPARE(archive.records(ra.device, ArchiveTable::Leq), leqA);
        QCOMPARE(archive.deviceBySerial(serialB), qint64(0));
        // Removed with its imports: the same file is new again.
        const ImportResult back = importBytes(archive, QStringLiteral("b.kvl"), b);
        QVERIFY(!back.alreadyImported);
        QCOMPARE(back.newRecords, rb.newRecords);
    }

    void unusableFiles_data() { addDataRows(QStringLiteral("archive/rows.txt"), "open"); }
    void unusableFiles()
    {
        QFETCH(QStringList, c);
        QString file = path(QStringLiteral("a.sqlite"));
        if (c[1] == QLatin1String("empty")) {
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        } else {
            {
                Archive a;
                QCOMPARE(a.open(file), ArchiveStatus::Ok);
                QCOMPARE(importBytes(a, QStringLiteral("s"), kvlsim::sampleDataFile(5, 4, 6)).status,
                         ArchiveStatus::Ok);
            }
            const QStringList patch = c[1].split(QLatin1Char(' '));
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(patch[0].toLongLong()));
            f.write(QByteArray::fromHex(patch[1].toLatin1()).repeated(patch[2].toInt()));
        }
        QFile f(file);
        const QByteArray original = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        f.close();
        Archive archive;
        const ArchiveStatus got = archive.open(file);
        QCOMPARE(archiveStatusText(got), c[2]);
        if (got != ArchiveStatus::Ok) {
            QVERIFY(!archive.isOpen());
            // Nothing written into a file that is not ours.
            QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), original);
        } else {
            QCOMPARE(archive.integrityCheck(), QStringLiteral("ok"));
            QVERIFY(archive.devices().isEmpty());
        }
    }

    void killedImportLeavesArchiveAsBefore()
    {
        const QString db = path(QStringLiteral("kill.sqlite"));
        const auto files = kvlsim::historyDataFiles(5, 31, 30, 10);
        ArchiveDevice before;
        {
            Archive archive;
            QCOMPARE(archive.open(db), ArchiveStatus::Ok);
            QCOMPARE(importBytes(archive, files[0].name, files[0].bytes).status, ArchiveStatus::Ok);
            before = archive.devices().value(0);
        }
        QVERIFY(before.records > 0);

        // The child dies by SIGKILL in the middle of the large last import,
        // after several batches are written into the open transaction.
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            Archive archive;
            int batches = 0;
            if (archive.open(db) == ArchiveStatus::Ok)
                importBytes(archive, files.back().name, files.back().bytes, [&] {
                    if (++batches == 12)
                        ::kill(getpid(), SIGKILL);
                    return true;
                });
            _exit(4); // not killed: the test is void
        }
        int wstatus = 0;
        QCOMPARE(waitpid(child, &wstatus, 0), child);
        QVERIFY2(WIFSIGNALED(wstatus) && WTERMSIG(wstatus) == SIGKILL, "the child was not killed mid-import");

        Archive archive;
        QCOMPARE(archive.open(db), ArchiveStatus::Ok);
        QCOMPARE(archive.integrityCheck(), QStringLiteral("ok"));
        QCOMPARE(archive.devices().value(0).records, before.records);
        QCOMPARE(archive.devices().value(0).imports, before.imports);
        // And the import can be made again in full.
        QVERIFY(importBytes(archive, files.back().name, files.back().bytes).newRecords > 0);
    }

    // Another program importing into the same archive holds it: an import
    // meanwhile is told so, reading goes on (WAL), and once free it goes through.
    void busyArchiveAnswers()
    {
        const QString db = path(QStringLiteral("busy.sqlite"));
        Archive holder, archive;
        QCOMPARE(holder.open(db), ArchiveStatus::Ok);
        QCOMPARE(archive.open(db), ArchiveStatus::Ok);
        const QByteArray file = kvlsim::sampleDataFile(4, 5, 2);
        ImportResult busy;
        qsizetype devices = -1;
        importBytes(holder, QStringLiteral("h"), kvlsim::sampleDataFile(5, 5, 2), [&] {
            if (devices < 0) {
                busy = importBytes(archive, QStringLiteral("x"), file);
                devices = archive.devices().size();
            }
            return true;
        });
        QCOMPARE(busy.status, ArchiveStatus::Busy);
        QVERIFY(!archiveStatusText(busy.status).isEmpty());
        QCOMPARE(devices, 0);
        QCOMPARE(importBytes(archive, QStringLiteral("x"), file).status, ArchiveStatus::Ok);
    }

    // What the views read from before a period comes along with it (the
    // records of the period itself: the window test, the same views as from one file).
    void periodLoadsWithContext()
    {
        const kvlsim::DeviceHistory history = kvlsim::generateHistory(5, 41, 12, 2);
        const auto files = kvlsim::historyDataFiles(5, 41, 12, 2);
        Archive archive;
        QCOMPARE(archive.open(path(QStringLiteral("period.sqlite"))), ArchiveStatus::Ok);
        qint64 device = 0;
        for (const kvlsim::HistoryFile &f : files)
            device = importBytes(archive, f.name, f.bytes).device;
        const QDate from = history.downloadDays[1].addDays(-3), to = from.addDays(6);
        auto store = std::make_unique<Store>();
        PeriodFit fit;
        QCOMPARE(archive.loadPeriod(device, from, to, *store, &fit), ArchiveStatus::Ok);
        QVERIFY(fit.fits && store->Data_Loaded);
        QCOMPARE(store->Device_Version, qint16(5));
        QCOMPARE(store->Serial_Number, serialNumberOf(*loaded(files[0].bytes)));

        // Before it: the newest event of each code (the door state at its start).
        const qint64 start = dayStartStamp(from);
        std::map<std::pair<int, int>, qint64> newestEvents, eventsBefore;
        for (const auto &e : history.events)
            if (recordStamp(e.data()) < start)
                newestEvents[{e[6], e[7]}] = std::max(newestEvents[{e[6], e[7]}], recordStamp(e.data()));
        for (int r = 1; r <= EventRows && store->Event_Records(r, 6) != 255; ++r)
            if (recordStamp(store->Event_Records.row(r)) < start)
                eventsBefore[{store->Event_Records(r, 7), store->Event_Records(r, 8)}] =
                    recordStamp(store->Event_Records.row(r));
        QVERIFY(newestEvents.size() >= 2);
        QVERIFY(eventsBefore == newestEvents);
        // Parameters of the latest download covering the period (the memory
        // has not wrapped in twelve weeks: the last one).
        QCOMPARE(store->Transfer_Date, history.downloadDays.back().toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(store->Transfer_Time, QStringLiteral("09:41"));
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
