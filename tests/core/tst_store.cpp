#include "TestSupport.h"
#include "store/Names.h"
#include "store/RecordDate.h"
#include "store/Store.h"

#include <QtTest>

using namespace kvl;

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

    void dayNames_data() { test::addRows(QStringLiteral("rows/store_days.txt")); }
    void dayNames()
    {
        QFETCH(QString, date);
        QFETCH(QString, name);
        QCOMPARE(Nom_Jour(date), name);
    }

    void views_data() { test::addRows(QStringLiteral("rows/store_views.txt")); }
    void views()
    {
        QFETCH(QString, text);
        QFETCH(int, view);
        QFETCH(QString, back);
        QCOMPARE(int(viewOf(text)), view);
        QCOMPARE(viewText(viewOf(text)), back);
    }

    void recordDates_data() { test::addRows(QStringLiteral("rows/store_record_dates.txt")); }
    void recordDates()
    {
        QFETCH(QList<int>, row);
        QFETCH(bool, stamp);
        QFETCH(bool, values);
        QFETCH(QString, date);
        QCOMPARE(row.size(), RecordFields);
        qint16 fields[RecordFields];
        std::copy(row.begin(), row.end(), fields);
        QCOMPARE(isValidRecord(fields, RecordCheck::Stamp), stamp);
        QCOMPARE(isValidRecord(fields, RecordCheck::StampAndValues), values);
        QCOMPARE(recordDate(fields).toString(Qt::ISODate), date);
    }

    // The same texts read as the same day wherever the store keeps them.
    void textDays_data() { test::addRows(QStringLiteral("rows/store_text_days.txt")); }
    void textDays()
    {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QString, date);
        Store s;
        s.Start_Day = s.End_Day = s.Chart_Dates[8][1] = day;
        s.Start_Month = s.End_Month = s.Chart_Dates[8][2] = month;
        s.Start_Year = s.End_Year = s.Chart_Dates[8][3] = year;
        QCOMPARE(periodStart(s).toString(Qt::ISODate), date);
        QCOMPARE(periodEnd(s).toString(Qt::ISODate), date);
        QCOMPARE(chartDay(s, 8).toString(Qt::ISODate), date);
        QCOMPARE(chartDay(s, 9), QDate());
        QCOMPARE(chartDay(s, 0), QDate());
    }

    void transferStamps_data() { test::addRows(QStringLiteral("rows/store_transfer_stamps.txt")); }
    void transferStamps()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, stamp);
        Store s;
        s.Transfer_Date = date;
        s.Transfer_Time = time;
        QCOMPARE(transferStamp(s).toString(Qt::ISODate), stamp);
    }

    void serialNumber_data() { test::addRows(QStringLiteral("rows/store_serial.txt")); }
    void serialNumber()
    {
        QFETCH(QList<int>, elements);
        QFETCH(QString, serial);
        Store s;
        s.Param_Block[block::SerialFirst - 1] = 8;
        s.Param_Block[block::SerialLast + 1] = 8;
        for (int i = 0; i < 8; ++i)
            s.Param_Block[block::SerialFirst + i] = qint16(elements[i]);
        Lire_Numero_Serie(s);
        QCOMPARE(s.Serial_Number, serial);
    }
};

QTEST_APPLESS_MAIN(TestStore)
#include "tst_store.moc"
