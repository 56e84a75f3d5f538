// CSV and JSON export: quoting, interval starts, and whole reports of a
// sample file for one period against reference files.

#include "TableStores.h"
#include "TestCore.h"

#include "export/Csv.h"
#include "export/Report.h"
#include "files/DataFile.h"
#include "store/Layout.h"

#include <QtTest>

#include <memory>

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
        QCOMPARE(kvl::csvField(c[1]), c[2]);
    }

    // Start and end of each level's interval from a first row: the first
    // still takes its start from the row before it.
    void intervals_data() { rows(QStringLiteral("intervals")); }
    void intervals()
    {
        QFETCH(QStringList, c);
        const QStringList records = items(c[3]);
        LeqTable table;
        fillLeq(table, records);
        QStringList got;
        for (const LeqInterval &i :
             leqIntervals(table, c[2].toInt(), int(records.size()) + 1, LeqSeries(c[1].toInt())))
            got << isoText(i.start) + QLatin1Char(' ') + isoText(i.end);
        QCOMPARE(got, items(c[4]));
    }

    // The parameter records of a range: the one in force at its start, those
    // dated inside, then the current parameters.
    void paramsOfARange()
    {
        Store store;
        fillHistory(store.Param_History,
                    {"01/03/08 12:00 80 85 70 75 22 7", "05/03/08 12:00 80 85 70 75 22 7",
                     "09/03/08 12:00 80 85 70 75 22 7"});
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

    // A day's summary counts the minutes of a level that ends the next day,
    // as the whole file's does: the 00:05 level of the 6th measured from
    // 23:55, five minutes above the night threshold of 70 dB on the 5th.
    void dayCountsALevelEndingAfterIt()
    {
        auto store = std::make_unique<Store>();
        store->Event_Records.fill(255);
        store->Param_Block.fill(255);
        setBlockLevels(*store, QStringLiteral("80 80 70 70 22 6"));
        fillLeq(store->Leq_Records, {"05/03/24 21:00 75", "06/03/24 00:05 90"});
        ReportOptions options;
        options.range = DateRange{QDate(2024, 3, 5), QDate(2024, 3, 5)};
        const FileReport r = reportBytes(QStringLiteral("h.kvl"), buildDataFile(*store, Version40), options);
        QVERIFY2(r.loaded, qPrintable(r.error));
        QCOMPARE(
            r.out,
            QByteArray(
                "h.kvl,file,2024-03-05T20:50:00,2024-03-06T00:00:00,,1,75.0,75,75,75,75,5,0,\r\n"
                "h.kvl,day,2024-03-05T00:00:00,2024-03-06T00:00:00,,1,75.0,75,75,75,75,5,0,\r\n"
                "h.kvl,part,2024-03-05T06:00:00,2024-03-05T22:00:00,day,1,75.0,75,75,75,75,0,0,\r\n"
                // The night starting on the last day runs on to the next morning.
                "h.kvl,part,2024-03-05T22:00:00,2024-03-06T06:00:00,night,1,90.0,90,90,90,90,10,0,\r\n"));
    }

    // Reports come back in the order given, each once, whatever the threads;
    // written file by file, the JSON output is the very document a JSON
    // writer gives for the array of the loaded files: bad files add nothing.
    void filesInOrder_data() { rows(QStringLiteral("files in order")); }
    void filesInOrder()
    {
        QFETCH(QStringList, c);
        QList<ReportInput> inputs;
        for (int i = 0; i < c[3].toInt(); ++i)
            for (const QString &name : items(c[1]))
                inputs << ReportInput::fromName(qEnvironmentVariable("KVL_SAMPLES") + '/' + name);
        ReportOptions options;
        options.kind = ReportKind::Params;
        options.format = ReportFormat::Json;
        QList<FileReport> reports;
        QJsonArray loaded;
        reportFiles(inputs, options, c[2].toInt(), [&](const FileReport &r) {
            reports << r;
            QCOMPARE(r.loaded, !r.path.contains(QStringLiteral("missing")));
            if (r.loaded)
                loaded.append(QJsonDocument::fromJson("[" + r.out + "]").array().first());
        });
        QCOMPARE(reports.size(), inputs.size());
        for (int i = 0; i < inputs.size(); ++i)
            QCOMPARE(reports[i].path, inputs[i].name);
        QCOMPARE(assembleReport(reports, options), QJsonDocument(loaded).toJson(QJsonDocument::Indented));
    }
};

QTEST_GUILESS_MAIN(ExportTest)
#include "tst_export.moc"
