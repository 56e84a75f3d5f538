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

    void monthNames_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("text");
        // Boundaries and the padding of the shortest and longest names.
        QTest::newRow("0") << 0 << "";
        QTest::newRow("1") << 1 << " January ";
        QTest::newRow("5") << 5 << "   May   ";
        QTest::newRow("7") << 7 << " July ";
        QTest::newRow("9") << 9 << "September";
        QTest::newRow("12") << 12 << "December ";
        QTest::newRow("13") << 13 << "";
    }
    void monthNames()
    {
        QFETCH(int, month);
        QFETCH(QString, text);
        QCOMPARE(Nom_Mois(month), text);
    }

    void dayNames_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("Sunday") << "6 / 12 / 2026"
                                << "Sunday";
        QTest::newRow("leap day") << "29 / 2 / 2008"
                                  << "Friday";
        QTest::newRow("no blanks") << "1/1/2000"
                                   << "Saturday";
        QTest::newRow("no date") << "31 / 2 / 2008"
                                 << "";
        QTest::newRow("garbage") << "x"
                                 << "";
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
        QTest::newRow("zeros") << QList<int>{0, 0, 0, 0, 0, 0, 0, 0} << "00000000";
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
