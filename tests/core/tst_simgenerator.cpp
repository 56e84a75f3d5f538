// The simulator's memory images: sizes, ring layout, encoding and the
// expected content other tests compare against.

#include "Generator.h"

#include <QtTest>

using namespace kvlsim;

namespace {

QDate stampDate(const qint16 *f)
{
    return QDate(2000 + f[5], f[4], f[2]);
}

template <std::size_t N> bool chronological(const std::vector<std::array<qint16, N>> &rows)
{
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto &a = rows[i - 1];
        const auto &b = rows[i];
        const std::array<int, 5> ka{a[5], a[4], a[2], a[1], a[0]}, kb{b[5], b[4], b[2], b[1], b[0]};
        if (kb < ka)
            return false;
    }
    return true;
}

int bcdByte(char c)
{
    const int b = quint8(c);
    return (b >> 4) * 10 + (b & 15);
}

} // namespace

class tst_SimGenerator : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void reproducibleFromSeed();
    void ringIsNotInDateOrder_data();
    void ringIsNotInDateOrder();
    void parameterHistoryMatchesBlock();
    void firmware35ParameterAnswer();
};

void tst_SimGenerator::layout_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("imageSize");
    QTest::addColumn<int>("answerSize");
    QTest::addColumn<int>("leqArea");
    QTest::addColumn<int>("leqRows");
    QTest::newRow("3.5") << 3 << 65536 << 514 << 32768 << 4096;
    QTest::newRow("4.0") << 4 << 100864 << 0 << 65536 << 8192;
    QTest::newRow("5.X") << 5 << 133632 << 0 << 65536 << 8192;
    QTest::newRow("KVL 36") << 70 << 133632 << 0 << 65536 << 8192;
}

void tst_SimGenerator::layout()
{
    QFETCH(int, version);
    QFETCH(int, imageSize);
    QFETCH(int, answerSize);
    QFETCH(int, leqArea);
    QFETCH(int, leqRows);
    const DeviceMemory mem = generateDevice(version, 7, 4);
    QCOMPARE(mem.image.size(), imageSize);
    QCOMPARE(mem.paramAnswer.size(), answerSize);
    QCOMPARE(memorySize(version), imageSize);
    QCOMPARE(int(mem.paramBlock.size()), 2560);

    // Every stored Leq record appears once in the image, BCD-encoded.
    int stored = 0, empty = 0;
    for (int r = 0; r < leqRows; ++r) {
        const QByteArray rec = mem.image.mid(r * 8, 8);
        if (rec == QByteArray(8, char(0xFF)))
            ++empty;
        else
            ++stored;
    }
    QVERIFY(empty > 0);
    // One record is a half-written one that the decoder must drop.
    QCOMPARE(stored, int(mem.leq.size()) + 1);
    QVERIFY(leqArea > 0);

    QVERIFY(chronological(mem.leq));
    QVERIFY(chronological(mem.events));
    QVERIFY(chronological(mem.history));
    QVERIFY(!mem.events.empty());
    QVERIFY(mem.leq.size() > 400);
    // Several weeks of data.
    QVERIFY(stampDate(mem.leq.front().data()).daysTo(stampDate(mem.leq.back().data())) >= 20);

    const bool v5 = version == 5 || version == 70;
    for (const LeqRow &r : mem.leq) {
        const int level = 100 * r[7] + r[6];
        QVERIFY2(level >= 70 || (v5 && r[3] == 1), qPrintable(QString::number(level)));
        QVERIFY(level <= 110);
        if (v5)
            QVERIFY(r[3] == 1 || r[3] == 10);
        if (r[3] == 10 || !v5)
            QCOMPARE(r[0] % 10, 0);
    }
    if (v5) {
        QVERIFY(mem.leq1Count > 0);
        QVERIFY(mem.leq10Count > 0);
        QVERIFY(mem.history.size() >= 2);
    } else {
        QVERIFY(mem.history.empty());
    }
    // One code bit in exactly one of the two code bytes.
    bool door = false, power = false, change = false;
    for (const EventRow &e : mem.events) {
        QVERIFY((e[6] == 0) != (e[7] == 0));
        const int code = e[6] | e[7];
        QVERIFY(code && !(code & (code - 1)));
        door |= e[6] == 0 && (e[7] == 32 || e[7] == 64);
        power |= e[6] == 4;
        change |= e[6] == 128;
    }
    QCOMPARE(door, v5);
    QVERIFY(power);
    QVERIFY(change);
}

void tst_SimGenerator::reproducibleFromSeed()
{
    QCOMPARE(generateImage(5, 42, 3), generateImage(5, 42, 3));
    QVERIFY(generateImage(5, 42, 3) != generateImage(5, 43, 3));
    QCOMPARE(generateImage(3, 1, 2).size(), 65536 + 514);
}

void tst_SimGenerator::ringIsNotInDateOrder_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 99u})
        QTest::addRow("seed %u", seed) << seed;
}

void tst_SimGenerator::ringIsNotInDateOrder()
{
    QFETCH(quint32, seed);
    const DeviceMemory mem = generateDevice(5, seed, 4);
    // Walk the event ring in table order: the write pointer wrapped round, so
    // dates go backwards exactly once.
    int backwards = 0;
    QDate previous;
    for (int r = 0; r < 4096; ++r) {
        const QByteArray rec = mem.image.mid(65536 + r * 8, 8);
        if (quint8(rec[0]) == 0xFF)
            continue;
        const QDate d(2000 + bcdByte(rec[5]), bcdByte(rec[4]), bcdByte(rec[2]));
        QVERIFY(d.isValid());
        if (previous.isValid() && d < previous)
            ++backwards;
        previous = d;
    }
    QCOMPARE(backwards, 1);
}

void tst_SimGenerator::parameterHistoryMatchesBlock()
{
    for (int version : {5, 70}) {
        const DeviceMemory mem = generateDevice(version, 11, 6);
        const HistoryRow &last = mem.history.back();
        // The newest record holds the parameters in force now.
        for (int k = 0; k < 18; ++k)
            QCOMPARE(last[std::size_t(28 + k)], mem.paramBlock[std::size_t(2176 + k)]);
        QCOMPARE(last[6] & ~64, mem.paramBlock[6]);
        QCOMPARE(last[6] & 64, mem.paramBlock[5]);
        QCOMPARE(mem.paramBlock[2176] * 100 + mem.paramBlock[2177] > 80, true);
        QVERIFY(mem.paramBlock[2191] >= 20 && mem.paramBlock[2191] <= 23);
    }
    const DeviceMemory v5 = generateDevice(5, 11, 6);
    QCOMPARE(v5.paramBlock[160], 172);
    QCOMPARE(v5.paramBlock[161], 76);
    QCOMPARE(v5.paramBlock[2360], 24);
}

void tst_SimGenerator::firmware35ParameterAnswer()
{
    const DeviceMemory mem = generateDevice(3, 5, 2);
    QCOMPARE(int(mem.paramRaw.size()), 514);
    // Thresholds are in the answer at 128.. (the area's 2176..).
    QCOMPARE(mem.paramRaw[128], mem.paramBlock[2176]);
    QCOMPARE(mem.paramBlock[0], 255);
    QCOMPARE(mem.paramBlock[2047], 255);
    QCOMPARE(mem.paramBlock[6], mem.paramRaw[512]);
    QCOMPARE(mem.paramBlock[7], mem.paramRaw[513]);
    QCOMPARE(mem.decoderInput().size(), 65536 + 514);
}

QTEST_GUILESS_MAIN(tst_SimGenerator)
#include "tst_simgenerator.moc"
