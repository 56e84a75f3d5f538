// The threshold schedule: day/night switches of the chart dialog's values,
// and the firmware 5.X analysis of parameter history and door events.

#include "TableStores.h"

#include "charts/Thresholds.h"
#include "store/Layout.h"

#include <QtTest>

#include <memory>

using namespace kvl;
using namespace kvl::test;

namespace {

// The schedule as "d/m/yy hh:mm before>after" rows joined by "; ".
QString schedule(const Store &s)
{
    QStringList rows;
    for (std::size_t i = 1; i < s.Tab_Seuils.size(); ++i) {
        const auto &r = s.Tab_Seuils[i];
        rows << QStringLiteral("%1/%2/%3 %4:%5 %6>%7")
                    .arg(r[1])
                    .arg(r[2])
                    .arg(r[3])
                    .arg(r[4], 2, 10, QLatin1Char('0'))
                    .arg(r[5], 2, 10, QLatin1Char('0'))
                    .arg(r[6])
                    .arg(r[7]);
    }
    return rows.join(QStringLiteral("; "));
}

void setLevel(qint16 *at, int value)
{
    at[0] = qint16(value / 100);
    at[1] = qint16(value % 100);
}

// "day dayOpen night nightOpen hourDayNight hourNightDay".
void setBlock(Store &s, const QString &levels)
{
    const QStringList v = levels.split(QLatin1Char(' '));
    const int elements[] = {block::LeqDay, block::LeqDayOpen, block::LeqNight, block::LeqNightOpen};
    for (int i = 0; i < 4; ++i) {
        s.Param_Block[elements[i]] = qint16(v[i].toInt() / 100);
        s.Param_Block[elements[i] + 1] = qint16(v[i].toInt() % 100);
    }
    s.Param_Block[block::HourDayNight] = qint16(v[4].toInt());
    s.Param_Block[block::HourNightDay] = qint16(v[5].toInt());
}

// History records "dd/mm/yy hh:mm day dayOpen night nightOpen hdn hnd", rows from 1.
void setHistory(Store &s, const QStringList &records)
{
    s.Param_History.fill(255);
    int row = 1;
    for (const QString &rec : records) {
        const QStringList p = rec.split(QRegularExpression(QStringLiteral("[ /:]")));
        qint16 *r = s.Param_History.row(row++);
        r[field::Day - 1] = qint16(p[0].toInt());
        r[field::Month - 1] = qint16(p[1].toInt());
        r[field::Year - 1] = qint16(p[2].toInt());
        r[field::Hour - 1] = qint16(p[3].toInt());
        r[field::Minute - 1] = qint16(p[4].toInt());
        const int fields[] = {history::LeqDay, history::LeqDayOpen, history::LeqNight, history::LeqNightOpen};
        for (int i = 0; i < 4; ++i)
            setLevel(&r[fields[i] - 1], p[5 + i].toInt());
        r[history::HourDayNight - 1] = qint16(p[9].toInt());
        r[history::HourNightDay - 1] = qint16(p[10].toInt());
    }
}

std::unique_ptr<Store> chartStore(int version, const QString &start, int days)
{
    auto s = std::make_unique<Store>();
    s->Device_Version = qint16(version);
    const QStringList d = start.split(QLatin1Char('/'));
    s->Start_Day = d[0];
    s->Start_Month = d[1];
    s->Start_Year = d[2];
    s->Chart_Days = qint16(days);
    s->Event_Records.fill(255);
    s->Param_History.fill(255);
    setBlock(*s, QStringLiteral("100 110 90 95 23 7"));
    return s;
}

void build(Store &s, int days, QStringList *messages)
{
    ScheduleMessage sink = [messages](const QString &text) { *messages << text; };
    switch (days) {
    case 1:
        Analyse_Seuils_1J(s, sink);
        break;
    case 3:
        Analyse_Seuils_3J(s, sink);
        break;
    default:
        Analyse_Seuils_7J(s, sink);
        break;
    }
}

bool chronological(const Store &s)
{
    auto key = [&](std::size_t i) {
        const auto &r = s.Tab_Seuils[i];
        return QDate(2000 + r[3], r[2], r[1]).toJulianDay() * 1440 + r[4] * 60 + r[5];
    };
    for (std::size_t i = 2; i < s.Tab_Seuils.size(); ++i)
        if (key(i) <= key(i - 1))
            return false;
    return true;
}

} // namespace

class ThresholdsTest : public QObject
{
    Q_OBJECT

private slots:
    // Firmware 3.5/4.0: the dialog's thresholds and hours.
    void dayNight_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("values"); // day night dayToNight nightToDay
        QTest::addColumn<QString>("expected");

