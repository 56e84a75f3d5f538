// The simulator's memory images.

#include "Generator.h"

#include <QtTest>

using namespace kvlsim;

class tst_SimGenerator : public QObject
{
    Q_OBJECT
private slots:
    // What the download tests rely on to find faults: a half-written record
    // to drop, every kind of record on 5.X, and an event ring that needs sorting.
    void richness_data()
    {
        QTest::addColumn<int>("version");
        for (int version : {3, 4, 5, 70})
            QTest::addRow("%d", version) << version;
    }
    void richness()
    {
        QFETCH(int, version);
        const DeviceMemory mem = generateDevice(version, 7, 4);
        QVERIFY(mem.leq.size() > 400);

        // Every Leq record once, plus the half-written one; the rest is empty.
        const int leqRows = kvl::leqRows(version);
        int stored = 0;
        for (int r = 0; r < leqRows; ++r)
            stored += mem.image.mid(r * 8, 8) != QByteArray(8, char(0xFF));
        QCOMPARE(stored, int(mem.leq.size()) + 1);

        const bool v5 = version == 5 || version == 70;
        QCOMPARE(mem.leq1Count > 0 && mem.leq10Count > 0, v5);
        QCOMPARE(mem.history.size() >= 2, v5);
        // Door events on 5.X only.
        bool door = false, power = false, change = false;
        for (const EventRow &e : mem.events) {
            door |= e[6] == 0 && (e[7] == 32 || e[7] == 64);
            power |= e[6] == 4;
            change |= e[6] == 128;
        }
        QCOMPARE(door, v5);
        QVERIFY(power && change);

        // In table order, dates go backwards exactly once.
        if (!v5)
            return;
        const auto bcd = [](char c) { return (quint8(c) >> 4) * 10 + (quint8(c) & 15); };
        int backwards = 0;
        QDate previous;
        for (int r = 0; r < 4096; ++r) {
            const QByteArray rec = mem.image.mid(kvl::EventArea + r * 8, 8);
            if (quint8(rec[0]) == 0xFF)
                continue;
            const QDate d(2000 + bcd(rec[5]), bcd(rec[4]), bcd(rec[2]));
            QVERIFY(d.isValid());
            backwards += previous.isValid() && d < previous;
            previous = d;
        }
        QCOMPARE(backwards, 1);
    }
};

QTEST_GUILESS_MAIN(tst_SimGenerator)
#include "tst_simgenerator.moc"
