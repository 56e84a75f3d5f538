// The threshold schedule of the chart dialog's values and of the firmware 5.X history.

#include "TableStores.h"

#include "charts/Thresholds.h"
#include "export/Export.h"
#include "store/Layout.h"

#include <QtTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

// "d/m/yy hh:mm before>after", rows joined by "; ".
QString scheduleText(const Store &s)
{
    QStringList rows;
    for (std::size_t i = 1; i < s.Tab_Seuils.size(); ++i) {
        const auto &r = s.Tab_Seuils[i];
        rows << QString::asprintf("%d/%d/%d %02d:%02d %d>%d", r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
    }
    return rows.join(QStringLiteral("; "));
}

// A store with door events and history records ("dd/mm/yy hh:mm" and six
// values); "block" and six values sets Param_Block, "chart day night
// dayToNight nightToDay" the firmware 3.5/4.0 dialog's fields.
std::unique_ptr<Store> makeStore(int version, const QStringList &doors, const QStringList &records)
{
    auto s = std::make_unique<Store>();
    s->Device_Version = qint16(version);
    setBlockLevels(*s, QStringLiteral("100 110 90 95 23 7"));
    fillEvents(s->Event_Records, doors);
    QStringList dated;
    for (const QString &r : records) {
        const QStringList v = r.split(' ');
        if (v[0] == QStringLiteral("block"))
            setBlockLevels(*s, QStringList(v.mid(1)).join(' '));
        if (v[0] == QStringLiteral("chart")) {
            s->Seuil_Jour = qint16(v[1].toInt());
            s->Seuil_Nuit = qint16(v[2].toInt());
            s->Heure_Jour_Nuit = qint16(v[3].toInt());
            s->Heure_Nuit_Jour = qint16(v[4].toInt());
        }
        if (r.front().isDigit())
            dated << r;
    }
    fillHistory(s->Param_History, dated);
    return s;
}

// A chart of `days` from `start` (d/m/yyyy) on such a store.
std::unique_ptr<Store> analyse(int version, const QString &start, int days, const QStringList &doors,
                               const QStringList &records, QStringList *messages)
{
    auto s = makeStore(version, doors, records);
    setPeriod(*s, start, QString());
    s->Chart_Days = qint16(days);
    const ScheduleMessage sink = [messages](const QString &text) { *messages << text; };
    (days == 1 ? Analyse_Seuils_1J : days == 3 ? Analyse_Seuils_3J : Analyse_Seuils_7J)(*s, sink);
    return s;
}

// Minutes of "dd/mm/yy hh:mm".
Minute minuteOfText(const QString &text)
{
    const QTime t = QTime::fromString(text.mid(9), QStringLiteral("hh:mm"));
    return minuteOf(QDate::fromString(text.left(8), QStringLiteral("dd/MM/yy")).addYears(100), t.hour(),
                    t.minute());
}

// "d/m/yy hh:mm" of minutes.
QString minuteText(Minute m)
{
    return dateOf(m).toString(QStringLiteral("d/M/yy ")) +
           QTime(0, 0).addSecs(int(m % MinutesPerDay) * 60).toString(QStringLiteral("hh:mm"));
}

QString gapText(ScheduleGap why)
{
    static const char *names[] = {"-", "record", "door", "unusable"};
    return QString::fromLatin1(names[int(why)]);
}

} // namespace

class ThresholdsTest : public QObject
{
    Q_OBJECT

private slots:
    // The cases of tests/data/charts/thresholds.txt.
    void schedule_data() { addDataRows(QStringLiteral("charts/thresholds.txt")); }

    void schedule()
    {
        QFETCH(QStringList, c);
        QCOMPARE(c.size(), 7);
        const QStringList period = c[1].split(' ');
        QStringList messages;
        const auto s =
            analyse(period[0].toInt(), period[1], period[2].toInt(), items(c[2]), items(c[3]), &messages);
        QCOMPARE(messages.join('|'), c[4]);
        QCOMPARE(scheduleText(*s), c[5]);
        QCOMPARE(QString::asprintf("%d %d %d %d", s->Seuils_Prets, s->Parametres_Constants,
                                   s->Premier_Parametre, s->Dernier_Parametre),
                 c[6]);
    }

    // What holds at one minute of a whole file: the cases of
    // tests/data/charts/filethresholds.txt.
    void inForce_data() { addDataRows(QStringLiteral("charts/filethresholds.txt"), QStringLiteral("at")); }
    void inForce()
    {
        QFETCH(QStringList, c);
        const auto store = makeStore(c[1].toInt(), items(c[2]), items(c[3]));
        const InForce f = FileThresholds(*store).at(minuteOfText(c[4]));
        QCOMPARE(QStringLiteral("%1 %2 %3-%4 %5%6")
                     .arg(f.threshold)
                     .arg(f.night ? "night" : "day", minuteText(f.partStart), minuteText(f.partEnd),
                          gapText(f.gap), f.doorOpen ? " open" : ""),
                 c[5]);
    }

    void gaps_data() { addDataRows(QStringLiteral("charts/filethresholds.txt"), QStringLiteral("gaps")); }
    void gaps()
    {
        QFETCH(QStringList, c);
        const auto store = makeStore(c[1].toInt(), items(c[2]), items(c[3]));
        QStringList got;
        for (const FileThresholds::Gap &g :
             FileThresholds(*store).gaps(minuteOfText(c[4]), minuteOfText(c[5])))
            got << minuteText(g.from) + QLatin1Char('-') + minuteText(g.to) + QLatin1Char(' ') +
                       gapText(g.why);
        QCOMPARE(got, items(c[6]));
    }
};

QTEST_GUILESS_MAIN(ThresholdsTest)
#include "tst_thresholds.moc"
