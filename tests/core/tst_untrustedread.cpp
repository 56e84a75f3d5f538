// Reading a path a user named before the loader sees it: what is refused,
// what is read whole, and the largest data file it lets through.

#include "TestCore.h"

#include "files/DataFile.h"
#include "files/UntrustedRead.h"
#include "store/Layout.h"
#include "store/Store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

using namespace kvl;
using namespace kvl::test;

namespace {

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

class UntrustedReadTest : public QObject
{
    Q_OBJECT

private slots:
    // The writer's widest file of each version, under each accepted marker,
    // is never larger than the limit, and the largest of them is the limit.
    void largestDataFileIsTheWritersLargest()
    {
        // Device bytes at their widest: 255 everywhere, the transfer stamp at its full length.
        const auto store = std::make_unique<Store>();
        store->Leq_Records.fill(255);
        store->Event_Records.fill(255);
        store->Param_History.fill(255);
        store->Param_Block.fill(255);
        store->Param_Raw.fill(255);
        store->Transfer_Date = QStringLiteral("31/12/2026");
        store->Transfer_Time = QStringLiteral("23:59:59");
        qint64 largest = 0;
        for (const MarkerEntry &m : acceptedMarkers()) {
            QByteArray file = buildDataFile(*store, m.version);
            const QByteArray written = writtenMarker(m.version);
            QVERIFY(file.startsWith(written));
            file.replace(0, written.size(), m.marker);
            QVERIFY2(file.size() <= largestDataFile(), m.marker.constData());
            largest = std::max(largest, qint64(file.size()));
            // The loader reads it, so the limit is about real files.
            Store back;
            QCOMPARE(readDataFile(file, back).result, LoadOutcome::Loaded);
        }
        QCOMPARE(largestDataFile(), largest);
    }

    // The marker a file starts with, read from its first bytes as the loader reads it.
    void headVersion_data() { addDataRows(QStringLiteral("files/untrusted.txt"), QStringLiteral("markers")); }
    void headVersion()
    {
        QFETCH(QStringList, c);
        // Windows-1252 as the files are: "é" is byte 0xE9.
        const QByteArray head = c[1].toLatin1() + QByteArray(100, ' ');
        QCOMPARE(kvl::headVersion(head.left(markerHeadSize())), c[2].toInt());
    }

    // What is refused, and how much is read, for each kind of path.
    void paths_data() { addDataRows(QStringLiteral("files/untrusted.txt"), QStringLiteral("paths")); }
    void paths()
    {
        QFETCH(QStringList, c);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("file.kvl"));
        const QString kind = c[1];
        const QByteArray marker = "KVL_24-2_Data_for_Version_5!!!\r\n";
        const qint64 limit = largestDataFile();
        if (kind == QLatin1String("sample"))
            path = qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl");
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("device"))
            path = QStringLiteral("/dev/null");
        else if (kind == QLatin1String("largest"))
            QVERIFY(makeFile(path, marker, limit));
        else if (kind == QLatin1String("one more"))
            QVERIFY(makeFile(path, marker, limit + 1));
        else if (kind == QLatin1String("text"))
            QVERIFY(makeFile(path, "Shopping list\r\n" + QByteArray(5000, 'x'), 5015));
        else if (kind == QLatin1String("empty"))
            QVERIFY(makeFile(path, QByteArray(), 0));
        else if (kind == QLatin1String("unreadable")) {
            QVERIFY(makeFile(path, marker, 100));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
            if (QFile(path).open(QIODevice::ReadOnly))
                QSKIP("running as a user who reads every file");
        } else
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

QTEST_GUILESS_MAIN(UntrustedReadTest)
#include "tst_untrustedread.moc"
