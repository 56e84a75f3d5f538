#include "store/Names.h"
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
        s.Requested_View = QStringLiteral("Tableau Leq");
        s.Chart_Days = 7;
        s.Chart_Dates[8][3] = QStringLiteral("2008");
        s.Leq_Records(1, 1) = 12;
        s.initialise();
        QCOMPARE(s.Com_Port, qint16(0));
        QCOMPARE(s.Device_Version, qint16(5));
        QCOMPARE(s.Requested_View, QString());
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

    void dayNames_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("Sunday") << QString("6 / 12 / 2026") << QString("Sunday");
        QTest::newRow("leap day") << QString("29 / 2 / 2008") << QString("Friday");
        QTest::newRow("no blanks") << QString("1/1/2000") << QString("Saturday");
        QTest::newRow("no date") << QString("31 / 2 / 2008") << QString();
        QTest::newRow("garbage") << QString("x") << QString();
    }
    void dayNames()
    {
        QFETCH(QString, date);
        QFETCH(QString, name);
        QCOMPARE(Nom_Jour(date), name);
    }

    void serialNumber_data()
    {
        QTest::addColumn<QList<int>>("elements");
        QTest::addColumn<QString>("serial");
        QTest::newRow("example") << QList<int>{1, 23, 0, 5, 7, 9, 10, 0} << "1230579100";
        QTest::newRow("empty slots") << QList<int>{255, 255, 255, 255, 255, 255, 255, 255}
                                     << "255255255255255255255255";
    }
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
