// CSV and JSON export: quoting, interval starts, and whole reports of a
// sample file for one period against reference files.

#include "TableStores.h"
#include "TestSupport.h"

#include "export/Csv.h"
#include "export/Report.h"

#include <QFile>
#include <QtTest>

using namespace kvl;
using namespace kvl::test;

namespace {

void rows(const QString &section)
{
    addDataRows(QStringLiteral("export/cases.txt"), section);
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void csvField_data() { rows(QStringLiteral("csv fields")); }
    void csvField()
    {
        QFETCH(QStringList, c);
        c.replaceInStrings("\\r", "\r").replaceInStrings("\\n", "\n");
        QCOMPARE(kvl::csvField(c[1]), c[2]);
    }

    // Start and end of each level's interval.
    void intervals_data() { rows(QStringLiteral("intervals")); }
    void intervals()
    {
        QFETCH(QStringList, c);
        const QStringList records = items(c[2]);
        LeqTable table;
        fillLeq(table, records);
        QStringList got;
        for (const LeqInterval &i : leqIntervals(table, 1, int(records.size()) + 1, LeqSeries(c[1].toInt())))
            got << isoText(i.start) + QLatin1Char(' ') + isoText(i.end);
        QCOMPARE(got, items(c[3]));
    }

    // The first row of a period still takes its start from the row before it.
    void periodStartLooksBack()
    {
        LeqTable table;
        fillLeq(table, {"05/03/08 23:55 80", "06/03/08 00:05 85"});
        const QList<LeqInterval> rows = leqIntervals(table, 2, 2, LeqSeries::Leq);
        QCOMPARE(leqCsv(rows), QByteArray("series,start,end,level_db\r\nLeq,2008-03-05T23:55:00,"
                                          "2008-03-06T00:05:00,85\r\n"));
    }

    // The parameter records of a range: the one in force at its start, those
    // dated inside, then the current parameters.
    void paramsOfARange()
    {
        Store store;
        store.Param_History.fill(255);
        const int days[] = {1, 5, 9};
        for (int r = 1; r <= 3; ++r) {
            qint16 *row = store.Param_History.row(r);
            row[0] = 0, row[1] = 12, row[2] = qint16(days[r - 1]), row[4] = 3, row[5] = 8;
        }
        QStringList got;
        for (const ParamEntry &p : storeParams(store, DateRange{QDate(2008, 3, 4), QDate(2008, 3, 6)}))
            got << p.record + QLatin1Char(' ') + (p.dated ? isoText(p.time) : QString());
        QCOMPARE(got,
                 QStringList({"history 2008-03-01T12:00:00", "history 2008-03-05T12:00:00", "current "}));
    }

    // kvl-report's output for the sample firmware 5.X file over two days,
    // against export/sample_v5_<kind>.<format>.
    void sampleReport_data() { rows(QStringLiteral("sample report")); }
    void sampleReport()
    {
        QFETCH(QStringList, c);
        QFile file(qEnvironmentVariable("KVL_SAMPLES") + QStringLiteral("/sample_v5.kvl"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        ReportOptions options;
        options.kind = ReportKind(c[1].toInt());
        options.format = ReportFormat(c[2].toInt());
        options.range = DateRange{QDate(2026, 9, 10), QDate(2026, 9, 11)};
        const FileReport report = reportBytes(QStringLiteral("sample_v5.kvl"), file.readAll(), options);
        QVERIFY(report.loaded);
        KVL_COMPARE_FILE(QStringLiteral("export/sample_v5_") +
                             QString(QTest::currentDataTag()).replace(' ', '.'),
                         assembleReport({report}, options));
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "tst_export.moc"
