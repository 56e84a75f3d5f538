#include "TestCore.h"
#include "store/Names.h"
#include "store/RecordDate.h"
#include "store/Store.h"
#include "store/TypedDate.h"

#include <QtTest>

using namespace kvl;

static void rows(const QString &section)
{
    test::addDataRows(QStringLiteral("rows/store.txt"), section);
}

class TestStore : public QObject
{
    Q_OBJECT
private slots:
    void initialiseResetsSettingsNotData()
    {
        Store s;
        QVERIFY(!s.Data_Loaded);
        s.Com_Port = 3;
        s.Device_Version = 70;
        s.Requested_View = RequestedView::LeqTable;
        s.Chart_Days = 7;
        s.Chart_Dates[8][3] = QStringLiteral("2008");
        s.Leq_Records(1, 1) = 12;
        s.initialise();
        QCOMPARE(s.Com_Port, qint16(0));
        QCOMPARE(s.Device_Version, qint16(5));
        QCOMPARE(s.Requested_View, RequestedView::None);
        QCOMPARE(s.Chart_Days, qint16(1));
        QCOMPARE(s.Chart_Dates[8][3], QStringLiteral("0"));
        QCOMPARE(int(s.Leq_Records(1, 1)), 12);
    }

    void monthNames()
    {
        // Padded to about one width; none outside 1..12.
        QStringList names;
        for (int month = 0; month <= 13; ++month)
            names << Nom_Mois(month);
        QCOMPARE(names.join(QLatin1Char('|')),
                 QStringLiteral("| January | February |  March   |  April  |   May   "
                                "|  June   | July |  August |September| October "
                                "|November |December |"));
    }

    void dayNames_data() { rows(QStringLiteral("days")); }
    void dayNames()
    {
        QFETCH(QStringList, c);
        QCOMPARE(Nom_Jour(c[1]), c[2]);
    }

    void views_data() { rows(QStringLiteral("views")); }
    void views()
    {
        QFETCH(QStringList, c);
        QCOMPARE(int(viewOf(c[1])), c[2].toInt());
        QCOMPARE(viewText(viewOf(c[1])), c[3]);
    }

    void recordDates_data() { rows(QStringLiteral("record dates")); }
    void recordDates()
    {
        QFETCH(QStringList, c);
        const QList<int> row = test::numbers(c[1]);
        QCOMPARE(row.size(), RecordFields);
        qint16 fields[RecordFields];
        std::copy(row.begin(), row.end(), fields);
        QCOMPARE(isValidRecord(fields, RecordCheck::Stamp), c[2] == QLatin1String("true"));
        QCOMPARE(isValidRecord(fields, RecordCheck::StampAndValues), c[3] == QLatin1String("true"));
        QCOMPARE(recordDate(fields).toString(Qt::ISODate), c[4]);
    }

    // The same texts read as the same day wherever the store keeps them.
    void textDays_data() { rows(QStringLiteral("text days")); }
    void textDays()
    {
        QFETCH(QStringList, c);
        Store s;
        s.Start_Day = s.End_Day = s.Chart_Dates[8][1] = c[1];
        s.Start_Month = s.End_Month = s.Chart_Dates[8][2] = c[2];
        s.Start_Year = s.End_Year = s.Chart_Dates[8][3] = c[3];
        QCOMPARE(periodStart(s).toString(Qt::ISODate), c[4]);
        QCOMPARE(periodEnd(s).toString(Qt::ISODate), c[4]);
        QCOMPARE(chartDay(s, 8).toString(Qt::ISODate), c[4]);
        QCOMPARE(chartDay(s, 9), QDate());
        QCOMPARE(chartDay(s, 0), QDate());
    }

    void transferStamps_data() { rows(QStringLiteral("transfer stamps")); }
    void transferStamps()
    {
        QFETCH(QStringList, c);
        Store s;
        s.Transfer_Date = c[1];
        s.Transfer_Time = c[2];
        QCOMPARE(transferStamp(s).toString(Qt::ISODate), c[3]);
    }

    void serialNumber_data() { rows(QStringLiteral("serial")); }
    void serialNumber()
    {
        QFETCH(QStringList, c);
        const QList<int> elements = test::numbers(c[1]);
        Store s;
        s.Param_Block[block::SerialFirst - 1] = 8;
        s.Param_Block[block::SerialLast + 1] = 8;
        for (int i = 0; i < 8; ++i)
            s.Param_Block[block::SerialFirst + i] = qint16(elements[i]);
        Lire_Numero_Serie(s);
        QCOMPARE(s.Serial_Number, c[2]);
    }

    // Dates typed whole in the period dialogs.
    void typedDates_data() { test::addDataRows(QStringLiteral("rows/typed_dates.txt")); }
    void typedDates()
    {
        QFETCH(QStringList, c);
        QCOMPARE(parseTypedDate(c[1]), QDate::fromString(c.value(2), Qt::ISODate));
        QCOMPARE(isTypedDatePrefix(c[1]), c.value(3) == QLatin1String("1"));
    }
};

QTEST_APPLESS_MAIN(TestStore)
#include "tst_store.moc"
