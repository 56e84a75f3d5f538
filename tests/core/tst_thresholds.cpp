// The threshold schedule of the chart dialog's values and of the firmware 5.X history.

#include "TableStores.h"

#include "charts/Thresholds.h"
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

// "day dayOpen night nightOpen dayToNight nightToDay" into the level pairs and hours.
template <typename Put> void putLevels(const QStringList &v, const int (&at)[6], Put put)
{
    for (int i = 0; i < 4; ++i) {
        put(at[i], v[i].toInt() / 100);
        put(at[i] + 1, v[i].toInt() % 100);
    }
    put(at[4], v[4].toInt());
    put(at[5], v[5].toInt());
}

// A chart of `days` from `start` (d/m/yyyy) with door events and history records
// ("dd/mm/yy hh:mm" and six values); "block" and six values sets Param_Block,
// "chart day night dayToNight nightToDay" the firmware 3.5/4.0 dialog's fields.
std::unique_ptr<Store> analyse(int version, const QString &start, int days, const QStringList &doors,
                               const QStringList &records, QStringList *messages)
{
    auto s = std::make_unique<Store>();
    s->Device_Version = qint16(version);
    const QStringList d = start.split('/');
    s->Start_Day = d[0];
    s->Start_Month = d[1];
    s->Start_Year = d[2];
    s->Chart_Days = qint16(days);
    const int blockAt[6] = {block::LeqDay,       block::LeqDayOpen,   block::LeqNight,
                            block::LeqNightOpen, block::HourDayNight, block::HourNightDay};
    const int historyAt[6] = {history::LeqDay,       history::LeqDayOpen,   history::LeqNight,
                              history::LeqNightOpen, history::HourDayNight, history::HourNightDay};
    auto putBlock = [&](int e, int v) { s->Param_Block[e] = qint16(v); };
    putLevels(QStringLiteral("100 110 90 95 23 7").split(' '), blockAt, putBlock);
    fillEvents(s->Event_Records, doors);
    QStringList dated;
    for (const QString &r : records)
        if (r.front().isDigit())
            dated << r;
    fillRows(s->Param_History, dated, false);
    int row = 0;
    for (const QString &r : records) {
        const QStringList v = r.split(' ');
        if (v[0] == QStringLiteral("block"))
            putLevels(v.mid(1), blockAt, putBlock);
        if (v[0] == QStringLiteral("chart")) {
            s->Seuil_Jour = qint16(v[1].toInt());
            s->Seuil_Nuit = qint16(v[2].toInt());
            s->Heure_Jour_Nuit = qint16(v[3].toInt());
            s->Heure_Nuit_Jour = qint16(v[4].toInt());
        }
        if (!r.front().isDigit())
            continue;
        ++row;
        putLevels(r.split(' ').mid(2), historyAt,
                  [&](int f, int x) { s->Param_History(row, f) = qint16(x); });
    }
    const ScheduleMessage sink = [messages](const QString &text) { *messages << text; };
    (days == 1 ? Analyse_Seuils_1J : days == 3 ? Analyse_Seuils_3J : Analyse_Seuils_7J)(*s, sink);
    return s;
}

} // namespace

class ThresholdsTest : public QObject
{
    Q_OBJECT

private slots:
    // The cases of tests/data/charts/thresholds.txt.
    void schedule_data()
    {
        QTest::addColumn<QStringList>("c");
        QFile f(qEnvironmentVariable("KVL_TEST_DATA") + "/charts/thresholds.txt");
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const QString &line : QString::fromUtf8(f.readAll()).split('\n'))
            if (!line.isEmpty() && !line.startsWith('#'))
                QTest::newRow(qPrintable(line.section('|', 0, 0).trimmed())) << line.split('|');
    }

    void schedule()
    {
        QFETCH(QStringList, c);
        QCOMPARE(c.size(), 7);
        const QStringList period = c[1].trimmed().split(' ');
        auto list = [](const QString &text) {
            return text.trimmed().split(QStringLiteral("; "), Qt::SkipEmptyParts);
        };
        QStringList messages;
        const auto s =
            analyse(period[0].toInt(), period[1], period[2].toInt(), list(c[2]), list(c[3]), &messages);
        QCOMPARE(messages.join('|'), c[4].trimmed());
        QCOMPARE(scheduleText(*s), c[5].trimmed());
        QCOMPARE(QString::asprintf("%d %d %d %d", s->Seuils_Prets, s->Parametres_Constants,
                                   s->Premier_Parametre, s->Dernier_Parametre),
                 c[6].trimmed());
    }
};

QTEST_GUILESS_MAIN(ThresholdsTest)
#include "tst_thresholds.moc"
