// The sound level report: its period choices, file name, the runs above the
// threshold and the pages it lays out for the samples.

#include "Programs.h"
#include "TableStores.h"
#include "TestCore.h"

#include "export/Statistics.h"
#include "report/ComplianceReport.h"

#include <QtTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

const QString Cases = QStringLiteral("report/cases.txt");

QDate day(const QString &iso)
{
    return QDate::fromString(iso, Qt::ISODate);
}

// "hh:mm" on 5 March 2024; `after` moves an end at or before it to the next day.
Minute at(const QString &hhmm, Minute after = -1)
{
    Minute m = minuteOf(QDate(2024, 3, 5), hhmm.left(2).toInt(), hhmm.mid(3, 2).toInt());
    return m <= after ? m + MinutesPerDay : m;
}

} // namespace

class ComplianceReportTest : public QObject
{
    Q_OBJECT

private slots:
    void periods_data() { addDataRows(Cases, QStringLiteral("periods")); }
    void periods()
    {
        QFETCH(QStringList, c);
        static const QMap<QString, ReportSpan> spans{{"day", ReportSpan::Day},
                                                     {"week", ReportSpan::Week},
                                                     {"month", ReportSpan::Month},
                                                     {"fromto", ReportSpan::FromTo}};
        static const QMap<QString, PeriodCheck> outcomes{{"ok", PeriodCheck::Ok},
                                                         {"nodate", PeriodCheck::NoDate},
                                                         {"before", PeriodCheck::EndBeforeStart},
                                                         {"toolong", PeriodCheck::TooLong}};
        DateRange period;
        QCOMPARE(reportPeriod(spans.value(c[1]), day(c[2]), day(c[3]), &period), outcomes.value(c[4]));
        QCOMPARE(period.from, day(c[5]));
        QCOMPARE(period.to, day(c[6]));
    }

    void fileNames_data() { addDataRows(Cases, QStringLiteral("files")); }
    void fileNames()
    {
        QFETCH(QStringList, c);
        Store store;
        store.Serial_Number = c[1];
        QCOMPARE(reportFileName(store, DateRange{day(c[2]), day(c[3])}), c[4]);
    }

    // Runs are the minutes the day figures count as above the threshold.
    void runs_data() { addDataRows(Cases, QStringLiteral("runs")); }
    void runs()
    {
        QFETCH(QStringList, c);
        Store store;
        store.Device_Version = qint16(c[1].toInt());
        QList<LeqInterval> intervals;
        for (const QString &l : items(c[2])) {
            const Minute start = at(l.left(5)), end = at(l.mid(6, 5), start);
            const LeqSeries series = c[1] != "5"        ? LeqSeries::Leq
                                     : end - start == 1 ? LeqSeries::Leq1
                                                        : LeqSeries::Leq10;
            intervals.append(LeqInterval{series, start, end, l.mid(12).toInt()});
        }
        ThresholdTimeline timeline;
        timeline.add(at("00:00"), at("22:00"), 90);
        timeline.add(at("22:00"), at("06:00") + MinutesPerDay, 85);
        const DateRange range = c[4].isEmpty() ? DateRange() : DateRange{day(c[4]), day(c[4])};
        const QString door = c.value(5);
        const Minute doorFrom = door.isEmpty() ? 0 : at(door.left(5));
        const Minute doorTo = door.isEmpty() ? 0 : at(door.mid(6, 5), doorFrom);
        const InForceAt inForce = [&](Minute m) {
            InForce f;
            f.threshold = timeline.at(m);
            f.doorOpen = m >= doorFrom && m < doorTo;
            f.partStart = m - m % MinutesPerDay;
            f.partEnd = f.partStart + MinutesPerDay;
            return f;
        };

        QStringList runs;
        int minutes = 0;
        for (const ExceedanceRun &r : exceedanceRuns(store, intervals, inForce, range)) {
            QStringList thresholds;
            for (int t : r.thresholds)
                thresholds << QString::number(t);
            runs << QStringLiteral("%1-%2 %3 %4%5")
                        .arg(isoText(r.start).mid(11, 5), isoText(r.end).mid(11, 5))
                        .arg(r.highest)
                        .arg(thresholds.join('/'), r.doorOpen ? " door" : "");
            minutes += r.minutes;
        }
        QCOMPARE(runs, items(c[3]));
        // The same minutes as the figures count.
        const Summary s = summarise(store, intervals, {}, inForce, range);
        QCOMPARE(s.whole.minutesAbove, minutes);
    }

    // Pages, diagrams and key texts of the samples' reports; every page ends
    // with its number of the whole, and the records are left as they were.
    void documents_data() { addDataRows(Cases, QStringLiteral("documents")); }
    void documents()
    {
        QFETCH(QStringList, c);
        const auto store = std::make_unique<Store>();
        QVERIFY(loadSample(c[1], *store));
        const LeqTable records = store->Leq_Records;
        const EventTable events = store->Event_Records;
        ReportRequest request;
        request.period = DateRange{day(c[2]), day(c[3])};
        request.generated = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
        request.version = programVersion();
        const ReportDocument doc = buildComplianceReport(*store, request);

        QCOMPARE(int(doc.pages.size()), c[4].toInt());
        int charts = 0;
        for (int i = 0; i < doc.pages.size(); ++i) {
            charts += int(doc.pages[i].charts.size());
            QCOMPARE(doc.pages[i].texts.last().text,
                     QStringLiteral("page %1 of %2").arg(i + 1).arg(doc.pages.size()));
        }
        QCOMPARE(charts, c[5].toInt());
        const QStringList texts = documentTexts(doc);
        for (const QString &wanted : items(c[6]))
            QVERIFY2(!texts.filter(wanted).isEmpty(), qPrintable(wanted));
        QVERIFY(store->Leq_Records == records);
        QVERIFY(store->Event_Records == events);
    }
};

QTEST_GUILESS_MAIN(ComplianceReportTest)
#include "tst_compliancereport.moc"
