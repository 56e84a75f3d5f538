// The one way files are written: complete or not at all, whatever stops the
// write (a size limit before or at the end, a read-only folder or file, a
// missing folder, a folder in the way), with the system's reason.

#include "TestCore.h"
#include "WriteFaults.h"
#include "files/FileWrite.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

// Bytes whose every cut shows: no two neighbouring 251-byte blocks agree.
QByteArray pattern(qint64 size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        b[i] = char(i % 251);
    return b;
}

const QByteArray oldContents("old contents");

} // namespace

class TestFileWrite : public QObject
{
    Q_OBJECT
private slots:
    void write_data() { addDataRows(QStringLiteral("files/filewrite.txt")); }

    // The target holds the new bytes or its old ones, and nothing else is left.
    void write()
    {
        QFETCH(QStringList, c);
        const QString target = c[2];
        const qint64 size = c[3] == QLatin1String("limit")     ? WriteLimit
                            : c[3] == QLatin1String("limit+1") ? WriteLimit + 1
                                                               : c[3].toLongLong();
        const QStringList results{"written", "not opened", "not written"};
        const auto result = FileWrite::Result(results.indexOf(c[4]));

        QTemporaryDir dir;
        QFile old(dir.filePath(QStringLiteral("old.dat")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(oldContents) == oldContents.size());
        old.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString path = dir.filePath(target);
        const QByteArray bytes = pattern(size);

        FileWrite w;
        {
            FaultyTarget faulty(path, writeFault(c[1]));
            w = writeFileAtomically(path, bytes);
        }
        QCOMPARE(w.result, result);
        QCOMPARE(w.ok(), result == FileWrite::Result::Written);
        QCOMPARE(w.reason, QString(c[5]).replace(QStringLiteral("<target>"), path));

        QFile after(path);
        if (w.ok()) {
            QVERIFY(after.open(QIODevice::ReadOnly));
            QVERIFY(after.readAll() == bytes);
        } else if (target == QLatin1String("old.dat")) {
            QVERIFY(after.open(QIODevice::ReadOnly));
            QCOMPARE(after.readAll(), oldContents);
        } else if (target != QLatin1String("folder")) {
            QVERIFY(!after.exists());
        }
        QStringList expected = before;
        if (w.ok() && !expected.contains(target))
            expected << target;
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestFileWrite)
#include "tst_filewrite.moc"
