// Saving files: the one way files are written, complete or not at all
// whatever stops the write (a size limit before or at the end, a read-only
// folder or file, a missing folder, a folder in the way), with the system's
// reason; the save's progress (the bar's range, the steps, the percentage text,
// the completion) and the span of the name it proposes. The names of a whole
// save are checked on the window.

#include "TestCore.h"
#include "WriteFaults.h"
#include "files/FileWrite.h"
#include "files/SaveProgress.h"
#include "store/Store.h"

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

class TestFileSave : public QObject
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

    // The bar's maximum; steps, then one below the whole maximum and one
    // more: complete once, on the last writing step where the steps fill the
    // bar. One step from a value: the percentage is cut, not rounded.
    void completion_data()
    {
        addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("completion"));
    }
    void completion()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), steps = c[3].toInt(), before = c[5].toInt();
        QCOMPARE(saveProgressSteps(version, c[2].toInt()), steps);
        SaveProgress one(version);
        one.setValue(before);
        one.step(0);
        QCOMPARE(one.value(), before + 1);
        QCOMPARE(one.progressionText(), c[6]);

        SaveProgress p(version);
        QCOMPARE(p.wholeMaximum(), c[4].toInt());
        const bool fullBar = steps == p.wholeMaximum();
        for (int i = 0; i < steps; ++i)
            QCOMPARE(p.step(i), fullBar && i == steps - 1);
        QCOMPARE(p.completed(), fullBar);
        p.setValue(p.wholeMaximum() - 1);
        QCOMPARE(p.step(100000), !fullBar);
        QVERIFY(p.completed());
        QCOMPARE(p.value(), p.wholeMaximum());
        QCOMPARE(p.progressionText(), QStringLiteral("Backup at 100%."));
    }

    void defaultName_data()
    {
        addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("default names"));
    }
    void defaultName()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt();
        auto numbers = [](const QString &field) { return test::numbers(QString(field).replace(' ', ',')); };
        const QList<int> first = numbers(c[2]), last = numbers(c.value(3));
        const QString name = c.value(4);

        Store s;
        s.Leq_Records.fill(255);
        auto stamp = [&s](int row, int minute, int hour, int day, int month, int year) {
            const qint16 r[8] = {qint16(minute), qint16(hour), qint16(day), 10,
                                 qint16(month),  qint16(year), 80,          0};
            std::copy(r, r + 8, s.Leq_Records.row(row));
        };
        // Rows that are not dates are skipped wherever they are.
        stamp(2, 60, 23, 1, 1, 1);    // minute 60
        stamp(4095, 0, 24, 1, 1, 1);  // hour 24
        stamp(4094, 0, 23, 1, 1, 99); // year 99
        stamp(4093, 0, 23, 1, 13, 9); // month 13
        if (!first.isEmpty())
            stamp(first[0], 0, 12, first[1], first[2], first[3]);
        if (!last.isEmpty())
            stamp(last[0], 59, 23, last[1], last[2], last[3]);

        const auto span = savedLeqSpan(s, kvl::leqRows(version));
        QCOMPARE(span.has_value(), !name.isEmpty());
        if (!span)
            return;
        QCOMPARE(span->first, first[0]);
        QCOMPARE(span->last, last.isEmpty() ? first[0] : last[0]);
        QCOMPARE(defaultSaveName(s, version, *span), name);
    }
};

QTEST_GUILESS_MAIN(TestFileSave)
#include "tst_filesave.moc"