        QTest::newRow("3 days from 30 April")
            << 4 << "30/4/2008" << 3 << "105 95 22 6"
            << "30/4/8 22:00 105>95; 1/5/8 06:00 95>105; 1/5/8 22:00 105>95; "
               "2/5/8 06:00 95>105; 2/5/8 22:00 105>95; 3/5/8 06:00 95>105";
        QTest::newRow("firmware 3.5, 1 day") << 3 << "5/3/2007" << 1 << "105 95 22 6"
                                             << "5/3/7 22:00 105>95; 6/3/7 06:00 95>105";
        // Night inside one calendar day: both switches fall on the next morning.
        QTest::newRow("night 1 to 8") << 4 << "5/3/2007" << 1 << "105 95 1 8"
                                      << "6/3/7 01:00 105>95; 6/3/7 08:00 95>105";
        // Night from noon: the chart starts in the night.
        QTest::newRow("night from 12") << 4 << "5/3/2007" << 1 << "105 95 12 0"
                                       << "6/3/7 00:00 95>105";
        QTest::newRow("equal hours") << 4 << "5/3/2007" << 1 << "105 95 12 12"
                                     << "5/3/7 12:00 105>105";
        QTest::newRow("across the year") << 4 << "31/12/2007" << 1 << "100 80 23 2"
                                         << "31/12/7 23:00 100>80; 1/1/8 02:00 80>100";
        QTest::newRow("hour 24") << 4 << "5/3/2007" << 1 << "105 95 24 6"
                                 << "";
        QTest::newRow("no start date") << 4 << "//" << 1 << "105 95 22 6"
                                       << "";
        QTest::newRow("other version") << 9 << "5/3/2007" << 1 << "105 95 22 6"
                                       << "";
    }

    void dayNight()
    {
        QFETCH(int, version);
        QFETCH(QString, start);
        QFETCH(int, days);
        QFETCH(QString, values);
        QFETCH(QString, expected);
        auto s = chartStore(version, start, days);
        const QStringList v = values.split(QLatin1Char(' '));
        s->Seuil_Jour = qint16(v[0].toInt());
        s->Seuil_Nuit = qint16(v[1].toInt());
        s->Heure_Jour_Nuit = qint16(v[2].toInt());
        s->Heure_Nuit_Jour = qint16(v[3].toInt());
        s->Seuils_Prets = true;
        s->Tab_Seuils.assign(5, {}); // a previous schedule
        QStringList messages;
        build(*s, days, &messages);
        QCOMPARE(schedule(*s), expected);
        QCOMPARE(s->Seuils_Prets, !expected.isEmpty());
        QVERIFY(messages.isEmpty());
    }

    void sevenDays()
    {
        auto s = chartStore(4, QStringLiteral("27/12/2007"), 7);
        s->Seuil_Jour = 105;
        s->Seuil_Nuit = 95;
        s->Heure_Jour_Nuit = 22;
        s->Heure_Nuit_Jour = 6;
        QStringList messages;
        build(*s, 7, &messages);
        QCOMPARE(s->Tab_Seuils.size(), std::size_t(15));
        QVERIFY(chronological(*s));
        QVERIFY(schedule(*s).endsWith(QStringLiteral("2/1/8 22:00 105>95; 3/1/8 06:00 95>105")));
    }

    // Firmware 5.X: history records and door events over the period from
    // 30/4/2008 12:00 to 1/5/2008 12:00; Param_Block holds 100 110 90 95 23 7.
    void history_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("doors");   // "dd/mm/yy hh:mm 0 32" opened, "... 0 64" closed
        QTest::addColumn<QStringList>("records"); // history rows
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("flags"); // "constant premier dernier"

        const QString opened = QStringLiteral(" 0 32"), closed = QStringLiteral(" 0 64");
        const QString closedBefore = QStringLiteral("01/04/08 09:00") + closed;
        const QString a = QStringLiteral("01/01/08 10:00 105 110 95 100 22 6");
        const QString block = QStringLiteral("30/4/8 23:00 100>90; 1/5/8 07:00 90>100");
        const QString normal = QStringLiteral("30/4/8 22:00 105>95; 1/5/8 06:00 95>105");

        QTest::newRow("no door event")
            << 5 << QStringList() << QStringList{a} << "No treshold limit open" << block << "0 0 0";
        QTest::newRow("KVL 36, door events after the start only")
            << 70 << QStringList{"30/04/08 18:00" + opened} << QStringList{a}
            << "No threshold Limit, fault data open!!!" << block << "0 0 0";
        QTest::newRow("parameters set after the start only")
            << 5 << QStringList{closedBefore} << QStringList{"30/04/08 15:00 105 110 95 100 22 6"}
            << "Fault Data Change of Parameter!!!" << block << "0 0 0";
        QTest::newRow("empty thresholds in force")
            << 5 << QStringList{closedBefore} << QStringList{"01/01/08 10:00 105 110 25755 100 22 6"}
            << "Parameters uncertain!!!" << block << "0 1 1";
        QTest::newRow("constant, door closed")
            << 5 << QStringList{closedBefore} << QStringList{a} << "" << normal << "1 1 1";
        // Door state when no door event lies inside: the last one before, however old.
        QTest::newRow("door left open")
            << 5 << QStringList{"01/01/08 09:00" + opened, "02/01/08 09:00" + opened} << QStringList{a} << ""
            << "30/4/8 22:00 110>100; 1/5/8 06:00 100>110"
            << "1 1 1";
        QTest::newRow("door opened inside")
            << 5 << QStringList{closedBefore, "30/04/08 23:30" + opened, "01/05/08 02:00" + closed}
            << QStringList{a} << ""
            << "30/4/8 22:00 105>95; 30/4/8 23:30 95>100; 1/5/8 02:00 100>95; 1/5/8 06:00 95>105"
            << "1 1 1";
        // Equal time stamps: a door event at a switch hour is one row.
        QTest::newRow("door at the switch")
            << 5 << QStringList{closedBefore, "30/04/08 22:00" + opened} << QStringList{a} << ""
            << "30/4/8 22:00 105>100; 1/5/8 06:00 100>110"
            << "1 1 1";
        // Two changes at one instant: parameters and door together, one row.
        QTest::newRow("parameters and door together")
            << 5 << QStringList{closedBefore, "30/04/08 15:10" + opened}
            << QStringList{a, "30/04/08 15:10 102 112 95 100 22 6"} << ""
            << "30/4/8 15:10 105>112; 30/4/8 22:00 112>100; 1/5/8 06:00 100>112"
            << "0 1 2";
        // Two door events at one instant: the later row wins.
        QTest::newRow("opened and closed at once")
            << 5 << QStringList{closedBefore, "30/04/08 15:10" + opened, "30/04/08 15:10" + closed}
            << QStringList{a} << ""
            << "30/4/8 15:10 105>105; " + normal << "1 1 1";
        // The hours of the record in force place the switches of the day it changes.
        QTest::newRow("switch hours change")
            << 5 << QStringList{closedBefore} << QStringList{a, "30/04/08 21:30 105 110 95 100 21 7"} << ""
            << "30/4/8 21:30 105>95; 1/5/8 07:00 95>105"
            << "0 1 2";
        QTest::newRow("same values written again")
            << 5 << QStringList{closedBefore} << QStringList{a, "30/04/08 13:00 105 110 95 100 22 6"} << ""
            << "30/4/8 13:00 105>105; " + normal << "1 1 2";
        // Stamped exactly at the start: in force at the start, no row.
        QTest::newRow("record and door at the start")
            << 5 << QStringList{closedBefore, "30/04/08 12:00" + opened}
            << QStringList{a, "30/04/08 12:00 102 112 95 100 22 6"} << ""
            << "30/4/8 22:00 112>100; 1/5/8 06:00 100>112"
            << "1 2 2";
        QTest::newRow("door at the end changes nothing")
            << 5 << QStringList{closedBefore, "01/05/08 12:00" + opened} << QStringList{a} << "" << normal
            << "1 1 1";
        QTest::newRow("no history: Param_Block with the door")
            << 5 << QStringList{"01/04/08 09:00" + opened} << QStringList() << ""
            << "30/4/8 23:00 110>95; 1/5/8 07:00 95>110"
            << "1 0 0";
        QTest::newRow("tables out of order")
            << 5 << QStringList{"01/05/08 02:00" + closed, "30/04/08 23:30" + opened, closedBefore}
            << QStringList{"30/04/08 21:30 105 110 95 100 21 7", a} << ""
            << "30/4/8 21:30 105>95; 30/4/8 23:30 95>100; 1/5/8 02:00 100>95; 1/5/8 07:00 95>105"
            << "0 2 1";
    }

    void history()
    {
        QFETCH(int, version);
        QFETCH(QStringList, doors);
        QFETCH(QStringList, records);
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QFETCH(QString, flags);
        auto s = chartStore(version, QStringLiteral("30/4/2008"), 1);
        fillEvents(s->Event_Records, doors);
        setHistory(*s, records);
        s->Parametres_Constants = true;
        QStringList messages;
        build(*s, 1, &messages);
        QCOMPARE(messages.join('|'), message);
        QCOMPARE(schedule(*s), expected);
        QVERIFY(s->Seuils_Prets);
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(int(s->Parametres_Constants))
                     .arg(s->Premier_Parametre)
                     .arg(s->Dernier_Parametre),
                 flags);
    }

    // Nothing usable anywhere: no schedule rather than a wrong one.
    void unusableBlock()
    {
        auto s = chartStore(5, QStringLiteral("30/4/2008"), 3);
        setBlock(*s, QStringLiteral("25755 25755 25755 25755 255 255"));
        QStringList messages;
        build(*s, 3, &messages);
        QCOMPARE(messages, QStringList{QStringLiteral("No treshold limit open")});
        QVERIFY(!s->Seuils_Prets);
        QCOMPARE(s->Tab_Seuils.size(), std::size_t(1));
    }
};

QTEST_GUILESS_MAIN(ThresholdsTest)
#include "tst_thresholds.moc"
