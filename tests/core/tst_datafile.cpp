// Data file writer and reader: round trips, the samples (every version's
// bytes) and the fuzz corpus, and what the reader accepts or refuses
// (markers, token limits, line structure, dates, cuts); reading a path a user
// named before the loader sees it, and the largest data file it lets through.

#include "TestCore.h"
#include "files/DataFile.h"
#include "files/UntrustedRead.h"
#include "store/Store.h"

#include <QtTest>

#include <memory>
#include <sys/stat.h>

using namespace kvl;

namespace {

// A store with every table filled with device bytes from a seed.
std::unique_ptr<Store> randomStore(quint32 seed)
{
    auto s = std::make_unique<Store>();
    QRandomGenerator rng(seed);
    auto fill = [&rng](qint16 *p, int n) {
        for (int i = 0; i < n; ++i)
            p[i] = qint16(rng.bounded(256));
    };
    fill(s->Leq_Records.row(1), LeqTable::rowCount * 8);
    fill(s->Event_Records.row(1), EventTable::rowCount * 8);
    fill(s->Param_History.row(1), HistoryTable::rowCount * 48);
    fill(&s->Param_Block[0], ParamBlockTable::size);
    fill(&s->Param_Raw[0], ParamRawTable::size);
    auto two = [&rng](int lo, int hi) {
        return QStringLiteral("%1").arg(rng.bounded(lo, hi), 2, 10, QLatin1Char('0'));
    };
    s->Transfer_Date = two(1, 29) + '/' + two(1, 13) + "/20" + two(0, 99);
    s->Transfer_Time = two(0, 24) + ':' + two(0, 60) + ':' + two(0, 60);
    return s;
}

// The bounds of line `line` (from 1) of a file: its first byte and the CR LF ending it.
std::pair<int, int> lineBounds(const QByteArray &f, int line)
{
    int start = 0;
    for (int i = 1; i < line; ++i)
        start = f.indexOf("\r\n", start) + 2;
    return {start, f.indexOf("\r\n", start)};
}

// The file of an all-zero store edited as a case of tests/data/files/reader.txt says.
QByteArray editedFile(const QStringList &edit)
{
    if (edit[0] == QLatin1String("empty"))
        return QByteArray();
    Store zero;
    zero.Transfer_Date = QStringLiteral("06/12/2026");
    zero.Transfer_Time = QStringLiteral("14:05:09");
    QByteArray f = buildDataFile(zero, edit[1].toInt());
    const QByteArray arg = QByteArray::fromPercentEncoding(edit.value(2).toLatin1());
    if (edit[0] == QLatin1String("marker"))
        return arg + f.mid(f.indexOf("\r\n"));
    if (edit[0] == QLatin1String("date"))
        return f.chopped(22) + arg + " \r\n";
    if (edit[0] == QLatin1String("cut"))
        return arg.toInt() >= 0 ? f.left(arg.toInt()) : f.chopped(-arg.toInt());
    if (edit[0] == QLatin1String("tail"))
        return f + arg;
    if (edit[0] == QLatin1String("ends"))
        return f.replace("\r\n", arg);
    const auto [start, end] = lineBounds(f, arg.toInt());
    if (edit[0] == QLatin1String("dup"))
        return f.insert(start, f.mid(start, end + 2 - start));
    // put LINE POS COUNT TEXT: COUNT bytes from POS of the line (negative:
    // from its end; "end": at its end) become TEXT.
    const int pos = edit[3] == QLatin1String("end") ? end
                    : edit[3].toInt() < 0           ? end + edit[3].toInt()
                                                    : start + edit[3].toInt();
    return f.replace(pos, edit[4].toInt(), QByteArray::fromPercentEncoding(edit.value(5).toLatin1()));
}

// A file of `size` bytes starting with `head` (sparse past it).
bool makeFile(const QString &path, const QByteArray &head, qint64 size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(head) != head.size())
        return false;
    f.close();
    return QFile::resize(path, size);
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("version");
        for (int v : {3, 4, 5, 70})
            QTest::addRow("v%d", v) << v;
    }

    // Store -> file -> another store: every carried value comes back (the time
    // cut to hh:mm), every field the version does not carry keeps its content.
    void roundTrip()
    {
        QFETCH(int, version);
        const auto saved = randomStore(version);
        const auto before = randomStore(1000 + version);
        auto loaded = randomStore(1000 + version);
        loaded->Device_Version = 1;
        const QByteArray file = buildDataFile(*saved, version);
        QCOMPARE(readDataFile(file, *loaded).result, LoadOutcome::Loaded);
        QVERIFY(loaded->Data_Loaded && !loaded->Cancel_Flag);
        QCOMPARE(loaded->Device_Version, qint16(version));

        const int leqValues = kvl::leqRows(version) * 8;
        QCOMPARE(loaded->Leq_Count, kvl::leqRows(version));
        const qint16 *leq = loaded->Leq_Records.row(1);
        QVERIFY(std::equal(leq, leq + leqValues, saved->Leq_Records.row(1)));
        QVERIFY(std::equal(leq + leqValues, leq + 8192 * 8, before->Leq_Records.row(1) + leqValues));
        QVERIFY(loaded->Event_Records == saved->Event_Records);
        const bool dated = isVersion5Family(version);
        QVERIFY(loaded->Param_History == (dated ? saved : before)->Param_History);
        QCOMPARE(loaded->Transfer_Date, (dated ? saved : before)->Transfer_Date);
        QCOMPARE(loaded->Transfer_Time, dated ? saved->Transfer_Time.left(5) : before->Transfer_Time);
        if (version != 3) {
            QVERIFY(loaded->Param_Block == saved->Param_Block);
            QVERIFY(loaded->Param_Raw == before->Param_Raw);
        } else {
            QVERIFY(loaded->Param_Raw == saved->Param_Raw);
            // The parameter area is rebuilt from the raw block.
            for (int i = 0; i < 2560; ++i) {
                const qint16 expected = i >= 2048 ? saved->Param_Raw[i - 2048]
                                        : i == 6  ? saved->Param_Raw[512]
                                        : i == 7  ? saved->Param_Raw[513]
                                                  : 255;
                QCOMPARE(loaded->Param_Block[i], expected);
            }
        }
    }

    // The loader's fuzz corpus and the samples: every input loads or says
    // where it fails; a sample saves back byte for byte, bar the seconds of
    // the transfer time that a load drops.
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(qEnvironmentVariable("KVL_TEST_DATA") + QStringLiteral("/loader-corpus"));
        const QDir samples(qEnvironmentVariable("KVL_SAMPLES"));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        const QStringList kvlFiles = samples.entryList({QStringLiteral("*.kvl")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 10 && kvlFiles.size() == 4);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << corpus.filePath(f);
        for (const QString &f : kvlFiles)
            QTest::newRow(qPrintable(QStringLiteral("sample ") + f)) << samples.filePath(f);
    }

    void corpus()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        auto s = std::make_unique<Store>();
        const LoadOutcome out = readDataFile(bytes, *s);
        QCOMPARE(s->Data_Loaded, out.result == LoadOutcome::Loaded);
        if (!s->Data_Loaded) {
            QVERIFY(!out.text.isEmpty() && !out.caption.isEmpty() && !out.detail.problem.isEmpty());
            QVERIFY(out.detail.line >= 1 && out.detail.line <= 1 + bytes.count('\n'));
        } else if (QByteArray(QTest::currentDataTag()).startsWith("sample ")) {
            if (isVersion5Family(s->Device_Version))
                bytes.remove(bytes.size() - 6, 3);
            QVERIFY(buildDataFile(*s, s->Device_Version) == bytes);
        }
    }

    void reader_data() { test::addDataRows(QStringLiteral("files/reader.txt")); }

    void reader()
    {
        QFETCH(QStringList, c);
        const QByteArray file = editedFile(c[1].split(QLatin1Char(' ')));
        const int version = c[2].toInt();
        const QString failure = c[3], detail = c[4], date = c[5], time = c[6];

        auto s = randomStore(9);
        const auto before = randomStore(9);
        s->Device_Version = 1;
        s->Data_Loaded = true;
        const LoadOutcome out = readDataFile(file, *s);
        // The first bytes alone tell the marker, as the loader reads it.
        QCOMPARE(headVersion(file.left(markerHeadSize())), version);

        QCOMPARE(s->Data_Loaded, failure.isEmpty());
        QCOMPARE(s->Device_Version, qint16(version ? version : 1));
        if (failure.isEmpty()) {
            QCOMPARE(out.result, LoadOutcome::Loaded);
            QVERIFY(!s->Cancel_Flag);
            if (!date.isEmpty()) {
                QCOMPARE(s->Transfer_Date, date == QLatin1String("none") ? QString() : date);
                QCOMPARE(s->Transfer_Time, time == QLatin1String("none") ? QString() : time);
            }
            return;
        }
        QCOMPARE(out.text, failure);
        if (!detail.isEmpty())
            QCOMPARE(out.detailText(), detail);
        if (version == 0) {
            QCOMPARE(out.result, LoadOutcome::NotKvlFile);
            QCOMPARE(out.caption, QStringLiteral("It is impossible to open this file"));
            QVERIFY(s->Leq_Records == before->Leq_Records);
            QVERIFY(s->Param_Block == before->Param_Block);
        } else {
            QCOMPARE(out.result, LoadOutcome::ReadFailure);
            QCOMPARE(out.caption, QStringLiteral("It is impossible to read file data"));
            QVERIFY(s->Cancel_Flag);
        }
    }

    // What is refused, and how much is read, for each kind of path.
    void paths_data() { test::addDataRows(QStringLiteral("files/untrusted.txt")); }
    void paths()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("file.kvl"));
        const QString kind = c[1];
        const qint64 limit = largestDataFile();
        if (kind == QLatin1String("sample"))
            path = qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl");
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("largest") || kind == QLatin1String("one more")) {
            // The writer's widest file: 255 everywhere, the transfer stamp at
            // its full length, under the longest marker (one of 5.X).
            auto widest = std::make_unique<Store>();
            widest->Leq_Records.fill(255);
            widest->Event_Records.fill(255);
            widest->Param_History.fill(255);
            widest->Param_Block.fill(255);
            widest->Transfer_Date = QStringLiteral("31/12/2026");
            widest->Transfer_Time = QStringLiteral("23:59:59");
            QByteArray file = buildDataFile(*widest, Version5X);
            file.replace(0, writtenMarker(Version5X).size(),
                         "Donn\xE9"
                         "es_d'un_KVL_24-2_Version_5!!!");
            QCOMPARE(readDataFile(file, *widest).result, LoadOutcome::Loaded);
            if (kind == QLatin1String("one more"))
                file += ' ';
            QVERIFY(makeFile(path, file, file.size()));
        } else if (kind == QLatin1String("text"))
            QVERIFY(makeFile(path, "Shopping list\r\n" + QByteArray(5000, 'x'), 5015));
        else if (kind == QLatin1String("empty"))
            QVERIFY(makeFile(path, QByteArray(), 0));
        else
            QVERIFY(kind == QLatin1String("missing"));

        const UntrustedBytes r = readUntrustedDataFile(QFile::encodeName(path));
        QCOMPARE(r.error, c[2]);
        const qint64 expected = c[3] == QLatin1String("head")     ? markerHeadSize()
                                : c[3] == QLatin1String("limit")  ? limit
                                : c[3] == QLatin1String("sample") ? QFileInfo(path).size()
                                                                  : c[3].toLongLong();
        QCOMPARE(qint64(r.bytes.size()), expected);
    }
};

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
