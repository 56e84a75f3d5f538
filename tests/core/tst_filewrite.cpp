// The one way files are written: complete or not at all, whatever stops the
// write (a size limit before or at the end, a read-only folder or file, a
// missing folder, a folder in the way), with the system's reason.

#include "WriteFaults.h"
#include "files/FileWrite.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

Q_DECLARE_METATYPE(FileWrite::Result)

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
    void write_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("target"); // inside a folder holding "old.dat" and "folder/"
        QTest::addColumn<qint64>("size");
        QTest::addColumn<FileWrite::Result>("result");
        QTest::addColumn<QString>("reason"); // <target> stands for the target's path
        using R = FileWrite::Result;
        const qint64 limit = WriteLimit;
        QTest::newRow("small replaces") << "none"
                                        << "old.dat" << qint64(10'000) << R::Written << "";
        QTest::newRow("large replaces") << "none"
                                        << "old.dat" << qint64(3'000'000) << R::Written << "";
        QTest::newRow("empty replaces") << "none"
                                        << "old.dat" << qint64(0) << R::Written << "";
        QTest::newRow("new file") << "none"
                                  << "new.dat" << qint64(100) << R::Written << "";
        QTest::newRow("exactly the limit") << "size limit"
                                           << "old.dat" << limit << R::Written << "";
        QTest::newRow("one byte past the limit")
            << "size limit"
            << "old.dat" << limit + 1 << R::NotWritten << "File too large";
        // Below the write buffer: the cut would only show when the file is renamed.
        QTest::newRow("small past the limit")
            << "size limit"
            << "old.dat" << qint64(10'240) << R::NotWritten << "File too large";
        QTest::newRow("large past the limit")
            << "size limit"
            << "old.dat" << qint64(2'000'000) << R::NotWritten << "File too large";
        QTest::newRow("new file past the limit")
            << "size limit"
            << "new.dat" << qint64(10'240) << R::NotWritten << "File too large";
        QTest::newRow("read-only folder") << "read-only folder"
                                          << "old.dat" << qint64(100) << R::NotOpened << "Permission denied";
        QTest::newRow("read-only file")
            << "read-only file"
            << "old.dat" << qint64(100) << R::NotOpened << "Existing file <target> is not writable";
        QTest::newRow("missing folder")
            << "none"
            << "missing/new.dat" << qint64(100) << R::NotOpened << "No such file or directory";
        QTest::newRow("a folder in the way")
            << "none"
            << "folder" << qint64(100) << R::NotOpened << "Filename refers to a directory";
    }

    // The target holds the new bytes or its old ones, and nothing else is left.
    void write()
    {
        QFETCH(QString, fault);
        QFETCH(QString, target);
        QFETCH(qint64, size);
        QFETCH(FileWrite::Result, result);
        QFETCH(QString, reason);

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
            FaultyTarget faulty(path, writeFault(fault));
            w = writeFileAtomically(path, bytes);
        }
        QCOMPARE(w.result, result);
        QCOMPARE(w.ok(), result == FileWrite::Result::Written);
        QCOMPARE(w.reason, QString(reason).replace(QStringLiteral("<target>"), path));

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
