// The simulator's memory images: sizes, ring layout and encoding that the
// download tests rely on.

#include "Generator.h"

#include <QtTest>

using namespace kvlsim;

class tst_SimGenerator : public QObject
{
    Q_OBJECT
private slots:
    void layout_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("imageSize");
        QTest::addColumn<int>("answerSize");
        QTest::addColumn<int>("eventArea");
        QTest::newRow("3.5") << 3 << 65536 << 514 << -1;
        QTest::newRow("4.0") << 4 << 100864 << 0 << -1;
        QTest::newRow("5.X") << 5 << 133632 << 0 << 65536;
        QTest::newRow("KVL 36") << 70 << 133632 << 0 << 65536;
    }
    void layout()
    {
        QFETCH(int, version);
        QFETCH(int, imageSize);
        QFETCH(int, answerSize);
        QFETCH(int, eventArea);
        const DeviceMemory mem = generateDevice(version, 7, 4);
        QCOMPARE(mem.image.size(), imageSize);
        QCOMPARE(mem.paramAnswer.size(), answerSize);
        QCOMPARE(memorySize(version), imageSize);
        QVERIFY(mem.leq.size() > 400);

        // Every Leq record appears once in the image, plus one half-written
        // record the decoder must drop; the rest is empty.
        const int leqRows = kvl::leqRows(version);
        int stored = 0;
        for (int r = 0; r < leqRows; ++r)
            stored += mem.image.mid(r * 8, 8) != QByteArray(8, char(0xFF));
        QCOMPARE(stored, int(mem.leq.size()) + 1);

        const bool v5 = version == 5 || version == 70;
        QCOMPARE(mem.leq1Count > 0 && mem.leq10Count > 0, v5);
        QCOMPARE(mem.history.size() >= 2, v5);
        // One code bit in exactly one of the two code bytes; door events on 5.X only.
        bool door = false, power = false, change = false;
        for (const EventRow &e : mem.events) {
            QVERIFY((e[6] == 0) != (e[7] == 0));
            const int code = e[6] | e[7];
            QVERIFY(!(code & (code - 1)));
            door |= e[6] == 0 && (e[7] == 32 || e[7] == 64);
            power |= e[6] == 4;
            change |= e[6] == 128;
        }
        QCOMPARE(door, v5);
        QVERIFY(power && change);

        // The event ring's write pointer wrapped round: in table order, dates go
        // backwards exactly once, so the download has to sort.
        if (eventArea < 0)
            return;
        const auto bcd = [](char c) { return (quint8(c) >> 4) * 10 + (quint8(c) & 15); };
        int backwards = 0;
        QDate previous;
        for (int r = 0; r < 4096; ++r) {
            const QByteArray rec = mem.image.mid(eventArea + r * 8, 8);
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
