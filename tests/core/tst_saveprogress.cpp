// Save progress arithmetic, the save's step count and the proposed names.

#include "files/SaveProgress.h"
#include "store/Store.h"

#include <QtTest>

using namespace kvl;

namespace {

void setStamp(Store &s, int row, int minute, int hour, int day, int month, int year)
{
    qint16 *r = s.Leq_Records.row(row);
    r[0] = qint16(minute);
    r[1] = qint16(hour);
    r[2] = qint16(day);
    r[3] = 10;
    r[4] = qint16(month);
    r[5] = qint16(year);
    r[6] = 80;
    r[7] = 0;
}

} // namespace

class TestSaveProgress : public QObject
{
    Q_OBJECT
private slots:
    void maximumAndSteps_data();
    void maximumAndSteps();
    void percentage_data();
    void percentage();
    void completion_data();
    void completion();
    void holdLastsOneAndAHalfSeconds();
    void defaultName_data();
    void defaultName();
    void noValidRow_data();
    void noValidRow();
    void backupName();
};

void TestSaveProgress::maximumAndSteps_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("leqRows");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("steps");
    QTest::newRow("3") << 3 << 4096 << 8512.001 << 4096 + 4096 + 64;
    QTest::newRow("4") << 4 << 8192 << 12608.001 << 8192 + 4096 + 320;
    QTest::newRow("5") << 5 << 8192 << 16700.001 << 8192 + 4096 + 320 + 4092;
    QTest::newRow("70") << 70 << 8192 << 16700.001 << 16700;
}

void TestSaveProgress::maximumAndSteps()
{
    QFETCH(int, version);
    QFETCH(int, leqRows);
    QFETCH(double, maximum);
    QFETCH(int, steps);
    QCOMPARE(saveProgressMaximum(version), maximum);
    QCOMPARE(saveProgressSteps(version, leqRows), steps);
    // A full save never runs past the bar.
    QVERIFY(steps <= int(maximum));
}

void TestSaveProgress::percentage_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("text");
    QTest::newRow("v4 halfway is cut to 49") << 4 << 6303 << QStringLiteral("Backup at 49%.");
    QTest::newRow("first step v5") << 5 << 0 << QStringLiteral("Backup at 0%.");
    QTest::newRow("one below the end v5") << 5 << 16698 << QStringLiteral("Backup at 99%.");
    QTest::newRow("v3 1%") << 3 << 85 << QStringLiteral("Backup at 1%.");
}

void TestSaveProgress::percentage()
{
    QFETCH(int, version);
    QFETCH(int, before);
    QFETCH(QString, text);
    SaveProgress p(version);
    QCOMPARE(p.progressionText(), QStringLiteral("Saving at 00%."));
    p.setValue(before);
    QVERIFY(!p.step(0));
    QCOMPARE(p.value(), before + 1);
    QCOMPARE(p.progressionText(), text);
    QVERIFY(!p.completed());
}

// The save makes its steps, then sets the value one below the whole maximum
// and makes one more: every version ends complete, version 3 with fewer
// steps. A full save of the other versions reaches the end on its last
// writing step; the completion is reported once.
void TestSaveProgress::completion_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("leqRows");
    QTest::newRow("3") << 3 << 4096;
    QTest::newRow("4") << 4 << 8192;
    QTest::newRow("5") << 5 << 8192;
    QTest::newRow("70") << 70 << 8192;
}

void TestSaveProgress::completion()
{
    QFETCH(int, version);
    QFETCH(int, leqRows);
    SaveProgress p(version);
    const int steps = saveProgressSteps(version, leqRows);
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

void TestSaveProgress::holdLastsOneAndAHalfSeconds()
{
    SaveProgress p(4);
    p.setValue(p.wholeMaximum() - 1);
    QVERIFY(!p.holdOver(1'000'000));
    QVERIFY(p.step(5000));
    QVERIFY(!p.holdOver(5000));
    QVERIFY(!p.holdOver(6499));
    QVERIFY(p.holdOver(6500));
}

void TestSaveProgress::defaultName_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QList<int>>("first"); // day, month, year
    QTest::addColumn<QList<int>>("last");
    QTest::addColumn<QString>("name");

    QTest::newRow("v5 March to April 2008")
        << 5 << QList<int>{5, 3, 8} << QList<int>{12, 4, 8}
        << QStringLiteral("KVL 24-2 Data from 05   March    2008 to 12   April   2008");
    QTest::newRow("v70 uses the KVL 36 prefix")
        << 70 << QList<int>{5, 3, 8} << QList<int>{12, 4, 8}
        << QStringLiteral("KVL 36 Data from 05   March    2008 to 12   April   2008");
    QTest::newRow("v3 November 2009")
        << 3 << QList<int>{7, 11, 9} << QList<int>{10, 12, 9}
        << QStringLiteral("KVL 24-2 Data from 07 November  2009 to 10 December  2009");
    QTest::newRow("v4 single row September") << 4 << QList<int>{1, 9, 0} << QList<int>{1, 9, 0}
                                             << QStringLiteral("KVL 24-2 Data from 01 September 2000 to 01 "
                                                               "September 2000");
}

void TestSaveProgress::defaultName()
{
    QFETCH(int, version);
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, last);
    QFETCH(QString, name);

    Store s;
    s.Leq_Records.fill(255);
    const int rows = version == 3 ? 4096 : 8192;
    // Invalid rows around the valid ones are skipped.
    setStamp(s, 3, 0, 12, first[0], first[1], first[2]);
    if (first != last)
        setStamp(s, 40, 50, 23, last[0], last[1], last[2]);
    setStamp(s, 41, 60, 23, 1, 1, 1); // minute 60: not a date
    setStamp(s, 42, 0, 23, 1, 1, 99); // year 99: not a date
    const auto span = savedLeqSpan(s, rows);
    QVERIFY(span.has_value());
    QCOMPARE(span->first, 3);
    QCOMPARE(span->last, first != last ? 40 : 3);
    QCOMPARE(defaultSaveName(s, version, *span), name);
}

void TestSaveProgress::noValidRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("validRow");
    QTest::newRow("all 255") << 8192 << 0;
    QTest::newRow("only valid row beyond version 3 rows") << 4096 << 4097;
}

void TestSaveProgress::noValidRow()
{
    QFETCH(int, rows);
    QFETCH(int, validRow);
    Store s;
    s.Leq_Records.fill(255);
    if (validRow)
        setStamp(s, validRow, 0, 0, 1, 1, 8);
    QVERIFY(!savedLeqSpan(s, rows).has_value());
}

void TestSaveProgress::backupName()
{
    QCOMPARE(backupSaveName(QDate(2026, 12, 6)), QStringLiteral("KVL 24-2 Backup : 06-12-2026"));
    QCOMPARE(backupSaveName(QDate(2027, 1, 31)), QStringLiteral("KVL 24-2 Backup : 31-01-2027"));
    QCOMPARE(saveFilter(70), QStringLiteral("KVL 36 (*.kvl)|*.kvl"));
    QCOMPARE(saveFilter(4), QStringLiteral("KVL 24-2 (*.kvl)|*.kvl"));
}

QTEST_APPLESS_MAIN(TestSaveProgress)
#include "tst_saveprogress.moc"
