// Save progress: the bar's range, the steps, the percentage text and the
// completion, and the span of the name the save proposes. The names of a
// whole save are checked on the window.

#include "TestCore.h"
#include "files/SaveProgress.h"
#include "store/Store.h"

#include <QtTest>

using namespace kvl;

class TestSaveProgress : public QObject
{
    Q_OBJECT
private slots:
    // Steps, then one below the whole maximum and one more: complete once,
    // on the last writing step where the steps fill the bar.
    void completion_data()
    {
        test::addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("completion"));
    }
    void completion()
    {
        QFETCH(QStringList, c);
        const int version = c[1].toInt(), steps = c[3].toInt();
        QCOMPARE(saveProgressSteps(version, c[2].toInt()), steps);

        SaveProgress p(version);
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

    // One step from a value; the percentage is cut, not rounded.
    void label_data()
    {
        test::addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("labels"));
    }
    void label()
    {
        QFETCH(QStringList, c);
        const int before = c[2].toInt();
        SaveProgress p(c[1].toInt());
        QCOMPARE(p.wholeMaximum(), c[3].toInt());
        p.setValue(before);
        p.step(0);
        QCOMPARE(p.value(), before + 1);
        QCOMPARE(p.progressionText(), c[4]);
    }

    void defaultName_data()
    {
        test::addDataRows(QStringLiteral("files/saveprogress.txt"), QStringLiteral("default names"));
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

QTEST_APPLESS_MAIN(TestSaveProgress)
#include "tst_saveprogress.moc"
